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
  EXPECT_EQ(DurationSeconds("1:02:03"), 3723);
  for (const char* text : {"", " ", "3", "3:5", "3:456", "3:60", ":45", "123:00", "3.45", "3:4a", "a:45",
                           "about 5 min", "-3:45", "3 :45", "3:45:", "３:45", "1:2:03", "1:02:60", "1:60:00",
                           "1:02:03:04", "100:00:00"})
    EXPECT_FALSE(DurationSeconds(text).has_value()) << '"' << text << '"';
}

TEST(Durations, NumbersWithUnitsAreReadInAnyCaseAndSpacing) {
  EXPECT_EQ(DurationSeconds("5 min"), 300);
  EXPECT_EQ(DurationSeconds("5m"), 300);
  EXPECT_EQ(DurationSeconds("5 MIN"), 300);
  EXPECT_EQ(DurationSeconds("90 s"), 90);
  EXPECT_EQ(DurationSeconds("90sec"), 90);
  EXPECT_EQ(DurationSeconds("1 h 5 min"), 3900);
  EXPECT_EQ(DurationSeconds("1H5M"), 3900);
  EXPECT_EQ(DurationSeconds(" 2 hours 3 minutes 4 seconds "), 2 * 3600 + 3 * 60 + 4);
  EXPECT_EQ(DurationSeconds("4 mins 30 secs"), 270);
  EXPECT_EQ(DurationSeconds("1 hr"), 3600);
  // A unit missing, repeated or out of order, a word that is no unit, a fraction, or more
  // than a day: not read.
  for (const char* text : {"5", "min", "5 min 3", "5 min 2 min", "30 s 1 min", "5 mn", "5 minutes long",
                           "about 5 min", "2.5 min", "5-min", "25 h", "1 h, 5 min", "5 ½ min"})
    EXPECT_FALSE(DurationSeconds(text).has_value()) << '"' << text << '"';
  EXPECT_EQ(DurationsNotRead(1), std::string("1 duration not read (counted when written as ") + kDurationForms + ")");
  EXPECT_EQ(DurationsNotRead(2).substr(0, 20), "2 durations not read");
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
  const DurationTotal t = TotalDurations({"3:45", "", "about 5 min", "12:05", "  ", "4:3", "0:30", "5 Min"});
  EXPECT_EQ(t.seconds, 225 + 725 + 30 + 300);
  EXPECT_EQ(t.counted, 4);
  EXPECT_EQ(t.skipped, 2);
  EXPECT_EQ(DurationText(t.seconds), "21:20");
  const DurationTotal none = TotalDurations({});
  EXPECT_EQ(none.seconds, 0);
  EXPECT_EQ(none.counted + none.skipped, 0);
  // A long service passes the hour.
  EXPECT_EQ(DurationText(TotalDurations(std::vector<std::string>(13, "5:00")).seconds), "1:05:00");
}
