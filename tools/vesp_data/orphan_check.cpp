#include "tools/vesp_data/orphan_check.h"

#include <QDateTime>

#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include "dictionary/dictionary.h"
#include "dictionary/relations.h"
#include "records/data_backup.h"
#include "runtime/data/errors.h"
#include "tools/vesp_data/open_table.h"

namespace vesp::tools {

namespace {

struct Orphan {
  const dict::RelationDecl* relation;
  std::int64_t rowid;
  std::string record;  // the orphan's own number
  std::string owner;   // the number of the owner it names
};

class Tables {
 public:
  explicit Tables(bool repair, std::ostream& err) : repair_(repair), err_(err) {}
  // The open table, or nullptr when its file is missing (or could not be opened: failed()).
  vrt::DataFile* get(const std::string& label) {
    auto it = open_.find(label);
    if (it != open_.end()) return it->second.get();
    const vrt::TableSchema* schema = dict::table(label);
    std::unique_ptr<vrt::DataFile> file;
    if (schema && std::filesystem::exists(vrt::DataFile(*schema).path())) {
      file = openTable(*schema, err_, false, repair_ ? vrt::OpenAccess::ReadWrite : vrt::OpenAccess::ReadOnly);
      failed_ = failed_ || !file;
    }
    return open_.emplace(label, std::move(file)).first->second.get();
  }
  bool failed() const { return failed_; }

 private:
  bool repair_;
  std::ostream& err_;
  bool failed_ = false;
  std::map<std::string, std::unique_ptr<vrt::DataFile>> open_;
};

// The owner's key that leads with `field`, unique keys first; -1 when none does.
int ownerKey(const vrt::TableSchema& schema, int field) {
  int best = -1;
  for (std::size_t k = 0; k < schema.keys.size(); ++k) {
    if (schema.keys[k].components.front() != field) continue;
    if (schema.keys[k].unique) return static_cast<int>(k);
    if (best < 0) best = static_cast<int>(k);
  }
  return best;
}

// The rows of `r`'s child that name an owner its parent table does not hold. A row naming
// no owner (0) is not an orphan. False when a table could not be read.
bool findOrphans(const dict::RelationDecl& r, Tables& tables, std::vector<Orphan>& out) {
  vrt::DataFile* child = tables.get(r.child);
  if (!child) return !tables.failed();
  vrt::DataFile* parent = tables.get(r.parent);
  const auto childField = dict::findField(r.links[0].childField);
  const auto parentField = dict::findField(r.links[0].parentField);
  if (!childField || !parentField) return false;
  const int key = parent ? ownerKey(parent->schema(), parentField->index) : -1;
  if (parent && key < 0) return false;
  const vrt::FieldDesc& own = child->schema().fields[0];
  child->setToStart(vrt::DataFile::kFileOrder);
  while (child->next()) {
    const double owner = child->buffer().number(childField->desc());
    if (owner == 0) continue;
    bool found = false;
    if (parent) {
      parent->buffer().clearAll(parent->schema().fields);
      parent->buffer().setNumber(parentField->desc(), owner);
      found = parent->getFirst(key, 1);
      if (!found && vrt::errorCode() != vrt::kRecordNotFound) return false;
    }
    if (!found)
      out.push_back({&r, child->currentRowid(), child->buffer().text(own), child->buffer().text(childField->desc())});
  }
  return vrt::errorCode() == vrt::kRecordNotAvailable;
}

}  // namespace

bool checkOrphans(bool repair, std::ostream& out, std::ostream& err) {
  std::vector<Orphan> orphans;
  {
    Tables tables(false, err);
    for (const dict::RelationDecl& r : dict::relations())
      if (!findOrphans(r, tables, orphans)) {
        err << "vesp-data: cannot look for rows whose owner is missing in " << r.child << ": " << describeError()
            << "\n";
        return false;
      }
  }
  for (const Orphan& o : orphans)
    out << o.relation->child << ".vdb: " << o.relation->childNoun << " " << o.record << " belongs to "
        << o.relation->parentNoun << " " << o.owner << ", which does not exist\n";
  if (orphans.empty()) return true;
  const std::string rows = std::to_string(orphans.size()) + (orphans.size() == 1 ? " row" : " rows");
  if (!repair) {
    out << rows << " whose owner is missing (--repair removes them, after a backup)\n";
    return true;
  }
  const backup::Outcome saved = backup::BackUpNow(".", backup::kBackupFolder, QDateTime::currentDateTime(), "before-repair");
  if (!saved.ok) {
    err << "vesp-data: no row was removed: the backup before the repair failed: " << saved.error << "\n";
    return false;
  }
  out << "backed up and verified: " << saved.setPath << "\n";
  // A removed row can leave rows of its own without an owner (an element's files): passes
  // go on until one finds none.
  std::size_t removed = 0;
  Tables tables(true, err);
  for (int pass = 0; pass < 8 && !orphans.empty(); ++pass) {
    for (const Orphan& o : orphans) {
      vrt::DataFile* child = tables.get(o.relation->child);
      if (!child || !child->getByRowid(o.rowid)) continue;  // gone with an earlier one
      if (!child->erase()) {
        err << "vesp-data: cannot remove " << o.relation->childNoun << " " << o.record << ": " << describeError()
            << "\n";
        return false;
      }
      ++removed;
    }
    orphans.clear();
    for (const dict::RelationDecl& r : dict::relations())
      if (!findOrphans(r, tables, orphans)) return false;
  }
  out << "removed " << removed << (removed == 1 ? " row" : " rows") << " whose owner is missing\n";
  return true;
}

}  // namespace vesp::tools
