#pragma once
// Inserts text at the cursor of a text box and reads the box back into its variable,
// leaving the cursor after what was inserted.
#include <string_view>

#include "runtime/gui/window.h"

namespace qrywiz {

inline void insertAtCursor(vrt::Window& window, vrt::Control& box, std::string_view text) {
  if (box.kind() != vrt::ControlKind::TextBox || !box.insertAtCursor(text)) return;
  const int after = box.caret();
  window.updateAll();
  box.setCaret(after);
}

}  // namespace qrywiz
