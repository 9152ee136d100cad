#include "runtime/testing/test_robot.h"

#include <QDir>
#include <gtest/gtest.h>

#include "gui_fixture.h"

namespace vrt {
namespace {

using testing::countEvents;
using testing::runWindow;
using TestRobotTest = testing::GuiTest;

TEST_F(TestRobotTest, WorksInAFreshEmptyDirectory) {
  EXPECT_TRUE(QDir::current().entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST_F(TestRobotTest, FindsWindowsByCaptionOrProcedureNewestFirst) {
  std::vector<Event> first, second;
  TestRobot robot;
  StartThread([&] { runWindow(windowSpec("Browse the Praises File", "BrowsePraises"), first); }, 25'000);
  StartThread([&] { runWindow(windowSpec("Browse the Praises File", "BrowsePraises"), second); }, 25'000);
  robot.settle();
  EXPECT_EQ(robot.window("Browse the Praises File").thread(), 2);
  EXPECT_EQ(robot.window("BrowsePraises").thread(), 2);
  EXPECT_EQ(robot.findWindow("Nowhere"), nullptr);
  EXPECT_THROW(robot.window("Nowhere"), RobotError);
  EXPECT_THROW(robot.control("BrowsePraises", "?Nothing"), RobotError);
}

TEST_F(TestRobotTest, ChoosesTabsAndTypesIntoEveryKindOfEntry) {
  std::string notes, speaker;
  std::vector<Event> log;
  TestRobot robot;
  StartThread(
      [&] {
        WindowSpec design = windowSpec("Form", "Form");
        design.controls = {sheet("?Sheet", {tab("&General", {textBox("?Notes", bind(notes))}),
                                          tab("&People", {combo("?Speaker", "@s20", {"Ann", "Bob"}, bind(speaker))}),
                                          tab("&Hidden", {}).makeDisabled()})};
        runWindow(std::move(design), log);
      },
      50'000);
  robot.settle();
  Window& form = robot.window("Form");
  robot.type("Form", "?Notes", "Line one\nLine two");
  EXPECT_EQ(notes, "Line one\nLine two");
  robot.chooseTab("Form", "?Sheet", "People");
  EXPECT_EQ(form.control("?Sheet")->selected(), 2);
  EXPECT_EQ(countEvents(log, kEventNewSelection, form.number("?Sheet")), 1);
  robot.type("Form", "?Speaker", "Carol");
  EXPECT_EQ(speaker, "Carol");
  robot.chooseItem("Form", "?Speaker", "Bob");
  EXPECT_EQ(speaker, "Bob");
  EXPECT_THROW(robot.chooseTab("Form", "?Sheet", "&Hidden"), RobotError);
  EXPECT_THROW(robot.chooseTab("Form", "?Sheet", "Missing"), RobotError);
}

TEST_F(TestRobotTest, RefusesWhatAUserCouldNotDo) {
  std::string title;
  std::vector<Event> log;
  TestRobot robot;
  StartThread(
      [&] {
        WindowSpec design = windowSpec("Form", "Form");
        design.controls = {entry("?Title", "@s10", bind(title)).makeReadOnly(), button("?Off", "Off").makeDisabled(),
                         button("?Gone", "Gone").makeHidden(), prompt("Just text", "?Label")};
        runWindow(std::move(design), log);
      },
      50'000);
  robot.settle();
  EXPECT_THROW(robot.type("Form", "?Title", "x"), RobotError);
  EXPECT_THROW(robot.press("Form", "?Off"), RobotError);
  EXPECT_THROW(robot.press("Form", "?Gone"), RobotError);
  EXPECT_THROW(robot.press("Form", "?Label"), RobotError);
  EXPECT_THROW(robot.chooseRow("Form", "?Label", 1), RobotError);
  EXPECT_THROW(robot.pressMessageButton("OK"), RobotError);
  EXPECT_THROW(robot.chooseMenu("&File|E&xit"), RobotError) << "no frame";
  EXPECT_EQ(countEvents(log, kEventAccepted), 0);
}

TEST_F(TestRobotTest, SettleGivesUpOnThreadsThatNeverRest) {
  TestRobot robot;
  auto pingPong = [](int other) {
    return [other] {
      for (;;) {
        if (TakeEvent().event == kEventCloseDown) return;
        PostEvent(kEventNotify, 0, other);
      }
    };
  };
  StartThread(pingPong(2), 50'000);
  StartThread(pingPong(1), 50'000);
  robot.settle();
  PostEvent(kEventNotify, 0, 1);
  EXPECT_THROW(robot.settle(50), RobotError);
}

}  // namespace
}  // namespace vrt
