#pragma once
// The relation manager: one table's file manager together with the table's relations, so
// that related tables open with it and referential-integrity rules run inside one
// transaction over exactly the files the rules can touch.
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "records/file_manager.h"
#include "runtime/store/table_layout.h"
#include "runtime/store/transaction.h"

namespace vesp {

// Referential-integrity modes.
namespace RI {
inline constexpr int None = 0;
inline constexpr int Clear = 1;
inline constexpr int Restrict = 2;
inline constexpr int Cascade = 3;
}  // namespace RI

class RelationManager {
 public:
  // The old linking values are read from the stored record when a change is saved, so no
  // copy is kept here.
  struct Link {
    int myField;
    int hisField;
  };
  // One relation, as DeclareRelation and LinkRelationFields made it.
  struct Relation {
    RelationManager* FILE;     // the related table
    std::vector<Link> FIELDS;  // the linking fields, mine and his
    int HISKEY = -1;  // the related table's key to find the children; -1 on the child side
    int UPDATEMODE = RI::None;  // what a change of the linking values does to the children
    int DELETEMODE = RI::None;  // what a deletion does to them
    int OPENED = 0;             // Open: how many times this table opened the related one
    std::string MISSINGPARENT;  // child side: DeclareRelation's missingParent
  };

  RelationManager() = default;
  RelationManager(const RelationManager&) = delete;
  RelationManager& operator=(const RelationManager&) = delete;
  virtual ~RelationManager();

  // What the table's set-up declares, handed to Setup.
  struct Settings {
    bool transactionFlag = true;  // changes run inside transactions
    int transactionWait = 2;      // seconds a transaction waits for its files
    // Fills the relations list the first time it is needed (the table's own routine).
    std::function<void(RelationManager&)> DeclareRelations{};
  };

  // The thread's dictionary, once per table as the thread starts; registers the manager by
  // table label.
  void Setup(FileManager& fileManager, Settings settings);
  const Settings& SETTINGS() const { return settings_; }  // Setup

  // Running state, read by the framework and the tests; the relation manager sets it.
  FileManager* Me() const { return me_; }                                 // Setup: the table's own file manager
  const std::vector<Relation>& relations() const { return relations_; }  // DeclareRelations, when first needed

  // A caller that frames the table's changes in a transaction of its own turns the table's
  // off, and puts it back after.
  void UseTransactions(bool on) { settings_.transactionFlag = on; }
  // The relations are declared anew by `declare` the next time one is needed.
  void RedeclareRelations(std::function<void(RelationManager&)> declare);
  // Parent side: the child's manager, the modes and the child's key; child side: the parent,
  // and what the user is told when the parent a new or moved record names is gone (empty:
  // not checked). Both from DeclareRelations only.
  void DeclareRelation(RelationManager& related, int updateMode, int deleteMode, int hisKey);
  void DeclareRelation(RelationManager& related, std::string missingParent = {});
  // After each DeclareRelation: one pair of linking fields of that relation.
  void LinkRelationFields(int myField, int hisField);

  // The relation with `related`, filled in when first needed; nullptr when there is none.
  const Relation* RelationTo(const RelationManager& related);

  // A screen, report or tool before it works with the table, and after: opens and closes
  // the table and, once each, every table related to it.
  [[nodiscard]] Level Open();
  [[nodiscard]] Level Close();
  // The file manager's insert; for a table with upkeep (records/upkeep.h) or with a parent,
  // inside a transaction with their files. A record whose parent no longer exists is not
  // written (the relation's MISSINGPARENT is shown).
  [[nodiscard]] Level Insert(bool ask = true);
  // The buffer saved over the current record, and the children changed by the relations'
  // rules, in one transaction; `fromForm` words a clash with another station for a form.
  [[nodiscard]] Level Update(bool fromForm = false);
  // The current record deleted with its children by the relations' rules, in one
  // transaction (`ask`: the user confirms first).
  [[nodiscard]] Level Delete(bool ask = true);
  // The thread's dictionary as the thread ends: forgets the relations and the manager.
  void Shutdown();

 private:
  void buildRelations();
  [[nodiscard]] Level openPass(long pass);
  [[nodiscard]] Level closePass(long pass);
  // A failure inside a walk, recorded where it happens and shown once the transaction has
  // let go of its files.
  struct Pending {
    int message = 0;
    [[nodiscard]] Level record(FileManager& fm, int id);  // Level::Notify
  };
  [[nodiscard]] Level beginTransaction(std::optional<vrt::Transaction>& txn,
                       void (RelationManager::*collect)(std::vector<vrt::DataFile*>&));
  [[nodiscard]] Level finish(std::optional<vrt::Transaction>& txn, Level rc, const Pending& pending, int commitFailure);
  void collectForUpdate(std::vector<vrt::DataFile*>& files);
  void collectForDelete(std::vector<vrt::DataFile*>& files);
  [[nodiscard]] Level updateRecord(bool fromForm, Pending& pending);
  void collectForInsert(std::vector<vrt::DataFile*>& files);
  bool hasParentCheck();
  // 0 when every parent the buffer's linking fields name exists (or none is named); else
  // the failure, recorded. With `stored`, only links that differ from it are checked.
  [[nodiscard]] Level checkParents(Pending& pending, const vrt::RecordBuffer* stored = nullptr);
  [[nodiscard]] Level forEachChild(Relation& r, const std::vector<vrt::store::KeyValue>& values, Pending& pending,
                   const std::function<Level(RelationManager& child)>& onChild);
  [[nodiscard]] Level changeChildren(Relation& r, const std::vector<vrt::store::KeyValue>& oldValues,
                     const std::vector<vrt::store::KeyValue>& newValues, Pending& pending);
  [[nodiscard]] Level deleteChildren(Relation& r, const std::vector<vrt::store::KeyValue>& values, Pending& pending);
  [[nodiscard]] Level deleteRecordAndChildren(Pending& pending);
  std::vector<vrt::store::KeyValue> linkValues(const Relation& r, const vrt::RecordRef& rec) const;
  void collectUpkeep(std::vector<vrt::DataFile*>& files);
  [[nodiscard]] Level runUpkeep(const vrt::RecordBuffer* before, const vrt::RecordBuffer* after, Pending& pending, int failure);
  void closeUpkeepFiles();

  Settings settings_;
  FileManager* me_ = nullptr;
  std::vector<Relation> relations_;
  long openStamp_ = 0;           // Open and Close: the pass that last visited this table
  bool relationsBuilt_ = false;  // set once DeclareRelations has run
  std::vector<FileManager*> upkeepOpened_;  // files opened for the upkeep of the write under way

  long closeStamp_ = 0;
  bool killed_ = false;
};

// The thread's relation managers by table label (case-blind); nullptr when not set up here.
RelationManager* relationManagerFor(std::string_view label);

}  // namespace vesp
