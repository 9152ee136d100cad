// The waits a procedure runs inside its own event loop: message boxes, the calendar,
// popups and dialogs. Each ends when its thread closes down, and so does the procedure
// around it; popups and dialogs, which are none of the thread's windows, leave what is
// meant for those windows queued.
#include <QApplication>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "gui_fixture.h"
#include "runtime/gui/calendar.h"
#include "runtime/gui/file_dialog.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/popup_menu.h"

namespace vrt {
namespace {

struct NestedWait {
  std::string name;
  std::function<void()> run;                  // on the procedure's thread
  std::function<bool(TestRobot&)> shown;      // whether the user sees it
  std::function<void(TestRobot&)> dismiss;    // the user ends it without choosing
};

void PrintTo(const NestedWait& wait, std::ostream* out) { *out << wait.name; }

bool fileDialogShown() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->property(kFileDialogProperty).isValid() && w->isVisible()) return true;
  return false;
}

const NestedWait kMessageBox{
    "MessageBox", [] { Message("Save the changes?", "Question", {}, kButtonYes | kButtonNo); },
    [](TestRobot& r) { return r.messageBox() != nullptr; }, [](TestRobot& r) { r.pressMessageButton("No"); }};
const NestedWait kCalendar{
    "Calendar", [] { GCAL({}, "Calendar", "03/18/2006", 3, "1"); },
    [](TestRobot& r) { return r.findWindow(kCalendarProcedure) != nullptr; },
    [](TestRobot& r) { r.pressKey(kCalendarProcedure, kEscKey); }};
const NestedWait kPopup{"Popup", [] { Popup("One|Two", 10, 10); }, [](TestRobot& r) { return r.popupOpen(); },
                        [](TestRobot& r) { r.dismissPopup(); }};
const NestedWait kFileDialog{"FileDialog", [] { FileDialog({}); }, [](TestRobot&) { return fileDialogShown(); },
                             [](TestRobot& r) { r.cancelFileDialog(); }};

std::string waitName(const ::testing::TestParamInfo<NestedWait>& info) { return info.param.name; }

// A browse-like procedure on thread 1: "?Open" runs the wait; every event is noted.
class NestedWaitTest : public testing::GuiTest, public ::testing::WithParamInterface<NestedWait> {
 protected:
  void startWaiting() {
    StartThread(
        [this] {
          WindowSpec design = windowSpec("Browse", "Browse");
          design.controls = {button("?Open", "&Open")};
          Window window(std::move(design));
          window.open();
          for (;;) {
            const Event e = window.accept();
            log.push_back(e);
            if (e.event == kEventCloseWindow || e.event == kEventCloseDown) break;
            if (e.event == kEventAccepted && e.control == window.number("?Open")) GetParam().run();
          }
          ended = true;
        },
        50'000);
    robot.settle();
    robot.press("Browse", "?Open");
    ASSERT_TRUE(GetParam().shown(robot));
  }

  std::vector<Event> log;
  bool ended = false;
  TestRobot robot;
};

using CloseDownTest = NestedWaitTest;
using UnownedWaitTest = NestedWaitTest;

TEST_P(CloseDownTest, EndsTheWaitAndThenTheProcedureAroundIt) {
  startWaiting();
  PostEvent(kEventCloseDown, 0, 1);
  robot.settle();
  EXPECT_FALSE(GetParam().shown(robot));
  EXPECT_TRUE(ended) << "the procedure's own loop must see the close-down too";
  EXPECT_FALSE(ThreadAlive(1));
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().event, kEventCloseDown);
}

TEST_P(UnownedWaitTest, KeepsWhatIsMeantForTheThreadsWindowsQueued) {
  startWaiting();
  // As the frame forwards a toolbar button: to the thread, for whichever window takes it.
  PostEvent(kEventAccepted, toolbarControl(ToolbarAction::Down), 1);
  robot.settle();
  GetParam().dismiss(robot);
  EXPECT_FALSE(GetParam().shown(robot));
  EXPECT_EQ(testing::countEvents(log, kEventAccepted, toolbarControl(ToolbarAction::Down)), 1);
  EXPECT_FALSE(ended);
}

INSTANTIATE_TEST_SUITE_P(Every, CloseDownTest, ::testing::Values(kMessageBox, kCalendar, kPopup, kFileDialog),
                         waitName);
INSTANTIATE_TEST_SUITE_P(PopupsAndDialogs, UnownedWaitTest, ::testing::Values(kPopup, kFileDialog), waitName);

}  // namespace
}  // namespace vrt
