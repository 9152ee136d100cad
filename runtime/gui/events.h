#pragma once
// Event numbers, key codes and the event record that windows, controls and threads
// exchange. Procedures take these from their thread's queue; nothing else runs their code.
#include <optional>
#include <string>

namespace vrt {

// Events. 3-9 and 20 are the numbers browses and toolbars are written against.
enum EventCode : int {
  kEventNone = 0,
  kEventAccepted = 1,
  kEventNewSelection = 2,
  kEventScrollUp = 3,
  kEventScrollDown = 4,
  kEventPageUp = 5,
  kEventPageDown = 6,
  kEventScrollTop = 7,
  kEventScrollBottom = 8,
  kEventLocate = 9,
  kEventAlertKey = 10,
  kEventSelected = 11,  // a control received the focus
  kEventRejected = 12,
  kEventScrollDrag = 20,  // the list's own thumb was dragged; its position is the list's thumb
  kEventRowDropped = 21,  // a row of the list was dragged onto another; the list's lastDrop() says which
  // Window events (no control).
  kEventCloseWindow = 0x201,
  kEventCloseDown = 0x202,
  kEventOpenWindow = 0x203,
  kEventGainFocus = 0x204,
  kEventLoseFocus = 0x205,
  kEventCompleted = 0x206,
  kEventTimer = 0x207,
  kEventNotify = 0x208,
  kEventUser = 0x400,  // first number free for callers' own events
};

// The frame toolbar's navigation and record buttons. An action's value is its button's
// control number; the frame keeps 3000-3019 for them.
enum class ToolbarAction : int {
  FirstButton = 3000,
  Insert = 3001,
  Change = 3002,
  Delete = 3003,
  Select = 3004,
  Bottom = 3005,
  Top = 3006,
  PageDown = 3007,
  PageUp = 3008,
  Down = 3009,
  Up = 3010,
  Locate = 3011,
  History = 3012,
  Help = 3013,
  LastButton = 3019,
};

// The control number of an action's button.
constexpr int toolbarControl(ToolbarAction action) { return static_cast<int>(action); }
// The action of a control number in the toolbar's range, none for any other control: where
// an event's control number becomes an action.
constexpr std::optional<ToolbarAction> toolbarAction(int control) {
  if (control < toolbarControl(ToolbarAction::FirstButton) || control > toolbarControl(ToolbarAction::LastButton))
    return std::nullopt;
  return static_cast<ToolbarAction>(control);
}

// Key codes: a virtual-key number plus modifier bits, so Ctrl+H is 584 and Ctrl+' is 734.
enum KeyModifier : int { kShift = 0x100, kCtrl = 0x200, kAlt = 0x400 };
enum KeyCode : int {
  kMouseLeft = 0x01,
  kMouseRight = 0x02,
  kMouseLeft2 = 0x05,  // double click
  kTabKey = 0x09,
  kEnterKey = 0x0D,
  kEscKey = 0x1B,
  kSpaceKey = 0x20,
  kPgUpKey = 0x21,
  kPgDnKey = 0x22,
  kEndKey = 0x23,
  kHomeKey = 0x24,
  kLeftKey = 0x25,
  kUpKey = 0x26,
  kRightKey = 0x27,
  kDownKey = 0x28,
  kInsertKey = 0x2D,
  kDeleteKey = 0x2E,
  kF1Key = 0x70,
  kF6Key = 0x75,
  // The punctuation keys of a US keyboard, unshifted.
  kSemicolonKey = 0xBA,
  kEqualKey = 0xBB,
  kCommaKey = 0xBC,
  kMinusKey = 0xBD,
  kPeriodKey = 0xBE,
  kSlashKey = 0xBF,
  kGraveKey = 0xC0,
  kLeftBracketKey = 0xDB,
  kBackslashKey = 0xDC,
  kRightBracketKey = 0xDD,
  kQuoteKey = 0xDE,  // the apostrophe key
  // A typed character that has no key code of its own ("!", "é", "ß" ...); the event's
  // `character` says which.
  kCharacterKey = 0xE7,
  kCtrlEnter = kCtrl | kEnterKey,
  kShiftEnter = kShift | kEnterKey,
  kCtrlQuote = kCtrl | kQuoteKey,  // 734
  kCtrlH = kCtrl | 'H',            // 584
  kCtrlPgUp = kCtrl | kPgUpKey,
  kCtrlPgDn = kCtrl | kPgDnKey,
  kCtrlHome = kCtrl | kHomeKey,
  kCtrlEnd = kCtrl | kEndKey,
};

// One event in a thread's queue. `window` is the window it is meant for (0 = whichever
// window of the thread takes it first); `control` is 0 for window events.
struct Event {
  int event = kEventNone;
  int control = 0;
  int window = 0;
  int key = 0;        // the key for alert-key events
  int character = 0;  // and the character it typed (Unicode), 0 for none
};

// "Accepted", "ScrollDown", "3001"...: for reports and test failure messages.
std::string eventName(int event);

}  // namespace vrt
