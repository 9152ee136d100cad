#pragma once
// Desktop settings the program reads and changes for the length of a run: today only
// "drag full windows", which start-up switches off and shutdown restores.
#include <memory>

namespace vrt {

class DesktopSettings {
 public:
  virtual ~DesktopSettings() = default;
  virtual bool dragFullWindows() = 0;
  // Changes the setting for the user (saved in the profile and announced to other programs).
  // Returns false when the desktop refused.
  virtual bool setDragFullWindows(bool on) = 0;
};

// The desktop's own settings: the Windows implementation there, elsewhere one that
// changes nothing and reports the setting off.
std::unique_ptr<DesktopSettings> makeSystemDesktopSettings();

// The settings the program uses; tests put a fake in. Never null.
DesktopSettings& desktopSettings();
// Installs `settings` (nullptr: back to the system's) and returns the one it replaces.
std::unique_ptr<DesktopSettings> installDesktopSettings(std::unique_ptr<DesktopSettings> settings);

}  // namespace vrt
