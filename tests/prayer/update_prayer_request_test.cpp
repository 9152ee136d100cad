// The prayer-request form, reached from its browse as a user would.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "prayer_fixture.h"
#include "runtime/gui/calendar.h"
#include "windows/feedback.h"

using namespace vesp;
using namespace vesp::testing;
using namespace vrt;

namespace {

namespace PRA = dict::idx::PRA;
constexpr const char* kAdding = "Record Will Be Added";
constexpr const char* kChanging = "Record Will Be Changed";
constexpr const char* kViewing = "View Record";

class UpdatePrayerRequestTest : public PrayerTest {
 protected:
  void SetUp() override {
    PrayerTest::SetUp();
    addRequests({{"Healing for Ann", "Healing", kToday - 30, 0}});
    openBrowse("BrowsePrayerRequest");
  }
  std::string days(const char* window = kAdding) { return text(window, "?PRA:NUMBERDAYS"); }
};

TEST_F(UpdatePrayerRequestTest, ANewRequestStartsTodayAndCountsTheDaysToItsAnswer) {
  robot.press(kRequests, "?Insert");
  ASSERT_NE(robot.findWindow(kAdding), nullptr);
  EXPECT_EQ(robot.window(kAdding).procedure(), "UpdatePrayerRequest");
  EXPECT_EQ(text(kAdding, "?PRA:DATESTARTED"), date(kToday));
  EXPECT_EQ(days(), "");
  robot.type(kAdding, "?PRA:DATEANSWERED", date(kToday + 10));
  EXPECT_EQ(days(), "10");
  robot.type(kAdding, "?PRA:DATEANSWERED", "");
  EXPECT_EQ(days(), "") << "no answer, no days";
  robot.type(kAdding, "?PRA:DATEANSWERED", date(kToday + 10));
  // Moving the start alone leaves the days as they were.
  robot.type(kAdding, "?PRA:DATESTARTED", date(kToday + 2));
  EXPECT_EQ(days(), "10");
  robot.type(kAdding, "?PRA:REQUEST", "Work for Tom");
  robot.press(kAdding, "?OK");
  EXPECT_EQ(robot.findWindow(kAdding), nullptr);
  EXPECT_EQ(stored(2, PRA::NUMBERDAYS), "10");
  EXPECT_EQ(stored(2, PRA::REQUEST), "Work for Tom");
  EXPECT_EQ(column(kRequests, 7), (std::vector<std::string>{"", "10"}));
}

TEST_F(UpdatePrayerRequestTest, AnAnswerBeforeTheStartIsToldAndNeverSavedAndABadDateIsRefused) {
  robot.press(kRequests, "?Insert");
  robot.type(kAdding, "?PRA:DATEANSWERED", date(kToday - 8));
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Invalid Date Answered");
  robot.pressMessageButton("Ok");
  EXPECT_EQ(days(), "") << "no negative number of days";
  EXPECT_EQ(robot.window(kAdding).focusedControl(), robot.window(kAdding).number("?PRA:DATEANSWERED"));
  robot.type(kAdding, "?PRA:DATEANSWERED", "13-45-2026");
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_EQ(text(kAdding, "?PRA:DATEANSWERED"), "13-45-2026") << "a date that is none is refused, its text kept";
  robot.type(kAdding, "?PRA:DATEANSWERED", date(kToday - 8));
  ASSERT_NE(robot.messageBox(), nullptr);
  robot.pressMessageButton("Ok");
  robot.type(kAdding, "?PRA:REQUEST", "Rain for the farms");
  robot.press(kAdding, "?OK");
  ASSERT_NE(robot.messageBox(), nullptr) << "nor is it saved";
  robot.pressMessageButton("Ok");
  ASSERT_NE(robot.findWindow(kAdding), nullptr);
  EXPECT_NE(stored(2, PRA::REQUEST), "Rain for the farms");
  // Moving the start back before the answer makes the dates possible again.
  robot.type(kAdding, "?PRA:DATESTARTED", date(kToday - 12));
  robot.type(kAdding, "?PRA:DATEANSWERED", date(kToday - 8));
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_EQ(days(), "4");
  robot.press(kAdding, "?OK");
  EXPECT_EQ(robot.findWindow(kAdding), nullptr);
  EXPECT_EQ(stored(2, PRA::NUMBERDAYS), "4");
}

TEST_F(UpdatePrayerRequestTest, AStartMovedPastTheAnswerIsNotSaved) {
  robot.chooseRow(kRequests, "?Browse:1", 1);
  robot.press(kRequests, "?Change");
  robot.type(kChanging, "?PRA:DATEANSWERED", date(kToday - 20));
  EXPECT_EQ(days(kChanging), "10");
  robot.type(kChanging, "?PRA:DATESTARTED", date(kToday - 15));
  robot.press(kChanging, "?OK");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Invalid Date Answered");
  robot.pressMessageButton("Ok");
  ASSERT_NE(robot.findWindow(kChanging), nullptr);
  EXPECT_EQ(stored(1, PRA::NUMBERDAYS), "") << "the stored request as it was";
  robot.press(kChanging, "?Cancel");
  if (robot.messageBox()) robot.pressMessageButton("No");
  EXPECT_EQ(robot.findWindow(kChanging), nullptr);
}

TEST_F(UpdatePrayerRequestTest, TheCalendarButtonOfTheAnswerRecountsTheDays) {
  robot.chooseRow(kRequests, "?Browse:1", 1);
  robot.press(kRequests, "?Change");
  ASSERT_NE(robot.findWindow(kChanging), nullptr);
  EXPECT_EQ(days(kChanging), "");
  robot.press(kChanging, "?G_CALBUTTON:2");
  ASSERT_NE(robot.findWindow(kCalendarProcedure), nullptr);
  robot.pressKey(kCalendarProcedure, kDownKey);  // a week after today
  robot.pressKey(kCalendarProcedure, kEnterKey);
  EXPECT_EQ(text(kChanging, "?PRA:DATEANSWERED"), date(kToday + 7));
  EXPECT_EQ(days(kChanging), "37");
  robot.chooseItem(kChanging, "?PRA:ANSWER", "Yes");
  robot.press(kChanging, "?OK");
  EXPECT_EQ(stored(1, PRA::NUMBERDAYS), "37");
  EXPECT_EQ(stored(1, PRA::ANSWER), "Yes");
}

TEST_F(UpdatePrayerRequestTest, TheAnswerIsOneOfFourAndEveryButtonSaysWhatItDoes) {
  robot.press(kRequests, "?Insert");
  EXPECT_EQ(robot.control(kAdding, "?PRA:ANSWER").items(), (std::vector<std::string>{" ", "Yes", "No", "Other"}));
  EXPECT_EQ(robot.control(kAdding, "?OK").tip(), "Accept data and close the window");
  EXPECT_EQ(robot.control(kAdding, "?Cancel").tip(), "Cancel operation");
  EXPECT_EQ(robot.control(kAdding, "?Help").tip(), "See Help Window");
  EXPECT_EQ(robot.control(kAdding, "?Cancel").text(), "&Cancel");
  EXPECT_TRUE(robot.control(kAdding, "?PRA:REQUESTNUMBER").readOnly());
  EXPECT_TRUE(robot.control(kAdding, "?PRA:NUMBERDAYS").readOnly());
  robot.press(kAdding, "?Cancel");
}

TEST_F(UpdatePrayerRequestTest, AnUnknownCategoryOpensTheCategoryBrowseAndCancellingClearsIt) {
  robot.press(kRequests, "?Insert");
  robot.type(kAdding, "?PRA:REQUESTCATEGORY", "healing");  // stored under another list number
  EXPECT_EQ(robot.findWindow(kPrayerCategories), nullptr) << "a known category is taken as typed";
  robot.type(kAdding, "?PRA:REQUESTCATEGORY", "Travel");
  ASSERT_NE(robot.findWindow(kPrayerCategories), nullptr);
  EXPECT_EQ(column(kPrayerCategories, 1), (std::vector<std::string>{"Family", "Healing", "Missions"}));
  robot.press(kPrayerCategories, "?Close");
  EXPECT_EQ(text(kAdding, "?PRA:REQUESTCATEGORY"), "");
  // The look-up button chooses one.
  robot.press(kAdding, "?CALLLOOKUP");
  robot.chooseRow(kPrayerCategories, "?Browse:1", 3);
  robot.press(kPrayerCategories, "?Select");
  EXPECT_EQ(text(kAdding, "?PRA:REQUESTCATEGORY"), "Missions");
  robot.press(kAdding, "?Cancel");
  if (robot.messageBox()) robot.pressMessageButton("No");
}

TEST_F(UpdatePrayerRequestTest, AViewedRequestCannotChangeItsDatesOrCategoryAndSavesNothing) {
  robot.chooseRow(kRequests, "?Browse:1", 1);
  robot.press(kRequests, "?View");
  ASSERT_NE(robot.findWindow(kViewing), nullptr);
  for (const char* use : {"?PRA:REQUESTNUMBER", "?PRA:REQUESTCATEGORY", "?PRA:DATESTARTED", "?PRA:DATEANSWERED",
                          "?PRA:NUMBERDAYS"})
    EXPECT_TRUE(robot.control(kViewing, use).readOnly()) << use;
  for (const char* use : {"?CALLLOOKUP", "?G_CALBUTTON", "?G_CALBUTTON:2", "?PRA:ANSWER"})
    EXPECT_TRUE(robot.control(kViewing, use).disabled()) << use;
  EXPECT_FALSE(robot.control(kViewing, "?PRA:REQUEST").readOnly());
  EXPECT_FALSE(robot.control(kViewing, "?PRA:COMMENTS").readOnly());
  robot.pressKey(kViewing, kF6Key, "?PRA:DATESTARTED");
  EXPECT_EQ(robot.findWindow(kCalendarProcedure), nullptr) << "F6 cannot change a read-only date";
  robot.type(kViewing, "?PRA:REQUEST", "Rewritten");
  robot.press(kViewing, "?OK");
  EXPECT_EQ(robot.findWindow(kViewing), nullptr);
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_EQ(stored(1, PRA::REQUEST), "Healing for Ann");
}

}  // namespace

