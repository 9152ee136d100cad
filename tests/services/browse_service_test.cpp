// The service browse: two-line rows, names and topics by number, and the element list of
// the highlighted service.
#include <gtest/gtest.h>

#include "runtime/gui/calendar.h"
#include "runtime/gui/message_box.h"
#include "runtime/store/sqlite_db.h"
#include "runtime/text/picture_hint.h"
#include "service_data.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

class BrowseServiceTest : public ServiceDataTest {
 protected:
  std::vector<std::string> elements() { return column(kServices, "?LIST"); }
};

}  // namespace

TEST_F(BrowseServiceTest, TheMenuOpensTheBrowseWithTwoLineRowsAndNamesByNumber) {
  robot.chooseMenu("&Browse|Browse the Services file");
  ASSERT_NE(robot.findWindow(kServices), nullptr);
  vrt::PagedList* list = robot.control(kServices, "?BROWSE:1").list();
  ASSERT_EQ(list->rowCount(), 3);
  EXPECT_EQ(list->linesPerRow(), 2);
  EXPECT_EQ(list->headerAt(1), "Title\nSeries");
  // By week-of date: the undated service first, its date blank.
  EXPECT_EQ(list->cellText(1, 1), "Undated\n");
  EXPECT_EQ(list->cellText(1, 2), "");
  EXPECT_EQ(list->cellText(2, 1), "Waiting\nAdvent");
  EXPECT_EQ(list->alignmentOf(2), vrt::ColumnAlign::Right);
  EXPECT_NE(list->cellText(2, 2), "");
  EXPECT_EQ(list->cellText(2, 3), "Ann Lee");
  EXPECT_EQ(list->cellText(2, 4), "Bob Marsh");
  EXPECT_EQ(list->cellText(2, 5), "");  // no sound engineer
  EXPECT_EQ(list->cellText(2, 6), "Hope");
  EXPECT_EQ(list->cellText(2, 7), "");
  EXPECT_EQ(list->cellText(2, 8), "Joy");
  EXPECT_EQ(list->cellText(1, 3), "");  // no speaker: an empty name
  robot.chooseTab(kServices, "?CurrentTab", "Service Title");
  EXPECT_EQ(column(kServices, "?BROWSE:1"),
            (std::vector<std::string>{"Preparing\nAdvent", "Undated\n", "Waiting\nAdvent"}));
}

TEST_F(BrowseServiceTest, MovingTheHighlightRefillsTheElementListInElementOrder) {
  open("BrowseService");
  robot.pressKey(kServices, vrt::kHomeKey, "?BROWSE:1");  // it opens at this week's service
  EXPECT_TRUE(elements().empty());  // the undated service has none
  robot.chooseRow(kServices, "?BROWSE:1", 2);
  EXPECT_EQ(elements(), (std::vector<std::string>{"Opening hymn", "Psalm 23"}));
  EXPECT_EQ(column(kServices, "?LIST", 5), (std::vector<std::string>{"", "Ann Lee"}));
  EXPECT_EQ(column(kServices, "?LIST", 6), (std::vector<std::string>{"Choir", ""}));
  robot.pressKey(kServices, vrt::kDownKey, "?BROWSE:1");
  EXPECT_EQ(elements(), std::vector<std::string>{"Candle lighting"});
  robot.pressKey(kServices, vrt::kHomeKey, "?BROWSE:1");
  EXPECT_TRUE(elements().empty());
}

TEST_F(BrowseServiceTest, MovingBackToAServiceWithMoreElementsThanTheListShowsStartsAtItsFirst) {
  onThread([this] {
    for (int order = 3; order <= 8; ++order) element(first, order, ("Song " + std::to_string(order)).c_str(), 0);
  });
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.chooseRow(kServices, "?BROWSE:1", 3);  // Preparing, numbered after Waiting
  EXPECT_EQ(elements(), std::vector<std::string>{"Candle lighting"});
  robot.pressKey(kServices, vrt::kUpKey, "?BROWSE:1");  // Waiting: eight elements, five shown
  EXPECT_EQ(elements(), (std::vector<std::string>{"Opening hymn", "Psalm 23", "Song 3", "Song 4", "Song 5"}));
  robot.pressToolbar(vrt::ToolbarAction::Down);
  EXPECT_EQ(elements(), std::vector<std::string>{"Candle lighting"});
}

TEST_F(BrowseServiceTest, AnElementAddedFromTheBrowseBelongsToTheHighlightedServiceAndShowsInItsForm) {
  open("BrowseService");
  robot.chooseRow(kServices, "?BROWSE:1", 3);  // Preparing
  robot.press(kServices, "?Insert:2");
  constexpr const char* kAdd = "Service Element Will Be Added";
  ASSERT_NE(robot.findWindow(kAdd), nullptr);
  robot.type(kAdd, "?SEL:TITLE", "Benediction");
  robot.type(kAdd, "?SEL:ELEMENTORDER", "9");
  robot.press(kAdd, "?OK");
  EXPECT_EQ(elements(), (std::vector<std::string>{"Candle lighting", "Benediction"}));
  EXPECT_EQ(robot.control(kServices, "?BROWSE:1").list()->selectedRow(), 3);
  robot.press(kServices, "?Change");
  robot.chooseTab(kChangeService, "?CurrentTab", "Service Elements");
  EXPECT_EQ(column(kChangeService, "?List:ServiceElements"),
            (std::vector<std::string>{"Candle lighting", "Benediction"}));
}

