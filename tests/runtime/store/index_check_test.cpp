// The index check must find what SQLite's own integrity check finds about indexes. Each
// damage is made the way real damage looks to SQLite: an index whose stored entries no
// longer agree with what its definition says, by rewriting the definition underneath it.
#include <gtest/gtest.h>

#include <filesystem>

#include "runtime/store/index_check.h"

namespace vrt::store {
namespace {

class IndexCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (std::filesystem::temp_directory_path() / ("index-check-" + std::to_string(::getpid()) + ".db")).string();
    std::filesystem::remove(path_);
    ASSERT_EQ(db_.open(path_, false, true), SQLITE_OK);
    ASSERT_EQ(db_.exec("CREATE TABLE t(n INTEGER NOT NULL, name TEXT NOT NULL COLLATE VNOCASE, x REAL);"
                       "CREATE INDEX t_name ON t(name DESC, n);"
                       "CREATE UNIQUE INDEX t_n ON t(n);"
                       "CREATE TABLE small(a TEXT PRIMARY KEY, b);"
                       "CREATE TABLE other(k INTEGER PRIMARY KEY, v);"),
              SQLITE_OK);
    ASSERT_EQ(db_.exec("WITH RECURSIVE r(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM r WHERE i < 500) "
                       "INSERT INTO t SELECT i, 'Name ' || (i % 37), i / 3.0 FROM r;"
                       "INSERT INTO small VALUES ('a', 1), ('B', 2), ('c', x'00ff');"
                       "INSERT INTO other(v) VALUES (1), (2);"),
              SQLITE_OK);
  }
  void TearDown() override {
    db_.close();
    std::filesystem::remove(path_);
  }

  // Replaces an index's definition without touching its entries, then reopens.
  void redefine(const std::string& index, const std::string& sql) {
    ASSERT_EQ(db_.exec("PRAGMA writable_schema=ON; UPDATE sqlite_schema SET sql = " + sql::quoteText(sql) +
                       " WHERE name = " + sql::quoteText(index) + "; PRAGMA writable_schema=OFF;"),
              SQLITE_OK);
    db_.close();
    ASSERT_EQ(db_.open(path_, false, false), SQLITE_OK);
  }

  std::string sqliteCheck() {
    sql::Statement s(db_.handle(), "PRAGMA integrity_check", false);
    std::string out;
    while (s.step() == SQLITE_ROW) out += std::string(s.text(0)) + "\n";
    return out;
  }

  std::string path_;
  sql::Database db_;
};

TEST_F(IndexCheckTest, ASoundFileHasNoFaultsAndEveryTableIsCounted) {
  RowCounts rows;
  EXPECT_EQ(checkIndexes(db_, rows), "");
  EXPECT_EQ(rows, (RowCounts{{"other", 2}, {"small", 3}, {"t", 500}}));
  EXPECT_EQ(sqliteCheck(), "ok\n");
}

TEST_F(IndexCheckTest, EntriesThatNoLongerMatchTheirRowsAreFoundAsSqliteFindsThem) {
  // Same number of entries, other contents: the index holds names, its definition says x.
  redefine("t_name", "CREATE INDEX t_name ON t(x DESC, n)");
  RowCounts rows;
  const std::string faults = checkIndexes(db_, rows);
  EXPECT_NE(faults.find("index t_name does not match the rows of t"), std::string::npos) << faults;
  EXPECT_NE(sqliteCheck(), "ok\n");
}

TEST_F(IndexCheckTest, MissingEntriesAreCounted) {
  db_.exec("CREATE INDEX t_part ON t(n) WHERE n > 100");
  redefine("t_part", "CREATE INDEX t_part ON t(n)");
  RowCounts rows;
  const std::string faults = checkIndexes(db_, rows);
  EXPECT_NE(faults.find("wrong # of entries in index t_part (400 for 500 rows)"), std::string::npos) << faults;
  EXPECT_NE(sqliteCheck(), "ok\n");
}

TEST_F(IndexCheckTest, AUniqueIndexHoldingAKeyTwiceIsFoundUnderItsCollation) {
  // 'Abel' and 'ABEL ' are one key to the case-blind collation, two to the bytes.
  db_.exec("CREATE TABLE u(name TEXT COLLATE VNOCASE); INSERT INTO u VALUES ('Abel'), ('Cole'), ('ABEL ');"
           "CREATE INDEX t_names ON u(name)");
  redefine("t_names", "CREATE UNIQUE INDEX t_names ON u(name)");
  RowCounts rows;
  const std::string faults = checkIndexes(db_, rows);
  EXPECT_NE(faults.find("non-unique entry in index t_names"), std::string::npos) << faults;
  EXPECT_NE(sqliteCheck(), "ok\n");
}

TEST_F(IndexCheckTest, IndexesItCannotReadGetSqlitesOwnCheckOfTheirTable) {
  db_.exec("CREATE INDEX t_expr ON t(n + 1)");
  RowCounts rows;
  EXPECT_EQ(checkIndexes(db_, rows), "");
  EXPECT_EQ(rows["t"], 500);
  redefine("t_expr", "CREATE INDEX t_expr ON t(n + 2)");
  EXPECT_NE(checkIndexes(db_, rows), "");
}

TEST_F(IndexCheckTest, FaultsStopAtTheLimit) {
  db_.exec("CREATE INDEX a1 ON t(x); CREATE INDEX a2 ON t(x); CREATE INDEX a3 ON t(x)");
  redefine("a1", "CREATE INDEX a1 ON t(n)");
  redefine("a2", "CREATE INDEX a2 ON t(n)");
  redefine("a3", "CREATE INDEX a3 ON t(n)");
  RowCounts rows;
  const std::string faults = checkIndexes(db_, rows, 2);
  EXPECT_EQ(std::count(faults.begin(), faults.end(), ';'), 1) << faults;
}

}  // namespace
}  // namespace vrt::store
