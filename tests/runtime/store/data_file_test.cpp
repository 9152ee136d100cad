#include <gtest/gtest.h>
#include <sys/stat.h>

#include <thread>

#include "runtime/store/data_file.h"
#include "runtime/data/errors.h"
#include "runtime/text/utf8.h"
#include "support/temp_dir.h"
#include "test_schema.h"

using namespace vrt;
using namespace vtest;

namespace {

class DataFileTest : public ::testing::Test {
 protected:
  TempDir dir;
  TableSchema schema = peopleSchema();

  std::unique_ptr<DataFile> fresh() {
    auto f = std::make_unique<DataFile>(schema);
    EXPECT_TRUE(f->create());
    EXPECT_TRUE(f->open());
    return f;
  }
  static void fill(DataFile& f, int number, const char* name, int group = 0, DayNumber born = 0) {
    f.buffer().clearAll(f.schema().fields);
    auto& s = f.schema().fields;
    f.buffer().setNumber(s[kNumber], number);
    f.buffer().setText(s[kName], name);
    f.buffer().setNumber(s[kGroup], group);
    f.buffer().setNumber(s[kBorn], born);
  }
  static int number(DataFile& f) { return static_cast<int>(f.buffer().number(f.schema().fields[kNumber])); }
  static std::string name(DataFile& f) { return f.buffer().text(f.schema().fields[kName]); }
  // Reads the whole key order one way and returns the numbers.
  static std::vector<int> readAll(DataFile& f, int key, bool forward) {
    std::vector<int> out;
    forward ? f.setToStart(key) : f.setToEnd(key);
    while (forward ? f.next() : f.previous()) out.push_back(number(f));
    EXPECT_EQ(errorCode(), kRecordNotAvailable);
    return out;
  }
};

}  // namespace

