#include "runtime/print/line_chart.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <algorithm>
#include <cmath>

namespace vrt {

namespace {

constexpr double kLabelSize = 7, kTitleSize = 8, kMarkSize = 6;

// Text measured on a device of 72 dots per inch: a font's points are page points.
double textWidth(const QString& text, double size, bool bold = false) {
  static const QImage device = [] {
    QImage image(1, 1, QImage::Format_RGB32);
    image.setDotsPerMeterX(2835);
    image.setDotsPerMeterY(2835);
    return image;
  }();
  QFont font(reportFontFamily());
  font.setPointSizeF(size);
  font.setBold(bold);
  return QFontMetricsF(font, &device).horizontalAdvance(text);
}

PageItem text(const QRectF& rect, const QString& value, double size, int align, bool bold = false,
              QColor color = Qt::black) {
  PageItem i;
  i.kind = PageItem::Text;
  i.rect = rect;
  i.text = value;
  i.fontSize = size;
  i.bold = bold;
  i.align = align | Qt::AlignTop;
  i.color = color;
  return i;
}

PageItem line(QPointF from, QPointF to, QColor color = Qt::black, double width = 0.75) {
  PageItem i;
  i.kind = PageItem::Line;
  i.rect = QRectF(from, to);
  i.color = color;
  i.penWidth = width;
  return i;
}

PageItem dot(QPointF at, double diameter, QColor color) {
  PageItem i;
  i.kind = PageItem::Dot;
  i.rect = QRectF(at.x() - diameter / 2, at.y() - diameter / 2, diameter, diameter);
  i.color = color;
  i.penWidth = 0.3;
  return i;
}

}  // namespace

std::vector<double> chartTicks(double low, double high, int most) {
  if (low > 0) low = 0;
  if (high <= low) high = low + 1;
  most = std::max(2, most);
  // The step is 1, 2 or 5 times a power of ten: the smallest that needs no more than `most`.
  const double rough = (high - low) / (most - 1);
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  double step = power;
  for (double f : {1.0, 2.0, 5.0, 10.0})
    if (f * power >= rough) {
      step = f * power;
      break;
    }
  std::vector<double> ticks;
  for (double v = std::floor(low / step) * step; ticks.size() < static_cast<std::size_t>(most) + 2; v += step) {
    ticks.push_back(std::abs(v) < step * 1e-9 ? 0.0 : v);
    if (v >= high - step * 1e-9) break;
  }
  return ticks;
}

void drawLineChart(const LineChart& chart, const QRectF& area, std::vector<PageItem>& items) {
  const auto yText = [&chart](double v) { return chart.yLabel ? chart.yLabel(v) : QString::number(v); };
  double xLow = 0, xHigh = 0, yLow = 0, yHigh = 0;
  bool any = false;
  for (const ChartSeries& s : chart.series)
    for (const QPointF& p : s.points) {
      if (!any) {
        xLow = xHigh = p.x();
        yLow = yHigh = p.y();
        any = true;
      }
      xLow = std::min(xLow, p.x());
      xHigh = std::max(xHigh, p.x());
      yLow = std::min(yLow, p.y());
      yHigh = std::max(yHigh, p.y());
    }
  if (xHigh <= xLow) {  // one date: it stands in the middle
    xLow -= 1;
    xHigh += 1;
  }
  const std::vector<double> ticks = chartTicks(yLow, yHigh);
  yLow = ticks.front();
  yHigh = ticks.back();

  // The legend on the top line, the y title under it, the plot, then x labels and title.
  double labelRoom = 0;
  for (double t : ticks) labelRoom = std::max(labelRoom, textWidth(yText(t), kLabelSize));
  const double lineHeight = kTitleSize * 1.6;
  const QRectF plot(area.left() + labelRoom + 8, area.top() + 2 * lineHeight + 4,
                    area.width() - labelRoom - 16, area.height() - 4 * lineHeight - 8);
  const auto px = [&](double x) { return plot.left() + (x - xLow) / (xHigh - xLow) * plot.width(); };
  const auto py = [&](double y) { return plot.bottom() - (y - yLow) / (yHigh - yLow) * plot.height(); };

  double x = area.left();
  for (const ChartSeries& s : chart.series) {
    const double y = area.top() + lineHeight / 2;
    items.push_back(line({x, y}, {x + 18, y}, s.color, s.penWidth));
    items.push_back(text({x + 22, area.top(), textWidth(s.name, kTitleSize) + 2, lineHeight}, s.name, kTitleSize,
                         Qt::AlignLeft));
    x += 22 + textWidth(s.name, kTitleSize) + 16;
  }
  if (!chart.marks.empty() && !chart.marksName.isEmpty()) {
    items.push_back(dot({x + 4, area.top() + lineHeight / 2}, 5, chart.markColor));
    items.push_back(text({x + 12, area.top(), textWidth(chart.marksName, kTitleSize) + 2, lineHeight},
                         chart.marksName, kTitleSize, Qt::AlignLeft));
  }
  items.push_back(text({area.left(), area.top() + lineHeight, area.width(), lineHeight}, chart.yTitle, kTitleSize,
                       Qt::AlignLeft, true));

  const QColor grid(200, 200, 200);
  for (double t : ticks) {
    const double y = py(t);
    items.push_back(line({plot.left(), y}, {plot.right(), y}, grid, 0.3));
    items.push_back(text({area.left(), y - kLabelSize * 0.7, labelRoom + 4, kLabelSize * 1.5}, yText(t), kLabelSize,
                         Qt::AlignRight));
  }
  items.push_back(line(plot.bottomLeft(), plot.bottomRight()));
  items.push_back(line(plot.topLeft(), plot.bottomLeft()));
  double lastRight = -1e9;
  for (const auto& [tx, label] : chart.xTicks) {
    if (tx < xLow || tx > xHigh) continue;
    const double at = px(tx), width = textWidth(label, kLabelSize);
    items.push_back(line({at, plot.bottom()}, {at, plot.bottom() + 3}));
    if (at - width / 2 < lastRight + 4) continue;  // labels never run into each other
    items.push_back(text({at - width / 2 - 1, plot.bottom() + 4, width + 2, kLabelSize * 1.5}, label, kLabelSize,
                         Qt::AlignHCenter));
    lastRight = at + width / 2;
  }
  items.push_back(text({plot.left(), plot.bottom() + 4 + lineHeight, plot.width(), lineHeight}, chart.xTitle,
                       kTitleSize, Qt::AlignHCenter, true));

  for (const ChartSeries& s : chart.series) {
    for (std::size_t i = 1; i < s.points.size(); ++i)
      items.push_back(line({px(s.points[i - 1].x()), py(s.points[i - 1].y())},
                           {px(s.points[i].x()), py(s.points[i].y())}, s.color, s.penWidth));
    if (s.dots || s.points.size() == 1)
      for (const QPointF& p : s.points) items.push_back(dot({px(p.x()), py(p.y())}, 2.2, s.color));
  }
  // Each mark's text above its point, in the first of three rows where it meets no other.
  std::vector<double> rowRight(3, -1e9);
  for (const ChartMark& m : chart.marks) {
    const QPointF at(px(m.x), py(m.y));
    items.push_back(dot(at, 4, chart.markColor));
    const double width = textWidth(m.text, kMarkSize);
    std::size_t row = 0;
    while (row + 1 < rowRight.size() && at.x() - width / 2 < rowRight[row] + 3) ++row;
    const double top = std::max(plot.top(), at.y() - 10 - kMarkSize * 1.4 * static_cast<double>(row));
    items.push_back(line({at.x(), at.y() - 2}, {at.x(), top + kMarkSize * 1.3}, chart.markColor, 0.3));
    items.push_back(text({at.x() - width / 2 - 1, top, width + 2, kMarkSize * 1.4}, m.text, kMarkSize,
                         Qt::AlignHCenter, false, chart.markColor));
    rowRight[row] = at.x() + width / 2;
  }
}

}  // namespace vrt
