#include "runtime/os/desktop_opener.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <cctype>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vrt {

namespace {

int openWithDesktop(const std::string& target) {
  if (hasUrlScheme(target)) {
    QUrl url(QString::fromStdString(target), QUrl::TolerantMode);
    if (!url.isValid()) return kShellFileNotFound;
    return QDesktopServices::openUrl(url) ? kShellOpened : kShellNoAssociation;
  }
  if (std::optional<int> failure = localPathFailure(target)) return *failure;
  QUrl file = QUrl::fromLocalFile(QFileInfo(QString::fromStdString(target)).absoluteFilePath());
  return QDesktopServices::openUrl(file) ? kShellOpened : kShellNoAssociation;
}

#ifdef _WIN32
std::string classesRootValue(const std::string& key) {
  char value[200] = {};
  LONG size = sizeof value;
  if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), value, &size) != ERROR_SUCCESS) return {};
  return std::string(value, strnlen(value, sizeof value));
}

class WindowsDesktopOpener : public DesktopOpener {
 public:
  int open(const std::string& target) override { return openWithDesktop(target); }
  std::string browserCommand() override {
    std::string type = classesRootValue(".htm");
    return type.empty() ? std::string() : classesRootValue(type + "\\shell\\open\\command");
  }
  std::string mailCommand() override {
    std::string command = classesRootValue("mailto\\shell\\open\\command");
    if (command.empty()) return command;
    char directory[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(directory, MAX_PATH);
    return expandSystemDrive(command, std::string(directory, length < MAX_PATH ? length : 0));
  }
  // Windows 95, 98 and NT 4 or older cut longer commands.
  int commandLengthLimit() override {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return 0;
    bool old = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ||
               (version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion <= 4);
    return old ? 520 : 0;
  }
};
#endif

// Desktops without a registry: the desktop finds the programs itself.
class PortableDesktopOpener : public DesktopOpener {
 public:
  int open(const std::string& target) override { return openWithDesktop(target); }
  std::string browserCommand() override { return {}; }
  std::string mailCommand() override { return {}; }
  int commandLengthLimit() override { return 0; }
};

std::unique_ptr<DesktopOpener>& installed() {
  static std::unique_ptr<DesktopOpener> opener = makeSystemDesktopOpener();
  return opener;
}

}  // namespace

bool hasUrlScheme(const std::string& target) {
  std::size_t colon = target.find(':');
  if (colon == std::string::npos || colon < 2) return false;
  if (!std::isalpha(static_cast<unsigned char>(target[0]))) return false;
  for (std::size_t i = 1; i < colon; ++i) {
    unsigned char c = static_cast<unsigned char>(target[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

std::optional<int> localPathFailure(const std::string& path) {
  QFileInfo file(QString::fromStdString(path));
  if (path.empty() || !file.exists()) {
    return file.absoluteDir().exists() && !path.empty() ? kShellFileNotFound : kShellPathNotFound;
  }
  if (!file.isReadable()) return kShellAccessDenied;
  return std::nullopt;
}

std::string expandSystemDrive(std::string command, const std::string& windowsDirectory) {
  static const std::string word = "%SystemDrive%";
  std::size_t colon = windowsDirectory.find(':');
  std::string drive = colon == std::string::npos ? std::string() : windowsDirectory.substr(0, colon + 1);
  for (std::size_t at = command.find(word); at != std::string::npos; at = command.find(word, at + drive.size())) {
    command.replace(at, word.size(), drive);
  }
  return command;
}

std::unique_ptr<DesktopOpener> makeSystemDesktopOpener() {
#ifdef _WIN32
  return std::make_unique<WindowsDesktopOpener>();
#else
  return std::make_unique<PortableDesktopOpener>();
#endif
}

DesktopOpener& desktopOpener() { return *installed(); }

std::unique_ptr<DesktopOpener> installDesktopOpener(std::unique_ptr<DesktopOpener> opener) {
  std::unique_ptr<DesktopOpener> previous = std::move(installed());
  installed() = opener ? std::move(opener) : makeSystemDesktopOpener();
  return previous;
}

}  // namespace vrt
