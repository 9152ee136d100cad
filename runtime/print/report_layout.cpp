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
  double total = 0;
  for (const ReportColumn& c : design_.columns) total += std::max(1.0, c.width);
  const double printable = design_.pageWidth - 2 * design_.margin;
  double x = design_.margin;
  for (const ReportColumn& c : design_.columns) {
    const double w = printable * std::max(1.0, c.width) / std::max(1.0, total);
    x_.push_back(x);
    widths_.push_back(w);
    x += w;
  }
  lineHeight_ = QFontMetricsF(reportFont(design_.detailSize), &pointDevice()).lineSpacing();
}

std::vector<QString> ReportLayout::wrap(const QString& text, double width) const {
  QString flat = text;
  flat.remove('\r');
  flat.replace('\n', QChar::LineSeparator);
  while (flat.endsWith(' ') || flat.endsWith(QChar::LineSeparator)) flat.chop(1);
  if (flat.isEmpty()) return {};
  QTextLayout layout(flat, reportFont(design_.detailSize), const_cast<QImage*>(&pointDevice()));
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

void ReportLayout::beginPage() {
  page_ = RecordedPage{design_.pageWidth, design_.pageHeight, {}};
  ++pageNumber_;
  const double m = design_.margin, w = design_.pageWidth - 2 * m;
  const double titleHeight = design_.titleSize * 1.6;
  page_.items.push_back(textItem({m, m, w, titleHeight}, design_.title, design_.titleSize, true, Qt::AlignHCenter));
  // Room for titles of two lines: a long title wraps inside its column.
  const double boxTop = m + titleHeight + 4, boxHeight = design_.headerSize * 3.2;
  page_.items.push_back({PageItem::Box, QRectF(m, boxTop, w, boxHeight), {}, 0, false, 0});
  for (std::size_t c = 0; c < design_.columns.size(); ++c)
    page_.items.push_back(textItem({x_[c] + kCellGap / 2, boxTop + 2, widths_[c] - kCellGap, boxHeight - 4},
                                   design_.columns[c].title, design_.headerSize, true,
                                   design_.columns[c].align | Qt::TextWordWrap));
  detailTop_ = y_ = boxTop + boxHeight + 4;
  detailBottom_ = design_.pageHeight - m - design_.footerSize * 3;
  pageOpen_ = true;
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

bool ReportLayout::printDetail(const std::vector<QString>& values) {
  if (!pages_.usable()) return false;
  if (!pageOpen_) beginPage();
  std::vector<std::vector<QString>> cells(design_.columns.size());
  std::size_t lines = 1;
  for (std::size_t c = 0; c < cells.size(); ++c) {
    if (c < values.size()) cells[c] = wrap(values[c], widths_[c]);
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
      page_.items.push_back(textItem({x_[c] + kCellGap / 2, y_, widths_[c] - kCellGap, lineHeight_}, cells[c][line],
                                     design_.detailSize, false, design_.columns[c].align));
    }
    y_ += lineHeight_;
  }
  y_ += lineHeight_ * 0.35;  // air between records
  ++detailLines_;
  return true;
}

bool ReportLayout::finish() {
  if (!pageOpen_ && pageNumber_ == 0) beginPage();
  return pageOpen_ ? endPage() : pages_.usable();
}

}  // namespace vrt
