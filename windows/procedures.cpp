#include "windows/procedures.h"
#include "windows/procedure_list.h"

#include <map>
#include <mutex>
#include <set>

#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"
#include "runtime/text/utf8.h"

namespace vesp {

namespace {

struct Registry {
  std::mutex lock;
  std::map<std::string, Procedure> procedures;  // by upper-cased name
};

Registry& registry() {
  static Registry r;
  return r;
}

// Filled while static objects are made, before any thread runs: no lock.
std::set<std::string>& declaredNames() {
  static std::set<std::string> names;
  return names;
}

}  // namespace

void RegisterProcedure(std::string name, Procedure procedure) {
  std::lock_guard guard(registry().lock);
  registry().procedures[vrt::upperCase(name)] = std::move(procedure);
}

Procedure FindProcedure(std::string_view name) {
  std::lock_guard guard(registry().lock);
  const auto it = registry().procedures.find(vrt::upperCase(name));
  return it == registry().procedures.end() ? nullptr : it->second;
}

NamedProcedure::NamedProcedure(const char* name) : name_(name) { NoteProcedureName(name); }

void NamedProcedure::operator()() const {
  if (const Procedure procedure = FindProcedure(name_)) {
    procedure();
    return;
  }
  vrt::Message(std::string(name_) + " is not part of this program yet.", "Not Available", vrt::kIconExclamation);
}

void NoteProcedureName(const char* name) { declaredNames().insert(name); }

std::vector<std::string> UnresolvedProcedureNames() {
  std::vector<std::string> missing;
  for (const std::string& name : declaredNames())
    if (!FindProcedure(name)) missing.push_back(name);
  return missing;
}

std::vector<std::string> RegisteredProcedures() {
  std::lock_guard guard(registry().lock);
  std::vector<std::string> names;
  for (const auto& [name, procedure] : registry().procedures)
    if (procedure) names.push_back(name);
  return names;
}

}  // namespace vesp
