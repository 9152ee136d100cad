// Planning a service's elements: moving one up or down by button, by Ctrl+Up / Ctrl+Down
// and by dragging its row, in the service form and in the service browse, with every order
// numbered again in steps of 10; and the running time the form shows as elements change.
#include <gtest/gtest.h>

#include <limits>
#include <utility>

#include "runtime/gui/message_box.h"
#include "worship/durations.h"
#include "service_data.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

constexpr const char* kFormList = "?List:ServiceElements";
constexpr const char* kAdd = "Service Element Will Be Added";
constexpr const char* kEdit = "Service Element Will Be Changed";

using Stored = std::vector<std::pair<std::string, int>>;

class ElementOrderTest : public ServiceDataTest {
 protected:
  void SetUp() override {
    ServiceDataTest::SetUp();
    // "Waiting" holds seven: the fixture's two (orders 1 and 2), then five more with gaps
    // and a shared order, as older data has them.
    onThread([this] {
      element(first, 5, "Song A", 0);
      element(first, 5, "Song B", 0);
      element(first, 7, "Prayer", 0);
      element(first, 30, "Sermon", ann);
      element(first, 31, "Blessing", 0);
    });
  }

  // The elements of `service` as stored, in element order: title and order.
  Stored stored(std::int64_t service) {
    Stored out;
    onThread([&] {
      FileManager& f = Access(tables::ServiceElement);
      static_cast<void>(f.Open());
      static_cast<void>(f.Use());
      f.BUFFER()->clearAll(f.FILE()->schema().fields);
      f.BUFFER()->set(SEL_SERVICENUMBER, static_cast<std::int32_t>(service));
      f.BUFFER()->set(SEL_ELEMENTORDER, std::numeric_limits<std::int32_t>::min());
      f.FILE()->setToValue(dict::idx::SEL::keys::ServiceElementKey);
      while (f.FILE()->next() && f.BUFFER()->get(SEL_SERVICENUMBER) == service)
        out.emplace_back(f.BUFFER()->get(SEL_TITLE), f.BUFFER()->get(SEL_ELEMENTORDER));
      static_cast<void>(f.Close());
    });
    return out;
  }
  std::vector<std::string> titles(std::int64_t service) {
    std::vector<std::string> out;
    for (const auto& [title, order] : stored(service)) out.push_back(title);
    return out;
  }
  // Every order a step of 10 in list order: none shared, none out of place.
  void expectNumberedInTens(std::int64_t service) {
    const Stored s = stored(service);
    for (std::size_t i = 0; i < s.size(); ++i) EXPECT_EQ(s[i].second, static_cast<int>(i + 1) * 10) << s[i].first;
  }

  std::string highlighted(const char* window, const char* list) {
    vrt::PagedList* l = robot.control(window, list).list();
    return l->selectedRow() > 0 ? l->cellText(l->selectedRow(), 1) : std::string();
  }
  void openForm() {
    open("UpdateService", Request::Change, &tables::Service, first);
    ASSERT_NE(robot.findWindow(kChangeService), nullptr);
    robot.chooseTab(kChangeService, "?CurrentTab", "Service Elements");
  }
  std::string runningTime() { return text(kChangeService, "?RunningTime"); }
};

}  // namespace

