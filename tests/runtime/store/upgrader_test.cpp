#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <tuple>

#include "runtime/data/errors.h"
#include "runtime/store/pg_db.h"
#include "runtime/store/upgrader.h"
#include "runtime/store/view.h"
#include "runtime/testing/upgrader_reset.h"
#include "support/temp_dir.h"
#include "test_schema.h"

using namespace vrt;
using namespace vtest;

namespace {

// The table as it stood before: a shorter name, no amount and no group.
TableSchema olderPeople() {
  TableSchema t;
  t.label = "People";
  t.prefix = "PEO";
  t.version = 1;
  t.fields = {field("NUMBER", FieldType::Long, 4, 0), field("NAME", FieldType::CString, 11, 4),
              field("BORN", FieldType::Date, 4, 15), field("NOTE", FieldType::String, 600, 19)};
  t.recordSize = 619;
  t.keys = {key("NumberKey", {0}, true, true), key("NameKey", {1, 0}, false)};
  return t;
}

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// All a conversion could touch: the file's bytes, or on a server every table, index, row and
// recorded structure of the case's schema.
std::string storedState() {
  if (!serverEngineWanted()) return fileBytes("People.vdb");
  pg::Connection* c = pg::serverConnection(store::currentDataLocation());
  if (!c) return "no connection";
  std::string out;
  for (const char* sql :
       {"SELECT string_agg(tablename, ',' ORDER BY tablename) FROM pg_tables WHERE schemaname = current_schema()",
        "SELECT string_agg(indexname || ' ' || indexdef, E'\\n' ORDER BY indexname) FROM pg_indexes "
        "WHERE schemaname = current_schema()",
        "SELECT string_agg(tbl || ' ' || name || ' ' || value, E'\\n' ORDER BY tbl, name) FROM _vesp_meta",
        "SELECT string_agg(t::text, E'\\n' ORDER BY t._pos) FROM \"People\" t"}) {
    pg::Result r = c->exec(sql);
    out += (r.ok() && r.rows() ? std::string(r.text(0, 0)) : "failed: " + r.error()) + "\n";
  }
  return out;
}

class Upgrading : public ::testing::Test {
 protected:
  TempDir dir;
  void SetUp() override { ds_ResetForTesting(); }
  void TearDown() override { ds_ResetForTesting(); }

  // Writes `count` records in the older layout and returns their positions.
  std::vector<std::string> writeOlder(int count, bool uniqueNames = true) {
    DataFile f(olderPeople());
    EXPECT_TRUE(f.create());
    EXPECT_TRUE(f.open());
    std::vector<std::string> positions;
    for (int i = 1; i <= count; ++i) {
      f.buffer().clearAll(f.schema().fields);
      f.buffer().setNumber(f.schema().fields[0], i);
      f.buffer().setText(f.schema().fields[1], uniqueNames ? "p" + std::to_string(i) : "same");
      f.buffer().setNumber(f.schema().fields[2], dateFromYmd(1990, 1, i % 28 + 1));
      f.buffer().setText(f.schema().fields[3], "note " + std::to_string(i * 7));
      EXPECT_TRUE(f.add());
      positions.push_back(f.position());
    }
    return positions;
  }
};

}  // namespace

TEST_F(Upgrading, AnOlderFileIsConvertedWithoutLoss) {
  const auto positions = writeOlder(120);
  const TableSchema current = peopleSchema(2);
  DataFile direct(current);
  EXPECT_FALSE(direct.open());
  EXPECT_EQ(errorCode(), kInvalidRecordDeclaration);  // without the upgrader, the difference is an error

  ds_PassHandleForUpgrading();
  ds_UsingFile("PEO", "People", current, 2);
  DataFile f(current);
  ASSERT_EQ(ds_FileOpen(f, OpenAccess::ReadWrite), 0) << errorMessage();
  EXPECT_EQ(f.records(), 120);
  for (int i = 1; i <= 120; ++i) {
    ASSERT_TRUE(f.getAt(positions[static_cast<std::size_t>(i - 1)])) << i;  // positions are kept
    EXPECT_EQ(f.buffer().number(current.fields[kNumber]), i);
    EXPECT_EQ(f.buffer().text(current.fields[kName]), "p" + std::to_string(i));
    EXPECT_EQ(f.buffer().number(current.fields[kBorn]), dateFromYmd(1990, 1, i % 28 + 1));
    EXPECT_EQ(f.buffer().text(current.fields[kNote]), "note " + std::to_string(i * 7));
    EXPECT_EQ(f.buffer().number(current.fields[kGroup]), 0);  // new fields start at zero
    EXPECT_EQ(f.buffer().get(DecimalField{current.fields[kGiven].offset}), Decimal());
  }
  // The new keys work, and a second open finds nothing to do.
  f.setToStart(2);
  int n = 0;
  while (f.next()) ++n;
  EXPECT_EQ(n, 120);
  f.close();
  const std::string before = storedState();
  ASSERT_EQ(ds_FileOpen(f, OpenAccess::ReadWrite), 0);
  EXPECT_EQ(storedState(), before);
}

TEST_F(Upgrading, AFailedConversionLeavesTheOldFileUntouched) {
  writeOlder(10, /*uniqueNames=*/false);  // the new unique group+name key cannot hold these
  const std::string before = storedState();
  ds_UsingFile("PEO", "People", peopleSchema(2), 2);
  DataFile f(peopleSchema(2));
  EXPECT_NE(ds_FileOpen(f, OpenAccess::ReadWrite), 0);
  EXPECT_FALSE(f.isOpen());
  EXPECT_EQ(storedState(), before);
  DataFile old(olderPeople());
  ASSERT_TRUE(old.open());
  EXPECT_EQ(old.records(), 10);
}

