#include "shell/data_folder.h"

#include <QStandardPaths>

#include <filesystem>

namespace vesp {

std::string UserDataFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
}

std::string EnterDataFolder(const std::string& programFolder, const std::string& buildFolder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!buildFolder.empty() && fs::equivalent(programFolder, buildFolder, ec)) return {};
  const std::string folder = UserDataFolder();
  if (folder.empty()) return "the desktop names no data folder for this user";
  fs::create_directories(folder, ec);
  if (ec) return "cannot create " + folder + ": " + ec.message();
  fs::current_path(folder, ec);
  if (ec) return "cannot open " + folder + ": " + ec.message();
  return {};
}

}  // namespace vesp
