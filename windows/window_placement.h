#pragma once
// A window of the runtime as the settings file remembers it: maximised or iconised, and
// its place and size.
#include <functional>

#include "runtime/gui/window.h"
#include "runtime/settings/remembered_window.h"

namespace vesp {

class WindowPlacement : public vrt::RememberedWindow {
 public:
  explicit WindowPlacement(vrt::Window& window) : window_(window) {}
  bool IsMaximized() const override;
  bool IsIconized() const override;
  // A window whose least and greatest sizes are the same cannot be resized.
  bool IsResizable() const override;
  int X() const override { return window_.position().x(); }
  int Y() const override { return window_.position().y(); }
  int Width() const override { return window_.position().width(); }
  int Height() const override { return window_.position().height(); }
  void SetMaximized(bool on) override;
  void SetIconized(bool on) override;
  void SetX(int x) override;
  void SetY(int y) override;
  void SetWidth(int width) override;
  void SetHeight(int height) override;

 private:
  void adjust(const std::function<void(QRect&)>& change);
  vrt::Window& window_;
};

// Restores a window's remembered place when it opens, and remembers it when it closes.
void RestoreWindowPlacement(const char* procedure, vrt::Window& window);
void SaveWindowPlacement(const char* procedure, vrt::Window& window);

}  // namespace vesp
