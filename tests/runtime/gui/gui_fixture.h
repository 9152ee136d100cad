#pragma once
// Every GUI test starts with no thread alive, in a fresh temporary directory, and leaves
// no thread or window behind.
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "runtime/testing/test_robot.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"

namespace vrt::testing {

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    previous_ = QDir::currentPath();
    QDir::setCurrent(dir_.path());
  }
  void TearDown() override {
    EndAllThreads();
    QDir::setCurrent(previous_);
  }

 private:
  QTemporaryDir dir_;
  QString previous_;
};

// A procedure's event loop for tests: opens a window built from `design`, notes every event
// in `log`, hands it to `onEvent` (which may act on the window and returns true to end
// the loop), and ends on close-window or close-down.
inline void runWindow(WindowSpec design, std::vector<Event>& log,
                      std::function<bool(Window&, const Event&)> onEvent = {}) {
  Window window(std::move(design));
  window.open();
  for (;;) {
    const Event e = window.accept();
    log.push_back(e);
    if (onEvent && onEvent(window, e)) return;
    if (e.event == kEventCloseWindow || e.event == kEventCloseDown) return;
  }
}

// The events of `log` that are `event` for control `control`.
inline int countEvents(const std::vector<Event>& log, int event, int control = -1) {
  int n = 0;
  for (const Event& e : log)
    if (e.event == event && (control < 0 || e.control == control)) ++n;
  return n;
}

}  // namespace vrt::testing
