#include "runtime/settings/window_position.h"

#include <optional>
#include <string>

#include "runtime/settings/settings_list.h"

namespace vrt {

namespace {

constexpr const char* kYes = "Yes";
constexpr const char* kNo = "No";

struct PositionKey {
  const char* name;
  int (RememberedWindow::*get)() const;
  void (RememberedWindow::*set)(int);
  bool isSize;
};

constexpr PositionKey kPositionKeys[] = {
    {"XPos", &RememberedWindow::X, &RememberedWindow::SetX, false},
    {"YPos", &RememberedWindow::Y, &RememberedWindow::SetY, false},
    {"Width", &RememberedWindow::Width, &RememberedWindow::SetWidth, true},
    {"Height", &RememberedWindow::Height, &RememberedWindow::SetHeight, true},
};

const char* yesNo(bool on) { return on ? kYes : kNo; }

}  // namespace

bool saveWindowPosition(SettingsStore& store, std::string_view section, const RememberedWindow& window) {
  const bool maximized = window.IsMaximized();
  const bool iconized = window.IsIconized();
  bool ok = store.Write(section, "Maximize", yesNo(maximized));
  ok = store.Write(section, "Minimize", yesNo(iconized)) && ok;
  for (const PositionKey& key : kPositionKeys) {
    const bool taken = !maximized && !iconized && (!key.isSize || window.IsResizable());
    ok = (taken ? store.Write(section, key.name, std::to_string((window.*key.get)()))
                : store.Remove(section, key.name)) &&
         ok;
  }
  return ok;
}

void restoreWindowPosition(SettingsStore& store, std::string_view section, RememberedWindow& window) {
  const std::string maximize = store.Read(section, "Maximize").value_or("");
  if (maximize != kYes && maximize != kNo) return;
  const bool savedMaximized = maximize == kYes;
  const bool savedIconized = store.Read(section, "Minimize").value_or("") == kYes;

  if (window.IsMaximized() && !savedMaximized) window.SetMaximized(false);
  for (const PositionKey& key : kPositionKeys) {
    if (key.isSize && !window.IsResizable()) continue;
    const std::optional<int> value = parseDecimal(store.Read(section, key.name).value_or(""));
    if (!value || (key.isSize && *value <= 0)) continue;
    (window.*key.set)(*value);
  }
  if (savedMaximized && !window.IsMaximized()) window.SetMaximized(true);
  window.SetIconized(savedIconized);
}

}  // namespace vrt
