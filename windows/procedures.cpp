#include "windows/procedures.h"
#include "windows/procedure_list.h"

#include <map>
#include <mutex>

#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"
#include "runtime/text/utf8.h"

namespace vesp {

namespace {

struct Registry {
  std::mutex lock;
  std::map<std::string, std::function<void()>> procedures;  // by upper-cased name
};

Registry& registry() {
  static Registry r;
  return r;
}

}  // namespace

void RegisterProcedure(std::string name, std::function<void()> procedure) {
  std::lock_guard guard(registry().lock);
  registry().procedures[vrt::upperCase(name)] = std::move(procedure);
}

std::function<void()> FindProcedure(std::string_view name) {
  std::lock_guard guard(registry().lock);
  const auto it = registry().procedures.find(vrt::upperCase(name));
  return it == registry().procedures.end() ? nullptr : it->second;
}

std::vector<std::string> RegisteredProcedures() {
  std::lock_guard guard(registry().lock);
  std::vector<std::string> names;
  for (const auto& [name, procedure] : registry().procedures)
    if (procedure) names.push_back(name);
  return names;
}

std::function<void()> ProcedureNamed(std::string name) {
  return [name = std::move(name)] {
    if (const std::function<void()> procedure = FindProcedure(name)) {
      procedure();
      return;
    }
    vrt::Message(name + " is not part of this program yet.", "Not Available", vrt::kIconExclamation);
  };
}

}  // namespace vesp
