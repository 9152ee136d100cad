// The store on a PostgreSQL server against the same store on files: every key order, both
// ways, row for row; views in case-blind and mixed orders; and the writes a station relies
// on (change detection, duplicates, transactions that undo everything).
#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "runtime/data/errors.h"
#include "runtime/os/thread_state.h"
#include "runtime/store/data_file.h"
#include "runtime/store/transaction.h"
#include "runtime/store/view.h"
#include "runtime/text/utf8.h"
#include "support/temp_dir.h"
#include "support/test_server.h"
#include "test_schema.h"

using namespace vrt;
using namespace vtest;

namespace {

// People with case-blind name keys, under a label of this test's own on the server.
TableSchema caseBlindPeople() {
  TableSchema t = peopleSchema();
  t.label = "EnginePeople";
  for (auto& k : t.keys) k.noCase = k.name != "NumberKey";
  return t;
}

// Names as a church's members have them: accents, other scripts, case variants, blanks.
const std::vector<std::string> kPieces = {
    "a", "A", "b", "B", "z", "Z", "m", " ", "'", "-", "0", "9",
    "\xC3\xA9", "\xC3\x89", "\xC3\xA3", "\xC3\x83", "\xC3\x9F", "\xC3\xB1", "\xC3\x91", "\xC3\xBF",
    "\xCF\x83", "\xCE\xA3", "\xCF\x82", "\xD0\xB6", "\xD0\x96", "\xE1\xBA\x9E", "\xE2\x82\xAC",
    "\xE4\xB8\xBB", "\xE8\x80\xB6", "\xF0\x9F\x98\x80", "\xF0\x90\x90\xA8", "\xF0\x90\x90\x80"};

std::string randomName(std::mt19937& random) {
  std::uniform_int_distribution<int> count(1, 5), piece(0, static_cast<int>(kPieces.size()) - 1);
  std::string text;
  for (int n = count(random); n > 0; --n) {
    const std::string& p = kPieces[static_cast<std::size_t>(piece(random))];
    if (text.size() + p.size() > 20) break;
    text += p;
  }
  return text;
}

void fill(DataFile& f, int number, const std::string& name, int group, const std::string& note) {
  const auto& s = f.schema().fields;
  f.buffer().clearAll(s);
  f.buffer().setNumber(s[kNumber], number);
  f.buffer().setText(s[kName], name);
  f.buffer().setNumber(s[kGroup], group);
  f.buffer().setNumber(s[kBorn], 80000 + group);
  f.buffer().setText(s[kNote], note);
}

int number(DataFile& f) { return static_cast<int>(f.buffer().number(f.schema().fields[kNumber])); }

std::vector<int> readAll(DataFile& f, int key, bool forward) {
  std::vector<int> out;
  forward ? f.setToStart(key) : f.setToEnd(key);
  while (forward ? f.next() : f.previous()) out.push_back(number(f));
  EXPECT_EQ(errorCode(), kRecordNotAvailable);
  return out;
}

std::vector<int> readView(DataFile& f, const std::string& order, const std::string& filter, bool forward) {
  // Both tables go by one label: the one opened last is the one the expressions name.
  f.close();
  EXPECT_TRUE(f.open());
  View v(f);
  EXPECT_TRUE(v.setOrder(order)) << errorMessage();
  EXPECT_TRUE(v.setFilter(filter)) << errorMessage();
  EXPECT_TRUE(v.open()) << errorMessage();
  std::vector<int> out;
  if (!forward) v.setToEnd();
  while (forward ? v.next() : v.previous()) out.push_back(number(f));
  return out;
}

class ServerEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // These cases set the two engines side by side themselves.
    if (serverEngineWanted()) GTEST_SKIP() << "compares both engines in the files run";
    const auto where = testServer();
    if (!where) GTEST_SKIP() << "VESP_TEST_SERVER names no PostgreSQL server";
    schemaOnServer = std::make_unique<ServerSchema>(*where);
    server = *where;
  }
  TempDir dir;
  TableSchema schema = caseBlindPeople();
  std::unique_ptr<ServerSchema> schemaOnServer;
  store::DataLocation server;
};

}  // namespace

