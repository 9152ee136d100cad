#pragma once
// Opening a file, web address or e-mail address with the program the desktop associates
// with it. The target is handed over as one value, never through a command line, so no
// address can run a command. Results follow the shell's convention: above 32 is success,
// 32 or less is one of the failure codes below.
#include <memory>
#include <optional>
#include <string>

namespace vrt {

enum ShellResult : int {
  kShellOutOfResources = 0,
  kShellFileNotFound = 2,
  kShellPathNotFound = 3,
  kShellAccessDenied = 5,
  kShellNoAssociation = 31,
  kShellOpened = 42,
};

class DesktopOpener {
 public:
  virtual ~DesktopOpener() = default;
  virtual int open(const std::string& target) = 0;
  // The commands registered for ".htm" files and for "mailto"; empty when none.
  virtual std::string browserCommand() = 0;
  virtual std::string mailCommand() = 0;
  // The longest command the shell takes; 0 for no limit.
  virtual int commandLengthLimit() = 0;
};

// Whether `target` names a scheme ("http:", "mailto:"); a drive letter ("C:") is no scheme.
bool hasUrlScheme(const std::string& target);
// Why a local path cannot be opened (file or path not found, access denied), or nothing.
std::optional<int> localPathFailure(const std::string& path);
// "%SystemDrive%" in a registered command becomes the drive of `windowsDirectory`.
std::string expandSystemDrive(std::string command, const std::string& windowsDirectory);

std::unique_ptr<DesktopOpener> makeSystemDesktopOpener();

// The opener the program uses; tests put a fake in. Never null.
DesktopOpener& desktopOpener();
// Installs `opener` (nullptr: back to the system's) and returns the one it replaces.
std::unique_ptr<DesktopOpener> installDesktopOpener(std::unique_ptr<DesktopOpener> opener);

}  // namespace vrt
