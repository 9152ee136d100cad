#include <gtest/gtest.h>

#include "plan_check.h"
#include "support/temp_dir.h"
#include "test_schema.h"

TEST(QueryPlans, EveryPageReadSeeksOnItsIndex) {
  vtest::TempDir dir;
  vrt::DataFile f(vtest::peopleSchema());
  ASSERT_TRUE(f.create());
  ASSERT_TRUE(f.open());
  vtest::expectEveryPageReadSeeks(f);
}