TEST_F(ServerEngineTest, EveryKeyOrderAndViewOrderIsTheSameOnBothEngines) {
  DataFile files(schema, {}, store::DataLocation::files());
  DataFile remote(schema, {}, server);
  ASSERT_TRUE(files.create());
  ASSERT_TRUE(remote.create()) << errorMessage();
  ASSERT_TRUE(files.open());
  ASSERT_TRUE(remote.open());
  EXPECT_TRUE(remote.onServer());
  EXPECT_TRUE(remote.path().empty());

  std::mt19937 random(29);
  std::uniform_int_distribution<int> group(0, 6);
  std::vector<std::string> names;
  for (int n = 1; n <= 400; ++n) {
    std::string name = randomName(random);
    // Some names again in other capitals and with blanks after them, so that keys tie.
    if (n % 7 == 0 && !names.empty()) name = upperCase(names[names.size() / 2]) + "  ";
    if (n % 11 == 0 && !names.empty()) name = lowerCase(names[names.size() / 3]);
    names.push_back(name);
    const int g = group(random);
    const std::string note = randomName(random);
    for (DataFile* f : {&files, &remote}) {
      fill(*f, n, name, g, note);
      if (!f->add()) {
        // The unique group-and-name key refuses the same name twice in a group on both.
        ASSERT_EQ(errorCode(), kDuplicateKey) << (f == &remote ? "server: " : "files: ") << errorMessage();
        ASSERT_EQ(threadError().keyName, "PEO:GroupNameKey");
      }
    }
  }
  EXPECT_EQ(files.records(), remote.records());
  EXPECT_GT(remote.records(), 300);
  for (int key = DataFile::kFileOrder; key < static_cast<int>(schema.keys.size()); ++key)
    for (bool forward : {true, false})
      EXPECT_EQ(readAll(files, key, forward), readAll(remote, key, forward))
          << "key " << key << (forward ? " forward" : " backward");

  const std::vector<std::pair<std::string, std::string>> views = {
      {"UPPER(PEO:NAME)", ""},
      {"-PEO:GROUPNO,PEO:NAME", ""},
      {"PEO:GROUPNO,-PEO:NUMBER", "PEO:GROUPNO = 3"},
      {"PEO:NAME", "UPPER(PEO:NAME) >= 'M' AND PEO:GROUPNO <> 2"},
      {"PEO:BORN,PEO:NOTE", "PEO:NUMBER > 50 AND PEO:NUMBER <= 350"},
  };
  for (const auto& [order, filter] : views)
    for (bool forward : {true, false}) {
      const auto expected = readView(files, order, filter, forward);
      const auto got = readView(remote, order, filter, forward);
      EXPECT_FALSE(expected.empty());
      std::size_t at = 0;
      while (at < expected.size() && at < got.size() && expected[at] == got[at]) ++at;
      EXPECT_EQ(expected, got) << order << " / " << filter << (forward ? " forward" : " backward")
                               << ": first difference at row " << at;
    }
}

TEST_F(ServerEngineTest, PositionsAndValuePlacementReadOnFromTheSameRecord) {
  DataFile files(schema, {}, store::DataLocation::files());
  DataFile remote(schema, {}, server);
  ASSERT_TRUE(files.create() && remote.create());
  ASSERT_TRUE(files.open() && remote.open());
  const char* names[] = {"Émile", "emile", "Zoë", "zoe", "Ångström", "ANGSTROM", "Σοφία", "σοφία", "Иван", "ИВАН"};
  int n = 0;
  for (const char* name : names) {
    ++n;
    for (DataFile* f : {&files, &remote}) {
      fill(*f, n, name, n % 3, "");
      ASSERT_TRUE(f->add()) << errorMessage();
    }
  }
  for (DataFile* f : {&files, &remote}) {
    f->setToStart(1);
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(f->next());
  }
  const std::string pf = files.position(1), pr = remote.position(1);
  EXPECT_EQ(number(files), number(remote));
  for (DataFile* f : {&files, &remote}) {
    f->setToStart(0);
    f->next();
  }
  ASSERT_TRUE(files.resetTo(1, pf));
  ASSERT_TRUE(remote.resetTo(1, pr));
  std::vector<int> a, b;
  while (files.next()) a.push_back(number(files));
  while (remote.next()) b.push_back(number(remote));
  EXPECT_EQ(a, b);
  EXPECT_EQ(a.size(), 7u);
  // Placed by a value in other capitals: the same first record on both.
  for (DataFile* f : {&files, &remote}) {
    fill(*f, 0, "sOFÍA", 0, "");
    f->setToValue(1);
    ASSERT_TRUE(f->next());
  }
  EXPECT_EQ(number(files), number(remote));
  for (DataFile* f : {&files, &remote}) {
    fill(*f, 0, "иВАН   ", 0, "");  // Cyrillic in other capitals, with blanks after
    ASSERT_TRUE(f->getFirst(1, 1)) << errorMessage();
  }
  EXPECT_EQ(number(files), number(remote));
}

