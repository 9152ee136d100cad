#include "runtime/print/report_layout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QTextLayout>
#include <algorithm>

namespace vrt {

namespace {

constexpr double kCellGap = 4;

// Text is measured on a device of 72 dots per inch, so that a font's points are page points.
const QImage& pointDevice() {
  static const QImage device = [] {
    QImage image(1, 1, QImage::Format_RGB32);
    image.setDotsPerMeterX(2835);
    image.setDotsPerMeterY(2835);
    return image;
  }();
  return device;
}

QFont reportFont(double size, bool bold = false) {
  QFont font(reportFontFamily());
  font.setPointSizeF(size);
  font.setBold(bold);
  return font;
}

PageItem textItem(QRectF rect, QString text, double size, bool bold = false, int align = Qt::AlignLeft) {
  PageItem i;
  i.kind = PageItem::Text;
  i.rect = rect;
  i.text = std::move(text);
  i.fontSize = size;
  i.bold = bold;
  i.align = align | Qt::AlignTop;
  return i;
}

}  // namespace

QString PageNumberText(int page) { return "Page " + QString::number(page).rightJustified(3, ' '); }

ReportLayout::ReportLayout(ReportLayoutDesign design, PageStore& pages) : design_(std::move(design)), pages_(pages) {
  columns_ = design_.columns;
  placeColumns();
  lineHeight_ = QFontMetricsF(reportFont(design_.detailSize), &pointDevice()).lineSpacing();
}

void ReportLayout::placeColumns() {
  x_.clear();
  widths_.clear();
  double total = 0;
  for (const ReportColumn& c : columns_) total += std::max(1.0, c.width);
  const double printable = design_.pageWidth - 2 * design_.margin;
  double x = design_.margin;
  for (const ReportColumn& c : columns_) {
    const double w = printable * std::max(1.0, c.width) / std::max(1.0, total);
    x_.push_back(x);
    widths_.push_back(w);
    x += w;
  }
}

std::vector<int> ReportLayout::aligns() const {
  std::vector<int> out;
  for (const ReportColumn& c : columns_) out.push_back(c.align);
  return out;
}

std::vector<QString> ReportLayout::wrap(const QString& text, double width, bool bold) const {
  QString flat = text;
  flat.remove('\r');
  flat.replace('\n', QChar::LineSeparator);
  while (flat.endsWith(' ') || flat.endsWith(QChar::LineSeparator)) flat.chop(1);
  if (flat.isEmpty()) return {};
  QTextLayout layout(flat, reportFont(design_.detailSize, bold), const_cast<QImage*>(&pointDevice()));
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  std::vector<QString> lines;
  layout.beginLayout();
  const double inner = std::max(8.0, width - kCellGap);
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(inner);
    QString part = flat.mid(line.textStart(), line.textLength());
    part.remove(QChar::LineSeparator);
    while (part.endsWith(' ')) part.chop(1);
    lines.push_back(part);
  }
  layout.endLayout();
  return lines;
}

double ReportLayout::captionHeight() const { return (design_.headerSize + 2) * 1.5; }
// Room for titles of two lines: a long title wraps inside its column.
double ReportLayout::titleBoxHeight() const { return design_.headerSize * 3.2; }

void ReportLayout::sectionHead(const QString& caption) {
  const double m = design_.margin, w = design_.pageWidth - 2 * m;
  if (!caption.isEmpty()) {
    page_.items.push_back(textItem({m, y_, w, captionHeight()}, caption, design_.headerSize + 2, true));
    y_ += captionHeight();
  }
  if (columns_.empty()) return;
  const double boxHeight = titleBoxHeight();
  page_.items.push_back({PageItem::Box, QRectF(m, y_, w, boxHeight), {}, 0, false, 0});
  for (std::size_t c = 0; c < columns_.size(); ++c)
    page_.items.push_back(textItem({x_[c] + kCellGap / 2, y_ + 2, widths_[c] - kCellGap, boxHeight - 4},
                                   columns_[c].title, design_.headerSize, true, columns_[c].align | Qt::TextWordWrap));
  y_ += boxHeight + 4;
}

void ReportLayout::beginPage() {
  page_ = RecordedPage{design_.pageWidth, design_.pageHeight, {}};
  ++pageNumber_;
  const double m = design_.margin, w = design_.pageWidth - 2 * m;
  const double titleHeight = design_.titleSize * 1.6;
  page_.items.push_back(textItem({m, m, w, titleHeight}, design_.title, design_.titleSize, true, Qt::AlignHCenter));
  y_ = m + titleHeight + 4;
  detailBottom_ = design_.pageHeight - m - design_.footerSize * 3;
  pageOpen_ = true;
  // A list that goes on from the page before keeps its titles.
  sectionHead(section_.isEmpty() ? QString() : section_ + " (continued)");
  detailTop_ = y_;
}

bool ReportLayout::endPage() {
  const double m = design_.margin, w = design_.pageWidth - 2 * m;
  const double top = design_.pageHeight - m - design_.footerSize * 2;
  page_.items.push_back({PageItem::Line, QRectF(QPointF(m, top - 3), QPointF(m + w, top - 3)), {}, 0, false, 0});
  const double third = w / 3, h = design_.footerSize * 2;
  page_.items.push_back(textItem({m, top, third, h}, "Date: " + design_.dateStamp, design_.footerSize));
  page_.items.push_back(textItem({m + third, top, third, h}, "Time: " + design_.timeStamp, design_.footerSize, false,
                                 Qt::AlignHCenter));
  PageItem number = textItem({m + 2 * third, top, third, h}, PageNumberText(pageNumber_), design_.footerSize, false,
                             Qt::AlignRight);
  number.fixedPitch = true;
  page_.items.push_back(number);
  pageOpen_ = false;
  return pages_.add(page_);
}

