#include "windows/window_placement.h"

#include <QWidget>

#include "shell/settings_file.h"

namespace vesp {

bool WindowPlacement::IsMaximized() const { return window_.widget() && window_.widget()->isMaximized(); }
bool WindowPlacement::IsIconized() const { return window_.widget() && window_.widget()->isMinimized(); }

bool WindowPlacement::IsResizable() const {
  const QWidget* w = window_.widget();
  return w && w->minimumSize() != w->maximumSize();
}

void WindowPlacement::SetMaximized(bool on) {
  if (QWidget* w = window_.widget()) on ? w->showMaximized() : w->showNormal();
}

void WindowPlacement::SetIconized(bool on) {
  if (QWidget* w = window_.widget()) {
    if (on) w->showMinimized();
    else if (w->isMinimized()) w->showNormal();
  }
}

void WindowPlacement::SetX(int x) {
  QRect r = window_.position();
  r.moveLeft(x);
  window_.setPosition(r);
}

void WindowPlacement::SetY(int y) {
  QRect r = window_.position();
  r.moveTop(y);
  window_.setPosition(r);
}

void WindowPlacement::SetWidth(int width) {
  QRect r = window_.position();
  r.setWidth(width);
  window_.setPosition(r);
}

void WindowPlacement::SetHeight(int height) {
  QRect r = window_.position();
  r.setHeight(height);
  window_.setPosition(r);
}

void RestoreWindowPlacement(const char* procedure, vrt::Window& window) {
  WindowPlacement placement(window);
  settingsFile().FetchWindow(procedure, placement);
}

void SaveWindowPlacement(const char* procedure, vrt::Window& window) {
  WindowPlacement placement(window);
  settingsFile().UpdateWindow(procedure, placement);
}

}  // namespace vesp
