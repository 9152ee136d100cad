#pragma once
// A freshly set-up error manager on a thread context of its own, showing through a scripted
// display; a fatal message is recorded instead of ending the test program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/error_manager.h"
#include "records/message_block.h"
#include "runtime/os/thread_state.h"
#include "scripted_display.h"

namespace vesp::testing {

class ErrorManagerTest : public ::testing::Test {
 protected:
  ErrorManagerTest() {
    errors.Setup();
    errors.SetDisplay(&display);
    errors.SetEndHook([this](Level level) { endedWith.push_back(level); });
  }

  const ShownMessage& lastMessage() const { return display.messages.back(); }

  // Adds a message of the test's own to the table.
  void addMessage(int id, Level level, std::string text, std::string title = "Test") {
    const MessageEntry entry{static_cast<std::uint16_t>(id), level, title, text, {}};
    ASSERT_TRUE(errors.AppendMessages(packMessages({&entry, 1})));
  }

  vrt::ThreadContext context{901};
  vrt::ThreadContextScope scope{context};
  ScriptedDisplay display;
  ErrorManager errors;
  std::vector<Level> endedWith;
};

}  // namespace vesp::testing