TEST_F(ServerEngineTest, AnotherStationsChangeIsDetectedAndATransactionUndoesEveryTable) {
  TableSchema other = caseBlindPeople();
  other.label = "EnginePeopleToo";
  DataFile mine(schema, {}, server);
  ASSERT_TRUE(mine.create());
  DataFile otherTable(other, {}, server);
  ASSERT_TRUE(otherTable.create());
  ASSERT_TRUE(mine.open() && otherTable.open());
  fill(mine, 1, "Ruth", 1, "");
  ASSERT_TRUE(mine.add());
  fill(otherTable, 1, "Naomi", 1, "");
  ASSERT_TRUE(otherTable.add());

  // Another station: a connection of its own, from another thread.
  std::thread station([&] {
    DataFile theirs(schema, {}, server);
    ASSERT_TRUE(theirs.open());
    theirs.buffer().setNumber(theirs.schema().fields[kNumber], 1);
    ASSERT_TRUE(theirs.get(0));
    theirs.buffer().setText(theirs.schema().fields[kNote], "changed over there");
    ASSERT_TRUE(theirs.put());
  });
  mine.watch();
  mine.buffer().setNumber(mine.schema().fields[kNumber], 1);
  ASSERT_TRUE(mine.get(0));
  station.join();
  mine.buffer().setText(mine.schema().fields[kNote], "changed here");
  EXPECT_FALSE(mine.put());
  EXPECT_EQ(errorCode(), kChangedByAnotherStation);

  // Both tables change in one transaction; the rollback takes back both.
  {
    Transaction t({&mine, &otherTable}, 2);
    ASSERT_TRUE(t.begin()) << errorMessage();
    mine.buffer().setNumber(mine.schema().fields[kNumber], 1);
    ASSERT_TRUE(mine.get(0));
    ASSERT_TRUE(mine.erase());
    otherTable.buffer().setNumber(otherTable.schema().fields[kNumber], 1);
    ASSERT_TRUE(otherTable.get(0));
    ASSERT_TRUE(otherTable.erase());
    fill(otherTable, 2, "ruth", 1, "");
    ASSERT_TRUE(otherTable.add());
    fill(otherTable, 3, "RUTH", 1, "");
    EXPECT_FALSE(otherTable.add());  // a duplicate inside the transaction is refused alone
    EXPECT_EQ(errorCode(), kDuplicateKey);
    t.rollback();
  }
  EXPECT_EQ(mine.records(), 1);
  EXPECT_EQ(otherTable.records(), 1);
  {
    Transaction t({&mine, &otherTable}, 2);
    ASSERT_TRUE(t.begin());
    fill(mine, 5, "Boaz", 2, "");
    ASSERT_TRUE(mine.add());
    fill(otherTable, 5, "Boaz", 2, "");
    ASSERT_TRUE(otherTable.add());
    ASSERT_TRUE(t.commit()) << errorMessage();
  }
  EXPECT_EQ(mine.records(), 2);
  EXPECT_EQ(otherTable.records(), 2);
}

// A thread's connection serves the next thread, with nothing of the first left in it: no
// open transaction, no lock its session held.
TEST_F(ServerEngineTest, AnEndedThreadsConnectionServesTheNextWithNothingLeftInIt) {
  pg::Connection other;
  store::ConnectionCheck check;
  ASSERT_TRUE(other.open(server, "", check)) << check.error;
  for (const bool inTransaction : {false, true}) {
    std::string backend;
    {
      ThreadContext first(901);
      ThreadContextScope scope(first);
      pg::Connection* c = pg::serverConnection(server);
      ASSERT_NE(c, nullptr) << errorMessage();
      backend = std::string(c->exec("SELECT pg_backend_pid()").text(0, 0));
      if (inTransaction) {
        ASSERT_TRUE(c->exec("BEGIN").ok());
      }
      ASSERT_TRUE(c->exec("SELECT pg_advisory_lock(4242)").ok());
      ++c->sessionLocks;
    }  // the thread ends without letting go of anything
    ThreadContext second(902);
    ThreadContextScope scope(second);
    pg::Connection* c = pg::serverConnection(server);
    ASSERT_NE(c, nullptr) << errorMessage();
    EXPECT_EQ(c->exec("SELECT pg_backend_pid()").text(0, 0), backend) << "a new session instead of the one let go";
    EXPECT_FALSE(c->inTransaction());
    pg::Result taken = other.exec("SELECT pg_try_advisory_lock(4242)");
    EXPECT_EQ(taken.text(0, 0), "t") << "the lock stayed with the session passed on";
    other.exec("SELECT pg_advisory_unlock_all()");
  }
}
