#include "runtime/gui/paged_list.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableWidget>
#include <QWheelEvent>
#include <algorithm>

#include "runtime/gui/events.h"

namespace vrt {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

// Keys that move through the data rather than through the rows on screen.
int scrollEventForKey(int key, Qt::KeyboardModifiers modifiers) {
  const bool ctrl = modifiers & Qt::ControlModifier;
  switch (key) {
    case Qt::Key_Up: return kEventScrollUp;
    case Qt::Key_Down: return kEventScrollDown;
    case Qt::Key_PageUp: return ctrl ? kEventScrollTop : kEventPageUp;
    case Qt::Key_PageDown: return ctrl ? kEventScrollBottom : kEventPageDown;
    case Qt::Key_Home: return kEventScrollTop;
    case Qt::Key_End: return kEventScrollBottom;
    default: return kEventNone;
  }
}

}  // namespace

PagedList::PagedList(const std::vector<ListColumn>& columns, int visibleRows, QWidget* parent)
    : QWidget(parent), visibleRows_(std::max(1, visibleRows)) {
  table_ = new QTableWidget(0, static_cast<int>(columns.size()), this);
  QStringList headers;
  for (const ListColumn& c : columns) headers << qs(c.header);
  table_->setHorizontalHeaderLabels(headers);
  const int charWidth = table_->fontMetrics().averageCharWidth();
  for (int i = 0; i < static_cast<int>(columns.size()); ++i)
    table_->setColumnWidth(i, std::max(3, columns[i].width) * charWidth + 8);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->verticalHeader()->hide();
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  table_->installEventFilter(this);
  table_->viewport()->installEventFilter(this);
  for (const ListColumn& c : columns) rightAligned_.push_back(c.rightAligned);

  bar_ = new QScrollBar(Qt::Vertical, this);
  bar_->setRange(0, 100);
  bar_->setPageStep(10);
  bar_->setTracking(false);
  connect(bar_, &QScrollBar::actionTriggered, this, &PagedList::onThumbAction);
  connect(bar_, &QScrollBar::sliderReleased, this, [this] { userDragThumb(bar_->sliderPosition()); });
  connect(table_, &QTableWidget::itemSelectionChanged, this, [this] {
    if (!settingSelection_) emit highlightMoved(selectedRow());
  });

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(table_);
  layout->addWidget(bar_);
  setFocusProxy(table_);
  fitHeight();
}

void PagedList::fitHeight() {
  const int rowHeight = table_->verticalHeader()->defaultSectionSize();
  const int header = table_->horizontalHeader()->sizeHint().height();
  const int frame = table_->frameWidth() * 2;
  table_->setFixedHeight(header + rowHeight * visibleRows_ + frame);
}

void PagedList::setRows(const std::vector<std::vector<std::string>>& rows) {
  const int keep = selectedRow();
  settingSelection_ = true;
  table_->clearContents();
  table_->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r)
    for (int c = 0; c < std::min(columnCount(), static_cast<int>(rows[r].size())); ++c) {
      auto* item = new QTableWidgetItem(qs(rows[r][c]));
      if (rightAligned_[c])
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      for (const ColumnLook& look : looks_)
        if (look.column == c + 1) {
          item->setForeground(look.foreground);
          if (look.centred) item->setTextAlignment(Qt::AlignCenter);
        }
      table_->setItem(r, c, item);
    }
  settingSelection_ = false;
  setSelectedRow(keep <= rowCount() ? keep : 0);
}

int PagedList::rowCount() const { return table_->rowCount(); }
int PagedList::columnCount() const { return table_->columnCount(); }

std::vector<std::string> PagedList::rowAt(int row) const {
  std::vector<std::string> values;
  if (row < 1 || row > rowCount()) return values;
  for (int c = 0; c < columnCount(); ++c) {
    const QTableWidgetItem* item = table_->item(row - 1, c);
    values.push_back(item ? item->text().toStdString() : std::string());
  }
  return values;
}

std::string PagedList::headerAt(int column) const {
  const QTableWidgetItem* item = table_->horizontalHeaderItem(column - 1);
  return item ? item->text().toStdString() : std::string();
}

int PagedList::selectedRow() const {
  const auto rows = table_->selectionModel()->selectedRows();
  return rows.isEmpty() ? 0 : rows.first().row() + 1;
}

