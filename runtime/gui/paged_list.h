#pragma once
// The list control that browses drive: it shows only the rows of the page its owner
// gives it, never scrolls by itself, and carries its own thumb (0-100) that the owner
// sets. Keys, the wheel and the thumb become scroll requests for the owner. Columns
// format their values through their pictures and align them; a group column shows two
// values one under the other. The list remembers where the last click hit.
#include <QColor>
#include <QWidget>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/gui/events.h"
#include "runtime/gui/window_design.h"
#include "runtime/text/picture.h"

class QScrollBar;
class QTableWidget;

namespace vrt {

// Where a mouse click hit: 1-based row and column (0 when outside every row or column);
// `header` when it hit the column headings (row 0).
struct ListClick {
  int row = 0;
  int column = 0;
  bool header = false;
  int key = 0;  // kMouseLeft, kMouseLeft2 or kMouseRight
};

// A row dragged onto another: 1-based rows of the page.
struct ListDrop {
  int from = 0;
  int to = 0;
};

class PagedList : public QWidget {
  Q_OBJECT

 public:
  PagedList(const std::vector<ListColumn>& columns, int visibleRows, QWidget* parent = nullptr);

  // The page. Rows beyond the visible count are kept but not shown. Each row holds one
  // value per column, two for a group column.
  void setRows(const std::vector<std::vector<std::string>>& rows);
  int rowCount() const;
  std::vector<std::string> rowAt(int row) const;  // 1-based, the values as given; empty when out of range
  std::string cellText(int row, int column) const;  // as shown: formatted, a group's lines joined by "\n"
  std::string headerAt(int column) const;         // 1-based; a group's two headings joined by "\n"
  void setHeaderAt(int column, std::string_view text);  // one list showing different things by turns
  int columnCount() const;
  // A row that need not be on the page, as its cells would show it, and a column's
  // headings: one text per line of the column (two for a group column).
  std::vector<std::string> textsOf(const std::vector<std::string>& values, int column) const;
  std::vector<std::string> headingsOf(int column) const;
  // For each text of textsOf(column): true where it is a number, date or time shown through
  // the column's picture, false where it is text.
  std::vector<bool> numbersOf(int column) const;
  ColumnAlign alignmentOf(int column) const;
  // Lines per row: 2 when a group column is declared.
  int linesPerRow() const { return lines_; }

  const ListClick& lastClick() const { return lastClick_; }
  int clickedColumn() const { return lastClick_.column; }
  // Whether a row may be dragged onto another with the mouse; the owner moves the records,
  // the list itself changes nothing. Off unless the owner turns it on.
  void setRowDragging(bool on) { rowDragging_ = on; }
  bool rowDragging() const { return rowDragging_; }
  const ListDrop& lastDrop() const { return lastDrop_; }
  // The centre of a row in the coordinates of the widget that takes the rows' mouse
  // events (rowArea()); for a robot that drags with the mouse.
  QPoint rowCentre(int row) const;
  QWidget* rowArea() const;
  // A column drawn in its own colour (and centred), over whatever the column says.
  void setColumnLook(int column, const QColor& foreground, bool centred);

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
  void userHighlight(int row);  // the highlight moved to a row (keys, or a click)
  void userClick(int row, int column = 1);
  void userDoubleClick(int row, int column = 1);
  void userRightClick(int row, int column = 1);
  void userClickHeader(int column, int key = kMouseLeft);
  void userDragThumb(int position);
  void userDropRow(int from, int to);  // highlights `from` first

 signals:
  void scrollRequested(int event);  // kEventScrollUp ... kEventScrollBottom
  void thumbDragged(int position);
  void highlightMoved(int row);
  // A click (kMouseLeft, kMouseLeft2, kMouseRight), after the row under it is highlighted;
  // lastClick() tells where it hit.
  void mouseKey(int key);
  void rowDropped();  // lastDrop() tells which

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void fitColumns();
  void fitHeight();
  void onThumbAction(int action);
  bool onMouse(QObject* watched, QEvent* event);
  bool onDrag(QEvent* event);
  std::string shown(int column, const std::vector<std::string>& row) const;

  struct Column {
    ListColumn design;
    std::optional<Picture> picture, secondPicture;
    int firstValue = 0;  // index of its first value in a row
  };

  QTableWidget* table_;
  QScrollBar* bar_;
  std::vector<Column> columns_;
  std::vector<std::vector<std::string>> values_;
  ListClick lastClick_;
  struct ColumnLook {
    int column;
    QColor foreground;
    bool centred;
  };
  std::vector<ColumnLook> looks_;
  int lines_ = 1;
  int visibleRows_;
  int thumb_ = 0;
  bool settingSelection_ = false;
  bool ownScrolling_ = false;
  bool rowDragging_ = false;
  bool dragging_ = false;  // a row is being dragged now
  int pressedRow_ = 0;     // the row the left button went down on, 0 when none
  QPoint pressedAt_;
  ListDrop lastDrop_;
};

}  // namespace vrt
