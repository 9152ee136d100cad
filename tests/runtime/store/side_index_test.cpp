// Side indexes: made with the file and on a writable open of a file made without them,
// checked and rebuilt by the repair, and what distinctNumbers answers, in and out of
// transactions, read off the index.
#include <gtest/gtest.h>

#include <algorithm>

#include "runtime/data/errors.h"
#include "runtime/store/file_repair.h"
#include "runtime/store/side_index.h"
#include "runtime/store/transaction.h"
#include "runtime/store/view.h"
#include "support/temp_dir.h"
#include "test_schema.h"

using namespace vrt;
using namespace vtest;

namespace {

TableSchema grouped() {
  TableSchema t = peopleSchema();
  t.sideIndexes = {{kGroup, kNumber}, {kGiven}};  // no key leads with the amount
  return t;
}

void add(DataFile& f, int number, int group, double given = 0) {
  auto& fields = f.schema().fields;
  f.buffer().clearAll(fields);
  f.buffer().setNumber(fields[kNumber], number);
  f.buffer().setNumber(fields[kGroup], group);
  f.buffer().setNumber(fields[kGiven], given);
  f.buffer().setText(fields[kName], "N" + std::to_string(number));
  ASSERT_TRUE(f.add()) << errorMessage();
}

std::vector<std::int64_t> numbersIn(DataFile& f, int group) {
  std::vector<std::int64_t> out;
  EXPECT_TRUE(f.distinctNumbers(kGroup, group, kNumber, out)) << errorMessage();
  return out;
}

std::string planOf(const std::string& path, const std::string& query) {
  sql::Database db;
  EXPECT_EQ(db.open(path, true, false), SQLITE_OK);
  sql::Statement plan(db.handle(), "EXPLAIN QUERY PLAN " + query, false);
  std::string details;
  while (plan.step() == SQLITE_ROW) details += std::string(plan.text(3)) + "; ";
  return details;
}

TEST(SideIndex, MadeWithTheFileAndOnAWritableOpenOfAnOlderFile) {
  TempDir dir;
  const TableSchema schema = grouped();
  {
    DataFile plain{peopleSchema()};
    ASSERT_TRUE(plain.create());
  }
  DataFile people{schema};
  const store::TableLayout& layout = people.layout();
  EXPECT_FALSE(store::checkFile(people.path(), layout).ok) << "a file made without them lacks them";
  // Read-only: the file is left as it is, and still reads.
  ASSERT_TRUE(people.open(OpenAccess::ReadOnly));
  people.close();
  EXPECT_FALSE(store::checkFile(people.path(), layout).ok);
  ASSERT_TRUE(people.open());
  people.close();
  const auto report = store::checkFile(people.path(), layout);
  EXPECT_TRUE(report.ok) << (report.problems.empty() ? "" : report.problems.front());
  // The same format: the declaration without side indexes opens the file.
  DataFile plain{peopleSchema()};
  EXPECT_TRUE(plain.open()) << errorMessage();
}

TEST(SideIndex, ARepairPutsBackADroppedSideIndex) {
  TempDir dir;
  const TableSchema schema = grouped();
  DataFile people{schema};
  ASSERT_TRUE(people.create());
  ASSERT_TRUE(people.open());
  add(people, 1, 7);
  people.close();
  {
    sql::Database db;
    ASSERT_EQ(db.open(people.path(), false, false), SQLITE_OK);
    ASSERT_EQ(db.exec("DROP INDEX " + sql::quoteIdent(store::sideIndexName(people.layout(), 0))), SQLITE_OK);
  }
  auto report = store::checkFile(people.path(), people.layout());
  ASSERT_FALSE(report.ok);
  EXPECT_EQ(report.problems.front(), "a side index is missing");
  ASSERT_TRUE(people.buildKeys()) << errorMessage();
  EXPECT_TRUE(store::checkFile(people.path(), people.layout()).ok);
  ASSERT_TRUE(people.open());
  EXPECT_EQ(numbersIn(people, 7), (std::vector<std::int64_t>{1}));
}

TEST(SideIndex, DistinctNumbersFollowWritesInAndOutOfTransactionsAndSeek) {
  TempDir dir;
  const TableSchema schema = grouped();
  DataFile people{schema};
  ASSERT_TRUE(people.create());
  ASSERT_TRUE(people.open());
  for (int n = 1; n <= 30; ++n) add(people, n, n % 3);
  EXPECT_EQ(numbersIn(people, 9), (std::vector<std::int64_t>{}));
  const auto ones = numbersIn(people, 1);
  ASSERT_EQ(ones.size(), 10u);
  EXPECT_EQ(ones.front(), 1);
  EXPECT_EQ(ones.back(), 28);

  // The cursor stays where it was.
  people.setToStart(1);
  ASSERT_TRUE(people.next());
  const std::string before = people.position(1);
  numbersIn(people, 2);
  EXPECT_EQ(people.position(1), before);
  ASSERT_TRUE(people.next());
  EXPECT_EQ(people.buffer().text(people.schema().fields[kName]), "N10");

  {
    Transaction t({&people}, 2);
    ASSERT_TRUE(t.begin());
    add(people, 31, 9);
    EXPECT_EQ(numbersIn(people, 9), (std::vector<std::int64_t>{31})) << "the transaction's own change is seen";
    t.rollback();
  }
  EXPECT_TRUE(numbersIn(people, 9).empty());

  std::vector<std::int64_t> out;
  EXPECT_FALSE(people.distinctNumbers(kName, 1, kNumber, out)) << "a text field is refused";
}

TEST(SideIndex, AFilesDistinctNumbersAreReadOffItsSideIndex) {
  TempDir dir;
  DataFile people{grouped()};
  ASSERT_TRUE(people.create());
  const std::string plan = planOf(people.path(), "SELECT DISTINCT NUMBER FROM People WHERE GROUPNO = 1 ORDER BY NUMBER");
  EXPECT_NE(plan.find("SEARCH"), std::string::npos) << plan;
  EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos) << plan;
}

TEST(SideIndex, AViewInAnOrderNoKeyDeclaresSeeksOnIt) {
  TempDir dir;
  const TableSchema schema = grouped();
  DataFile people{schema};
  ASSERT_TRUE(people.create());
  ASSERT_TRUE(people.open());
  for (int n = 1; n <= 20; ++n) add(people, n, 0, n % 4 == 0 ? 0 : 10.5 + n % 5);
  View v(people);
  ASSERT_TRUE(v.setOrder("-PEO:Given"));
  ASSERT_TRUE(v.open());
  std::vector<double> given;
  v.setToStart();
  while (v.next()) given.push_back(people.buffer().number(people.schema().fields[kGiven]));
  ASSERT_EQ(given.size(), 20u);
  EXPECT_TRUE(std::is_sorted(given.rbegin(), given.rend()));
  EXPECT_EQ(given.back(), 0);
  // Every page read walks the side index in order, never sorting; those that start past a
  // record seek to it. (The first page walks from the index's end.)
  const std::string index = store::sideIndexName(people.layout(), 1);
  for (const auto& q : v.pageReadSql()) {
    const std::string plan = planOf(people.path(), q);
    EXPECT_NE(plan.find(index), std::string::npos) << q << " -> " << plan;
    EXPECT_EQ(plan.find("TEMP B-TREE"), std::string::npos) << q << " -> " << plan;
    if (q.find("WHERE") != std::string::npos) {
      EXPECT_NE(plan.find("SEARCH"), std::string::npos) << q << " -> " << plan;
    }
  }
}

}  // namespace
