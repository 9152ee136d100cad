#include "runtime/gui/frame_host.h"

#include <QAccessible>
#include <QScreen>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "gui_fixture.h"
#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/navigation_buttons.h"

namespace vrt {
namespace {

using testing::countEvents;
using testing::runWindow;
using FrameTest = testing::GuiTest;

// A frame like the program's: what each thread saw is kept per thread number.
struct Program {
  std::map<int, std::vector<Event>> seen;
  std::vector<int> messageAnswers;

  WindowSpec frameSpec() {
    WindowSpec design = windowSpec("Vespera - Version 1.1 - Release Date 3-18-2006", "Main", WindowKind::Frame);
    design.iconName = "vsp.ico";
    design.fontName = "MS Sans Serif";
    design.fontSize = 8;
    design.menus = {
        menu("&File", {menuItem("?Exit", "E&xit").help("Exit this application").action(StdAction::CloseWindow)}),
        menu("&Browse", {menuItem("?BrowseServices", "Browse the Services file").help("Browse Services"),
                         menuItem("?BrowsePraises", "Browse the Praises file").help("Browse Praises")}),
        menu("&Window", {menuItem("?Tile", "T&ile").help("Make all open windows visible").action(StdAction::Tile),
                         menuItem("?Cascade", "&Cascade").help("Stack all open windows").action(StdAction::Cascade)}),
    };
    design.toolbar = {toolButton("?PrayerRequests", "Prayer Requests"),
                    toolButton("?Journal", "Journal").tip("Comming Soon..")};
    for (const NavigationButton& n : kNavigationButtons)
      design.toolbar.push_back(toolButton({}, {}, toolbarControl(n.action)).tip(n.tip).icon(n.icon));
    return design;
  }

  void browse(const char* caption) {
    WindowSpec design = windowSpec(caption, caption, WindowKind::Child);
    design.controls = {list("?Browse:1", {{"Title", 20}}, 5), button("?Ask", "&Ask"), button("?Close", "&Close")};
    runWindow(std::move(design), seen[ThreadNumber()], [this](Window& w, const Event& e) {
      if (e.event == kEventAccepted && e.control == w.number("?Ask"))
        messageAnswers.push_back(Message("Sure?", "Question", kIconQuestion, kButtonYes | kButtonNo, kButtonYes));
      return e.event == kEventAccepted && e.control == w.number("?Close");
    });
  }

