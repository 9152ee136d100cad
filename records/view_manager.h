#pragma once
// The view manager: drives one view over a primary table and the tables joined to it. It
// keeps the sort orders the view can be read in (each from a key of the primary table), the
// range limit of each, and the named filters attached to each, turns them into an order text
// and a filter text for the view, and reads records through a validation hook.
//
#include <map>
#include <string>
#include <vector>

#include "records/field_pairs.h"
#include "records/relation_manager.h"
#include "runtime/store/view.h"

namespace vesp {

// What a read of the view gives.
enum class ReadResult {
  Ok = 0,      // the record is in the buffers
  Failed = 3,  // the read failed; the user has been told
  End = 5,     // the end was reached, or the next record lies outside the range
};

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
    int LIMITTYPE = kNoLimit;                   // LimitBy: how the order is held to a range
    int MAINKEY = -1;                           // key number of the primary table
    std::string ORDER;                          // "" when there is no explicit order
    FieldPairs RANGELIST;                       // LimitBy: the values the range holds to
  };

  ViewManager() = default;
  ViewManager(const ViewManager&) = delete;
  ViewManager& operator=(const ViewManager&) = delete;
  virtual ~ViewManager();

  // The view's read-ahead, which a screen may declare with one Configure before the view
  // opens; a member left out keeps its default.
  struct Settings {
    int PAGESAHEAD = 0;    // pages read ahead of the one asked for
    int PAGESBEHIND = 2;   // pages kept behind it
    int PAGESIZE = 20;     // records a page holds
    int TIMEOUT = 60;      // seconds a page read stays valid
  };
  void Configure(const Settings& settings) { settings_ = settings; }

  // Running state, read by the browse built on it, its screen and the tests; the view
  // manager sets it.
  bool OPENED() const { return opened_; }                            // OpenView; false again at CloseView
  RelationManager* PRIMARY() const { return primary_; }              // Setup: the primary table
  vrt::View* VIEW() const { return view_; }                          // Setup: the view read through
  // SaveTableBuffers until RestoreTableBuffers: each table's saved buffer.
  const std::vector<std::pair<FileManager*, int>>& SAVEDBUFFERS() const { return savedBuffers_; }

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
  [[nodiscard]] virtual ReadResult ReadNext();
  virtual void OpenView();
  [[nodiscard]] virtual ReadResult ReadPrevious();
  [[nodiscard]] virtual Level PrepareNewRecord(bool suppressClear = false);
  virtual void Reposition(long position = 0);
  virtual void RestoreTableBuffers();
  virtual void SaveTableBuffers();
  virtual void PutNamedFilter(const std::string& text, const std::string& id = kStandardFilter);
  // The same named filter on every sort order, as on the current one; "" removes it.
  void PutNamedFilterOnEveryOrder(const std::string& text, const std::string& id);
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
  ReadResult read(bool forward);

  Settings settings_;
  bool disposeOrder_ = false;  // Setup: the orders are its own, cleared at Destroy
  bool opened_ = false;
  std::vector<SortOrder>* orders_ = nullptr;
  RelationManager* primary_ = nullptr;
  vrt::View* view_ = nullptr;
  std::vector<std::pair<FileManager*, int>> savedBuffers_;
  bool inited_ = false, killed_ = false, used_ = false;  // Setup, Destroy, the first read
  std::vector<SortOrder> ownOrders_;
  SortOrder unordered_;
  std::size_t current_ = 0;
  std::string filterText_, orderText_;
};

}  // namespace vesp
