#pragma once
// Procedures found by name. Screens register what they provide at start-up, so a screen can
// call another screen's procedure (a look-up browse, a report a print button starts) without
// depending on the folder that builds it, and the main frame can start any browse by name.
#include <functional>
#include <string>
#include <string_view>

namespace vesp {

void RegisterProcedure(std::string name, std::function<void()> procedure);
// The registered procedure, names compared without regard to case; empty when none is.
std::function<void()> FindProcedure(std::string_view name);

// A call-table entry that runs the named procedure when called; a name nobody registered
// tells the user so (once per call) instead of doing nothing.
std::function<void()> ProcedureNamed(std::string name);

}  // namespace vesp
