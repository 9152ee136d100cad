#pragma once
// The whole program, started in-process on Qt's offscreen platform in a fresh folder, with
// a fake desktop, and driven by the test robot.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <vector>

#include "dictionary/tables.h"

#include "records/error_manager.h"
#include "records/levels.h"
#include "records/thread_dictionary.h"
#include "runtime/gui/frame_host.h"
#include "runtime/testing/test_robot.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"
#include "runtime/testing/fake_desktop_settings.h"
#include "shell/main_frame.h"
#include "shell/startup.h"
#include "support/temp_dir.h"

namespace vesp::testing {

// The control numbers of the frame's toolbar buttons from `first` to `last`.
inline std::vector<int> toolbarButtons(vrt::ToolbarAction first, vrt::ToolbarAction last) {
  std::vector<int> out;
  for (int b = vrt::toolbarControl(first); b <= vrt::toolbarControl(last); ++b) out.push_back(b);
  return out;
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto fake = std::make_unique<vrt::FakeDesktopSettings>(dragFullWindowsAtStart());
    desktop = fake.get();
    vrt::installDesktopSettings(std::move(fake));
    errorManager().SetEndHook([](Level) {});
    // A folder the program has run in before: its lists stay as the test makes them and no
    // welcome opens. A newcomer's first start asks for an empty one.
    if (!emptyFolder()) std::ofstream("vsp.INI").flush();
  }
  void TearDown() override {
    vrt::EndAllThreads();
    vrt::installDesktopSettings(nullptr);
    errorManager().SetEndHook(nullptr);
    errorManager().SetDisplay(nullptr);
  }
  virtual bool dragFullWindowsAtStart() const { return true; }
  virtual bool emptyFolder() const { return false; }

  // Starts the program and waits until its frame is up.
  void start() {
    StartProgram();
    robot.settle();
    ASSERT_NE(vrt::FrameHost::frame(), nullptr);
  }

  // Runs `body` on a new thread until it ends or waits for the user.
  void onThread(std::function<void()> body) {
    vrt::StartThread(std::move(body), 50'000);
    robot.settle();
  }

  // Adds one record on the calling thread.
  static void addRecord(const dict::TableDecl& table, const std::function<void(vrt::RecordRef)>& fill) {
    FileManager& f = Access(table);
    static_cast<void>(f.Open());
    static_cast<void>(f.ClearForInsert());
    fill(*f.BUFFER());
    EXPECT_EQ(f.Insert(), Level::Benign);
    static_cast<void>(f.Close());
  }

  // How many records the table holds, as another station would count them.
  std::int64_t records(const dict::TableDecl& table) {
    std::int64_t count = -1;
    onThread([&] {
      FileManager& f = Access(table);
      static_cast<void>(f.Open());
      static_cast<void>(f.Use());
      count = f.FILE()->records();
      static_cast<void>(f.Close());
    });
    return count;
  }

  vtest::TempDir dir;
  vrt::FakeDesktopSettings* desktop = nullptr;
  vrt::TestRobot robot;
};

}  // namespace vesp::testing
