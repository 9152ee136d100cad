#pragma once
// The browse manager: a view manager that shows its records in a list one page at a time.
// It holds only the rows of the visible page (the list queue), reads on from either end of
// it when the user scrolls, and maps the list's thumb to key values through the sort
// order's step object. Every page read is a keyset read of the view; nothing counts or
// scans the table.
//
// Reading results and validation codes are those of ViewManager.
#include <memory>
#include <utility>
#include <vector>

#include "records/field_pairs.h"
#include "records/view_manager.h"
#include "runtime/store/change_listener.h"
#include "windows/list_queue.h"
#include "windows/locators.h"
#include "windows/popup_menu.h"
#include "windows/procedures.h"
#include "windows/thumb_steps.h"
#include "windows/toolbar.h"
#include "windows/window_component.h"

namespace vesp {

class WindowController;

class BrowseManager : public ViewManager, public WindowComponent {
 public:
  // How a fill starts: from the highlighted row's record, or where the view stands.
  static constexpr int kFromHighlight = 1, kFromView = 2;
  static constexpr int kUpward = 1, kDownward = 2;
  // Posted to the list when another station committed a change to one of the view's tables.
  static constexpr int kEventTablesChanged = vrt::kEventUser + 0x59;

  // What a screen declares for its list, before Setup, with one Configure; a member left
  // out keeps its default.
  struct Settings {
    Procedure ASKPROCEDURE{};  // the form for insert, change, delete and view
    int CHANGECONTROL = 0;     // the list's Change button
    int DELETECONTROL = 0;     // its Delete button
    int INSERTCONTROL = 0;     // its Insert button
    int SELECTCONTROL = 0;     // its Select button
    int VIEWCONTROL = 0;       // its View button
    bool HIDESELECT = false;   // Select is hidden unless the browse was called to select
    bool SELECTING = false;    // called to select a record (a look-up): Enter selects
    bool USEPOPUP = true;      // the right-click menu
    bool EDITVIAPOPUP = true;  // ... with the record buttons on it
    bool HASTHUMB = true;      // the list's thumb maps to key values
    bool RETAINROW = true;     // a refill keeps the highlight on the same row number
    FieldPairs FIELDS{};       // record field (left) and its list column, in column order
  };

  // The screen, before Setup (or between fills, in a test): the settings it declares.
  void Configure(Settings settings) { settings_ = std::move(settings); }
  const Settings& SETTINGS() const { return settings_; }  // Configure

  // Running state, read by the list's screen, its parts and the tests; the browse sets it.
  int CURRENTCHOICE() const { return currentChoice_; }     // the highlighted row, from 1
  ListControl* ILC() const { return ilc_; }                // Setup: the list control
  ListQueue* LISTQUEUE() const { return listQueue_; }      // Setup: the rows of the visible page
  // A fill is owed: set when the list was hidden at a fill and whenever RefreshLimits
  // reports a change; cleared by the next page fill of the visible list.
  bool LOADPENDING() const { return loadPending_; }
  bool LOADED() const { return loaded_; }                  // a page fill of the visible list took place
  PopupMenu& POPUP() { return popup_; }                    // Setup: the right-click menu; ArmKeys adds to it
  WindowController* WINDOW() const { return controller_; }  // Setup: the window the list is in
  // A screen's list that moved a record, or opens at the first row: the row taken as
  // highlighted by the next refill or load.
  void HighlightRow(int row) { currentChoice_ = row; }

  // The browse's screen, once its window is built: the list, the view and its rows, the
  // primary table and the window it is in; a selecting browse keeps the caller's buffer.
  void Setup(ListControl& list, vrt::View& view, ListQueue& queue, RelationManager& primary,
             WindowController* window = nullptr);
  // At set-up: a sort order in `key`'s order with its thumb step (or none), made current;
  // then the current order's locator, and the frame's toolbar, which drives the list.
  int AddKeyOrder(std::unique_ptr<ThumbStep> step, int key);
  void AttachLocator(std::unique_ptr<Locator> locator);
  void AttachToolbar(Toolbar& toolbar);

  // The window-component interface.
  void Shutdown() override;
  void Reset(bool force) override { ChooseOrderAndFill(force); }
  bool ResetRequired() override { return RefreshLimits(); }
  void ArmKeys() override;
  [[nodiscard]] EventResult TakeEvent() override { return OnEvent(); }
  void SaveControls() override {}

  // Runs the form for `request` on the highlighted row (a new record for insert), again
  // while the form asks for the next record; the last response.
  [[nodiscard]] virtual Response RunForm(Request request);
  // A row whose record another station deleted: message 9; true (the list is to be refilled).
  virtual bool ReportVanishedRecord();
  // A screen that put a record in the buffer: the page filled from that record.
  virtual void RefreshAtRecord();
  // Reset, and a screen whose tab chose sort `number` (the first by default): the view in
  // that order, filled when anything changed or `force`; whether a fill took place.
  virtual bool ChooseOrderAndFill(bool force) { return ChooseOrderAndFill(1, force); }
  virtual bool ChooseOrderAndFill(int number, bool force);
  // The window's event loop, for each event: the list's scrolling, keys and buttons.
  [[nodiscard]] virtual EventResult OnEvent();
  // Words typed into the browse's word search, looked for in `fields` ("BBL:Title", ...):
  // every order lists only the records that have them all, from the first of them.
  void SearchWords(const std::string& typed, const std::vector<std::string>& fields);
  static constexpr const char* kWordFilter = "7 Words";
  // Reads the highlighted row's record whole into the buffers; false (message 9 and a
  // refill) when another station deleted it.
  virtual bool RereadHighlighted();
  // Whether the selecting browse's window closes with a record chosen: the buffers.
  void OnSelectingClose(bool completed);

