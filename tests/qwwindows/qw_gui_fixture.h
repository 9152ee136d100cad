#pragma once
// The library's windows in tests: a fresh folder, the hooks put on the real windows, and
// nothing left behind (threads, windows, pinned clock, hooks).
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "querywizard/display_text.h"
#include "querywizard/globals.h"
#include "querywizard/hooks.h"
#include "querywizard/library_windows.h"
#include "runtime/testing/pinned_clock.h"
#include "runtime/testing/test_robot.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"
#include "runtime/text/dates.h"

namespace qwtest {

class LibraryWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    previous_ = QDir::currentPath();
    QDir::setCurrent(dir_.path());
    qrywiz::resetHooks();
    qrywiz::resetDisplayTexts();
    qrywiz::resetFilePaths();
    qrywiz::XBQW_MainOptions = 0;
    qrywiz::useLibraryWindows();
  }
  void TearDown() override {
    vrt::EndAllThreads();
    vrt::unpinClockForTesting();
    qrywiz::resetHooks();
    QDir::setCurrent(previous_);
  }

 private:
  QTemporaryDir dir_;
  QString previous_;
};

}  // namespace qwtest