void PagedList::setSelectedRow(int row) {
  settingSelection_ = true;
  if (row >= 1 && row <= rowCount()) {
    table_->selectRow(row - 1);
  } else {
    table_->clearSelection();
  }
  settingSelection_ = false;
}

void PagedList::setVisibleItems(int rows) {
  visibleRows_ = std::max(1, rows);
  fitHeight();
}

void PagedList::setOwnScrolling(bool own) {
  ownScrolling_ = own;
  table_->setVerticalScrollBarPolicy(own ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  setThumbVisible(!own);
}

void PagedList::setThumb(int position) {
  thumb_ = std::clamp(position, 0, 100);
  bar_->setValue(thumb_);
}

bool PagedList::thumbVisible() const { return !bar_->isHidden(); }
void PagedList::setThumbVisible(bool visible) { bar_->setHidden(!visible); }

void PagedList::userHighlight(int row) {
  if (row < 1 || row > rowCount()) return;
  if (row != selectedRow()) {
    setSelectedRow(row);
    emit highlightMoved(row);
  }
}

void PagedList::userDoubleClick(int row) {
  if (row < 1 || row > rowCount()) return;
  userHighlight(row);
  emit mouseKey(kMouseLeft2);
}

void PagedList::userClick(int row, int column) {
  if (row < 1 || row > rowCount()) return;
  clickedColumn_ = std::clamp(column, 1, std::max(1, columnCount()));
  userHighlight(row);
}

void PagedList::setColumnLook(int column, const QColor& foreground, bool centred) {
  looks_.push_back({column, foreground, centred});
}

void PagedList::userRightClick(int row) {
  userHighlight(row);
  emit mouseKey(kMouseRight);
}

void PagedList::userDragThumb(int position) {
  thumb_ = std::clamp(position, 0, 100);
  bar_->setValue(thumb_);
  emit thumbDragged(thumb_);
}

void PagedList::onThumbAction(int action) {
  int event = kEventNone;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: event = kEventScrollUp; break;
    case QAbstractSlider::SliderSingleStepAdd: event = kEventScrollDown; break;
    case QAbstractSlider::SliderPageStepSub: event = kEventPageUp; break;
    case QAbstractSlider::SliderPageStepAdd: event = kEventPageDown; break;
    case QAbstractSlider::SliderToMinimum: event = kEventScrollTop; break;
    case QAbstractSlider::SliderToMaximum: event = kEventScrollBottom; break;
    default: return;  // a drag is reported when the thumb is let go
  }
  bar_->setSliderPosition(thumb_);  // the owner moves the thumb, not the bar itself
  emit scrollRequested(event);
}

int PagedList::rowAtPixel(int y) const {
  const int row = table_->rowAt(y);
  return row < 0 ? 0 : row + 1;
}

bool PagedList::eventFilter(QObject* watched, QEvent* event) {
  if (ownScrolling_ && (event->type() == QEvent::KeyPress || event->type() == QEvent::Wheel)) return false;
  switch (event->type()) {
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (int scroll = scrollEventForKey(key->key(), key->modifiers())) {
        emit scrollRequested(scroll);
        return true;
      }
      return false;
    }
    case QEvent::Wheel: {
      const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
      for (int notches = std::max(1, std::abs(delta) / 120); notches > 0 && delta != 0; --notches)
        emit scrollRequested(delta > 0 ? kEventScrollUp : kEventScrollDown);
      return true;
    }
    case QEvent::MouseButtonDblClick:
      if (watched == table_->viewport()) {
        userDoubleClick(rowAtPixel(static_cast<QMouseEvent*>(event)->position().toPoint().y()));
        return true;
      }
      return false;
    case QEvent::MouseButtonPress:
      if (watched == table_->viewport() && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        const int column = table_->columnAt(static_cast<QMouseEvent*>(event)->position().toPoint().x());
        clickedColumn_ = column < 0 ? 0 : column + 1;
        return false;
      }
      if (watched == table_->viewport() && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        userRightClick(rowAtPixel(static_cast<QMouseEvent*>(event)->position().toPoint().y()));
        return true;
      }
      return false;
    default:
      return false;
  }
}

}  // namespace vrt