  bool SelectOrder(int number) override;
  // A screen that set the free element's value (a locator, the thumb): the page filled from
  // the first record at that value.
  virtual void RefreshAtKeyValue();
  // Fills the visible page afresh: from the highlighted row's record (kFromHighlight) or
  // from where the view stands (kFromView); a hidden list only notes the fill as owed.
  virtual void FillPage(int mode);
  // A locator at the top or bottom of the page: one row on, reading a row when the
  // highlight leaves the page.
  virtual void ScrollByRow(int event);
  // The row's columns from the buffers, and its view position; subclasses add columns.
  virtual void StoreRow(ListRow& row);
  // A scroll event on the list (up, down, page up, page down, top, bottom).
  virtual void OnScroll(int event);
  // The thumb dragged to `position` (0 to 100); returns the scroll event to post instead,
  // 0 when the list was refilled from the step object's value.
  virtual int OnThumbDrag(int position);
  // The highlighted row's columns written back to their fields (the buffers blank without one).
  virtual void LoadRowIntoRecord();
  void RefreshControls() override;
  [[nodiscard]] ReadResult ReadNext() override;
  [[nodiscard]] ReadResult ReadPrevious() override;
  bool RefreshLimits() override;

  // Whether the last fetch stopped at the end of the data; whether a read failed (the
  // window closes after message 1).
  bool atEnd() const { return endReached_; }
  bool readFailed() const { return readFailed_; }
  // Whether the free element runs downwards in the current order text (which a screen may
  // have replaced), not only in its key.
  bool FreeElementDescending();

 private:
  // The browse's part of a sort order, beside the view manager's own entry.
  struct BrowseOrder {
    std::unique_ptr<ThumbStep> THUMB;   // AddKeyOrder: maps the thumb to the free element, or none
    std::unique_ptr<Locator> LOCATOR;   // AttachLocator, or none
  };

  // The form's end: the page refreshed to show what it did, then its toolbar navigation.
  void RefreshAfterForm(Request request, Response response);
  [[nodiscard]] EventResult OnKey(int key, int character);
  // The highlight moved by the user: the row's record into the buffers.
  void OnHighlightMoved();
  // Enter or an accepted entry: when it is the current order's locator, locates its value.
  void OnLocatorAccepted(int control);
  void OnToolbarScroll(vrt::ToolbarAction action);
  // Reads up to itemsToFill_ rows onto the page, above it (kUpward) or below it.
  void FillRows(int direction);
  // The step object's limits from the first and last records of the order.
  void RecomputeThumb();
  void ScrollToEnd(int event);
  void ScrollByPage(int event);
  bool freeElementValue(vrt::expr::Value& value);
  void setFreeElement(const vrt::expr::Value& value);
  void locate(const std::string& target);
  void updateThumb(int event);
  void componentsAfterFreeElementToStart();
  // A failed read is noted: the window closes after the event.
  ReadResult afterRead(ReadResult result);
  void pressIfUsable(int control);
  void refreshButtons();
  void locateAndRefill();
  // A browse without sort orders reads in file order with no step, locator or resets.
  // Another station's saves to the view's tables refill the page at the highlighted row.
  void hearOtherStations();
  vrt::store::TableChangeHearing hearing_;
  BrowseOrder& currentSort() {
    const auto at = static_cast<std::size_t>(CurrentOrderNumber() - 1);
    return at < sorts_.size() ? sorts_[at] : noOrder_;
  }
  BrowseOrder noOrder_;
  bool filledOnce_ = false;
  bool callerReadRecord();
  bool startAtRead_ = false;  // a look-up opens on the very record its caller read
  // The range limits took in other records: the highlighted row is not among them, so
  // the next fill starts at the first record of the new range.
  bool rangeMoved_ = false;

  Settings settings_;
  std::vector<BrowseOrder> sorts_;  // AddKeyOrder and AttachLocator, at set-up: one per sort order
  int savedBuffer_ = 0;             // the primary buffer saved while a look-up selects
  int currentChoice_ = 0;
  int lastChoice_ = 0, prevChoice_ = 0;  // the highlight before the last event and the one before
  PopupMenu popup_;
  BrowseToolbarTarget toolbarItem_;  // AttachToolbar: the frame toolbar's target for this list
  WindowController* controller_ = nullptr;
  int currentEvent_ = 0;             // the scroll event being carried out
  int itemsToFill_ = 0;              // the rows a fill still has to read
  int lastItems_ = 0;                // the visible row count at the last fill
  ListQueue* listQueue_ = nullptr;
  ListControl* ilc_ = nullptr;
  bool loadPending_ = false, loaded_ = false;
  bool needRefresh_ = false;         // a form's save asks for a refill after the event
  bool endReached_ = false;
  bool readFailed_ = false;
  bool stepLimitsSet_ = false;
  int thumb_ = 50;
};

}  // namespace vesp
