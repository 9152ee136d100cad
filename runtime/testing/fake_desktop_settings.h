#pragma once
// A desktop for tests: remembers the setting and every change asked of it.
#include <vector>

#include "runtime/os/desktop_settings.h"

namespace vrt {

class FakeDesktopSettings : public DesktopSettings {
 public:
  explicit FakeDesktopSettings(bool dragFullWindows = false) : on_(dragFullWindows) {}
  bool dragFullWindows() override {
    ++reads;
    return on_;
  }
  bool setDragFullWindows(bool on) override {
    changes.push_back(on);
    on_ = on;
    return true;
  }

  int reads = 0;
  std::vector<bool> changes;

 private:
  bool on_;
};

}  // namespace vrt
