#include "records/thread_registry.h"

#include "records/file_manager.h"
#include "records/relation_manager.h"
#include "runtime/os/thread_state.h"
#include "runtime/text/utf8.h"

namespace vesp {

ThreadRegistry& threadRegistry() { return vrt::perThread<ThreadRegistry>(); }

FileManager* fileManagerFor(std::string_view label) {
  auto& map = threadRegistry().FILEMAPPING;
  const auto it = map.find(vrt::upperCase(label));
  return it == map.end() ? nullptr : it->second;
}

RelationManager* relationManagerFor(std::string_view label) {
  auto& map = threadRegistry().RELATIONMAPPING;
  const auto it = map.find(vrt::upperCase(label));
  return it == map.end() ? nullptr : it->second;
}

}  // namespace vesp
