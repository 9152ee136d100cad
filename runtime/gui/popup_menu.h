#pragma once
// Context menus. Showing one waits, as a window of the running thread does, by taking
// events until the user chooses an entry or dismisses the menu; no nested event loop.
#include <string>
#include <string_view>
#include <vector>

namespace vrt {

struct PopupEntry {
  enum class Check { None, Checked, Unchecked };
  std::string text;  // with "&" before the hot key
  int depth = 1;     // 1 top level, 2 in a submenu of the entry before, ...
  bool separator = false;
  bool disabled = false;
  Check check = Check::None;
  std::string icon;  // an icon name of look.h
};

// Reads menu text: entries separated by "|", "{" and "}" around a submenu's entries
// (opened by the entry before it), "-" alone a separator, and before an entry's text
// "~" (disabled), "+" or "-" (checked, unchecked) and an attribute group "[icon=NAME]".
std::vector<PopupEntry> parsePopupText(std::string_view text);

// Shows the entries at (x, y) in screen pixels (at the mouse when both are 0) and returns
// the number of the chosen entry, counting only entries that are neither separators nor
// submenu headers, from 1; 0 when the menu was dismissed. Outside every thread nothing
// can wait and 0 comes back at once.
int Popup(const std::vector<PopupEntry>& entries, int x = 0, int y = 0);
inline int Popup(std::string_view menuText, int x = 0, int y = 0) { return Popup(parsePopupText(menuText), x, y); }

}  // namespace vrt
