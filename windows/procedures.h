#pragma once
// Procedures found by name. Screens register what they provide at start-up, so a screen can
// call another screen's procedure (a look-up browse, a report a print button starts) without
// depending on the folder that builds it, and the main frame can start any browse by name.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vesp {

// What a declaration calls: a look-up browse, a child list's form, a browse's update form.
using Procedure = std::function<void()>;

void RegisterProcedure(std::string name, Procedure procedure);
// The registered procedure, names compared without regard to case; empty when none is.
Procedure FindProcedure(std::string_view name);

// A procedure of another folder, called by its name. Each is declared once at namespace
// scope, so every such name is known before the program starts and start-up can check
// that each has its procedure. Calling it runs the procedure registered under the name;
// a name nobody registered tells the user so instead of doing nothing.
class NamedProcedure {
 public:
  explicit NamedProcedure(const char* name);
  const char* name() const { return name_; }
  void operator()() const;

 private:
  const char* name_;
};

// Names held as data elsewhere (the browse menu's) that start-up checks with the others.
void NoteProcedureName(const char* name);
// Every name declared by a NamedProcedure or noted that has no registered procedure.
[[nodiscard]] std::vector<std::string> UnresolvedProcedureNames();

}  // namespace vesp
