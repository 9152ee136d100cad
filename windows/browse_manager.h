#pragma once
// The browse manager: a view manager that shows its records in a list one page at a time.
// It holds only the rows of the visible page (the list queue), reads on from either end of
// it when the user scrolls, and maps the list's thumb to key values through the sort
// order's step object. Every page read is a keyset read of the view; nothing counts or
// scans the table.
//
// Reading results and validation codes are those of ViewManager.
#include <memory>
#include <vector>

#include "records/field_pairs.h"
#include "records/view_manager.h"
#include "windows/list_queue.h"
#include "windows/thumb_steps.h"

namespace vesp {

class BrowseManager : public ViewManager {
 public:
  // The browse's part of a sort order, beside the view manager's own entry.
  struct BrowseOrder {
    FieldPairs RESETS;                  // a change of these refills the list
    std::unique_ptr<ThumbStep> THUMB;   // maps the thumb to the free element, or none
  };
  // How a fill starts: from the highlighted row's record, or where the view stands.
  static constexpr int kFromHighlight = 1, kFromView = 2;
  static constexpr int kUpward = 1, kDownward = 2;

  // Members, with the names the class gives them (those the paging uses).
  int CURRENTCHOICE = 0;
  int CURRENTEVENT = 0;
  bool HASTHUMB = true;
  int ITEMSTOFILL = 0;
  int LASTITEMS = 0;
  ListQueue* LISTQUEUE = nullptr;
  ListControl* ILC = nullptr;
  FieldPairs FIELDS;  // record field (left) and its list column, in column order
  bool LOADPENDING = false, LOADED = false, NEEDREFRESH = false;
  bool RETAINROW = true;
  std::vector<BrowseOrder> SORT;

  void Setup(ListControl& list, vrt::View& view, ListQueue& queue, RelationManager& primary);
  int AddKeyOrder(std::unique_ptr<ThumbStep> step, int key);

  virtual void FillRows(int direction);
  bool SelectOrder(int number) override;
  virtual void RefreshAtKeyValue();
  virtual void RecomputeThumb();
  virtual void FillPage(int mode);
  virtual void ScrollToEnd(int event);
  virtual void ScrollByRow(int event);
  virtual void ScrollByPage(int event);
  virtual void StoreRow(ListRow& row);
  virtual void OnScroll(int event);
  // The thumb dragged to `position` (0 to 100); returns the scroll event to post instead,
  // 0 when the list was refilled from the step object's value.
  virtual int OnThumbDrag(int position);
  virtual void LoadRowIntoRecord();
  virtual void RefreshControls();
  int ReadNext() override;
  int ReadPrevious() override;
  bool RefreshLimits() override;

  // Whether the last fetch stopped at the end of the data; whether a read failed (the
  // window closes after message 1).
  bool atEnd() const { return endReached_; }
  bool readFailed() const { return readFailed_; }
  int thumb() const { return thumb_; }
  // Whether the free element runs downwards in the current order text (which a screen may
  // have replaced), not only in its key.
  bool FreeElementDescending();

 private:
  bool freeElementValue(vrt::expr::Value& value);
  void setFreeElement(const vrt::expr::Value& value);
  void locate(const std::string& target);
  void updateThumb(int event);
  void componentsAfterFreeElementToStart();

  bool endReached_ = false;
  bool readFailed_ = false;
  bool stepLimitsSet_ = false;
  int thumb_ = 50;
};

}  // namespace vesp
