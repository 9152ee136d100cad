#pragma once
// Toolbar tips travel as one packed list: a count byte, then per entry the button's number
// (16 bits, low byte first), a length byte and the tip's text.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/gui/events.h"

namespace vesp {

struct ToolbarTip {
  vrt::ToolbarAction button;
  std::string text;
  bool operator==(const ToolbarTip&) const = default;
};

// Texts longer than 255 bytes are cut on a character boundary; more than 255 entries are refused.
std::string PackTips(const std::vector<ToolbarTip>& tips);
// The entries of a packed list; a damaged list gives the whole entries before the damage.
std::vector<ToolbarTip> UnpackTips(std::string_view packed);

}  // namespace vesp
