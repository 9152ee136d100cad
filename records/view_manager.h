#pragma once
// The view manager: drives one view over a primary table and the tables joined to it. It
// keeps the sort orders the view can be read in (each from a key of the primary table), the
// range limit of each, and the named filters attached to each, turns them into an order text
// and a filter text for the view, and reads records through a validation hook.
//
// Reading results: 0 the record is good, 5 the end was reached (or a record lay outside the
// range), 3 a read failed.
#include <map>
#include <string>
#include <vector>

#include "records/field_pairs.h"
#include "records/relation_manager.h"
#include "runtime/store/view.h"

namespace vesp {

class ViewManager {
 public:
  // Range limits.
  static constexpr int kNoLimit = 0, kSingleValue = 2, kFileRelation = 4;
  // Validation codes of CheckRecord.
  static constexpr int kRecordOk = 0, kRecordOutOfRange = 1, kRecordFiltered = 2;
  static constexpr const char* kStandardFilter = "5 Standard";

  struct SortOrder {
    std::map<std::string, std::string> FILTER;  // named filters, in identifier order
    int FREEELEMENT = -1;                       // field index of the first free key component
    int LIMITTYPE = kNoLimit;
    int MAINKEY = -1;                           // key number of the primary table
    std::string ORDER;                          // "" when there is no explicit order
    FieldPairs RANGELIST;
  };

  ViewManager() = default;
  ViewManager(const ViewManager&) = delete;
  ViewManager& operator=(const ViewManager&) = delete;
  virtual ~ViewManager();

  // Members, with the names the class gives them.
  bool DISPOSEORDER = false;
  bool OPENED = false;
  std::vector<SortOrder>* ORDER = nullptr;
  int PAGESAHEAD = 0;
  int PAGESBEHIND = 2;
  int PAGESIZE = 20;
  RelationManager* PRIMARY = nullptr;
  int TIMEOUT = 60;
  vrt::View* VIEW = nullptr;
  std::vector<std::pair<FileManager*, int>> SAVEDBUFFERS;
  bool INITED = false, KILLED = false, USED = false;

  void Setup(vrt::View& view, RelationManager& primary, std::vector<SortOrder>* orders = nullptr);
  int AddKeyOrder(int key);
  // The current order held to `value` on `field` (and on the key components before it).
  void LimitBy(int field, ValueRef value);
  // The current order held to the linking fields of `related`'s current record.
  void LimitBy(int field, RelationManager& related);
  void Shutdown();

  virtual void Destroy();
  virtual void ExtendOrder(const std::string& text);
  virtual void PushFilter();
  virtual void PushOrder();
  virtual bool RefreshLimits();
  virtual void CloseView(bool force = false);
  virtual void ClearViewRecords();
  virtual bool FreeComponentAscending();
  virtual std::string FreeComponentName();
  virtual int FreeComponentPosition();
  virtual int ReadNext();
  virtual void OpenView();
  virtual int ReadPrevious();
  virtual int PrepareNewRecord(bool suppressClear = false);
  virtual void Reposition(long position = 0);
  virtual void RestoreTableBuffers();
  virtual void SaveTableBuffers();
  virtual void PutNamedFilter(const std::string& text, const std::string& id = kStandardFilter);
  virtual void PutOrderText(const std::string& text);
  virtual bool SelectOrder(int number);
  virtual int CheckRecord();

  // The current sort order; with none, an empty stand-in.
  SortOrder& CurrentOrder();
  int CurrentOrderNumber() const { return static_cast<int>(current_) + 1; }
  // The texts last handed to the view.
  const std::string& FilterText() const { return filterText_; }
  const std::string& OrderText() const { return orderText_; }
  // The order text of a key, as the file manager describes its components.
  std::string KeyOrderText(int key) const;

 private:
  const FileManager::KeyEntry* keyEntry(int key) const;
  void rebuildFreeElement();
  int read(bool forward);

  std::vector<SortOrder> ownOrders_;
  SortOrder unordered_;
  std::size_t current_ = 0;
  std::string filterText_, orderText_;
};

}  // namespace vesp
