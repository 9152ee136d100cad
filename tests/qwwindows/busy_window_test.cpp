// The wait window of the saved-query conversions, seen while the work runs.
#include "querywizard/busy_window.h"

#include <QApplication>
#include <QCursor>

#include "querywizard/field_registry.h"
#include "querywizard/hooks.h"
#include "qw_gui_fixture.h"
#include "runtime/gui/control.h"
#include "wizard_texts.h"

namespace qrywiz {
namespace {

class BusyWindowTest : public qwtest::LibraryWindowsTest {
 protected:
  vrt::TestRobot robot;
};

// What was on screen while registering the fields: the window's message and the pointer.
struct Seen {
  std::string message;
  bool busyPointer = false;
};

TEST_F(BusyWindowTest, ChangedFieldsAreRegisteredBehindTheWaitWindow) {
  XB_SETQWDISPLAYTEXT(300, "Converting Saved Query Data -- Please Wait...");
  std::vector<Seen> seen;
  auto open = hooks().busyBegin;
  hooks().busyBegin = [&](std::string_view text) {
    open(text);
    Seen s;
    for (vrt::Window* w : vrt::Window::openWindows())
      if (w->procedure() == kBusyProcedure) s.message = w->control("?Message")->text();
    s.busyPointer = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    seen.push_back(s);
  };
  bool done = false;
  vrt::StartThread(
      [&] {
        qwtest::wizardFields();  // a first registration changes the stored field list
        done = true;
      },
      200'000);
  robot.settle();
  ASSERT_TRUE(done);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].message, "Converting Saved Query Data -- Please Wait...");
  EXPECT_TRUE(seen[0].busyPointer);
  EXPECT_EQ(robot.findWindow(kBusyProcedure), nullptr) << "gone when the work is done";
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // Registering the same fields again changes nothing and shows nothing.
  done = false;
  vrt::StartThread(
      [&] {
        qwtest::wizardFields();
        done = true;
      },
      200'000);
  robot.settle();
  EXPECT_TRUE(done);
  EXPECT_EQ(seen.size(), 1u);
}

}  // namespace
}  // namespace qrywiz
