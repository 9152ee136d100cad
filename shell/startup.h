#pragma once
// The program from start to end: on thread 1 the global objects are set up in order, the
// main frame runs, and everything is torn down in reverse order.
#include <string>
#include <vector>

namespace vesp {

// Installs the per-thread set-up and kill, and starts thread 1. Returns at once; the Qt
// event loop (or a test robot) then runs the program.
void StartProgram();
// StartProgram, then the event loop until every thread has ended. The process's exit code.
int RunProgram();

// Every procedure the program calls by name (the browse menu's, the screens' look-ups,
// forms and reports) that no screen registered. Start-up reports each on the standard error
// once the screens are registered; the tests hold the list empty.
[[nodiscard]] std::vector<std::string> MissingProcedures();

// The settings file of window positions, in the program's current directory.
inline constexpr const char* kSettingsFileName = "vsp.INI";

// The calendar pop-up's settings file for a path ("\GCAL.INI" for an empty path).
const char* const kCalendarSettingsFile = "GCAL.INI";

}  // namespace vesp