TEST_F(BrowseServiceTest, AnElementChangedInTheServiceFormShowsAtOnceInTheBrowsesList) {
  open("BrowseService");
  robot.chooseRow(kServices, "?BROWSE:1", 2);  // Waiting
  robot.press(kServices, "?Change");
  robot.chooseTab(kChangeService, "?CurrentTab", "Service Elements");
  robot.chooseRow(kChangeService, "?List:ServiceElements", 2);
  robot.press(kChangeService, "?Change:13");
  constexpr const char* kEdit = "Service Element Will Be Changed";
  ASSERT_NE(robot.findWindow(kEdit), nullptr);
  robot.type(kEdit, "?SEL:TITLE", "Psalm 24");
  robot.press(kEdit, "?OK");
  EXPECT_EQ(column(kChangeService, "?List:ServiceElements"), (std::vector<std::string>{"Opening hymn", "Psalm 24"}));
  robot.press(kChangeService, "?OK");
  EXPECT_EQ(robot.findWindow(kChangeService), nullptr);
  EXPECT_EQ(elements(), (std::vector<std::string>{"Opening hymn", "Psalm 24"}));
}

TEST_F(BrowseServiceTest, DeletingAnElementFromTheBrowsesListLeavesTheOthers) {
  open("BrowseService");
  robot.chooseRow(kServices, "?BROWSE:1", 2);
  robot.chooseRow(kServices, "?LIST", 1);
  robot.press(kServices, "?Delete:2");
  robot.pressMessageButton("Yes");
  EXPECT_EQ(elements(), std::vector<std::string>{"Psalm 23"});
  EXPECT_EQ(records(tables::ServiceElement), 2);
}

TEST_F(BrowseServiceTest, DeletingAServiceTakesEveryRowOfItsOwnAndLeavesTheRest) {
  open("BrowseService");
  robot.chooseRow(kServices, "?BROWSE:1", 2);
  robot.press(kServices, "?Delete");
  robot.pressMessageButton("Yes");
  EXPECT_EQ(column(kServices, "?BROWSE:1"), (std::vector<std::string>{"Undated\n", "Preparing\nAdvent"}));
  EXPECT_EQ(records(tables::ServiceElement), 1);  // the other service's
  EXPECT_EQ(records(tables::BibleRef), 0);
  EXPECT_EQ(records(tables::KeyWords), 0);
  EXPECT_EQ(records(tables::Statistics), 0);
  EXPECT_EQ(records(tables::AssociatedFiles), 0);
  EXPECT_EQ(records(tables::Performers), 2);  // named by it, not its own
}

TEST_F(BrowseServiceTest, AServiceWhoseReferenceCannotGoKeepsEverything) {
  keepRowsOf("BibleRef");
  open("BrowseService");
  robot.chooseRow(kServices, "?BROWSE:1", 2);
  robot.press(kServices, "?Delete");
  robot.pressMessageButton("Yes");
  declineEveryMessage();  // the failure is reported; no retry
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_EQ(records(tables::Service), 3);
  EXPECT_EQ(records(tables::ServiceElement), 3);
  EXPECT_EQ(records(tables::BibleRef), 1);
  EXPECT_EQ(column(kServices, "?BROWSE:1").size(), 3u);
}

TEST_F(ServicesTest, WithNoServiceAnElementCannotBeAdded) {
  open("BrowseService");
  ASSERT_NE(robot.findWindow(kServices), nullptr);
  robot.press(kServices, "?Insert:2");
  EXPECT_EQ(robot.findWindow("Service Element Will Be Added"), nullptr);
  EXPECT_EQ(records(tables::ServiceElement), 0);
}

TEST_F(BrowseServiceTest, TheTitleLocatorFindsAServiceAndItsElementsFollow) {
  open("BrowseService");
  robot.chooseTab(kServices, "?CurrentTab", "Service Title");
  robot.type(kServices, "?Locator:2", "Wait");
  EXPECT_EQ(robot.control(kServices, "?BROWSE:1").list()->selectedRow(), 3);  // Preparing, Undated, Waiting
  EXPECT_EQ(elements(), (std::vector<std::string>{"Opening hymn", "Psalm 23"}));
}