  void main() {
    runWindow(frameSpec(), seen[ThreadNumber()], [this](Window& frame, const Event& e) {
      if (e.event != kEventAccepted) return false;
      if (e.control == frame.number("?BrowseServices")) StartThread([this] { browse("Browse the Service File"); }, 50'000);
      if (e.control == frame.number("?BrowsePraises")) StartThread([this] { browse("Browse the Praises File"); }, 25'000);
      if (e.control == frame.number("?Journal")) Message(" Comming Soon...", "Message", kIconInformation, kButtonOk);
      const auto action = toolbarAction(e.control);
      if (action >= ToolbarAction::Insert && action <= ToolbarAction::Help && FrameHost::activeChildThread() != ThreadNumber())
        FrameHost::postToActiveChild(kEventAccepted, e.control);
      return false;
    });
  }
};

TEST_F(FrameTest, MenuItemsStartBrowsesOnThreadsOfTheirOwnInsideTheFrame) {
  Program program;
  TestRobot robot;
  StartThread([&] { program.main(); }, 50'000, "Main");
  robot.settle();
  ASSERT_NE(FrameHost::frame(), nullptr);
  EXPECT_EQ(FrameHost::frame()->thread(), 1);
  EXPECT_EQ(robot.hoverMenu("&Browse|Browse the Services file"), "Browse Services");
  EXPECT_EQ(robot.hoverMenu("&Window|T&ile"), "Make all open windows visible");

  robot.chooseMenu("&Browse|Browse the Services file");
  robot.chooseMenu("&Browse|Browse the Praises file");
  Window& services = robot.window("Browse the Service File");
  Window& praises = robot.window("Browse the Praises File");
  EXPECT_EQ(services.thread(), 2);
  EXPECT_EQ(praises.thread(), 3);
  EXPECT_EQ(RequestedStackSize(3), 25'000u);
  ASSERT_EQ(FrameHost::mdiArea()->subWindowList().size(), 2);
  EXPECT_EQ(Window::owning(FrameHost::mdiArea()->subWindowList().first()), &services);

  robot.chooseMenu("&Window|T&ile");
  EXPECT_FALSE(services.position().intersects(praises.position())) << "tiled side by side";
  EXPECT_EQ(countEvents(program.seen[1], kEventAccepted), 2) << "Tile is carried out, not posted";
  EXPECT_THROW(robot.chooseMenu("&Browse|Browse the Nothing file"), RobotError);
}

void collectButtonNames(QAccessibleInterface* node, std::vector<std::string>& names, int depth = 0) {
  if (!node || depth > 30) return;
  if (node->role() == QAccessible::Button || node->role() == QAccessible::PushButton)
    names.push_back(node->text(QAccessible::Name).toStdString());
  for (int i = 0; i < node->childCount(); ++i) collectButtonNames(node->child(i), names, depth + 1);
}

TEST_F(FrameTest, EveryToolbarButtonIsNamedForAssistiveTechnology) {
  Program program;
  TestRobot robot;
  StartThread([&] { program.main(); }, 50'000, "Main");
  robot.settle();
  std::vector<std::string> names;
  collectButtonNames(QAccessible::queryAccessibleInterface(robot.window("Main").widget()), names);
  auto named = [&](const std::string& n) { return std::find(names.begin(), names.end(), n) != names.end(); };
  EXPECT_TRUE(named("Prayer Requests")) << "a button with a caption is named by it";
  for (const NavigationButton& n : kNavigationButtons) EXPECT_TRUE(named(n.tip)) << "icon-only button " << n.tip;
}

TEST_F(FrameTest, NavigationButtonsGoToTheActiveBrowsesThreadOnly) {
  Program program;
  TestRobot robot;
  StartThread([&] { program.main(); }, 50'000, "Main");
  robot.settle();
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.chooseMenu("&Browse|Browse the Praises file");
  robot.activate("Browse the Service File");
  EXPECT_EQ(FrameHost::activeChildThread(), 2);

  robot.pressToolbar(ToolbarAction::PageDown);
  robot.pressToolbar("Go to the Next Record");
  EXPECT_EQ(countEvents(program.seen[2], kEventAccepted, toolbarControl(ToolbarAction::PageDown)), 1);
  EXPECT_EQ(countEvents(program.seen[2], kEventAccepted, toolbarControl(ToolbarAction::Down)), 1);
  EXPECT_EQ(countEvents(program.seen[3], kEventAccepted), 0);

  robot.activate("Browse the Praises File");
  robot.pressToolbar(ToolbarAction::Insert);
  EXPECT_EQ(countEvents(program.seen[3], kEventAccepted, toolbarControl(ToolbarAction::Insert)), 1);
  EXPECT_EQ(countEvents(program.seen[2], kEventAccepted, toolbarControl(ToolbarAction::Insert)), 0);
  EXPECT_TRUE(robot.control("Main", "?Journal").tip() == "Comming Soon..");
  EXPECT_EQ(robot.control("Main", "?PrayerRequests").text(), "Prayer Requests");
}

TEST_F(FrameTest, AMessageBoxLeftOpenOnOneThreadDoesNotBlockAnotherThreadsWindows) {
  Program program;
  TestRobot robot;
  StartThread([&] { program.main(); }, 50'000, "Main");
  robot.settle();
  robot.chooseMenu("&Browse|Browse the Services file");

  robot.pressToolbar("Journal");  // thread 1 now waits in its message box
  Window* box = robot.messageBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->caption(), "Message");
  EXPECT_EQ(box->thread(), 1);
  EXPECT_EQ(box->control(kMessageTextUse)->text(), " Comming Soon...");
  EXPECT_THROW(robot.chooseMenu("&Browse|Browse the Praises file"), RobotError) << "the frame waits for its box";

  robot.press("Browse the Service File", "?Ask");  // thread 2 opens a box of its own
  EXPECT_EQ(robot.messageBox()->thread(), 2);
  robot.pressMessageButton("&No");
  EXPECT_EQ(program.messageAnswers, std::vector<int>{kButtonNo});
  robot.press("Browse the Service File", "?Ask");
  robot.pressMessageButton("Yes");
  EXPECT_EQ(program.messageAnswers, (std::vector<int>{kButtonNo, kButtonYes}));

  ASSERT_NE(robot.messageBox(), nullptr) << "the frame's box is still open";
  robot.pressMessageButton("O&k");
  EXPECT_EQ(robot.messageBox(), nullptr);
  robot.chooseMenu("&Browse|Browse the Praises file");
  EXPECT_NE(robot.findWindow("Browse the Praises File"), nullptr);
}

TEST_F(FrameTest, AMessageBoxOverAFrameHalfOffTheScreenStaysWholeOnTheScreen) {
  Program program;
  TestRobot robot;
  StartThread([&] { program.main(); }, 50'000, "Main");
  robot.settle();
  const QRect room = FrameHost::frame()->widget()->screen()->availableGeometry();
  FrameHost::frame()->setPosition(QRect(room.left() - 400, room.top() - 300, 500, 400));
  robot.settle();
  robot.pressToolbar("Journal");
  Window* box = robot.messageBox();
  ASSERT_NE(box, nullptr);
  const QRect place = box->position();
  EXPECT_TRUE(room.contains(place)) << place.x() << "," << place.y() << " " << place.width() << "x" << place.height();
  robot.pressMessageButton("O&k");
}

TEST_F(FrameTest, ClosingTheFrameClosesDownEveryThread) {
  Program program;
  TestRobot robot;
  StartThread([&] { program.main(); }, 50'000, "Main");
  robot.settle();
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.chooseMenu("&Browse|Browse the Praises file");
  robot.chooseMenu("&File|E&xit");
  EXPECT_TRUE(LiveThreads().empty());
  EXPECT_EQ(countEvents(program.seen[2], kEventCloseDown), 1);
  EXPECT_EQ(countEvents(program.seen[3], kEventCloseDown), 1);
  EXPECT_TRUE(Window::openWindows().empty());
}

}  // namespace
}  // namespace vrt
