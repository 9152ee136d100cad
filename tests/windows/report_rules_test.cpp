#include <gtest/gtest.h>

#include "windows/page_selection.h"
#include "windows/timed_batches.h"

using namespace vesp;

TEST(PagesToPrintTest, ItemsAndRangesSelectPages) {
  EXPECT_EQ(SelectedPages("1-3,5", 9), (std::vector<int>{1, 2, 3, 5}));
  EXPECT_EQ(SelectedPages(" 2 - 4 , 7", 9), (std::vector<int>{2, 3, 4, 7}));
  EXPECT_EQ(SelectedPages(DefaultPagesToPrint(4), 4), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(DefaultPagesToPrint(12), "1-12");
  // Ranges that run backwards or start at 0, empty texts and words select nothing.
  EXPECT_TRUE(SelectedPages("3-1", 9).empty());
  EXPECT_TRUE(SelectedPages("0-2", 9).empty());
  EXPECT_TRUE(SelectedPages("", 9).empty());
  EXPECT_TRUE(SelectedPages("all,two,-3,4-", 9).empty());
  EXPECT_EQ(SelectedPages("x,6,1-1", 9), (std::vector<int>{1, 6}));
  // Pages past the end are not there to select.
  EXPECT_EQ(SelectedPages("8-20", 9), (std::vector<int>{8, 9}));
  EXPECT_FALSE(PageSelected("99999999999999999999", 1));
}

namespace {

// A clock that the records move on: each record costs `cost` hundredths.
struct FakeReport {
  long now = 0;
  long cost = 1;
  long left = 1'000'000;
  TimedBatches batches{[this] { return now; }};
  bool one() {
    if (left == 0) return false;
    --left;
    now += cost;
    return true;
  }
  long event() {
    batches.RunTimerEvent([this] { return one(); });
    return batches.lastEventRecords();
  }
};

}  // namespace

TEST(TimedBatchesTest, BatchesDoubleWhileQuickAndTheEventEndsAtHalfASlice) {
  FakeReport r;
  // 1 + 2 + 4 + 8 + 16 + 32 records: 63 hundredths, past half the slice.
  EXPECT_EQ(r.event(), 63);
  EXPECT_EQ(r.batches.RECORDSPERCYCLE, 64);
  EXPECT_EQ(r.event(), 64);  // one batch of 64, still quick: doubled, and past half: ended
  EXPECT_EQ(r.batches.RECORDSPERCYCLE, 128);
  EXPECT_EQ(r.event(), 128);  // 1.28 slices: neither doubled nor halved
  EXPECT_EQ(r.batches.RECORDSPERCYCLE, 128);
  EXPECT_EQ(r.batches.longestEventTime(), 128);
}

TEST(TimedBatchesTest, BatchesHalveWhenAnEventTakesOverASliceAndAHalf) {
  FakeReport r;
  for (int i = 0; i < 3; ++i) r.event();
  ASSERT_EQ(r.batches.RECORDSPERCYCLE, 128);
  r.cost = 2;  // the records get longer
  EXPECT_EQ(r.event(), 128);
  EXPECT_EQ(r.batches.lastEventTime(), 256);
  EXPECT_EQ(r.batches.RECORDSPERCYCLE, 64);
  EXPECT_EQ(r.event(), 64);
  EXPECT_EQ(r.batches.RECORDSPERCYCLE, 64);
  // Slow records: one at a time never goes below one.
  r.cost = 500;
  for (int i = 0; i < 8; ++i) r.event();
  EXPECT_EQ(r.batches.RECORDSPERCYCLE, 1);
  EXPECT_EQ(r.event(), 1);
}

TEST(TimedBatchesTest, TheLastEventEndsProcessingAndMidnightIsNoLongEvent) {
  FakeReport r;
  r.left = 10;
  r.now = TimedBatches::kDay - 3;  // just before midnight
  r.batches.RunTimerEvent([&r] {
    const bool more = r.one();
    if (r.now >= TimedBatches::kDay) r.now -= TimedBatches::kDay;
    return more;
  });
  EXPECT_EQ(r.batches.lastEventRecords(), 10);
  EXPECT_EQ(r.batches.lastEventTime(), 10);
  EXPECT_FALSE(r.batches.RunTimerEvent([&r] { return r.one(); }));
}

TEST(TimedBatchesTest, ProgressIsCappedAndNeverDividesByZero) {
  EXPECT_EQ(ProgressPercent(0, 200), 0);
  EXPECT_EQ(ProgressPercent(50, 200), 25);
  EXPECT_EQ(ProgressPercent(300, 200), 100);
  EXPECT_EQ(ProgressPercent(5, 0), 0);
}
