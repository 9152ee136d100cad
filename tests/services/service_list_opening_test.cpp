// The service list opens at this week: on the first service dated today or later, in
// week-of order, with the services before it a Page Up away.
#include <gtest/gtest.h>

#include "runtime/text/dates.h"
#include "services_fixture.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

constexpr const char* kServices = "Browse the Service File";

class ServiceListOpeningTest : public ServicesTest {
 protected:
  void service(const std::string& title, vrt::DayNumber day) {
    addRecord(tables::Service, [&](vrt::RecordRef r) {
      r.set(SER_TITLE, title);
      r.set(SER_WEEKOFDATE_DATE, day);
    });
  }
  std::string highlighted() {
    vrt::PagedList* l = robot.control(kServices, "?BROWSE:1").list();
    return l->selectedRow() > 0 ? l->cellText(l->selectedRow(), 1) : std::string();
  }
  int highlightedRow() { return robot.control(kServices, "?BROWSE:1").list()->selectedRow(); }
  std::vector<std::string> titles() { return column(kServices, "?BROWSE:1"); }

  const vrt::DayNumber today = vrt::today();
};

}  // namespace

TEST_F(ServiceListOpeningTest, TheListOpensOnTheFirstServiceOnOrAfterTodayWithTheEarlierOnesAPageUpAway) {
  // Sundays three days before today's weekday, half a year back and ahead, added out of
  // order; one undated, and a midweek service today itself.
  for (int week = 26; week >= -26; --week) service("Week " + std::to_string(week), today - 3 + 7 * week);
  service("Undated", 0);
  service("Midweek", today);
  robot.chooseMenu("&Browse|Browse the Services file");
  ASSERT_NE(robot.findWindow(kServices), nullptr);
  EXPECT_EQ(highlighted(), "Midweek\n");
  EXPECT_EQ(highlightedRow(), 1);
  EXPECT_EQ(titles().at(1), "Week 1\n");
  robot.pressKey(kServices, vrt::kPgUpKey, "?BROWSE:1");
  EXPECT_EQ(titles().back(), "Week 0\n") << "the last service before today ends the page above";
  const int page = static_cast<int>(titles().size());
  ASSERT_GT(page, 2);
  EXPECT_EQ(titles().front(), "Week " + std::to_string(1 - page) + "\n");
  robot.pressKey(kServices, vrt::kHomeKey, "?BROWSE:1");
  EXPECT_EQ(highlighted(), "Undated\n");
}

TEST_F(ServiceListOpeningTest, WithEveryServicePastTheListOpensOnTheNewest) {
  service("Old", today - 30);
  service("Older", today - 60);
  service("Last week", today - 7);
  robot.chooseMenu("&Browse|Browse the Services file");
  EXPECT_EQ(titles(), (std::vector<std::string>{"Older\n", "Old\n", "Last week\n"}));
  EXPECT_EQ(highlighted(), "Last week\n");
}

TEST_F(ServiceListOpeningTest, ASmallListOpensWholeOnTheServiceOfThisWeek) {
  service("Before", today - 7);
  service("Next", today + 7);
  service("Coming", today + 1);
  robot.chooseMenu("&Browse|Browse the Services file");
  EXPECT_EQ(titles(), (std::vector<std::string>{"Before\n", "Coming\n", "Next\n"}));
  EXPECT_EQ(highlighted(), "Coming\n");
}
