#include "runtime/gui/list_cell_painter.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QStyle>

namespace vrt {

namespace {

// Enough for many pages of several lists; beyond it the oldest pages are long gone.
constexpr qsizetype kMostShaped = 4096;

// A font's own hash and equality, not its key text: the text is built anew on every call
// and was a tenth of a list's paint.
struct ShapedKey {
  QFont font;
  int width;
  QString line;
  bool operator==(const ShapedKey& o) const { return width == o.width && line == o.line && font == o.font; }
};

size_t qHash(const ShapedKey& k, size_t seed = 0) noexcept { return qHashMulti(seed, k.font, k.width, k.line); }

}  // namespace

const QStaticText& ListCellPainter::shaped(const QString& line, int width, const QFont& font) {
  static QHash<ShapedKey, QStaticText> shaped_;
  ShapedKey key{font, width, line};
  if (auto it = shaped_.constFind(key); it != shaped_.constEnd()) return *it;
  if (shaped_.size() >= kMostShaped) shaped_.clear();
  QStaticText text(line);
  text.setTextFormat(Qt::PlainText);
  text.prepare(QTransform(), font);
  if (text.size().width() > width) {
    text.setText(QFontMetrics(font).elidedText(line, Qt::ElideRight, width));
    text.prepare(QTransform(), font);
  }
  return *shaped_.insert(std::move(key), text);
}

void ListCellPainter::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem opt(option);
  initStyleOption(&opt, index);
  const QString text = opt.text;
  opt.text.clear();
  const QWidget* widget = opt.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);  // panel, selection, focus
  if (text.isEmpty()) return;

  // The cell less the style's text margin at either side; the lines are placed in the cell
  // itself (the style's text rectangle is laid out for a text we no longer hand it).
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  const QRect area = opt.rect.adjusted(margin, 0, -margin, 0);
  const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                     : (opt.state & QStyle::State_Active) ? QPalette::Normal
                                                                          : QPalette::Inactive;
  const bool selected = opt.state & QStyle::State_Selected;
  // The view hands a cell's line breaks over as line separators.
  QString broken = text;
  broken.replace(QChar::LineSeparator, QChar('\n'));
  const QStringList lines = broken.split(QChar('\n'));
  const int lineHeight = QFontMetrics(opt.font).height();
  const int height = lineHeight * static_cast<int>(lines.size());
  int y = area.top();
  if (opt.displayAlignment & Qt::AlignVCenter) y += (area.height() - height) / 2;
  else if (opt.displayAlignment & Qt::AlignBottom) y = area.bottom() - height + 1;

  painter->save();
  painter->setClipRect(area);
  painter->setFont(opt.font);
  painter->setPen(opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
  for (const QString& line : lines) {
    const QStaticText& shown = shaped(line, area.width(), opt.font);
    qreal x = area.left();
    if (opt.displayAlignment & Qt::AlignRight) x = area.right() + 1 - shown.size().width();
    else if (opt.displayAlignment & Qt::AlignHCenter) x = area.left() + (area.width() - shown.size().width()) / 2;
    painter->drawStaticText(QPointF(x, y), shown);
    y += lineHeight;
  }
  painter->restore();
}

}  // namespace vrt