TEST_F(ElementOrderTest, TheFormsButtonsAndKeysMoveTheHighlightedElementAndNumberAllInTens) {
  openForm();
  EXPECT_EQ(column(kChangeService, kFormList),
            (std::vector<std::string>{"Opening hymn", "Psalm 23", "Song A", "Song B", "Prayer"}));
  robot.chooseRow(kChangeService, kFormList, 3);  // Song A
  robot.press(kChangeService, "?MoveUp");
  EXPECT_EQ(column(kChangeService, kFormList),
            (std::vector<std::string>{"Opening hymn", "Song A", "Psalm 23", "Song B", "Prayer"}));
  EXPECT_EQ(highlighted(kChangeService, kFormList), "Song A");
  EXPECT_EQ(robot.control(kChangeService, kFormList).list()->selectedRow(), 2);
  EXPECT_EQ(titles(first), (std::vector<std::string>{"Opening hymn", "Song A", "Psalm 23", "Song B", "Prayer",
                                                     "Sermon", "Blessing"}));
  expectNumberedInTens(first);

  // Past the page's last row: the page follows the element down.
  robot.chooseRow(kChangeService, kFormList, 5);  // Prayer
  robot.pressKey(kChangeService, int{vrt::kCtrl} | vrt::kDownKey, kFormList);
  EXPECT_EQ(highlighted(kChangeService, kFormList), "Prayer");
  EXPECT_EQ(robot.control(kChangeService, kFormList).list()->selectedRow(), 5);
  EXPECT_EQ(column(kChangeService, kFormList),
            (std::vector<std::string>{"Song A", "Psalm 23", "Song B", "Sermon", "Prayer"}));
  robot.press(kChangeService, "?MoveDown");
  EXPECT_EQ(titles(first).back(), "Prayer");
  // The last goes no further; the first no higher.
  robot.pressKey(kChangeService, int{vrt::kCtrl} | vrt::kDownKey, kFormList);
  EXPECT_EQ(titles(first).back(), "Prayer");
  EXPECT_EQ(robot.messageBox(), nullptr);
  robot.pressKey(kChangeService, int{vrt::kCtrl} | vrt::kUpKey, kFormList);
  EXPECT_EQ(highlighted(kChangeService, kFormList), "Prayer");
  EXPECT_EQ(titles(first), (std::vector<std::string>{"Opening hymn", "Song A", "Psalm 23", "Song B", "Sermon",
                                                     "Prayer", "Blessing"}));
  expectNumberedInTens(first);

  // The moves are saved as they are made, as every change of an element is: leaving the
  // service unsaved keeps them.
  robot.press(kChangeService, "?Cancel");
  if (robot.messageBox()) robot.pressMessageButton("&No");
  EXPECT_EQ(stored(first).at(5), (std::pair<std::string, int>{"Prayer", 60}));
}

TEST_F(ElementOrderTest, TheBrowsesElementListMovesByKeyAndByDraggingARow) {
  open("BrowseService");
  robot.chooseRow(kServices, "?BROWSE:1", 2);  // Waiting
  robot.chooseRow(kServices, "?LIST", 1);
  robot.pressKey(kServices, int{vrt::kCtrl} | vrt::kDownKey, "?LIST");
  EXPECT_EQ(column(kServices, "?LIST"),
            (std::vector<std::string>{"Psalm 23", "Opening hymn", "Song A", "Song B", "Prayer"}));
  EXPECT_EQ(highlighted(kServices, "?LIST"), "Opening hymn");
  expectNumberedInTens(first);

  // Dragged down onto the fourth row: it takes that place, the rows between move up.
  robot.dragRow(kServices, "?LIST", 1, 4);
  EXPECT_EQ(column(kServices, "?LIST"),
            (std::vector<std::string>{"Opening hymn", "Song A", "Song B", "Psalm 23", "Prayer"}));
  EXPECT_EQ(highlighted(kServices, "?LIST"), "Psalm 23");
  EXPECT_EQ(robot.control(kServices, "?LIST").list()->selectedRow(), 4);
  // And up onto the first.
  robot.dragRow(kServices, "?LIST", 5, 1);
  EXPECT_EQ(column(kServices, "?LIST"),
            (std::vector<std::string>{"Prayer", "Opening hymn", "Song A", "Song B", "Psalm 23"}));
  EXPECT_EQ(highlighted(kServices, "?LIST"), "Prayer");
  EXPECT_EQ(titles(first), (std::vector<std::string>{"Prayer", "Opening hymn", "Song A", "Song B", "Psalm 23",
                                                     "Sermon", "Blessing"}));
  expectNumberedInTens(first);
  EXPECT_EQ(titles(second), std::vector<std::string>{"Candle lighting"}) << "another service's stay as they were";
  EXPECT_EQ(stored(second).front().second, 1);

  // The popup menu moves too; the service form opened from here lists the new order.
  robot.rightClickRow(kServices, "?LIST", 2);
  robot.choosePopup("&Move Up");
  EXPECT_EQ(highlighted(kServices, "?LIST"), "Opening hymn");
  EXPECT_EQ(robot.control(kServices, "?LIST").list()->selectedRow(), 1);
  robot.press(kServices, "?Change");
  ASSERT_NE(robot.findWindow(kChangeService), nullptr);
  robot.chooseTab(kChangeService, "?CurrentTab", "Service Elements");
  EXPECT_EQ(column(kChangeService, kFormList).front(), "Opening hymn");
  robot.press(kChangeService, "?Cancel");
}

