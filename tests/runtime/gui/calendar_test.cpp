#include "runtime/gui/calendar.h"

#include <gtest/gtest.h>

#include "gui_fixture.h"
#include "runtime/gui/calendar_month.h"
#include "runtime/testing/pinned_clock.h"

namespace vrt {
namespace {

class CalendarTest : public testing::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    saved_ = calendarSettings();
    pinClockForTesting(dateFromYmd(2006, 3, 18), timeFromHms(9, 0));
  }
  void TearDown() override {
    unpinClockForTesting();
    calendarSettings() = saved_;
    GuiTest::TearDown();
  }

  // Starts the pop-up on a thread of its own; its answer lands in `answer`.
  void popUp(std::string seed, int returnType) {
    calendarSettings().returnType = returnType;
    StartThread([this, seed] { answer = GCAL("", "Calendar", seed, 3, "1"); }, 50'000);
  }

  std::string answer = "untouched";
  CalendarSettings saved_;
};

TEST(CalendarMonthTest, LaysOutSixWeeksFromTheSundayBeforeTheFirst) {
  CalendarMonth march(dateFromYmd(2006, 3, 18));
  EXPECT_EQ(march.title(), "March 2006");
  EXPECT_EQ(march.cell(0), dateFromYmd(2006, 2, 26)) << "1 March 2006 was a Wednesday";
  EXPECT_EQ(march.cellOf(dateFromYmd(2006, 3, 1)), 3);
  EXPECT_EQ(march.cellOf(dateFromYmd(2006, 5, 1)), -1);
  EXPECT_TRUE(march.inMonth(dateFromYmd(2006, 3, 31)));
  EXPECT_FALSE(march.inMonth(march.cell(0)));
}

TEST(CalendarMonthTest, MovesKeepTheDayWhereTheMonthHasIt) {
  CalendarMonth day(dateFromYmd(2008, 1, 31));
  day.moveMonths(1);
  EXPECT_EQ(day.chosen(), dateFromYmd(2008, 2, 29));
  day.moveYears(1);
  EXPECT_EQ(day.chosen(), dateFromYmd(2009, 2, 28));
  day.moveDays(-59);
  EXPECT_EQ(day.chosen(), dateFromYmd(2008, 12, 31));
  day.moveMonths(-12 * 300);
  EXPECT_EQ(day.chosen(), dateFromYmd(2008, 12, 31)) << "no move before the first date the system knows";
  CalendarMonth none(0);
  EXPECT_TRUE(isValidDate(none.chosen())) << "no date starts on today";
}

TEST(CalendarSeedTest, ReadsDateTextInCommonFormsAndDayNumbers) {
  const DayNumber day = dateFromYmd(2006, 3, 18);
  EXPECT_EQ(calendarSeed("03/18/2006", "@d2"), day);
  EXPECT_EQ(calendarSeed("03-18-2006", "@d2-"), day);
  EXPECT_EQ(calendarSeed("03/18/2006   ", "@s20"), day) << "a text picture still finds the date";
  EXPECT_EQ(calendarSeed(std::to_string(day), "@d2"), day);
  EXPECT_EQ(calendarSeed("", "@d2"), 0);
  EXPECT_EQ(calendarSeed("soon", "@d2"), 0);
  EXPECT_EQ(calendarSeed("99999999999999999999", "@d2"), 0);
}

TEST_F(CalendarTest, ReturnsTheChosenDateAsDateText) {
  TestRobot robot;
  popUp("03/18/2006", 1);
  robot.settle();
  Window& calendar = robot.window(kCalendarProcedure);
  EXPECT_EQ(calendar.caption(), "Calendar");
  EXPECT_EQ(calendar.control("?MonthTitle")->text(), "March 2006");
  robot.pressKey(kCalendarProcedure, kRightKey);   // 19 March
  robot.pressKey(kCalendarProcedure, kDownKey);    // 26 March
  robot.pressKey(kCalendarProcedure, kPgDnKey);    // 26 April
  EXPECT_EQ(calendar.control("?MonthTitle")->text(), "April 2006");
  robot.pressKey(kCalendarProcedure, kEnterKey);
  EXPECT_EQ(answer, "04/26/2006");
  EXPECT_EQ(robot.findWindow(kCalendarProcedure), nullptr);
}

TEST_F(CalendarTest, ReturnsTheDayNumberForOtherPicturesAndEmptyTextWhenCancelled) {
  TestRobot robot;
  popUp("", 0);
  robot.settle();
  robot.pressKey(kCalendarProcedure, kCtrlPgDn);  // a year on from today
  robot.pressKey(kCalendarProcedure, kHomeKey);   // and back to today
  robot.press(kCalendarProcedure, "?OK");
  EXPECT_EQ(answer, std::to_string(dateFromYmd(2006, 3, 18)));

  popUp("12/25/2006", 1);
  robot.settle();
  robot.pressKey(kCalendarProcedure, kLeftKey);
  robot.pressKey(kCalendarProcedure, kEscKey);
  EXPECT_EQ(answer, "");

  popUp("12/25/2006", 1);
  robot.settle();
  robot.closeWindow(kCalendarProcedure);
  EXPECT_EQ(answer, "");
}

TEST_F(CalendarTest, ClickingADayOrTheMonthButtonsPicksAndMoves) {
  TestRobot robot;
  popUp("03/18/2006", 1);
  robot.settle();
  robot.press(kCalendarProcedure, "?NextYear");
  robot.press(kCalendarProcedure, "?PrevMonth");
  EXPECT_EQ(robot.control(kCalendarProcedure, "?MonthTitle").text(), "February 2007");
  // 1 February 2007 was a Thursday: cell 5 (?Day5) is the 1st.
  EXPECT_EQ(robot.control(kCalendarProcedure, "?Day5").text(), "1");
  robot.press(kCalendarProcedure, "?Day5");
  EXPECT_EQ(answer, "02/01/2007");
  EXPECT_EQ(calendarSettings().colourScheme, "1");
}

TEST_F(CalendarTest, OutsideAnyThreadNothingCanBeChosen) {
  EXPECT_EQ(GCAL("", "Calendar", "03/18/2006", 3, "1"), "");
  EXPECT_TRUE(Window::openWindows().empty());
}

}  // namespace
}  // namespace vrt