TEST_F(UpdatePrayerRequestTest, ADateThatDoesNotFitIsKeptSelectedAndTheStatusBarSaysHowToTypeIt) {
  robot.press(kRequests, "?Insert");
  EXPECT_EQ(robot.control(kAdding, "?PRA:DATESTARTED").tip(), "mm-dd-yyyy");
  EXPECT_EQ(robot.control(kAdding, "?PRA:DATEANSWERED").tip(), "mm-dd-yyyy");
  robot.type(kAdding, "?PRA:REQUEST", "Rain for the farms");
  const int beeps = vesp::BeepCount();
  robot.type(kAdding, "?PRA:DATESTARTED", "03-1x-2026");
  EXPECT_EQ(text(kAdding, "?PRA:DATESTARTED"), "03-1x-2026") << "the typed text stays";
  EXPECT_EQ(vrt::FrameHost::statusText(), "Enter a date as mm-dd-yyyy");
  EXPECT_GT(vesp::BeepCount(), beeps);
  Window& form = robot.window(kAdding);
  EXPECT_EQ(form.focusedControl(), form.number("?PRA:DATESTARTED"));
  auto* edit = qobject_cast<QLineEdit*>(robot.control(kAdding, "?PRA:DATESTARTED").widget());
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->selectedText(), "03-1x-2026");
  // Nor does the form showing its record again, after a look-up, put the old date back.
  robot.press(kAdding, "?CALLLOOKUP");
  robot.chooseRow(kPrayerCategories, "?Browse:1", 2);
  robot.press(kPrayerCategories, "?Select");
  EXPECT_EQ(text(kAdding, "?PRA:REQUESTCATEGORY"), "Healing");
  EXPECT_EQ(text(kAdding, "?PRA:DATESTARTED"), "03-1x-2026");

  // OK will not save it as the old date or as none.
  robot.press(kAdding, "?OK");
  ASSERT_NE(robot.findWindow(kAdding), nullptr);
  EXPECT_EQ(text(kAdding, "?PRA:DATESTARTED"), "03-1x-2026");
  EXPECT_NE(stored(2, PRA::REQUEST), "Rain for the farms");
  robot.type(kAdding, "?PRA:DATESTARTED", date(kToday - 1));
  EXPECT_NE(vrt::FrameHost::statusText(), "Enter a date as mm-dd-yyyy") << "the hint goes once the date fits";
  robot.press(kAdding, "?OK");
  EXPECT_EQ(robot.findWindow(kAdding), nullptr);
  EXPECT_EQ(stored(2, PRA::REQUEST), "Rain for the farms");
  EXPECT_EQ(robot.control(kRequests, "?Browse:1").list()->cellText(2, 4), date(kToday - 1));
}

