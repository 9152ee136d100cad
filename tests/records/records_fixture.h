#pragma once
// A thread of its own with the whole dictionary set up in a fresh folder, the process's error
// manager showing through a scripted display, and fatal messages recorded instead of ending
// the test program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dictionary/dictionary.h"
#include "dictionary/upgrade_registration.h"
#include "records/thread_dictionary.h"
#include "runtime/os/thread_state.h"
#include "runtime/data/errors.h"
#include "scripted_display.h"
#include "support/temp_dir.h"

namespace vesp::testing {

class RecordsTest : public ::testing::Test {
 protected:
  RecordsTest() {
    errorManager().Setup();
    errorManager().SetDisplay(&display);
    errorManager().SetEndHook([this](Level level) { endedWith.push_back(level); });
    dict::registerTablesForUpgrade();
    SetupDictionaryForThread();
  }
  ~RecordsTest() override {
    KillDictionaryForThread();
    errorManager().SetDisplay(nullptr);
    errorManager().SetEndHook(nullptr);
  }

  std::vector<std::string> shownTexts() const {
    std::vector<std::string> out;
    for (const auto& m : display.messages) out.push_back(m.text);
    return out;
  }
  std::string lastShown() const { return display.messages.empty() ? std::string() : display.messages.back().text; }

  // Adds a record straight to a table, numbers and all, without the framework.
  template <typename Fill>
  void addRaw(const dict::TableDecl& table, Fill fill) {
    vrt::DataFile& f = TableFile(table);
    if (!f.isOpen()) {
      static_cast<void>(Access(table).Open());
      static_cast<void>(Access(table).Use());
    }
    f.buffer().clearAll(f.schema().fields);
    fill(f.buffer());
    ASSERT_TRUE(f.add()) << vrt::errorMessage();
  }

  vtest::TempDir dir;
  vrt::ThreadContext context{77};
  vrt::ThreadContextScope scope{context};
  ScriptedDisplay display;
  std::vector<Level> endedWith;
};

}  // namespace vesp::testing
