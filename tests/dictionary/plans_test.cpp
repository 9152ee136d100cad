#include <gtest/gtest.h>

#include "dictionary/dictionary.h"
#include "runtime/store/plan_check.h"
#include "support/temp_dir.h"

// Every page read of every table of the dictionary, in each key's order and both
// directions, seeks on an index.
TEST(DictionaryFiles, EveryTableIsCreatedAndEveryPageReadSeeks) {
  vtest::TempDir dir;
  for (const auto& schema : vesp::dict::tables()) {
    SCOPED_TRACE(schema.label);
    vrt::DataFile f(schema);
    ASSERT_TRUE(f.create());
    ASSERT_TRUE(f.open());
    EXPECT_EQ(f.path(), schema.label + ".vdb");
    vtest::expectEveryPageReadSeeks(f);
  }
}
