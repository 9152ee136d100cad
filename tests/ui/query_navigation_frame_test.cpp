// Query navigation inside the running program: its progress window is a child of the main
// frame, shows what it read batch by batch, and leaves the frame free while it searches.
#include <QMdiArea>
#include <QMdiSubWindow>

#include "program_fixture.h"
#include "querywizard/hooks.h"
#include "querywizard/library_windows.h"
#include "querywizard/navigation_window.h"
#include "querywizard/qrywiz.h"
#include "runtime/gui/control.h"
#include "runtime/store/data_file.h"
#include "runtime/store/test_schema.h"
#include "runtime/store/view.h"

using namespace vesp::testing;

namespace {

constexpr std::string_view N = qrywiz::kNavigationProcedure;

class QueryNavigationInFrameTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    vrt::DataFile people(vtest::peopleSchema());
    ASSERT_TRUE(people.create());
    ASSERT_TRUE(people.open());
    auto& f = people.schema().fields;
    for (int i = 1; i <= 80; ++i) {
      people.buffer().clearAll(f);
      people.buffer().setNumber(f[vtest::kNumber], i);
      people.buffer().setText(f[vtest::kName], "P" + std::to_string(i));
      ASSERT_TRUE(people.add());
    }
  }
  void TearDown() override {
    ProgramTest::TearDown();
    qrywiz::useLibraryWindows();
  }
  // Starts the program; its progress window then ticks only when the test says so.
  void startProgram() {
    start();
    auto open = qrywiz::hooks().navigationBegin;
    qrywiz::hooks().navigationBegin = [open](std::uint8_t direction) {
      open(direction);
      for (vrt::Window* w : vrt::Window::openWindows())
        if (w->procedure() == N && w->thread() == vrt::ThreadNumber()) w->setTimer(kHour);
    };
  }
  static constexpr int kHour = 360'000;  // hundredths

  // A browse's thread searching its view of the people, in number order.
  void search(std::string filter, std::uint8_t direction, bool fromTheMiddle = false) {
    vrt::StartThread(
        [this, filter, direction, fromTheMiddle] {
          vrt::DataFile people(vtest::peopleSchema());
          people.open();
          vrt::View view(people);
          view.setOrder("PEO:NUMBER");
          view.open();
          std::string position;
          if (fromTheMiddle) {
            for (int i = 0; i < 40; ++i) view.next();
            position = view.position();
          }
          found = qrywiz::XB_QWNAVIGATE(view, std::nullopt, filter, direction, nullptr, 0, position);
          number = static_cast<int>(people.buffer().number(people.schema().fields[vtest::kNumber]));
          done = true;
        },
        50'000);
    robot.settle();
  }
  std::string bar() { return robot.control(N, "?Progress").value(); }

  int found = -1, number = 0;
  bool done = false;
};

TEST_F(QueryNavigationInFrameTest, TheProgressWindowIsAFrameChildThatCountsAndFinds) {
  startProgram();
  search("PEO:NUMBER = 70", 1);
  vrt::Window& progress = robot.window(N);
  auto* child = qobject_cast<QMdiSubWindow*>(progress.widget());
  ASSERT_NE(child, nullptr) << "an MDI child, not a window of its own";
  EXPECT_EQ(child->mdiArea(), vrt::FrameHost::mdiArea());
  EXPECT_EQ(progress.caption(), "Locating First Query Result...");
  EXPECT_EQ(bar(), "0") << "20 read: not yet shown";
  // The frame stays usable while the search waits for its next tick.
  EXPECT_TRUE(vrt::FrameHost::frame()->takesInput());
  robot.fireTimer(N);
  EXPECT_EQ(bar(), "8") << "40 of 500";
  for (int tick = 0; tick < 20 && !done; ++tick) robot.fireTimer(N);
  EXPECT_TRUE(done);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(number, 70) << "the view is left on the match";
  EXPECT_EQ(robot.findWindow(N), nullptr);
  EXPECT_NE(vrt::FrameHost::frame(), nullptr);
}

TEST_F(QueryNavigationInFrameTest, NextWithoutAMatchSaysSoAndReturnsToTheStart) {
  startProgram();
  search("PEO:NUMBER < 30", 3, true);
  EXPECT_EQ(robot.window(N).caption(), "Locating Next Query Result...");
  for (int tick = 0; tick < 20 && !robot.messageBox(); ++tick) robot.fireTimer(N);
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Next Query Result");
  robot.pressMessageButton("Ok");
  EXPECT_TRUE(done);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(robot.findWindow(N), nullptr);

  // Cancel ends a search at once.
  done = false;
  search("PEO:NUMBER = 0", 4);
  EXPECT_EQ(robot.window(N).caption(), "Locating Last Query Result...");
  robot.press(N, "?CancelNavigation");
  EXPECT_TRUE(done);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(robot.findWindow(N), nullptr);
}

}  // namespace
