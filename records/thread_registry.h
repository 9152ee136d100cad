#pragma once
// Each thread's registry of its managers by table label: the file mapping and the relation
// mapping through which views and relations find the managers of a table.
#include <map>
#include <string>
#include <string_view>

namespace vesp {

class FileManager;
class RelationManager;

struct ThreadRegistry {
  std::map<std::string, FileManager*> FILEMAPPING;          // upper-cased label
  std::map<std::string, RelationManager*> RELATIONMAPPING;  // upper-cased label
  long openPass = 0;  // numbers the relation managers' open passes
};

ThreadRegistry& threadRegistry();

}  // namespace vesp
