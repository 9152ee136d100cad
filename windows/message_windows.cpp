#include "windows/message_windows.h"

#include "runtime/gui/list_window.h"
#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"

namespace vesp {

// The error manager's button bits are the runtime's standard button bits.
static_assert(Button::Ok == vrt::kButtonOk && Button::Yes == vrt::kButtonYes && Button::No == vrt::kButtonNo &&
              Button::Abort == vrt::kButtonAbort && Button::Retry == vrt::kButtonRetry &&
              Button::Ignore == vrt::kButtonIgnore && Button::Cancel == vrt::kButtonCancel &&
              Button::Help == vrt::kButtonHelp);

int WindowMessageDisplay::ShowMessage(std::string_view text, std::string_view title, MessageIcon icon, int buttons,
                                      int defaultButton) {
  const std::string_view iconName = icon == MessageIcon::Information   ? vrt::kIconInformation
                                    : icon == MessageIcon::Exclamation ? vrt::kIconExclamation
                                                                       : std::string_view();
  return vrt::Message(text, title, iconName, buttons, defaultButton);
}

int WindowMessageDisplay::ShowHistory(const std::vector<HistoryRow>& rows, int buttons) {
  vrt::ListWindowSpec design;
  design.caption = kHistoryWindowTitle;
  design.columns = {{kHistoryMessageColumn, 60}, {kHistoryCategoryColumn, 12}};
  for (const HistoryRow& r : rows) design.rows.push_back({r.message, r.category});
  design.buttons = buttons;
  design.defaultButton = Button::Ok;
  return vrt::ShowListWindow(design);
}

WindowMessageDisplay& windowMessageDisplay() {
  static WindowMessageDisplay display;
  return display;
}

}  // namespace vesp
