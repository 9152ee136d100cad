#include "runtime/gui/paged_list.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTableWidget>
#include <QWheelEvent>
#include <algorithm>
#include <utility>

#include "runtime/gui/binding.h"
#include "runtime/gui/list_cell_painter.h"
#include "runtime/gui/events.h"
#include "runtime/text/utf8.h"

namespace vrt {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

Qt::Alignment qtAlignment(ColumnAlign align) {
  switch (align) {
    case ColumnAlign::Center: return Qt::AlignHCenter | Qt::AlignVCenter;
    case ColumnAlign::Right: return Qt::AlignRight | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

std::optional<Picture> pictureOf(const std::string& text) {
  return text.empty() ? std::nullopt : Picture::parse(text);
}

// A value through its column's picture, without the padding to the picture's width; a
// value the picture cannot take is shown as given.
std::string formatted(const std::optional<Picture>& picture, const std::string& value) {
  if (!picture) return value;
  std::string out;
  if (picture->kind() == Picture::Kind::Text) {
    out = picture->formatText(value);
  } else if (auto n = parsePlainNumber(value)) {
    out = picture->format(*n);
  } else {
    return value;
  }
  out = std::string(clip(out));
  const auto first = out.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : out.substr(first);
}

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
  int firstValue = 0;
  for (const ListColumn& c : columns) {
    columns_.push_back(Column{c, pictureOf(c.picture), std::nullopt, firstValue});
    firstValue += c.isGroup() ? 2 : 1;
    if (c.isGroup()) lines_ = 2;
  }
  table_ = new QTableWidget(0, static_cast<int>(columns.size()), this);
  QStringList headers;
  for (const ListColumn& c : columns) headers << qs(c.isGroup() ? c.header + "\n" + c.secondLine : c.header);
  table_->setHorizontalHeaderLabels(headers);
  for (int i = 0; i < static_cast<int>(columns.size()); ++i)
    if (QTableWidgetItem* h = table_->horizontalHeaderItem(i)) h->setTextAlignment(qtAlignment(columns[i].alignment()));
  fitColumns();
  if (lines_ > 1) table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().lineSpacing() * lines_ + 8);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->verticalHeader()->hide();
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  table_->setWordWrap(false);
  table_->setTabKeyNavigation(false);  // Tab leaves the list for the next control
  table_->setItemDelegate(new ListCellPainter(table_));
  table_->installEventFilter(this);
  table_->viewport()->installEventFilter(this);
  // Not opaque until its first paint: an opaque widget that is changed before its window's
  // first paint is painted on its own and then once more with the window.
  table_->viewport()->setAutoFillBackground(false);
  table_->horizontalHeader()->viewport()->installEventFilter(this);

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

// A column is as wide as its declared number of characters, and never narrower than its
// heading: a short value under a long heading ("Request #") still shows the whole heading.
void PagedList::fitColumns() {
  const int charWidth = table_->fontMetrics().averageCharWidth();
  const QHeaderView* header = table_->horizontalHeader();
  for (int i = 0; i < columnCount(); ++i) {
    const ListColumn& c = columns_[static_cast<std::size_t>(i)].design;
    table_->setColumnWidth(i, std::max(std::max({3, c.width, c.secondWidth}) * charWidth + 8, header->sectionSizeHint(i)));
  }
}

// The window's font reaches the list after it was built: its rows and columns follow.
void PagedList::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::FontChange) return;
  fitColumns();
  fitHeight();
}

void PagedList::fitHeight() {
  const int rowHeight = table_->verticalHeader()->defaultSectionSize();
  const int header = table_->horizontalHeader()->sizeHint().height();
  const int frame = table_->frameWidth() * 2;
  table_->setFixedHeight(header + rowHeight * visibleRows_ + frame);
}

