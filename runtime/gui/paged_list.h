#pragma once
// The list control that browses drive: it shows only the rows of the page its owner
// gives it, never scrolls by itself, and carries its own thumb (0-100) that the owner
// sets. Keys, the wheel and the thumb become scroll requests for the owner.
#include <QColor>
#include <QWidget>
#include <string>
#include <vector>

#include "runtime/gui/window_design.h"

class QScrollBar;
class QTableWidget;

namespace vrt {

class PagedList : public QWidget {
  Q_OBJECT

 public:
  PagedList(const std::vector<ListColumn>& columns, int visibleRows, QWidget* parent = nullptr);

  // The page. Rows beyond the visible count are kept but not shown.
  void setRows(const std::vector<std::vector<std::string>>& rows);
  int rowCount() const;
  std::vector<std::string> rowAt(int row) const;  // 1-based; empty when out of range
  std::string headerAt(int column) const;         // 1-based
  int columnCount() const;

  // The highlighted row, 1-based; 0 when none. Setting it sends no signal.
  int selectedRow() const;
  void setSelectedRow(int row);

  int visibleItems() const { return visibleRows_; }
  void setVisibleItems(int rows);

  // A list that holds all its rows scrolls them itself: no thumb, no scroll requests.
  void setOwnScrolling(bool own);
  bool ownScrolling() const { return ownScrolling_; }

  int thumb() const { return thumb_; }
  void setThumb(int position);
  bool thumbVisible() const;
  void setThumbVisible(bool visible);

  // What the user does, as the robot would too.
  void userHighlight(int row);      // a click on a row
  void userDoubleClick(int row);
  void userRightClick(int row);
  void userDragThumb(int position);
  // A single click on a row's cell: highlights the row and remembers the column.
  void userClick(int row, int column);
  // The column (1-based) of the last click on a row; 0 before any.
  int clickedColumn() const { return clickedColumn_; }
  // Text colour and centring of one column's cells, for the rows set from now on.
  void setColumnLook(int column, const QColor& foreground, bool centred);

 signals:
  void scrollRequested(int event);  // kEventScrollUp ... kEventScrollBottom
  void thumbDragged(int position);
  void highlightMoved(int row);
  void mouseKey(int key);  // kMouseLeft2 or kMouseRight, after the row under it is highlighted

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void fitHeight();
  int rowAtPixel(int y) const;
  void onThumbAction(int action);

  QTableWidget* table_;
  QScrollBar* bar_;
  std::vector<bool> rightAligned_;
  int visibleRows_;
  int thumb_ = 0;
  bool settingSelection_ = false;
  bool ownScrolling_ = false;
  int clickedColumn_ = 0;
  struct ColumnLook {
    int column;
    QColor foreground;
    bool centred;
  };
  std::vector<ColumnLook> looks_;
};

}  // namespace vrt
