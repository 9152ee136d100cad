#pragma once
// The whole program, started in-process on Qt's offscreen platform in a fresh folder, with
// a fake desktop, and driven by the test robot.
#include <gtest/gtest.h>

#include "records/error_manager.h"
#include "runtime/gui/frame_host.h"
#include "runtime/gui/test_robot.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"
#include "runtime/os/fake_desktop_settings.h"
#include "shell/main_frame.h"
#include "shell/startup.h"
#include "support/temp_dir.h"

namespace vesp::testing {

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto fake = std::make_unique<vrt::FakeDesktopSettings>(dragFullWindowsAtStart());
    desktop = fake.get();
    vrt::installDesktopSettings(std::move(fake));
    errorManager().SetEndHook([](int) {});
  }
  void TearDown() override {
    vrt::EndAllThreads();
    vrt::installDesktopSettings(nullptr);
    errorManager().SetEndHook(nullptr);
    errorManager().SetDisplay(nullptr);
  }
  virtual bool dragFullWindowsAtStart() const { return true; }

  // Starts the program and waits until its frame is up.
  void start() {
    StartProgram();
    robot.settle();
    ASSERT_NE(vrt::FrameHost::frame(), nullptr);
  }

  vtest::TempDir dir;
  vrt::FakeDesktopSettings* desktop = nullptr;
  vrt::TestRobot robot;
};

}  // namespace vesp::testing
