#pragma once
// The error manager's windows: its messages as message boxes of the calling thread and its
// history as a list window, the way the user sees them.
#include "records/message_display.h"

namespace vesp {

class WindowMessageDisplay : public MessageDisplay {
 public:
  int ShowMessage(std::string_view text, std::string_view title, MessageIcon icon, int buttons,
                  int defaultButton) override;
  int ShowHistory(const std::vector<HistoryRow>& rows, int buttons) override;
};

// The display the program installs once its windows can be shown.
WindowMessageDisplay& windowMessageDisplay();

}  // namespace vesp
