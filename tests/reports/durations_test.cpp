// The durations of a service's elements: what counts as minutes and seconds, and the total.
#include <gtest/gtest.h>

#include "worship/durations.h"

using namespace vesp;

TEST(Durations, MinutesAndSecondsAreReadAndEverythingElseIsNot) {
  EXPECT_EQ(DurationSeconds("3:45"), 225);
  EXPECT_EQ(DurationSeconds("12:05"), 725);
  EXPECT_EQ(DurationSeconds("0:00"), 0);
  EXPECT_EQ(DurationSeconds("  4:30 "), 270);
  EXPECT_EQ(DurationSeconds("99:59"), 99 * 60 + 59);
  for (const char* text : {"", " ", "3", "3:5", "3:456", "3:60", ":45", "123:00", "3.45", "3:4a", "a:45",
                           "about 5 min", "1:02:03", "-3:45", "3 :45", "3:45:", "３:45"})
    EXPECT_FALSE(DurationSeconds(text).has_value()) << '"' << text << '"';
}

TEST(Durations, TheTotalShowsAsMinutesAndSecondsOrWithHours) {
  EXPECT_EQ(DurationText(0), "0:00");
  EXPECT_EQ(DurationText(65), "1:05");
  EXPECT_EQ(DurationText(3599), "59:59");
  EXPECT_EQ(DurationText(3600), "1:00:00");
  EXPECT_EQ(DurationText(3600 * 2 + 61), "2:01:01");
  EXPECT_EQ(DurationText(-5), "0:00");
}

TEST(Durations, TheTotalCountsWhatParsesAndSaysHowManyItLeftOut) {
  const DurationTotal t = TotalDurations({"3:45", "", "about 5 min", "12:05", "  ", "4:3", "0:30"});
  EXPECT_EQ(t.seconds, 225 + 725 + 30);
  EXPECT_EQ(t.counted, 3);
  EXPECT_EQ(t.skipped, 2);
  EXPECT_EQ(DurationText(t.seconds), "16:20");
  const DurationTotal none = TotalDurations({});
  EXPECT_EQ(none.seconds, 0);
  EXPECT_EQ(none.counted + none.skipped, 0);
  // A long service passes the hour.
  EXPECT_EQ(DurationText(TotalDurations(std::vector<std::string>(13, "5:00")).seconds), "1:05:00");
}