TEST_F(UpdatePrayerRequestTest, TabLeavesATextBoxCtrlTabTypesATabAndTheCalendarHandsTheFocusOn) {
  robot.press(kRequests, "?Insert");
  Window& form = robot.window(kAdding);
  robot.type(kAdding, "?PRA:REQUEST", "Travel");
  robot.pressKey(kAdding, kCtrlEnd, "?PRA:REQUEST");
  robot.pressKey(kAdding, int{kCtrl} | kTabKey);
  EXPECT_EQ(form.focusedControl(), form.number("?PRA:REQUEST"));
  EXPECT_EQ(text(kAdding, "?PRA:REQUEST"), "Travel\t");
  robot.pressKey(kAdding, kTabKey);
  EXPECT_EQ(form.focusedControl(), form.number("?PRA:DATESTARTED"));

  // F6 in a date: once the calendar closes the focus is past the date's calendar button.
  robot.pressKey(kAdding, kF6Key);
  ASSERT_NE(robot.findWindow(kCalendarProcedure), nullptr);
  robot.pressKey(kCalendarProcedure, kEnterKey);
  EXPECT_EQ(form.focusedControl(), form.number("?PRA:DATEANSWERED"));
  robot.press(kAdding, "?G_CALBUTTON:2");
  robot.pressKey(kCalendarProcedure, kEscKey);
  EXPECT_EQ(form.focusedControl(), form.number("?PRA:ANSWER"));
  robot.press(kAdding, "?Cancel");
  if (robot.messageBox()) robot.pressMessageButton("No");
}