bool ReportLayout::printCells(const std::vector<QString>& values, const std::vector<double>& x,
                              const std::vector<double>& widths, const std::vector<int>& align,
                              const std::vector<bool>& bold) {
  if (!pages_.usable()) return false;
  if (!pageOpen_) beginPage();
  std::vector<std::vector<QString>> cells(x.size());
  std::size_t lines = 1;
  for (std::size_t c = 0; c < cells.size(); ++c) {
    if (c < values.size()) cells[c] = wrap(values[c], widths[c], bold[c]);
    lines = std::max(lines, cells[c].size());
  }
  const auto fitting = [&] { return static_cast<std::size_t>(std::max(0.0, (detailBottom_ - y_) / lineHeight_ + 1e-6)); };
  // A record that would fit on an empty page is not split.
  if (fitting() < lines && y_ > detailTop_) {
    const std::size_t wholePage = static_cast<std::size_t>((detailBottom_ - detailTop_) / lineHeight_ + 1e-6);
    if (lines <= wholePage) {
      if (!endPage()) return false;
      beginPage();
    }
  }
  for (std::size_t line = 0; line < lines; ++line) {
    if (fitting() == 0) {
      if (!endPage()) return false;
      beginPage();
    }
    for (std::size_t c = 0; c < cells.size(); ++c) {
      if (line >= cells[c].size() || cells[c][line].isEmpty()) continue;
      page_.items.push_back(textItem({x[c] + kCellGap / 2, y_, widths[c] - kCellGap, lineHeight_}, cells[c][line],
                                     design_.detailSize, bold[c], align[c]));
    }
    y_ += lineHeight_;
  }
  y_ += lineHeight_ * 0.35;  // air between records
  return true;
}

bool ReportLayout::printDetail(const std::vector<QString>& values) {
  if (!printCells(values, x_, widths_, aligns(), std::vector<bool>(x_.size(), false))) return false;
  ++detailLines_;
  return true;
}

bool ReportLayout::printField(const QString& label, const QString& value) {
  const double m = design_.margin, w = design_.pageWidth - 2 * m, labelWidth = std::min(120.0, w / 3);
  return printCells({label, value}, {m, m + labelWidth}, {labelWidth, w - labelWidth},
                    {int(Qt::AlignLeft), int(Qt::AlignLeft)}, {true, false});
}

bool ReportLayout::printNote(const QString& text, int fromColumn) {
  if (!pageOpen_) beginPage();
  if (x_.empty()) return printField({}, text);
  const std::size_t from = static_cast<std::size_t>(std::clamp(fromColumn, 0, static_cast<int>(x_.size()) - 1));
  const double right = x_.back() + widths_.back();
  return printCells({text}, {x_[from]}, {right - x_[from]}, {int(Qt::AlignLeft)}, {false});
}

bool ReportLayout::beginSection(const QString& caption, std::vector<ReportColumn> columns) {
  if (!pages_.usable()) return false;
  if (!pageOpen_) beginPage();
  const double head = (caption.isEmpty() ? 0 : captionHeight()) + (columns.empty() ? 0 : titleBoxHeight() + 4);
  // A caption alone at the foot of a page helps nobody.
  if (y_ + lineHeight_ * 0.6 + head + 2 * lineHeight_ > detailBottom_ && y_ > detailTop_) {
    section_.clear();
    columns_.clear();
    if (!endPage()) return false;
    beginPage();
  } else if (y_ > detailTop_) {
    y_ += lineHeight_ * 0.6;
  }
  section_ = caption;
  columns_ = std::move(columns);
  placeColumns();
  sectionHead(section_);
  return true;
}

bool ReportLayout::printTotal(const std::vector<QString>& values) {
  if (!pages_.usable()) return false;
  if (!pageOpen_) beginPage();
  // The rule stays with its total: both go to the next page when the total would.
  if (y_ + lineHeight_ + 3 > detailBottom_) {
    if (!endPage()) return false;
    beginPage();
  }
  const double m = design_.margin, w = design_.pageWidth - 2 * m;
  page_.items.push_back({PageItem::Line, QRectF(QPointF(m, y_), QPointF(m + w, y_)), {}, 0, false, 0});
  y_ += 3;
  return printCells(values, x_, widths_, aligns(), std::vector<bool>(x_.size(), true));
}

bool ReportLayout::printDrawing(double height, const Drawing& draw) {
  if (!pages_.usable()) return false;
  if (!pageOpen_) beginPage();
  if (y_ + height > detailBottom_ && y_ > detailTop_) {
    if (!endPage()) return false;
    beginPage();
  }
  const double m = design_.margin;
  const QRectF area(m, y_, design_.pageWidth - 2 * m, std::min(height, detailBottom_ - y_));
  if (draw) draw(page_.items, area);
  y_ = area.bottom() + lineHeight_ * 0.6;
  return true;
}

bool ReportLayout::finish() {
  if (!pageOpen_ && pageNumber_ == 0) beginPage();
  return pageOpen_ ? endPage() : pages_.usable();
}

}  // namespace vrt
