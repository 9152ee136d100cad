#pragma once
// A window for settings tests: plain state, and the order in which it was changed.
#include <string>
#include <vector>

#include "runtime/settings/remembered_window.h"

namespace vrt::testing {

class FakeWindow : public RememberedWindow {
 public:
  FakeWindow(int x, int y, int width, int height, bool resizable = true)
      : x_(x), y_(y), width_(width), height_(height), resizable_(resizable) {}

  bool IsMaximized() const override { return maximized_; }
  bool IsIconized() const override { return iconized_; }
  bool IsResizable() const override { return resizable_; }
  int X() const override { return x_; }
  int Y() const override { return y_; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }

  void SetMaximized(bool on) override { note("maximized", on, maximized_); }
  void SetIconized(bool on) override { note("iconized", on, iconized_); }
  void SetX(int x) override { note("x", x, x_); }
  void SetY(int y) override { note("y", y, y_); }
  void SetWidth(int width) override { note("width", width, width_); }
  void SetHeight(int height) override { note("height", height, height_); }

  std::vector<std::string> changes;

 private:
  template <typename T>
  void note(const char* what, T value, T& field) {
    changes.push_back(std::string(what) + "=" + std::to_string(value));
    field = value;
  }

  bool maximized_ = false;
  bool iconized_ = false;
  int x_, y_, width_, height_;
  bool resizable_;
};

}  // namespace vrt::testing
