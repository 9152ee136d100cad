#include "records/thread_dictionary.h"

#include <deque>
#include <memory>
#include <stdexcept>

#include "dictionary/dictionary.h"
#include "dictionary/relations.h"
#include "records/thread_registry.h"
#include "runtime/os/thread_state.h"
#include "runtime/text/utf8.h"

namespace vesp {

namespace {

struct TableSet {
  explicit TableSet(const vrt::TableSchema& schema) : file(schema) {}
  vrt::DataFile file;
  FileManager access;
  RelationManager relate;
};

// Declares a table's relations on its relation manager, as the dictionary lists them:
// as the parent, its children in order; as a child, its parent.
void declareRelations(RelationManager& rm) {
  const std::string& label = rm.Me()->FILENAMEVALUE();
  for (const auto& r : dict::relations()) {
    const bool parent = vrt::equalTextNoCase(r.parent, label);
    const bool child = vrt::equalTextNoCase(r.child, label);
    if (!parent && !child) continue;
    RelationManager* other = relationManagerFor(parent ? r.child : r.parent);
    if (!other) continue;
    if (parent) {
      const auto key = dict::findKey(r.childKey);
      rm.DeclareRelation(*other, static_cast<int>(r.onChange), static_cast<int>(r.onDelete), key ? key->index : -1);
    } else {
      rm.DeclareRelation(*other, std::string("The ") + r.parentNoun + " this " + r.childNoun +
                                     " belongs to was deleted at another station.");
    }
    for (const auto& link : r.links) {
      const auto mine = dict::findField(parent ? link.parentField : link.childField);
      const auto his = dict::findField(parent ? link.childField : link.parentField);
      if (mine && his) rm.LinkRelationFields(mine->index, his->index);
    }
  }
}

class ThreadDictionary {
 public:
  ThreadDictionary() {
    for (const auto& schema : dict::tables()) {
      TableSet& t = tables_.emplace_back(schema);
      t.access.Setup(t.file, errorManager());
      t.relate.Setup(t.access, {.DeclareRelations = declareRelations});
    }
  }
  ~ThreadDictionary() {
    for (auto it = tables_.rbegin(); it != tables_.rend(); ++it) it->relate.Shutdown();
    for (auto it = tables_.rbegin(); it != tables_.rend(); ++it) it->access.Shutdown();
    while (!tables_.empty()) tables_.pop_back();
  }
  TableSet& find(std::string_view label) {
    for (TableSet& t : tables_)
      if (vrt::equalTextNoCase(t.access.FILENAMEVALUE(), label)) return t;
    throw std::logic_error("no table " + std::string(label));
  }

 private:
  std::deque<TableSet> tables_;  // stable addresses as tables are added
};

std::unique_ptr<ThreadDictionary>& slot() { return vrt::perThread<std::unique_ptr<ThreadDictionary>>(); }

ThreadDictionary& current() {
  auto& d = slot();
  if (!d) throw std::logic_error("the dictionary is not set up on this thread");
  return *d;
}

}  // namespace

void SetupDictionaryForThread() {
  if (!slot()) slot() = std::make_unique<ThreadDictionary>();
}

void KillDictionaryForThread() { slot().reset(); }

bool DictionaryIsSetUp() { return slot() != nullptr; }

FileManager& Access(const dict::TableDecl& table) { return current().find(table.label).access; }
RelationManager& Relate(const dict::TableDecl& table) { return current().find(table.label).relate; }
vrt::RecordBuffer& Buffer(const dict::TableDecl& table) { return current().find(table.label).file.buffer(); }
vrt::DataFile& TableFile(const dict::TableDecl& table) { return current().find(table.label).file; }
FileManager& Access(std::string_view label) { return current().find(label).access; }
RelationManager& Relate(std::string_view label) { return current().find(label).relate; }

}  // namespace vesp
