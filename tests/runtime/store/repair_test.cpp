#include <gtest/gtest.h>

#include <fstream>

#include "runtime/data/errors.h"
#include "runtime/store/file_repair.h"
#include "runtime/store/data_file.h"
#include "support/temp_dir.h"
#include "test_schema.h"

using namespace vrt;
using namespace vtest;

namespace {

class Repair : public ::testing::Test {
 protected:
  TempDir dir;
  TableSchema schema = peopleSchema();

  void fillFile(int count) {
    DataFile f(schema);
    ASSERT_TRUE(f.create());
    ASSERT_TRUE(f.open());
    ASSERT_TRUE(f.stream());
    for (int i = 1; i <= count; ++i) {
      f.buffer().clearAll(schema.fields);
      f.buffer().setNumber(schema.fields[kNumber], i);
      f.buffer().setNumber(schema.fields[kGroup], i);
      f.buffer().setText(schema.fields[kName], "name" + std::to_string(count - i));
      ASSERT_TRUE(f.add());
    }
    ASSERT_TRUE(f.flush());
  }

  // Overwrites the first page of an index with rubbish.
  void damageIndex(const std::string& index) {
    int root = 0, pageSize = 0;
    {
      sql::Database db;
      ASSERT_EQ(db.open("People.vdb", true, false), SQLITE_OK);
      sql::Statement s(db.handle(), "SELECT rootpage FROM sqlite_schema WHERE name = ?", false);
      s.bind(1, std::string_view(index));
      ASSERT_EQ(s.step(), SQLITE_ROW);
      root = static_cast<int>(s.int64(0));
      sql::Statement p(db.handle(), "PRAGMA page_size", false);
      ASSERT_EQ(p.step(), SQLITE_ROW);
      pageSize = static_cast<int>(p.int64(0));
    }
    std::fstream file("People.vdb", std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(static_cast<std::streamoff>(root - 1) * pageSize);
    const std::string rubbish(static_cast<std::size_t>(pageSize), '\x7F');
    file.write(rubbish.data(), static_cast<std::streamsize>(rubbish.size()));
  }

  int countInOrder(DataFile& f, int key) {
    f.setToStart(key);
    int n = 0;
    while (f.next()) ++n;
    return n;
  }
};

}  // namespace

TEST_F(Repair, ADamagedIndexIsReportedAndRebuiltFromTheRecords) {
  fillFile(400);
  damageIndex("NameKey");
  EXPECT_FALSE(store::checkFile("People.vdb", DataFile(schema).layout()).ok);
  DataFile f(schema);
  ASSERT_TRUE(f.open());  // the damage shows only when the index is read
  f.setToStart(1);
  EXPECT_FALSE(f.next());
  EXPECT_EQ(errorCode(), kInvalidKey);
  ASSERT_TRUE(f.buildKeys()) << errorMessage();
  EXPECT_TRUE(f.isOpen());
  EXPECT_EQ(countInOrder(f, 1), 400);
  EXPECT_EQ(countInOrder(f, 0), 400);
  EXPECT_EQ(f.records(), 400);
  EXPECT_TRUE(store::checkFile("People.vdb", f.layout()).ok);
}

TEST_F(Repair, AMissingIndexMakesTheKeysInvalidUntilRebuilt) {
  fillFile(10);
  {
    sql::Database db;
    ASSERT_EQ(db.open("People.vdb", false, false), SQLITE_OK);
    ASSERT_EQ(db.exec("DROP INDEX GroupNameKey"), SQLITE_OK);
  }
  DataFile f(schema);
  EXPECT_FALSE(f.open());
  EXPECT_EQ(errorCode(), kInvalidKey);
  ASSERT_TRUE(f.buildKeys());
  ASSERT_TRUE(f.open());
  EXPECT_EQ(countInOrder(f, 2), 10);
}