TEST_F(DataFileTest, RecordsGoInAndComeBackInEveryKeyOrder) {
  auto f = fresh();
  fill(*f, 3, "carol", 1);
  ASSERT_TRUE(f->add());
  fill(*f, 1, "Bob", 2);
  ASSERT_TRUE(f->add());
  fill(*f, 2, "alice", 1);
  ASSERT_TRUE(f->add());
  EXPECT_EQ(f->records(), 3);
  EXPECT_EQ(readAll(*f, 0, true), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(readAll(*f, 0, false), (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(readAll(*f, 1, true), (std::vector<int>{2, 1, 3}));  // names ignore case
  EXPECT_EQ(readAll(*f, 2, true), (std::vector<int>{2, 3, 1}));
  EXPECT_EQ(readAll(*f, DataFile::kFileOrder, true), (std::vector<int>{3, 1, 2}));
  // Every field survives the trip, including trailing-blank text, dates and amounts.
  fill(*f, 9, "\xC3\xA9mile", 4, dateFromYmd(2000, 2, 29));
  f->buffer().set(DecimalField{29}, Decimal::fromCents(-123456));
  f->buffer().setText(f->schema().fields[kNote], "a long note  ");
  ASSERT_TRUE(f->add());
  const RecordBuffer written = f->buffer();
  fill(*f, 9, "");
  ASSERT_TRUE(f->get(0));
  EXPECT_EQ(f->buffer(), written);
}

TEST_F(DataFileTest, NextAndPreviousTurnAroundOnTheCurrentRecord) {
  auto f = fresh();
  for (int i = 1; i <= 5; ++i) {
    fill(*f, i, "x", i);
    ASSERT_TRUE(f->add());
  }
  f->setToStart(0);
  ASSERT_TRUE(f->next());
  ASSERT_TRUE(f->next());
  ASSERT_TRUE(f->next());
  EXPECT_EQ(number(*f), 3);
  ASSERT_TRUE(f->previous());
  EXPECT_EQ(number(*f), 2);
  // Past the end, the way back starts at the last record.
  f->setToEnd(0);
  EXPECT_FALSE(f->next());
  EXPECT_EQ(errorCode(), kRecordNotAvailable);
  ASSERT_TRUE(f->previous());
  EXPECT_EQ(number(*f), 5);
  f->setToStart(0);
  EXPECT_FALSE(f->previous());
  ASSERT_TRUE(f->next());
  EXPECT_EQ(number(*f), 1);
}

TEST_F(DataFileTest, SetToAValueFindsTheNearestRecordEachWay) {
  auto f = fresh();
  for (int i : {10, 20, 30}) {
    fill(*f, i, "x", i);
    ASSERT_TRUE(f->add());
  }
  fill(*f, 20, "");
  f->setToValue(0);
  ASSERT_TRUE(f->next());
  EXPECT_EQ(number(*f), 20);
  fill(*f, 25, "");
  f->setToValue(0);
  ASSERT_TRUE(f->next());
  EXPECT_EQ(number(*f), 30);
  fill(*f, 25, "");
  f->setToValue(0);
  ASSERT_TRUE(f->previous());
  EXPECT_EQ(number(*f), 20);
  fill(*f, 20, "");
  f->setToValue(0);
  ASSERT_TRUE(f->previous());
  EXPECT_EQ(number(*f), 20);
}

TEST_F(DataFileTest, PositionsSurviveOtherRecordsComingAndGoing) {
  auto f = fresh();
  for (int i = 1; i <= 6; ++i) {
    fill(*f, i * 10, i % 2 ? "odd" : "even", i);
    ASSERT_TRUE(f->add());
  }
  fill(*f, 40, "");
  ASSERT_TRUE(f->get(0));
  const std::string byName = f->position(1);
  const std::string byFile = f->position();
  EXPECT_LE(byName.size(), DataFile::kMaxPosition);
  // Others change around it.
  fill(*f, 20, "");
  ASSERT_TRUE(f->get(0));
  ASSERT_TRUE(f->erase());
  fill(*f, 35, "even", 35);
  ASSERT_TRUE(f->add());
  fill(*f, 5, "even", 5);
  ASSERT_TRUE(f->add());
  ASSERT_TRUE(f->getAt(byFile));
  EXPECT_EQ(number(*f), 40);
  ASSERT_TRUE(f->resetTo(1, byName));
  ASSERT_TRUE(f->next());
  EXPECT_EQ(number(*f), 40);
  ASSERT_TRUE(f->next());
  EXPECT_EQ(number(*f), 60);
  ASSERT_TRUE(f->resetTo(1, byName));
  ASSERT_TRUE(f->previous());
  EXPECT_EQ(number(*f), 40);
  ASSERT_TRUE(f->previous());
  EXPECT_EQ(number(*f), 35);
  // A position whose record has gone still places the cursor where it stood.
  fill(*f, 40, "");
  ASSERT_TRUE(f->get(0));
  ASSERT_TRUE(f->erase());
  ASSERT_TRUE(f->resetTo(1, byName));
  ASSERT_TRUE(f->next());
  EXPECT_EQ(number(*f), 60);
  EXPECT_FALSE(f->getAt(byFile));
  EXPECT_EQ(errorCode(), kRecordNotFound);
  EXPECT_FALSE(f->resetTo(1, "xy"));
  EXPECT_EQ(errorCode(), kBadArgument);
}

TEST_F(DataFileTest, DuplicateKeysAreRefusedAndNamed) {
  auto f = fresh();
  fill(*f, 1, "Ann", 7);
  ASSERT_TRUE(f->add());
  fill(*f, 2, "ANN  ", 7);  // same group and name, but for case and trailing blanks
  EXPECT_FALSE(f->add());
  EXPECT_EQ(errorCode(), kDuplicateKey);
  EXPECT_EQ(threadError().keyName, "PEO:GroupNameKey");
  fill(*f, 1, "Other", 8);
  EXPECT_FALSE(f->add());
  EXPECT_EQ(threadError().keyName, "PEO:NumberKey");
  EXPECT_EQ(f->records(), 1);
  // A change into a collision is refused too, and the stored record stays.
  fill(*f, 2, "Bea", 7);
  ASSERT_TRUE(f->add());
  f->buffer().setText(f->schema().fields[kName], "ann");
  EXPECT_FALSE(f->put());
  EXPECT_EQ(errorCode(), kDuplicateKey);
  fill(*f, 2, "");
  ASSERT_TRUE(f->get(0));
  EXPECT_EQ(name(*f), "Bea");
  EXPECT_FALSE(f->duplicates(2));
}

TEST_F(DataFileTest, ConditionsAreReportedByNumber) {
  DataFile missing(schema);
  EXPECT_FALSE(missing.open());
  EXPECT_EQ(errorCode(), kFileNotFound);

  auto f = fresh();
  EXPECT_FALSE(f->open());
  EXPECT_EQ(errorCode(), kFileAlreadyOpen);
  DataFile again(schema);
  EXPECT_FALSE(again.create());  // never replaces a file that exists
  fill(*f, 1, "x");
  EXPECT_FALSE(f->get(0));
  EXPECT_EQ(errorCode(), kRecordNotFound);
  f->setToStart(0);
  EXPECT_FALSE(f->next());
  EXPECT_EQ(errorCode(), kRecordNotAvailable);
  EXPECT_FALSE(f->put());  // nothing read yet
  EXPECT_EQ(errorCode(), kRecordNotFound);
  EXPECT_FALSE(f->sendOption("Nonsense=1"));
  EXPECT_TRUE(f->sendOption("Recover=10"));
  EXPECT_EQ(f->lockRecoverSeconds(), 10);

  // The same table declared differently is an invalid record declaration.
  f->close();
  TableSchema other = schema;
  other.fields[kNote].size = 500;
  other.recordSize -= 100;
  DataFile differs(other);
  EXPECT_FALSE(differs.open());
  EXPECT_EQ(errorCode(), kInvalidRecordDeclaration);
}

TEST_F(DataFileTest, ConditionsOfTheFilesOnDiskAreReportedByNumber) {
  DataFile nowhere(schema, "no/such/dir/People.vdb");
  EXPECT_FALSE(nowhere.open());
  EXPECT_EQ(errorCode(), kPathNotFound);
  // Something that is not a data file at all is the driver's to describe.
  { FILE* junk = std::fopen("Junk.vdb", "w"); std::fputs("not a database, just words", junk); std::fclose(junk); }
  DataFile notOurs(schema, "Junk.vdb");
  EXPECT_FALSE(notOurs.open());
  EXPECT_EQ(errorCode(), kDriverError);
  EXPECT_NE(threadError().fileCode, 0);
  EXPECT_FALSE(threadError().fileText.empty());
}

TEST_F(DataFileTest, AReadOnlyFileOpensOnlyForReading) {
  { auto f = fresh(); fill(*f, 1, "x"); ASSERT_TRUE(f->add()); }
  ASSERT_EQ(::chmod("People.vdb", 0444), 0);
  DataFile f(schema);
  EXPECT_FALSE(f.open(OpenAccess::ReadWrite));
  EXPECT_EQ(errorCode(), kAccessDenied);
  ASSERT_TRUE(f.open(OpenAccess::ReadOnly));
  EXPECT_TRUE(f.isReadOnly());
  fill(f, 1, "");
  ASSERT_TRUE(f.get(0));
  EXPECT_FALSE(f.put());
  EXPECT_EQ(errorCode(), kAccessDenied);
  fill(f, 2, "y");
  EXPECT_FALSE(f.add());
  EXPECT_EQ(errorCode(), kAccessDenied);
}

TEST_F(DataFileTest, AnotherStationsChangeIsNotOverwritten) {
  auto mine = fresh();
  fill(*mine, 1, "original");
  ASSERT_TRUE(mine->add());
  mine->watch();
  fill(*mine, 1, "");
  ASSERT_TRUE(mine->get(0));

  // Another station (another connection on another thread) changes the record.
  std::thread other([&] {
    DataFile theirs(schema);
    ASSERT_TRUE(theirs.open());
    fill(theirs, 1, "");
    ASSERT_TRUE(theirs.get(0));
    theirs.buffer().setText(theirs.schema().fields[kName], "theirs");
    ASSERT_TRUE(theirs.put());
  });
  other.join();

  mine->buffer().setText(mine->schema().fields[kName], "mine");
  EXPECT_FALSE(mine->put());
  EXPECT_EQ(errorCode(), kChangedByAnotherStation);
  EXPECT_FALSE(mine->erase());
  EXPECT_EQ(errorCode(), kChangedByAnotherStation);
  fill(*mine, 1, "");
  ASSERT_TRUE(mine->get(0));
  EXPECT_EQ(name(*mine), "theirs");
  // Having read the other version, this station may write again.
  mine->buffer().setText(mine->schema().fields[kName], "mine");
  EXPECT_TRUE(mine->put());
  EXPECT_TRUE(mine->put());  // its own writes do not count against it
}

TEST_F(DataFileTest, LocksHeldElsewhereAreReported) {
  auto f = fresh();
  fill(*f, 1, "x");
  ASSERT_TRUE(f->add());
  DataFile holder(schema);
  ASSERT_TRUE(holder.open());
  ASSERT_TRUE(holder.stream());  // a write transaction held by another station
  fill(holder, 2, "y");
  ASSERT_TRUE(holder.add());
  fill(*f, 3, "z");
  EXPECT_FALSE(f->add());
  EXPECT_EQ(errorCode(), kFileLocked);
  ASSERT_TRUE(holder.flush());
  EXPECT_TRUE(f->add());
  EXPECT_EQ(f->records(), 3);
}

TEST_F(DataFileTest, AReadMeetingAnExclusiveLockReportsTheRecordHeld) {
  auto f = fresh();
  fill(*f, 1, "x");
  ASSERT_TRUE(f->add());
  f->close();
  sql::Database holder;
  ASSERT_EQ(holder.open("People.vdb", false, false), SQLITE_OK);
  ASSERT_EQ(holder.exec("BEGIN EXCLUSIVE"), SQLITE_OK);  // what a station holds while it commits
  DataFile reader(schema);
  EXPECT_FALSE(reader.open());
  EXPECT_EQ(errorCode(), kFileLocked);
  holder.exec("COMMIT");
  ASSERT_TRUE(reader.open());
  ASSERT_EQ(holder.exec("BEGIN EXCLUSIVE"), SQLITE_OK);
  reader.setToStart(0);
  EXPECT_FALSE(reader.next());
  EXPECT_EQ(errorCode(), kRecordHeld);
  holder.exec("COMMIT");
  EXPECT_TRUE(reader.next());
}

TEST_F(DataFileTest, SavedStateBringsBackPositionAndBuffer) {
  auto f = fresh();
  for (int i = 1; i <= 4; ++i) {
    fill(*f, i, "n", i);
    ASSERT_TRUE(f->add());
  }
  f->setToStart(0);
  ASSERT_TRUE(f->next());
  ASSERT_TRUE(f->next());
  auto state = f->saveState();
  f->setToEnd(0);
  ASSERT_TRUE(f->previous());
  EXPECT_EQ(number(*f), 4);
  f->restoreState(*state);
  EXPECT_EQ(number(*f), 2);
  ASSERT_TRUE(f->next());
  EXPECT_EQ(number(*f), 3);
}

TEST_F(DataFileTest, ClippedTextIsStoredWithoutItsPadding) {
  auto f = fresh();
  fill(*f, 1, "x");
  f->buffer().setText(f->schema().fields[kNote], std::string(40, 'n'));
  ASSERT_TRUE(f->add());
  f->close();
  sql::Database db;
  ASSERT_EQ(db.open("People.vdb", true, false), SQLITE_OK);
  sql::Statement s(db.handle(), "SELECT length(NOTE), length(CAST(NOTE AS BLOB)) FROM People", false);
  ASSERT_EQ(s.step(), SQLITE_ROW);
  EXPECT_EQ(s.int64(0), 40);
  EXPECT_EQ(s.int64(1), 40);
}

TEST_F(DataFileTest, TablesShareAFileWhenNamedSo) {
  TableSchema second = schema;
  second.label = "Others";
  DataFile a(schema, "shared.tps\\!People"), b(second, "shared.tps\\!Others");
  ASSERT_TRUE(a.create());
  EXPECT_FALSE(b.open());
  EXPECT_EQ(errorCode(), kFileNotFound);  // the file is there, the table is not yet
  ASSERT_TRUE(b.create());
  ASSERT_TRUE(a.open());
  ASSERT_TRUE(b.open());
  fill(a, 1, "in a");
  ASSERT_TRUE(a.add());
  EXPECT_EQ(a.records(), 1);
  EXPECT_EQ(b.records(), 0);
  EXPECT_EQ(a.path(), "shared.tps");
}
