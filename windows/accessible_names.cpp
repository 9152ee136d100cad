#include "windows/accessible_names.h"

#include <cctype>

#include "runtime/gui/control.h"

namespace vesp {

std::string SpokenName(std::string_view caption) {
  std::string out;
  for (char c : caption)
    if (c != '&') out += c;
  while (!out.empty() && (out.back() == ':' || out.back() == ' ')) out.pop_back();
  return out;
}

namespace {

bool hasWords(std::string_view caption) {
  for (unsigned char c : caption)
    if (std::isalnum(c) || c >= 0x80) return true;
  return false;
}

void nameByTip(vrt::Control& c) {
  if (c.tip().empty() || hasWords(c.text())) return;
  c.setAccessibleName(c.tip());
}

}  // namespace

void NameControlsForAssistiveTechnology(vrt::Window& window) {
  const auto& controls = window.controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    vrt::Control& c = *controls[i];
    if (c.kind() == vrt::ControlKind::Button || c.kind() == vrt::ControlKind::ToolButton) nameByTip(c);
    if (c.kind() != vrt::ControlKind::Prompt || i + 1 >= controls.size()) continue;
    vrt::Control& next = *controls[i + 1];
    if (!next.hasOwnWidget() || next.kind() == vrt::ControlKind::Prompt) continue;
    c.setBuddy(next);
    next.setAccessibleName(SpokenName(c.text()));
  }
}

}  // namespace vesp
