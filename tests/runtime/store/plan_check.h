#pragma once
// Asks SQLite how it would run each page read of a file; every one must seek on an index.
#include <gtest/gtest.h>

#include "runtime/store/data_file.h"

namespace vtest {

inline void expectEveryPageReadSeeks(vrt::DataFile& f) {
  const auto queries = f.pageReadSql();
  ASSERT_FALSE(queries.empty());
  vrt::sql::Database db;
  ASSERT_EQ(db.open(f.path(), true, false), SQLITE_OK);
  for (const auto& q : queries) {
    vrt::sql::Statement plan(db.handle(), "EXPLAIN QUERY PLAN " + q, false);
    ASSERT_TRUE(plan.ok()) << q << ": " << db.lastError();
    std::string details;
    while (plan.step() == SQLITE_ROW) details += std::string(plan.text(3)) + "; ";
    EXPECT_NE(details.find("SEARCH"), std::string::npos) << q << " -> " << details;
    EXPECT_EQ(details.find("SCAN"), std::string::npos) << q << " -> " << details;
    EXPECT_EQ(details.find("TEMP B-TREE"), std::string::npos) << q << " -> " << details;
  }
}

}  // namespace vtest
