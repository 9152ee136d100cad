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
  struct Relation {
    RelationManager* FILE;
    std::vector<Link> FIELDS;
    int HISKEY = -1;  // the related table's key to find the children; -1 on the child side
    int UPDATEMODE = RI::None;
    int DELETEMODE = RI::None;
    int OPENED = 0;
    // Child side: what the user is told when the parent a new or moved record names is gone
    // (set by the dictionary's set-up; empty: not checked).
    std::string MISSINGPARENT;
  };

  RelationManager() = default;
  RelationManager(const RelationManager&) = delete;
  RelationManager& operator=(const RelationManager&) = delete;
  virtual ~RelationManager();

  FileManager* Me = nullptr;       // Setup: the table's own file manager
  std::vector<Relation> relations;  // DeclareRelations, the first time a relation is needed
  bool transactionFlag = true;      // Setup: changes run inside transactions
  int transactionWait = 2;          // the table's set-up: seconds a transaction waits for its files
  long openStamp = 0;               // Open and Close: the pass that last visited this table
  bool relationsBuilt = false;      // set once DeclareRelations has run
  bool openAll = false;             // the table's set-up: Open opens every related table too

  void Setup(FileManager& fileManager, bool useTransactions);
  // Parent side: the child's manager, the modes and the child's key; child side: the parent.
  void DeclareRelation(RelationManager& related, int updateMode, int deleteMode, int hisKey);
  void DeclareRelation(RelationManager& related);
  void LinkRelationFields(int myField, int hisField);
  // Fills the relations list the first time it is needed (the table's own routine).
  std::function<void(RelationManager&)> DeclareRelations;

  // The relation with `related`, filled in when first needed; nullptr when there is none.
  const Relation* RelationTo(const RelationManager& related);

  [[nodiscard]] Level Open();
  [[nodiscard]] Level Close();
  // The file manager's insert; for a table with upkeep (records/upkeep.h) or with a parent,
  // inside a transaction with their files. A record whose parent no longer exists is not
  // written (the relation's MISSINGPARENT is shown).
  [[nodiscard]] Level Insert(bool ask = true);
  [[nodiscard]] Level Update(bool fromForm = false);
  [[nodiscard]] Level Delete(bool ask = true);
  void ApplyQuickScan(bool on, int propagation);
  void Shutdown();

  // Propagation of ApplyQuickScan.
  static constexpr int kToAll = 0, kToParents = 1, kToChildren = 2;

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

  std::vector<FileManager*> upkeepOpened_;  // files opened for the upkeep of the write under way

  long closeStamp_ = 0;
  bool killed_ = false;
};

RelationManager* relationManagerFor(std::string_view label);

}  // namespace vesp
