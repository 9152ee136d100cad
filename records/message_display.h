#pragma once
// The one way the error manager shows anything: a message box, or the errors-history window.
// The windowing layer implements it; tools and tests bring their own.
#include <string>
#include <string_view>
#include <vector>

namespace vesp {

enum class MessageIcon { None, Information, Exclamation };

// Buttons of a message box or the history window, as bits of a mask.
namespace Button {
inline constexpr int Ok = 1;
inline constexpr int Yes = 2;
inline constexpr int No = 4;
inline constexpr int Abort = 8;
inline constexpr int Retry = 16;
inline constexpr int Ignore = 32;
inline constexpr int Cancel = 64;
inline constexpr int Help = 128;
}  // namespace Button

struct ButtonCaption {
  int button;
  const char* caption;
};
inline constexpr ButtonCaption kButtonCaptions[] = {
    {Button::Ok, "O&k"},         {Button::Yes, "&Yes"},      {Button::No, "&No"},
    {Button::Abort, "&Abort"},   {Button::Retry, "&Retry"},  {Button::Ignore, "&Ignore"},
    {Button::Cancel, "&Cancel"}, {Button::Help, "&Help"},
};

inline constexpr const char* kHistoryWindowTitle = "Errors History";
inline constexpr const char* kHistoryMessageColumn = "Message";
inline constexpr const char* kHistoryCategoryColumn = "Category";

struct HistoryRow {
  std::string message;
  std::string category;
  int id = 0;
  bool operator==(const HistoryRow&) const = default;
};

class MessageDisplay {
 public:
  virtual ~MessageDisplay() = default;
  // Shows a message box and waits for it to close; returns the button that closed it
  // (a window closed some other way answers 0). A "|" in `text` is a line break.
  virtual int ShowMessage(std::string_view text, std::string_view title, MessageIcon icon, int buttons,
                          int defaultButton) = 0;
  // Shows the history window with one button per bit of `buttons`; returns the button pressed.
  virtual int ShowHistory(const std::vector<HistoryRow>& rows, int buttons) = 0;
};

// Writes messages to standard error and answers with the default button: what the error
// manager uses until the windowing layer gives it a real display (and in tools without windows).
class ConsoleMessageDisplay : public MessageDisplay {
 public:
  int ShowMessage(std::string_view text, std::string_view title, MessageIcon icon, int buttons,
                  int defaultButton) override;
  int ShowHistory(const std::vector<HistoryRow>& rows, int buttons) override;
};

}  // namespace vesp
