#include "runtime/os/desktop_settings.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vrt {

namespace {

#ifdef _WIN32
class WindowsDesktopSettings : public DesktopSettings {
 public:
  // SPI_GETDRAGFULLWINDOWS (38) and SPI_SETDRAGFULLWINDOWS (37); flags 3 =
  // SPIF_UPDATEINIFILE | SPIF_SENDCHANGE.
  bool dragFullWindows() override {
    BOOL on = FALSE;
    return SystemParametersInfoA(38, 0, &on, 0) && on;
  }
  bool setDragFullWindows(bool on) override { return SystemParametersInfoA(37, on ? 1 : 0, nullptr, 3) != 0; }
};
#endif

// Desktops without the setting: nothing to switch off, so nothing to restore.
class PortableDesktopSettings : public DesktopSettings {
 public:
  bool dragFullWindows() override { return false; }
  bool setDragFullWindows(bool) override { return true; }
};

std::unique_ptr<DesktopSettings>& installed() {
  static std::unique_ptr<DesktopSettings> settings = makeSystemDesktopSettings();
  return settings;
}

}  // namespace

std::unique_ptr<DesktopSettings> makeSystemDesktopSettings() {
#ifdef _WIN32
  return std::make_unique<WindowsDesktopSettings>();
#else
  return std::make_unique<PortableDesktopSettings>();
#endif
}

DesktopSettings& desktopSettings() { return *installed(); }

std::unique_ptr<DesktopSettings> installDesktopSettings(std::unique_ptr<DesktopSettings> settings) {
  std::unique_ptr<DesktopSettings> previous = std::move(installed());
  installed() = settings ? std::move(settings) : makeSystemDesktopSettings();
  return previous;
}

}  // namespace vrt
