#pragma once
// Saving a window's position when its screen closes and restoring it when the screen opens,
// in the section named after the screen's procedure.
#include <string_view>

#include "runtime/settings/remembered_window.h"
#include "runtime/settings/settings_store.h"

namespace vrt {

// "Maximize" and "Minimize" as "Yes"/"No"; "XPos", "YPos" for a window that is neither, and
// "Width", "Height" when it is also resizable. Position keys not taken are removed.
bool saveWindowPosition(SettingsStore& store, std::string_view section, const RememberedWindow& window);

// Nothing happens unless "Maximize" was saved. A saved size applies only to a resizable
// window, and only when it is a real size (above zero).
void restoreWindowPosition(SettingsStore& store, std::string_view section, RememberedWindow& window);

}  // namespace vrt
