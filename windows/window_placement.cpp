#include "windows/window_placement.h"

#include "runtime/settings/settings_file.h"

namespace vesp {

bool WindowPlacement::IsMaximized() const { return window_.isMaximized(); }
bool WindowPlacement::IsIconized() const { return window_.isMinimized(); }
bool WindowPlacement::IsResizable() const { return window_.isResizable(); }
void WindowPlacement::SetMaximized(bool on) { window_.setMaximized(on); }
void WindowPlacement::SetIconized(bool on) { window_.setMinimized(on); }

void WindowPlacement::adjust(const std::function<void(QRect&)>& change) {
  QRect r = window_.position();
  change(r);
  window_.setPosition(r);
}

void WindowPlacement::SetX(int x) { adjust([x](QRect& r) { r.moveLeft(x); }); }
void WindowPlacement::SetY(int y) { adjust([y](QRect& r) { r.moveTop(y); }); }
void WindowPlacement::SetWidth(int width) { adjust([width](QRect& r) { r.setWidth(width); }); }
void WindowPlacement::SetHeight(int height) { adjust([height](QRect& r) { r.setHeight(height); }); }

void RestoreWindowPlacement(const char* procedure, vrt::Window& window) {
  WindowPlacement placement(window);
  vrt::settingsFile().FetchWindow(procedure, placement);
}

void SaveWindowPlacement(const char* procedure, vrt::Window& window) {
  WindowPlacement placement(window);
  vrt::settingsFile().UpdateWindow(procedure, placement);
}

}  // namespace vesp