TEST_F(Upgrading, ShorterTextIsCutOnCharacterBoundaries) {
  DataFile f(peopleSchema());
  ASSERT_TRUE(f.create());
  ASSERT_TRUE(f.open());
  f.buffer().clearAll(f.schema().fields);
  f.buffer().setText(f.schema().fields[kName], "ab\xE2\x82\xAC" "cd");  // a 3-byte euro at bytes 3-5
  ASSERT_TRUE(f.add());
  f.close();
  TableSchema narrow = peopleSchema(2);
  narrow.fields[kName].size = 5;  // 4 bytes of text: the euro does not fit whole
  ds_UsingFile("PEO", "People", narrow, 2);
  DataFile g(narrow);
  ASSERT_EQ(ds_FileOpen(g, OpenAccess::ReadWrite), 0) << errorMessage();
  g.setToStart(0);
  ASSERT_TRUE(g.next());
  EXPECT_EQ(g.buffer().text(narrow.fields[kName]), "ab");
}

TEST_F(Upgrading, WithBadFileOnAnUnconvertibleFileIsSetAside) {
  writeOlder(3, false);
  ds_SetOption("BadFile", 1);
  ds_UsingFile("PEO", "People", peopleSchema(2), 2);
  DataFile f(peopleSchema(2));
  if (serverEngineWanted()) {
    // Every station shares a server's table: it is never set aside, but stays as it was.
    const std::string before = storedState();
    EXPECT_NE(ds_FileOpen(f, OpenAccess::ReadWrite), 0);
    EXPECT_NE(errorCode(), kFileNotFound);
    EXPECT_EQ(storedState(), before);
    return;
  }
  EXPECT_EQ(ds_FileOpen(f, OpenAccess::ReadWrite), kFileNotFound);
  EXPECT_FALSE(fileBytes("People.vdb.bad").empty());
  ASSERT_TRUE(f.create());
  EXPECT_EQ(ds_FileOpen(f, OpenAccess::ReadWrite), 0);
}

TEST_F(Upgrading, AConvertedTableTellsItsProgressAndNumbersNewRecordsAfterTheOldOnes) {
  writeOlder(300);
  std::vector<std::tuple<std::string, std::int64_t, std::int64_t>> told;
  ds_SetConvertProgress([&](const std::string& label, std::int64_t done, std::int64_t total) {
    told.emplace_back(label, done, total);
  });
  TableSchema current = peopleSchema(2);
  current.searchFields = {kName, kNote};  // the new version searches names and notes by word
  ds_UsingFile("PEO", "People", current, 2);
  DataFile f(current);
  ASSERT_EQ(ds_FileOpen(f, OpenAccess::ReadWrite), 0) << errorMessage();
  ASSERT_GE(told.size(), 3u);
  EXPECT_EQ(told.front(), std::make_tuple(std::string("People"), std::int64_t{0}, std::int64_t{300}));
  EXPECT_EQ(told.back(), std::make_tuple(std::string("People"), std::int64_t{300}, std::int64_t{300}));
  for (std::size_t i = 1; i < told.size(); ++i) EXPECT_LT(std::get<1>(told[i - 1]), std::get<1>(told[i]));

  // A record added now takes a position of its own, after every carried one.
  std::int64_t highest = 0;
  f.setToStart(DataFile::kFileOrder);
  while (f.next()) highest = std::max(highest, f.currentRowid());
  f.buffer().clearAll(current.fields);
  f.buffer().setNumber(current.fields[kNumber], 301);
  f.buffer().setText(current.fields[kName], "Newcomer");
  f.buffer().setText(current.fields[kNote], "arrived after the upgrade");
  ASSERT_TRUE(f.add()) << errorMessage();
  EXPECT_GT(f.currentRowid(), highest);
  EXPECT_EQ(f.records(), 301);

  // The carried records are found by the words of their notes, as the new one is.
  View v(f);
  ASSERT_TRUE(v.setOrder("+PEO:Number"));
  ASSERT_TRUE(v.setFilter("MATCHWORDS('note 70', PEO:Name, PEO:Note)")) << errorMessage();
  ASSERT_TRUE(v.open());
  std::vector<int> found;
  v.setToStart();
  while (v.next()) found.push_back(static_cast<int>(f.buffer().number(current.fields[kNumber])));
  EXPECT_EQ(found, (std::vector<int>{10, 100, 101}));  // notes 70, 700 and 707
}

TEST_F(Upgrading, ATableOfANewerVersionIsNeverBroughtDown) {
  {
    DataFile newer(peopleSchema(3));
    ASSERT_TRUE(newer.create());
    ASSERT_TRUE(newer.open());
    newer.buffer().clearAll(newer.schema().fields);
    newer.buffer().setText(newer.schema().fields[kName], "kept by the newer version");
    ASSERT_TRUE(newer.add());
  }
  const std::string before = storedState();
  // This version knows the table without its amount: converting would lose it.
  TableSchema older = olderPeople();
  older.version = 2;
  ds_UsingFile("PEO", "People", older, 2);
  DataFile f(older);
  EXPECT_EQ(ds_FileOpen(f, OpenAccess::ReadWrite), kInvalidRecordDeclaration);
  EXPECT_NE(threadError().fileText.find("newer version"), std::string::npos) << threadError().fileText;
  EXPECT_FALSE(f.isOpen());
  EXPECT_EQ(storedState(), before);
}
