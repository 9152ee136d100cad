#include "records/message_display.h"

#include <cstdio>

namespace vesp {

int ConsoleMessageDisplay::ShowMessage(std::string_view text, std::string_view title, MessageIcon, int,
                                       int defaultButton) {
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(), static_cast<int>(text.size()),
               text.data());
  return defaultButton;
}

int ConsoleMessageDisplay::ShowHistory(const std::vector<HistoryRow>& rows, int) {
  std::fprintf(stderr, "%s:\n", kHistoryWindowTitle);
  for (const HistoryRow& row : rows) std::fprintf(stderr, "  [%s] %s\n", row.category.c_str(), row.message.c_str());
  return Button::Ok;
}

}  // namespace vesp
