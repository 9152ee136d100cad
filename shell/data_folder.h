#pragma once
// Where the program keeps its data. Run from the folder it was built in (a checkout), it
// works in its current folder, as it always has; installed, it works in a folder of the
// user's own, since the current folder of a program started from the desktop is arbitrary.
#include <string>

namespace vesp {

// The user's own data folder: "Vespera" in the desktop's data folder
// ($XDG_DATA_HOME, by default ~/.local/share/Vespera). Needs the application's name set.
std::string UserDataFolder();

// Makes the data folder the current folder, creating the user's folder on first start.
// `programFolder` is where the running program lies, `buildFolder` where it was built.
// "" on success, else why the folder cannot be used.
std::string EnterDataFolder(const std::string& programFolder, const std::string& buildFolder);

}  // namespace vesp
