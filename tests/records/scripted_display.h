#pragma once
// A message display for tests: records what was shown and answers as told.
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "records/message_display.h"

namespace vesp::testing {

struct ShownMessage {
  std::string text;
  std::string title;
  MessageIcon icon;
  int buttons;
  int defaultButton;
};

struct ShownHistory {
  std::vector<HistoryRow> rows;
  int buttons;
};

class ScriptedDisplay : public MessageDisplay {
 public:
  // The next message boxes answer these buttons in turn; then each answers its default.
  void Answer(int button) {
    std::lock_guard guard(lock_);
    answers_.push_back(button);
  }

  int ShowMessage(std::string_view text, std::string_view title, MessageIcon icon, int buttons,
                  int defaultButton) override {
    if (whileShown) whileShown();
    std::lock_guard guard(lock_);
    messages.push_back({std::string(text), std::string(title), icon, buttons, defaultButton});
    if (answers_.empty()) return defaultButton;
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
  }

  int ShowHistory(const std::vector<HistoryRow>& rows, int buttons) override {
    std::lock_guard guard(lock_);
    histories.push_back({rows, buttons});
    return Button::Ok;
  }

  // Runs while each message box is up, before it is answered.
  std::function<void()> whileShown;
  std::vector<ShownMessage> messages;
  std::vector<ShownHistory> histories;

 private:
  std::mutex lock_;
  std::deque<int> answers_;
};

}  // namespace vesp::testing
