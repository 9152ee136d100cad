#include "querywizard/drop_calendar.h"

#include <gtest/gtest.h>

#include "qw_gui_fixture.h"
#include "querywizard/drop_calendar_month.h"
#include "querywizard/qrywiz.h"
#include "runtime/testing/pinned_clock.h"

namespace qrywiz {
namespace {

using vrt::dateFromYmd;

TEST(DropCalendarMonthTest, TheFirstSitsOnItsWeekdayAndASundayFirstStartsRowTwo) {
  DropCalendarMonth march(dateFromYmd(2026, 3, 18));  // 1 March 2026 is a Sunday
  EXPECT_EQ(march.title(), "March, 2026");
  for (int cell = 0; cell < 7; ++cell) EXPECT_EQ(march.dayInCell(cell), 0) << "cell " << cell;
  EXPECT_EQ(march.dayInCell(7), 1);
  EXPECT_EQ(march.dayInCell(37), 31);
  EXPECT_EQ(march.dayInCell(38), 0);
  EXPECT_EQ(march.currentCell(), 24);

  DropCalendarMonth april(dateFromYmd(2026, 4, 1));  // a Wednesday
  EXPECT_EQ(april.dayInCell(2), 0);
  EXPECT_EQ(april.dayInCell(3), 1);
  EXPECT_EQ(april.cellOfDay(30), 32);
  EXPECT_EQ(april.cellOfDay(31), -1);
  EXPECT_EQ(april.dayInCell(-1), 0);
  EXPECT_EQ(april.dayInCell(42), 0);
}

TEST(DropCalendarMonthTest, EmptyCellsMoveToTheFirstOrTheLastDay) {
  DropCalendarMonth april(dateFromYmd(2026, 4, 15));
  EXPECT_FALSE(april.chooseCell(1));
  EXPECT_EQ(april.current(), dateFromYmd(2026, 4, 1));
  EXPECT_FALSE(april.chooseCell(40));
  EXPECT_EQ(april.current(), dateFromYmd(2026, 4, 30));
  EXPECT_TRUE(april.chooseCell(10));
  EXPECT_EQ(april.current(), dateFromYmd(2026, 4, 8));
  EXPECT_FALSE(april.chooseCell(99));
  EXPECT_EQ(april.current(), dateFromYmd(2026, 4, 8));
}

TEST(DropCalendarMonthTest, MonthMovesKeepTheDayAndWrapTheYear) {
  DropCalendarMonth day(dateFromYmd(2025, 12, 31));
  day.nextMonth();
  EXPECT_EQ(day.current(), dateFromYmd(2026, 1, 31));
  day.nextMonth();
  EXPECT_EQ(day.current(), dateFromYmd(2026, 2, 28)) << "February has no 31st";
  day.previousMonth();
  day.previousMonth();
  EXPECT_EQ(day.current(), dateFromYmd(2025, 12, 28));
  EXPECT_TRUE(vrt::isValidDate(DropCalendarMonth(0).current())) << "no date starts on today";
}

class DropCalendarTest : public qwtest::LibraryWindowsTest {
 protected:
  void SetUp() override {
    LibraryWindowsTest::SetUp();
    vrt::pinClockForTesting(dateFromYmd(2026, 12, 9), vrt::timeFromHms(9, 0));
  }
  // Opens the calendar from a small window of its own thread, below its button.
  void drop(std::optional<std::int32_t> date) {
    vrt::StartThread(
        [this, date] {
          vrt::WindowSpec design = vrt::windowSpec("Owner", "Owner");
          design.controls = {vrt::prompt("Date:"), vrt::button("?Lookup", "...")};
          vrt::Window owner(design);
          owner.open();
          answer = QW_DROPCAL(date, owner.number("?Lookup"));
          ownerPlace = owner.control("?Lookup")->widget()->mapToGlobal(
              QPoint(0, owner.control("?Lookup")->widget()->height()));
        },
        100'000);
    robot.settle();
  }
  vrt::Window& calendar() { return robot.window(kDropCalendarProcedure); }
  std::string title() { return calendar().control("?MonthTitle")->text(); }

  std::int32_t answer = -1;
  QPoint ownerPlace;
  vrt::TestRobot robot;
};

TEST_F(DropCalendarTest, ASundayMonthLeavesRowOneEmptyAndEscapeGivesTheStartBack) {
  drop(dateFromYmd(2026, 3, 18));
  EXPECT_EQ(title(), "March, 2026");
  for (int cell = 1; cell <= 7; ++cell) EXPECT_EQ(calendar().control("?Day" + std::to_string(cell))->text(), "");
  EXPECT_EQ(calendar().control("?Day8")->text(), " 1");
  EXPECT_TRUE(calendar().control("?Day25")->isDefault()) << "the cursor starts on the 18th";
  const QPoint placed = calendar().widget()->geometry().topLeft();
  robot.pressKey(kDropCalendarProcedure, vrt::kPgDnKey);
  EXPECT_EQ(title(), "April, 2026");
  robot.pressKey(kDropCalendarProcedure, vrt::kEscKey);
  EXPECT_EQ(answer, dateFromYmd(2026, 3, 18));
  EXPECT_EQ(placed, ownerPlace) << "the calendar drops below the control";
  EXPECT_EQ(robot.findWindow(kDropCalendarProcedure), nullptr);
}

TEST_F(DropCalendarTest, NoneGivesZeroTodayGivesTodayAndEscapeWithoutADateGivesZero) {
  drop(dateFromYmd(2026, 3, 18));
  robot.press(kDropCalendarProcedure, "?None");
  EXPECT_EQ(answer, 0);

  drop(dateFromYmd(2026, 3, 18));
  robot.press(kDropCalendarProcedure, "?Today");
  EXPECT_EQ(answer, dateFromYmd(2026, 12, 9));

  drop(std::nullopt);
  EXPECT_EQ(title(), "December, 2026") << "no date starts on today";
  robot.pressKey(kDropCalendarProcedure, vrt::kEscKey);
  EXPECT_EQ(answer, 0);

  drop(dateFromYmd(2026, 3, 18));
  robot.closeWindow(kDropCalendarProcedure);
  EXPECT_EQ(answer, dateFromYmd(2026, 3, 18));
}

TEST_F(DropCalendarTest, MonthButtonsKeepTheDayAndEnterOrTabCloseOnIt) {
  drop(dateFromYmd(2026, 1, 31));
  robot.press(kDropCalendarProcedure, "?PrevMonth");
  EXPECT_EQ(title(), "December, 2025");
  robot.pressKey(kDropCalendarProcedure, vrt::kPgUpKey);
  robot.press(kDropCalendarProcedure, "?NextMonth");
  robot.press(kDropCalendarProcedure, "?NextMonth");
  robot.press(kDropCalendarProcedure, "?NextMonth");
  EXPECT_EQ(title(), "February, 2026");
  robot.pressKey(kDropCalendarProcedure, vrt::kEnterKey);
  EXPECT_EQ(answer, dateFromYmd(2026, 2, 28)) << "30 November kept as near as February allows";

  drop(dateFromYmd(2026, 7, 4));
  robot.pressKey(kDropCalendarProcedure, vrt::kTabKey);
  EXPECT_EQ(answer, dateFromYmd(2026, 7, 4));
}

TEST_F(DropCalendarTest, ClickingADayChoosesItAndAnEmptyCellOnlyMoves) {
  drop(dateFromYmd(2026, 4, 15));  // April 2026 starts on a Wednesday
  robot.press(kDropCalendarProcedure, "?Day1");
  EXPECT_TRUE(calendar().control("?Day4")->isDefault()) << "moved to the 1st";
  robot.press(kDropCalendarProcedure, "?Day42");
  EXPECT_TRUE(calendar().control("?Day33")->isDefault()) << "moved to the 30th";
  robot.press(kDropCalendarProcedure, "?Day11");
  EXPECT_EQ(answer, dateFromYmd(2026, 4, 8));
}

TEST_F(DropCalendarTest, HomeReturnsTodayAndOutsideAnyThreadTheDateComesBack) {
  drop(dateFromYmd(2026, 3, 18));
  robot.pressKey(kDropCalendarProcedure, vrt::kHomeKey);
  EXPECT_EQ(answer, dateFromYmd(2026, 12, 9));
  EXPECT_EQ(QW_DROPCAL(dateFromYmd(2026, 3, 18), 1), dateFromYmd(2026, 3, 18));
  EXPECT_TRUE(vrt::Window::openWindows().empty());
}

}  // namespace
}  // namespace qrywiz
