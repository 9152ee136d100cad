#pragma once
// What the library shows on screen, behind one replaceable set of functions: message boxes,
// the busy windows, and the windows the dialogs fill in (description form, wizard, query
// option, expression builder, drop-down calendar, navigation progress). The library's own
// logic calls only these, so that it runs the same with the real windows, with a test's
// scripted answers, or outside every window.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "querywizard/lists.h"

namespace qrywiz {

class WizardSession;

enum class DescriptionRequest { Insert = 1, Change = 2, Delete = 3 };

struct Hooks {
  // A message box: returns the button pressed (runtime/gui/buttons.h bits).
  std::function<int(std::string_view text, std::string_view caption, int buttons, int defaultButton)> message;
  // The window that shows `text` with a busy pointer while work runs; closed by busyEnd.
  std::function<void(std::string_view text)> busyBegin;
  std::function<void()> busyEnd;
  // The description form: the description the user accepted, nullopt when cancelled.
  std::function<std::optional<std::string>(DescriptionRequest request, std::string_view current)> describe;
  // The wizard's pages: runs the session until the user finishes or cancels; returns true
  // when finished (the session then holds the result).
  std::function<bool(WizardSession& session)> wizard;
  // The query-option window: 1 select a saved query, 2 new query, 4 no query, 3 cancel, 0 closed.
  std::function<std::uint8_t()> queryOption;
  // The expression builder on `expression`: the accepted text, nullopt on cancel.
  std::function<std::optional<std::string>(const std::string& expression, const XBQW_FIELDSQUEUE& fields,
                                           bool sqlSyntax)>
      buildExpression;
  // The drop-down calendar below `control`, starting on `date` (today for 0): the chosen
  // day number, 0 for None, `date` when left without a choice.
  std::function<std::int32_t(std::int32_t date, std::int32_t control)> dropCalendar;
  // The navigation progress window: opened for a search in `direction` (1 first, 2 previous,
  // 3 next, 4 last), one tick per batch of records with `read` records so far (false when
  // the user cancelled), closed when the search ends.
  std::function<void(std::uint8_t direction)> navigationBegin;
  std::function<bool(std::int64_t read)> navigationTick;
  std::function<void()> navigationEnd;
};

// The hooks in force; the defaults show runtime message boxes and, where a window the
// dialogs provide is missing, answer as a user who closed it.
Hooks& hooks();
void resetHooks();

// Shorthands the library's logic uses.
int showMessage(std::string_view text, std::string_view caption, int buttons = 0, int defaultButton = 0);
class BusyWindow {
 public:
  explicit BusyWindow(std::string_view text);
  ~BusyWindow();
  BusyWindow(const BusyWindow&) = delete;
  BusyWindow& operator=(const BusyWindow&) = delete;
};

}  // namespace qrywiz