namespace vrt {
namespace {

// What screens do on F6: the focused date entry is seeded into the calendar, and a chosen
// date replaces its text and is accepted like a typed value.
TEST_F(CalendarTest, F6InADateEntryPutsTheChosenDateIntoItsVariable) {
  std::int32_t weekOf = dateFromYmd(2006, 3, 18);
  std::vector<Event> log;
  TestRobot robot;
  StartThread(
      [&] {
        WindowSpec design = windowSpec("Changing a Service Record", "UpdateService");
        design.controls = {prompt("&Week of:"), entry("?SER:WeekOf", "@d2", bind(weekOf))};
        design.alertKeys = {kF6Key};
        testing::runWindow(std::move(design), log, [](Window& w, const Event& e) {
          if (e.event != kEventAlertKey || e.key != kF6Key) return false;
          Control* focused = w.control(w.focusedControl());
          if (!focused) return false;
          calendarSettings().returnType = focused->pictureText().substr(0, 2) == "@d" ? 1 : 0;
          const std::string chosen = GCAL("", "G-Cal", focused->text(), 3, "1");
          if (!chosen.empty()) {
            focused->setText(chosen);
            focused->setTouched(true);
            w.acceptControl(*focused);
          }
          return false;
        });
      },
      50'000);
  robot.settle();
  robot.pressKey("UpdateService", kF6Key, "?SER:WeekOf");
  EXPECT_EQ(robot.window(kCalendarProcedure).caption(), "G-Cal");
  robot.pressKey(kCalendarProcedure, kEscKey);
  EXPECT_EQ(weekOf, dateFromYmd(2006, 3, 18)) << "cancelling leaves the entry alone";

  robot.pressKey("UpdateService", kF6Key, "?SER:WeekOf");
  robot.pressKey(kCalendarProcedure, kDownKey);
  robot.pressKey(kCalendarProcedure, kEnterKey);
  EXPECT_EQ(weekOf, dateFromYmd(2006, 3, 25));
  EXPECT_EQ(robot.control("UpdateService", "?SER:WeekOf").text(), "03/25/2006");
  EXPECT_EQ(testing::countEvents(log, kEventAccepted, robot.window("UpdateService").number("?SER:WeekOf")), 1);
}

}  // namespace
}  // namespace vrt