TEST_F(ElementOrderTest, MovesNeedTwoElementsAndAViewedServiceMovesNothing) {
  open("BrowseService");
  robot.chooseRow(kServices, "?BROWSE:1", 3);  // Preparing: one element
  EXPECT_TRUE(robot.control(kServices, "?MoveUp").disabled());
  EXPECT_TRUE(robot.control(kServices, "?MoveDown").disabled());
  robot.chooseRow(kServices, "?BROWSE:1", 2);
  EXPECT_FALSE(robot.control(kServices, "?MoveUp").disabled());
  robot.closeWindow(kServices);

  open("UpdateService", Request::View, &tables::Service, first);
  robot.chooseTab("View Record", "?CurrentTab", "Service Elements");
  EXPECT_TRUE(robot.control("View Record", "?MoveUp").disabled());
  EXPECT_THROW(robot.dragRow("View Record", kFormList, 1, 2), vrt::RobotError);
  robot.pressKey("View Record", int{vrt::kCtrl} | vrt::kDownKey, kFormList);
  EXPECT_EQ(stored(first).front(), (std::pair<std::string, int>{"Opening hymn", 1}));
  robot.press("View Record", "?Cancel");
}

TEST_F(ElementOrderTest, TheFormShowsTheRunningTimeAsElementsAreAddedChangedAndDeleted) {
  openForm();
  EXPECT_EQ(runningTime(), "Running time: 0:00");
  EXPECT_NE(robot.control(kChangeService, "?RunningTime").tip().find(kDurationForms), std::string::npos);

  robot.press(kChangeService, "?Insert:13");
  ASSERT_NE(robot.findWindow(kAdd), nullptr);
  EXPECT_NE(robot.control(kAdd, "?SEL:DURATION").tip().find(kDurationForms), std::string::npos);
  robot.type(kAdd, "?SEL:TITLE", "Welcome");
  robot.type(kAdd, "?SEL:DURATION", "5 Min");
  robot.press(kAdd, "?OK");
  EXPECT_EQ(runningTime(), "Running time: 5:00");

  robot.press(kChangeService, "?Insert:13");
  robot.type(kAdd, "?SEL:TITLE", "Reading");
  robot.type(kAdd, "?SEL:DURATION", "about two");
  robot.press(kAdd, "?OK");
  EXPECT_EQ(runningTime(), "Running time: 5:00 (1 duration not read)");

  robot.press(kChangeService, "?Insert:13");
  robot.type(kAdd, "?SEL:TITLE", "Message");
  robot.type(kAdd, "?SEL:DURATION", "1 h 5 min");
  robot.press(kAdd, "?OK");
  EXPECT_EQ(runningTime(), "Running time: 1:10:00 (1 duration not read)");

  // The text stays as typed; changing the unreadable one to a readable one counts it.
  robot.pressKey(kChangeService, vrt::kCtrlEnd, kFormList);  // the last page, the newest last
  EXPECT_EQ(column(kChangeService, kFormList, 3).back(), "1 h 5 min");
  robot.chooseRow(kChangeService, kFormList, 4);
  ASSERT_EQ(highlighted(kChangeService, kFormList), "Reading");
  robot.press(kChangeService, "?Change:13");
  ASSERT_NE(robot.findWindow(kEdit), nullptr);
  robot.type(kEdit, "?SEL:DURATION", "90 s");
  robot.press(kEdit, "?OK");
  EXPECT_EQ(runningTime(), "Running time: 1:11:30");

  robot.chooseRow(kChangeService, kFormList, 5);
  ASSERT_EQ(highlighted(kChangeService, kFormList), "Message");
  robot.press(kChangeService, "?Delete:13");
  robot.pressMessageButton("Yes");
  EXPECT_EQ(runningTime(), "Running time: 6:30");
  robot.press(kChangeService, "?Cancel");
}