std::string PagedList::shown(int column, const std::vector<std::string>& row) const {
  const Column& c = columns_[column];
  auto value = [&](int i) { return i < static_cast<int>(row.size()) ? row[i] : std::string(); };
  std::string text = formatted(c.picture, value(c.firstValue));
  if (c.design.isGroup()) text += "\n" + value(c.firstValue + 1);
  return text;
}

void PagedList::setRows(const std::vector<std::vector<std::string>>& rows) {
  const int keep = selectedRow();
  settingSelection_ = true;
  values_ = rows;
  table_->clearContents();
  table_->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r)
    for (int c = 0; c < columnCount(); ++c) {
      auto* item = new QTableWidgetItem(qs(shown(c, rows[r])));
      item->setTextAlignment(qtAlignment(columns_[c].design.alignment()));
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

void PagedList::setColumnLook(int column, const QColor& foreground, bool centred) {
  looks_.push_back({column, foreground, centred});
}

int PagedList::rowCount() const { return table_->rowCount(); }
int PagedList::columnCount() const { return table_->columnCount(); }

std::vector<std::string> PagedList::rowAt(int row) const {
  if (row < 1 || row > static_cast<int>(values_.size())) return {};
  std::vector<std::string> values = values_[row - 1];
  const std::size_t wanted = columns_.empty() ? 0 : columns_.back().firstValue + (columns_.back().design.isGroup() ? 2 : 1);
  values.resize(std::max(values.size(), wanted));
  return values;
}

std::string PagedList::cellText(int row, int column) const {
  const QTableWidgetItem* item = table_->item(row - 1, column - 1);
  return item ? item->text().toStdString() : std::string();
}

std::vector<std::string> PagedList::textsOf(const std::vector<std::string>& values, int column) const {
  if (column < 1 || column > columnCount()) return {};
  const Column& c = columns_[static_cast<std::size_t>(column - 1)];
  auto value = [&](int i) { return i < static_cast<int>(values.size()) ? values[static_cast<std::size_t>(i)] : std::string(); };
  std::vector<std::string> texts{formatted(c.picture, value(c.firstValue))};
  if (c.design.isGroup()) texts.push_back(value(c.firstValue + 1));
  return texts;
}

std::vector<bool> PagedList::numbersOf(int column) const {
  if (column < 1 || column > columnCount()) return {};
  const Column& c = columns_[static_cast<std::size_t>(column - 1)];
  std::vector<bool> numbers{c.picture && c.picture->kind() != Picture::Kind::Text};
  if (c.design.isGroup()) numbers.push_back(false);
  return numbers;
}

std::vector<std::string> PagedList::headingsOf(int column) const {
  if (column < 1 || column > columnCount()) return {};
  const ListColumn& design = columns_[static_cast<std::size_t>(column - 1)].design;
  if (design.isGroup()) return {design.header, design.secondLine};
  return {design.header};
}

std::string PagedList::headerAt(int column) const {
  const QTableWidgetItem* item = table_->horizontalHeaderItem(column - 1);
  return item ? item->text().toStdString() : std::string();
}

void PagedList::setHeaderAt(int column, std::string_view text) {
  if (QTableWidgetItem* item = table_->horizontalHeaderItem(column - 1)) item->setText(qs(std::string(text)));
  fitColumns();
}

ColumnAlign PagedList::alignmentOf(int column) const {
  return column >= 1 && column <= columnCount() ? columns_[column - 1].design.alignment() : ColumnAlign::Left;
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

void PagedList::userClick(int row, int column) {
  lastClick_ = ListClick{row >= 1 && row <= rowCount() ? row : 0, column, false, kMouseLeft};
  userHighlight(row);
  emit mouseKey(kMouseLeft);
}

void PagedList::userDoubleClick(int row, int column) {
  if (row < 1 || row > rowCount()) return;
  lastClick_ = ListClick{row, column, false, kMouseLeft2};
  userHighlight(row);
  emit mouseKey(kMouseLeft2);
}

void PagedList::userRightClick(int row, int column) {
  lastClick_ = ListClick{row >= 1 && row <= rowCount() ? row : 0, column, false, kMouseRight};
  userHighlight(row);
  emit mouseKey(kMouseRight);
}

void PagedList::userClickHeader(int column, int key) {
  lastClick_ = ListClick{0, column, true, key};
  emit mouseKey(key);
}

void PagedList::userDragThumb(int position) {
  thumb_ = std::clamp(position, 0, 100);
  bar_->setValue(thumb_);
  emit thumbDragged(thumb_);
}

void PagedList::userDropRow(int from, int to) {
  if (from < 1 || from > rowCount() || to < 1 || to > rowCount()) return;
  userHighlight(from);
  lastDrop_ = ListDrop{from, to};
  emit rowDropped();
}

QWidget* PagedList::rowArea() const { return table_->viewport(); }

QPoint PagedList::rowCentre(int row) const {
  if (row < 1 || row > rowCount()) return {-1, -1};
  const QRect cell = table_->visualRect(table_->model()->index(row - 1, 0));
  return cell.center();
}

// A press on a row, a move past the drag distance and a release on another row: the row
// is dropped there. Below the last row counts as on it.
bool PagedList::onDrag(QEvent* event) {
  auto* mouse = static_cast<QMouseEvent*>(event);
  const QPoint at = mouse->position().toPoint();
  if (event->type() == QEvent::MouseMove) {
    if (!rowDragging_ || pressedRow_ == 0 || !(mouse->buttons() & Qt::LeftButton)) return false;
    if (!dragging_ && (at - pressedAt_).manhattanLength() >= QApplication::startDragDistance()) {
      dragging_ = true;
      table_->viewport()->setCursor(Qt::ClosedHandCursor);
    }
    return dragging_;
  }
  // The button was released.
  const int from = std::exchange(pressedRow_, 0);
  if (!std::exchange(dragging_, false)) return false;
  table_->viewport()->unsetCursor();
  int to = table_->rowAt(at.y()) + 1;
  if (to == 0 && at.y() >= 0) to = rowCount();
  if (to >= 1 && to != from) userDropRow(from, to);
  return true;
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

// Clicks are taken from Qt (which would select cells or columns on its own) and
// carried out as the user operations above, so that robot and mouse do the same.
bool PagedList::onMouse(QObject* watched, QEvent* event) {
  auto* mouse = static_cast<QMouseEvent*>(event);
  const QPoint at = mouse->position().toPoint();
  const bool doubled = event->type() == QEvent::MouseButtonDblClick;
  if (mouse->button() != Qt::LeftButton && mouse->button() != Qt::RightButton) return false;
  const bool right = mouse->button() == Qt::RightButton;
  table_->setFocus(Qt::MouseFocusReason);
  if (watched == table_->horizontalHeader()->viewport()) {
    userClickHeader(table_->horizontalHeader()->logicalIndexAt(at) + 1, right ? kMouseRight : doubled ? kMouseLeft2 : kMouseLeft);
    return true;
  }
  const int row = table_->rowAt(at.y()) + 1;
  const int column = table_->columnAt(at.x()) + 1;
  if (right) {
    if (!doubled) userRightClick(row, column);
  } else if (doubled) {
    userDoubleClick(row, column);
  } else {
    pressedRow_ = row >= 1 && row <= rowCount() ? row : 0;
    pressedAt_ = at;
    userClick(row, column);
  }
  return true;
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
    case QEvent::Paint:
      if (watched == table_->viewport() && !table_->viewport()->autoFillBackground()) {
        QPainter(table_->viewport())
            .fillRect(static_cast<QPaintEvent*>(event)->rect(), table_->viewport()->palette().brush(QPalette::Base));
        table_->viewport()->setAutoFillBackground(true);
      }
      return false;
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
      return watched == table_->viewport() && onDrag(event);
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      return (watched == table_->viewport() || watched == table_->horizontalHeader()->viewport()) &&
             onMouse(watched, event);
    default:
      return false;
  }
}

}  // namespace vrt
