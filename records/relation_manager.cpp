#include "records/relation_manager.h"

#include <algorithm>
#include <optional>

#include "records/thread_registry.h"
#include "records/upkeep.h"
#include "runtime/data/errors.h"
#include "runtime/store/transaction.h"
#include "runtime/text/utf8.h"

namespace vesp {

using vrt::store::KeyValue;

RelationManager::~RelationManager() { Shutdown(); }

void RelationManager::Setup(FileManager& fileManager, Settings settings) {
  me_ = &fileManager;
  relations_.clear();
  relationsBuilt_ = false;
  settings_ = std::move(settings);
  killed_ = false;
  threadRegistry().RELATIONMAPPING[vrt::upperCase(fileManager.FILENAMEVALUE())] = this;
}

void RelationManager::DeclareRelation(RelationManager& related, int updateMode, int deleteMode, int hisKey) {
  relations_.push_back(Relation{&related, {}, hisKey, updateMode, deleteMode, 0, {}});
}

void RelationManager::DeclareRelation(RelationManager& related, std::string missingParent) {
  relations_.push_back(Relation{&related, {}, -1, 0, 0, 0, std::move(missingParent)});
}

void RelationManager::RedeclareRelations(std::function<void(RelationManager&)> declare) {
  relations_.clear();
  relationsBuilt_ = false;
  settings_.DeclareRelations = std::move(declare);
}

void RelationManager::LinkRelationFields(int myField, int hisField) {
  if (!relations_.empty()) relations_.back().FIELDS.push_back(Link{myField, hisField});
}

void RelationManager::buildRelations() {
  if (relationsBuilt_) return;
  relationsBuilt_ = true;
  if (settings_.DeclareRelations) settings_.DeclareRelations(*this);
}

const RelationManager::Relation* RelationManager::RelationTo(const RelationManager& related) {
  buildRelations();
  for (const Relation& r : relations_)
    if (r.FILE == &related) return &r;
  return nullptr;
}

// ---------------------------------------------------------------- opening and closing

Level RelationManager::Open() { return openPass(++threadRegistry().openPass); }

Level RelationManager::openPass(long pass) {
  buildRelations();
  openStamp_ = pass;
  if (const Level rc = me_->Open(); rc != Level::Benign) return rc;
  for (Relation& r : relations_) {
    if (r.FILE->openStamp_ == pass) continue;  // reached already through a cycle
    const int before = r.FILE->Me()->OPENED();
    const Level rc = r.FILE->openPass(pass);
    if (r.FILE->Me()->OPENED() > before) ++r.OPENED;
    if (rc != Level::Benign) return rc;
  }
  return Level::Benign;
}

Level RelationManager::Close() { return closePass(++threadRegistry().openPass); }

Level RelationManager::closePass(long pass) {
  closeStamp_ = pass;
  for (Relation& r : relations_) {
    if (r.OPENED <= 0 || r.FILE->closeStamp_ == pass) continue;
    static_cast<void>(r.FILE->closePass(pass));  // each table reports its own failure
    --r.OPENED;
  }
  return me_->Close();
}

// ---------------------------------------------------------------- the files a change can touch

namespace {

void addFile(std::vector<vrt::DataFile*>& files, vrt::DataFile* f) {
  if (std::find(files.begin(), files.end(), f) == files.end()) files.push_back(f);
}

bool contains(const std::vector<vrt::DataFile*>& files, vrt::DataFile* f) {
  return std::find(files.begin(), files.end(), f) != files.end();
}

}  // namespace

void RelationManager::collectUpkeep(std::vector<vrt::DataFile*>& files) {
  for (const Upkeep& u : UpkeepOf(me_->FILENAMEVALUE()))
    for (const std::string& table : u.tables)
      if (FileManager* fm = fileManagerFor(table)) addFile(files, fm->FILE());
}

void RelationManager::collectForUpdate(std::vector<vrt::DataFile*>& files) {
  if (contains(files, me_->FILE())) return;
  addFile(files, me_->FILE());
  collectUpkeep(files);
  buildRelations();
  for (Relation& r : relations_)
    if (r.HISKEY >= 0 && (r.UPDATEMODE == RI::Clear || r.UPDATEMODE == RI::Cascade)) r.FILE->collectForUpdate(files);
}

void RelationManager::collectForDelete(std::vector<vrt::DataFile*>& files) {
  if (contains(files, me_->FILE())) return;
  addFile(files, me_->FILE());
  collectUpkeep(files);
  buildRelations();
  for (Relation& r : relations_) {
    if (r.HISKEY < 0) continue;
    if (r.DELETEMODE == RI::Cascade) r.FILE->collectForDelete(files);
    else if (r.DELETEMODE == RI::Clear) r.FILE->collectForUpdate(files);
  }
}

// ---------------------------------------------------------------- changing

std::vector<KeyValue> RelationManager::linkValues(const Relation& r, const vrt::RecordRef& rec) const {
  std::vector<KeyValue> out;
  for (const Link& l : r.FIELDS) out.push_back(me_->FILE()->layout().componentValue(l.myField, rec));
  return out;
}

namespace {

// Puts `values` into the related table's linking fields.
void setLinks(const RelationManager::Relation& r, const std::vector<KeyValue>& values, vrt::RecordRef rec) {
  const auto& layout = r.FILE->Me()->FILE()->layout();
  for (std::size_t i = 0; i < r.FIELDS.size() && i < values.size(); ++i)
    layout.setComponentValue(r.FIELDS[i].hisField, values[i], rec);
}

std::vector<KeyValue> hisLinkValues(const RelationManager::Relation& r, const vrt::RecordRef& rec) {
  std::vector<KeyValue> out;
  for (const auto& l : r.FIELDS) out.push_back(r.FILE->Me()->FILE()->layout().componentValue(l.hisField, rec));
  return out;
}

void clearLinks(const RelationManager::Relation& r, vrt::RecordRef rec) {
  const auto& fields = r.FILE->Me()->FILE()->schema().fields;
  for (const auto& l : r.FIELDS) rec.clear(fields[static_cast<std::size_t>(l.hisField)]);
}

// Shows `message` about `fm`'s table at once; 5.
Level raiseFor(FileManager& fm, int message) {
  fm.ERRORS()->NoteFile(vrt::clip(fm.FILENAMEVALUE()));
  static_cast<void>(fm.ERRORS()->Raise(message));  // a notification: its answer is always 5
  return Level::Notify;
}

}  // namespace

Level RelationManager::Pending::record(FileManager& fm, int id) {
  fm.RecordFailure(id);
  message = id;
  return Level::Notify;
}

// With transactions on: one over the files `collect` gathers, begun; message 24 when it
// cannot begin. Without: an empty optional and success. A file that cannot be opened has
// said why already, and its result is returned.
Level RelationManager::beginTransaction(std::optional<vrt::Transaction>& txn,
                                      void (RelationManager::*collect)(std::vector<vrt::DataFile*>&)) {
  std::vector<vrt::DataFile*> files;
  (this->*collect)(files);
  // The upkeep's files are open for as long as the write, whoever else has them open.
  for (vrt::DataFile* f : files)
    if (FileManager* fm = fileManagerFor(f->schema().label); fm && fm != me_ && fm->OPENED() == 0) {
      if (const Level rc = fm->Open(); rc != Level::Benign) return rc;
      upkeepOpened_.push_back(fm);
    }
  if (!settings_.transactionFlag) return Level::Benign;
  // Every physical file must be open before a transaction can frame it.
  for (vrt::DataFile* f : files)
    if (FileManager* fm = fileManagerFor(f->schema().label))
      if (const Level rc = fm->Use(); rc != Level::Benign) return rc;
  txn.emplace(files, settings_.transactionWait);
  if (txn->begin()) return Level::Benign;
  txn.reset();
  return raiseFor(*me_, Msg::TransactionCancelled);
}

// Commits after success, else rolls back; only then is a failure shown, so that no other
// station waits on this one's locks while the user reads the message.
Level RelationManager::finish(std::optional<vrt::Transaction>& txn, Level rc, const Pending& pending,
                            int commitFailure) {
  if (txn && txn->active()) {
    if (rc != Level::Benign) txn->rollback();
    else if (!txn->commit()) rc = raiseFor(*me_, commitFailure);
  }
  closeUpkeepFiles();
  if (rc != Level::Benign && pending.message != 0) static_cast<void>(me_->ERRORS()->ShowCurrent(pending.message));
  return rc;
}

void RelationManager::closeUpkeepFiles() {
  for (FileManager* fm : upkeepOpened_) static_cast<void>(fm->Close());
  upkeepOpened_.clear();
}

// After a write of this table's record: its upkeep, which undoes the write when it fails.
Level RelationManager::runUpkeep(const vrt::RecordBuffer* before, const vrt::RecordBuffer* after, Pending& pending,
                               int failure) {
  for (const Upkeep& u : UpkeepOf(me_->FILENAMEVALUE()))
    if (u.apply && !u.apply(before, after)) return pending.record(*me_, failure);
  return Level::Benign;
}

Level RelationManager::Insert(bool ask) {
  if (UpkeepOf(me_->FILENAMEVALUE()).empty() && !hasParentCheck()) return me_->Insert(ask);
  buildRelations();
  if (const Level rc = Open(); rc != Level::Benign) return rc;
  std::optional<vrt::Transaction> txn;
  Pending pending;
  const bool reserved = me_->AUTOINCDONE();
  Level rc = beginTransaction(txn, &RelationManager::collectForInsert);
  if (rc == Level::Benign) rc = checkParents(pending);
  if (rc == Level::Benign) rc = me_->Insert(ask);
  if (rc == Level::Benign) rc = runUpkeep(nullptr, me_->BUFFER(), pending, Msg::RecordInsertError);
  // Undone: the number reserved for the record is still its placeholder's.
  if (rc != Level::Benign) {
    if (reserved) me_->TakeBackReservedNumber();
    else me_->GiveUpReservedNumber();
  }
  rc = finish(txn, rc, pending, Msg::RecordInsertError);
  static_cast<void>(Close());
  return rc;
}

bool RelationManager::hasParentCheck() {
  buildRelations();
  for (const Relation& r : relations_)
    if (r.HISKEY < 0 && !r.MISSINGPARENT.empty()) return true;
  return false;
}

// What an update collects, and the parents this record names: they are read inside the
// transaction, so that no other station deletes one between the check and the write.
void RelationManager::collectForInsert(std::vector<vrt::DataFile*>& files) {
  collectForUpdate(files);
  for (Relation& r : relations_)
    if (r.HISKEY < 0 && !r.MISSINGPARENT.empty()) addFile(files, r.FILE->Me()->FILE());
}

namespace {

// Whether `fm`'s table holds a record whose key `key` starts with `values` in `fields`;
// the table's state is kept.
bool anyRecordWith(FileManager& fm, int key, const std::vector<int>& fields, const std::vector<KeyValue>& values,
                   bool& failed) {
  vrt::DataFile& file = *fm.FILE();
  if (fm.Use() != Level::Benign) {
    failed = true;
    return false;
  }
  int saved = fm.SaveState();
  const auto& layout = file.layout();
  fm.BUFFER()->clearAll(file.schema().fields);
  for (std::size_t i = 0; i < fields.size(); ++i) layout.setComponentValue(fields[i], values[i], *fm.BUFFER());
  const auto& components = file.schema().keys[static_cast<std::size_t>(key)].components;
  for (std::size_t i = fields.size(); i < components.size(); ++i)
    layout.setComponentValue(components[i], layout.lowestValue(components[i]), *fm.BUFFER());
  file.setToValue(key);
  bool found = false;
  if (file.next()) {
    found = true;
    for (std::size_t i = 0; i < fields.size(); ++i)
      if (layout.componentValue(fields[i], *fm.BUFFER()) != values[i]) found = false;
  } else if (vrt::errorCode() != vrt::kRecordNotAvailable) {
    failed = true;
  }
  fm.RestoreState(saved, true);
  return found;
}

// The parent's key that leads with the linking fields, unique keys first; -1 when none does.
int parentKey(const vrt::TableSchema& schema, const std::vector<int>& fields) {
  int best = -1;
  for (std::size_t k = 0; k < schema.keys.size(); ++k) {
    const auto& c = schema.keys[k].components;
    if (c.size() < fields.size() || !std::equal(fields.begin(), fields.end(), c.begin())) continue;
    if (schema.keys[k].unique) return static_cast<int>(k);
    if (best < 0) best = static_cast<int>(k);
  }
  return best;
}

bool namesNothing(const std::vector<KeyValue>& values) {
  return std::all_of(values.begin(), values.end(), [](const KeyValue& v) {
    const auto* n = std::get_if<std::int64_t>(&v);
    return n && *n == 0;
  });
}

}  // namespace

Level RelationManager::checkParents(Pending& pending, const vrt::RecordBuffer* stored) {
  for (Relation& r : relations_) {
    if (r.HISKEY >= 0 || r.MISSINGPARENT.empty() || r.FIELDS.empty()) continue;
    const auto values = linkValues(r, *me_->BUFFER());
    if (namesNothing(values)) continue;
    if (stored && linkValues(r, *stored) == values) continue;
    FileManager& parent = *r.FILE->Me();
    std::vector<int> fields;
    for (const Link& l : r.FIELDS) fields.push_back(l.hisField);
    const int key = parentKey(parent.FILE()->schema(), fields);
    if (key < 0) continue;
    bool failed = false;
    if (anyRecordWith(parent, key, fields, values, failed)) continue;
    if (failed) return pending.record(parent, Msg::RecordRetrievalError);
    me_->ERRORS()->NoteMessageText(r.MISSINGPARENT);
    return pending.record(*me_, Msg::NotSaved);
  }
  return Level::Benign;
}

Level RelationManager::Update(bool fromForm) {
  buildRelations();
  if (const Level rc = Open(); rc != Level::Benign) return rc;
  std::optional<vrt::Transaction> txn;
  Pending pending;
  Level rc = beginTransaction(txn, &RelationManager::collectForInsert);
  if (rc == Level::Benign) rc = updateRecord(fromForm, pending);
  rc = finish(txn, rc, pending, Msg::RecordUpdateFailed);
  static_cast<void>(Close());
  return rc;
}

// This record and, where its linking fields changed, its children by their rules.
Level RelationManager::updateRecord(bool fromForm, Pending& pending) {
  vrt::DataFile& file = *me_->FILE();
  // The stored linking values decide which children move: without them the change cannot
  // be made safely at all.
  vrt::RecordBuffer stored(file.schema().recordSize);
  const bool haveStored = file.hasCurrent();
  if (haveStored && !file.peekAt(file.currentRowid(), stored)) return pending.record(*me_, Msg::RecordChangedOrDeleted);
  if (const Level rc = checkParents(pending, haveStored ? &stored : nullptr); rc != Level::Benign) return rc;
  if (const Level rc = me_->Update(0); rc != Level::Benign) {
    // Refused by the validation hook (which spoke for itself), or the file could not be
    // used (already reported): nothing more to show.
    if (rc != Level::Notify || me_->LASTERROR() == 0) return rc;
    int message = me_->LASTERROR();
    if (fromForm && message == Msg::ChangedByOtherStation) message = Msg::ChangedByOtherStationShown;
    pending.message = message;
    return message == Msg::ChangedByOtherStation || message == Msg::ChangedByOtherStationShown ? Level::Notify
                                                                                               : Level::Ask;
  }
  if (!haveStored) return runUpkeep(nullptr, me_->BUFFER(), pending, Msg::RecordUpdateFailed);
  for (Relation& r : relations_) {
    if (r.HISKEY < 0 || r.UPDATEMODE == RI::None) continue;
    const auto oldValues = linkValues(r, stored), newValues = linkValues(r, *me_->BUFFER());
    if (oldValues == newValues) continue;  // the children are not concerned
    if (const Level rc = changeChildren(r, oldValues, newValues, pending); rc != Level::Benign) {
      // The linking fields go back to what they were, as the restrict rule tells the user.
      const auto& layout = file.layout();
      for (std::size_t i = 0; i < r.FIELDS.size(); ++i)
        layout.setComponentValue(r.FIELDS[i].myField, oldValues[i], *me_->BUFFER());
      return rc;
    }
  }
  return runUpkeep(&stored, me_->BUFFER(), pending, Msg::RecordUpdateFailed);
}

// Runs `onChild` for each child record whose linking fields hold `values`, with the child
// table's state saved around the walk. The first result that is not benign ends the walk
// and is returned.
Level RelationManager::forEachChild(Relation& r, const std::vector<KeyValue>& values, Pending& pending,
                                  const std::function<Level(RelationManager& child)>& onChild) {
  RelationManager& child = *r.FILE;
  child.buildRelations();
  FileManager& fm = *child.Me();
  vrt::DataFile& file = *fm.FILE();
  if (fm.Use() != Level::Benign) return Level::Notify;
  int saved = fm.SaveState();
  fm.BUFFER()->clearAll(file.schema().fields);
  setLinks(r, values, *fm.BUFFER());
  // Before every child, whatever the key's later components hold (below zero too).
  const auto& layout = file.layout();
  const auto& components = file.schema().keys[static_cast<std::size_t>(r.HISKEY)].components;
  for (std::size_t i = r.FIELDS.size(); i < components.size(); ++i)
    layout.setComponentValue(components[i], layout.lowestValue(components[i]), *fm.BUFFER());
  file.setToValue(r.HISKEY);
  Level rc = Level::Benign;
  while (rc == Level::Benign) {
    if (!file.next()) {
      if (vrt::errorCode() != vrt::kRecordNotAvailable) rc = pending.record(fm, Msg::RecordRetrievalError);
      break;
    }
    if (hisLinkValues(r, *fm.BUFFER()) != values) break;  // past this parent's children
    rc = onChild(child);
  }
  fm.RestoreState(saved, true);
  return rc;
}

Level RelationManager::changeChildren(Relation& r, const std::vector<KeyValue>& oldValues,
                                    const std::vector<KeyValue>& newValues, Pending& pending) {
  return forEachChild(r, oldValues, pending, [&r, &newValues, &pending](RelationManager& child) {
    FileManager& fm = *child.Me();
    if (r.UPDATEMODE == RI::Restrict) return pending.record(fm, Msg::RestrictUpdate);
    if (r.UPDATEMODE == RI::Clear) clearLinks(r, *fm.BUFFER());
    else setLinks(r, newValues, *fm.BUFFER());
    return child.updateRecord(false, pending) == Level::Benign ? Level::Benign : Level::Notify;
  });
}

// ---------------------------------------------------------------- deleting

Level RelationManager::Delete(bool ask) {
  buildRelations();
  if (ask && me_->ERRORS()->Raise(Msg::ConfirmDelete) != Level::Benign) return Level::Cancel;
  for (;;) {
    const std::string position = me_->Position();
    Level rc = Open();
    if (rc == Level::Benign) {
      std::optional<vrt::Transaction> txn;
      Pending pending;
      rc = beginTransaction(txn, &RelationManager::collectForDelete);
      // The deletion acts on the record as it now stands.
      if (rc == Level::Benign && me_->RereadAt(position) != Level::Benign)
        rc = pending.record(*me_, Msg::RecordChangedOrDeleted);
      if (rc == Level::Benign) rc = deleteRecordAndChildren(pending);
      rc = finish(txn, rc, pending, Msg::RecordDeleteFailed);
      static_cast<void>(Close());
    }
    if (rc == Level::Benign) return rc;
    if (me_->ERRORS()->Raise(Msg::RetryDelete) != Level::Benign) return rc;
  }
}

Level RelationManager::deleteRecordAndChildren(Pending& pending) {
  for (Relation& r : relations_) {
    if (r.HISKEY < 0 || r.DELETEMODE == RI::None) continue;
    if (const Level rc = deleteChildren(r, linkValues(r, *me_->BUFFER()), pending); rc != Level::Benign) return rc;
  }
  // The record as it was, for the upkeep: the buffer may be reused once it is gone.
  const vrt::RecordBuffer erased = *me_->BUFFER();
  if (!me_->FILE()->erase()) return pending.record(*me_, Msg::RecordDeleteFailed);
  return runUpkeep(&erased, nullptr, pending, Msg::RecordDeleteFailed);
}

Level RelationManager::deleteChildren(Relation& r, const std::vector<KeyValue>& values, Pending& pending) {
  return forEachChild(r, values, pending, [&r, &pending](RelationManager& child) {
    FileManager& fm = *child.Me();
    if (r.DELETEMODE == RI::Restrict) return pending.record(fm, Msg::RestrictDelete);
    if (r.DELETEMODE == RI::Clear) {
      clearLinks(r, *fm.BUFFER());
      return child.updateRecord(false, pending) == Level::Benign ? Level::Benign : Level::Notify;
    }
    return child.deleteRecordAndChildren(pending);
  });
}

// ---------------------------------------------------------------- the rest

void RelationManager::Shutdown() {
  if (killed_ || !me_) return;
  killed_ = true;
  relations_.clear();
  auto& map = threadRegistry().RELATIONMAPPING;
  if (auto it = map.find(vrt::upperCase(me_->FILENAMEVALUE())); it != map.end() && it->second == this) map.erase(it);
}

}  // namespace vesp