TEST_F(BrowseServiceTest, CtrlTabSwitchesTheSortTabsAndF6PicksADateForTheDateLocator) {
  robot.chooseMenu("&Browse|Browse the Services file");
  vrt::Window& browse = robot.window(kServices);
  vrt::Control& tabs = robot.control(kServices, "?CurrentTab");
  EXPECT_EQ(browse.focusedControl(), browse.number("?BROWSE:1"));
  robot.pressKey(kServices, int{vrt::kCtrl} | vrt::kTabKey);
  EXPECT_EQ(tabs.selected(), 2);
  EXPECT_EQ(column(kServices, "?BROWSE:1"), (std::vector<std::string>{"Preparing\nAdvent", "Undated\n", "Waiting\nAdvent"}));
  EXPECT_EQ(browse.focusedControl(), browse.number("?BROWSE:1")) << "the keys stay with the list";
  robot.pressKey(kServices, int{vrt::kCtrl} | vrt::kShift | vrt::kTabKey);
  EXPECT_EQ(tabs.selected(), 1);
  robot.pressKey(kServices, vrt::kCtrlPgDn);
  EXPECT_EQ(tabs.selected(), 2);
  robot.pressKey(kServices, vrt::kCtrlPgUp);
  EXPECT_EQ(tabs.selected(), 1);

  // The date locator: a date as the list shows it, and F6 picks one from the calendar.
  const std::string picture = "@d17b";
  EXPECT_EQ(robot.control(kServices, "?Locator:1").tip(), vrt::typingLayout(*vrt::Picture::parse(picture)));
  robot.type(kServices, "?Locator:1", vrt::formatPicture(vrt::dateFromYmd(2026, 11, 23), picture));
  vrt::PagedList* list = robot.control(kServices, "?BROWSE:1").list();
  EXPECT_EQ(list->selectedRow(), 2);  // Waiting, 29 November
  robot.pressKey(kServices, vrt::kF6Key, "?Locator:1");
  ASSERT_NE(robot.findWindow(vrt::kCalendarProcedure), nullptr);
  robot.pressKey(vrt::kCalendarProcedure, vrt::kDownKey);  // 30 November
  robot.pressKey(vrt::kCalendarProcedure, vrt::kEnterKey);
  EXPECT_EQ(text(kServices, "?Locator:1"), vrt::formatPicture(vrt::dateFromYmd(2026, 11, 30), picture));
  EXPECT_EQ(list->selectedRow(), 3);  // Preparing, 6 December
}

TEST_F(BrowseServiceTest, ANewElementComesAfterTheServicesLastAndMayNotTakeAnOrderInUse) {
  open("BrowseService");
  robot.chooseRow(kServices, "?BROWSE:1", 2);  // Waiting: orders 1 and 2
  robot.press(kServices, "?Insert:2");
  constexpr const char* kAdd = "Service Element Will Be Added";
  ASSERT_NE(robot.findWindow(kAdd), nullptr);
  EXPECT_EQ(text(kAdd, "?SEL:ELEMENTORDER"), "3");
  robot.type(kAdd, "?SEL:TITLE", "Benediction");
  robot.type(kAdd, "?SEL:ELEMENTORDER", "2");
  robot.press(kAdd, "?OK");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.control(robot.messageBox()->caption(), vrt::kMessageTextUse).text(),
            "Element order 2 is already taken by \"Psalm 23\" in this service. Choose another order.");
  robot.pressMessageButton("Ok");
  ASSERT_NE(robot.findWindow(kAdd), nullptr);
  EXPECT_EQ(records(tables::ServiceElement), 4);  // the new one's reserved number only
  robot.type(kAdd, "?SEL:ELEMENTORDER", "4");
  robot.press(kAdd, "?OK");
  EXPECT_EQ(robot.findWindow(kAdd), nullptr);
  EXPECT_EQ(elements(), (std::vector<std::string>{"Opening hymn", "Psalm 23", "Benediction"}));
}

TEST_F(BrowseServiceTest, AnElementSharingAnOrderFromBeforeStillSavesWhenItsOrderIsLeftAlone) {
  onThread([this] { element(first, 2, "Candle", 0); });
  open("UpdateService", Request::Change, &tables::Service, first);
  robot.chooseTab(kChangeService, "?CurrentTab", "Service Elements");
  const auto titles = column(kChangeService, "?List:ServiceElements");
  const int row = static_cast<int>(std::find(titles.begin(), titles.end(), "Candle") - titles.begin()) + 1;
  robot.chooseRow(kChangeService, "?List:ServiceElements", row);
  robot.press(kChangeService, "?Change:13");
  constexpr const char* kEdit = "Service Element Will Be Changed";
  ASSERT_NE(robot.findWindow(kEdit), nullptr);
  robot.type(kEdit, "?SEL:TITLE", "Candle lighting");
  robot.press(kEdit, "?OK");
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.findWindow(kEdit), nullptr);
  const auto after = column(kChangeService, "?List:ServiceElements");
  EXPECT_NE(std::find(after.begin(), after.end(), "Candle lighting"), after.end());
}
