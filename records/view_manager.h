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
  // What CheckRecord says of the record a read reached.
  enum class RecordCheck {
    Ok = 0,          // the read gives it
    OutOfRange = 1,  // the read ends before it
    Filtered = 2,    // the read passes over it
  };
  static constexpr const char* kStandardFilter = "5 Standard";

  // One order the view can be read in; AddKeyOrder makes it, the calls named change it.
  struct SortOrder {
    std::map<std::string, std::string> FILTER;  // PutNamedFilter: named filters, in identifier order
    int FREEELEMENT = -1;                       // AddKeyOrder, LimitBy: field of the first free key component
    int LIMITTYPE = kNoLimit;                   // LimitBy: how the order is held to a range
    int MAINKEY = -1;                           // AddKeyOrder: key number of the primary table
    std::string ORDER;                          // AddKeyOrder, PutOrderText, ExtendOrder: "" when none
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

  // The screen or report, once: the view, its primary table and the sort orders (its own
  // when `orders` is null); opens the view's tables.
  void Setup(vrt::View& view, RelationManager& primary, std::vector<SortOrder>* orders = nullptr);
  // At set-up: a sort order in `key`'s order, made current; its number, from 1.
  int AddKeyOrder(int key);
  // The current order held to `value` on `field` (and on the key components before it).
  void LimitBy(int field, ValueRef value);
  // The current order held to the linking fields of `related`'s current record.
  void LimitBy(int field, RelationManager& related);
  // The owner as it closes: closes the view and its tables, drops the orders' limits and filters.
  void Shutdown();
  // The destructor: Shutdown, when Setup ran and Shutdown did not.
  virtual void Destroy();

  // The screen, between fills: the current order's text, extended ("*text" replaces it) or
  // replaced.
  virtual void ExtendOrder(const std::string& text);
  virtual void PutOrderText(const std::string& text);
  // The screen, between fills: a named filter of the current order; "" removes it.
  virtual void PutNamedFilter(const std::string& text, const std::string& id = kStandardFilter);
  // The same named filter on every sort order, as on the current one; "" removes it.
  void PutNamedFilterOnEveryOrder(const std::string& text, const std::string& id);
  // OpenView, and a range that moved: the current order's range and filters, or its order
  // text, handed to the view.
  virtual void PushFilter();
  virtual void PushOrder();
  // Before a fill: whether the range's live values moved since the last fill (and if so the
  // new range is pushed).
  virtual bool RefreshLimits();
  // The screen, choosing a tab's order (0 is 1); false when it is the current one or none.
  virtual bool SelectOrder(int number);

  // The free component of the current order's key (the first not held by the range): its
  // position from 1 (0 when none), its name in the order text, and its direction.
  virtual int FreeComponentPosition();
  virtual std::string FreeComponentName();
  virtual bool FreeComponentAscending();

  // Before a fill: the view opened (or kept open) in the current order and filter; the owner
  // closes it after, and Shutdown closes it whatever it holds (`force`).
  virtual void OpenView();
  virtual void CloseView(bool force = false);
  // Opens the view at `position` (0: its start); a position the view no longer has is
  // reported and reads start at the beginning.
  virtual void Reposition(long position = 0);
  // The next or previous record of the view that CheckRecord lets through.
  [[nodiscard]] virtual ReadResult ReadNext();
  [[nodiscard]] virtual ReadResult ReadPrevious();
  // A subclass's test of each record a read reaches; every record passes by default.
  virtual RecordCheck CheckRecord();

  // Blanks the buffers of the view's tables.
  virtual void ClearViewRecords();
  // The form's new record: blank (unless `suppressClear`), the range's values in its key,
  // then the table's priming and number.
  [[nodiscard]] virtual Level PrepareNewRecord(bool suppressClear = false);
  // Around work that changes the view's buffers (a look-up): copies of them, put back.
  virtual void SaveTableBuffers();
  virtual void RestoreTableBuffers();

  // The current sort order, read by the browse and the tests; with none, an empty one.
  const SortOrder& CurrentOrder() const;
  int CurrentOrderNumber() const { return static_cast<int>(current_) + 1; }
  // The texts last handed to the view.
  const std::string& FilterText() const { return filterText_; }
  const std::string& OrderText() const { return orderText_; }
  // The order text of a key, as the file manager describes its components.
  std::string KeyOrderText(int key) const;

 private:
  // The current sort order, to change; with none, a stand-in whose changes are dropped.
  SortOrder& currentOrder();
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
