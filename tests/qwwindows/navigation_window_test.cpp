#include "querywizard/navigation_window.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include "qw_gui_fixture.h"
#include "querywizard/qrywiz.h"
#include "runtime/store/data_file.h"
#include "runtime/store/view.h"
#include "runtime/store/test_schema.h"

namespace qrywiz {
namespace {

TEST(NavigationPercentTest, CountsToFiveHundredAndStartsAfterForty) {
  EXPECT_EQ(navigationPercent(20), 0);
  EXPECT_EQ(navigationPercent(39), 0);
  EXPECT_EQ(navigationPercent(40), 8);
  EXPECT_EQ(navigationPercent(250), 50);
  EXPECT_EQ(navigationPercent(500), 0) << "the bar restarts";
  EXPECT_EQ(navigationPercent(520), 4);
}

class NavigationWindowTest : public qwtest::LibraryWindowsTest {
 protected:
  void SetUp() override {
    LibraryWindowsTest::SetUp();
    ASSERT_TRUE(people.create());
    ASSERT_TRUE(people.open());
  }
  void addPeople(int count) {
    auto& f = people.schema().fields;
    for (int i = 1; i <= count; ++i) {
      people.buffer().clearAll(f);
      people.buffer().setNumber(f[vtest::kNumber], i);
      people.buffer().setText(f[vtest::kName], "P" + std::to_string(i));
      ASSERT_TRUE(people.add());
    }
  }
  void search(std::string filter, std::uint8_t direction) {
    vrt::StartThread(
        [this, filter, direction] {
          vrt::View view(people);
          view.open();
          found = XB_QWNAVIGATE(view, std::nullopt, filter, direction, nullptr, 0);
          done = true;
        },
        200'000);
    robot.settle();
  }
  // The search waits for its timer between batches: let the timer run until it ends.
  void runUntilDone() {
    for (int round = 0; round < 10'000 && !done && !robot.messageBox(); ++round) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
      robot.settle();
    }
  }

  vrt::DataFile people{vtest::peopleSchema()};
  int found = -1;
  bool done = false;
  vrt::TestRobot robot;
};

TEST_F(NavigationWindowTest, CancelEndsTheSearchWithNothingFound) {
  addPeople(2000);
  search("1 = 0", 1);
  vrt::Window& progress = robot.window(kNavigationProcedure);
  EXPECT_EQ(progress.caption(), "Locating First Query Result...");
  EXPECT_EQ(progress.kind(), vrt::WindowKind::Child);
  EXPECT_FALSE(done) << "the search waits for its next tick";
  robot.press(kNavigationProcedure, "?CancelNavigation");
  EXPECT_TRUE(done);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(robot.findWindow(kNavigationProcedure), nullptr);
}

TEST_F(NavigationWindowTest, ASearchWithoutMatchSaysSoByDirection) {
  addPeople(60);
  search("1 = 0", 4);
  EXPECT_EQ(robot.window(kNavigationProcedure).caption(), "Locating Last Query Result...");
  runUntilDone();
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Query Navigation Result");
  robot.pressMessageButton("Ok");
  EXPECT_TRUE(done);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(robot.findWindow(kNavigationProcedure), nullptr);

  done = false;
  search("1 = 1", 1);
  EXPECT_TRUE(done) << "a match in the first batch needs no tick";
  EXPECT_EQ(found, 1);
  EXPECT_EQ(robot.findWindow(kNavigationProcedure), nullptr);
}

}  // namespace
}  // namespace qrywiz
