#pragma once
// A line chart drawn as page items, so that the preview, the printer and the PDF show the
// same chart and its titles and axis labels stay text that can be searched and checked.
//
//   LineChart c;
//   c.xTitle = "Week of"; c.yTitle = "Attendance";
//   c.series = {{"Attendance", points}, {"Average of 4", averages, Qt::blue, 2}};
//   layout.printDrawing(320, [&](auto& items, const QRectF& area) { drawLineChart(c, area, items); });
#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

#include "runtime/print/recorded_page.h"

namespace vrt {

struct ChartSeries {
  QString name;                 // as the legend shows it
  std::vector<QPointF> points;  // in the chart's own units, by rising x
  QColor color = Qt::black;
  double penWidth = 1;
  bool dots = false;  // a dot on each point as well
};

// A point singled out with a short text beside it (a holiday, an event).
struct ChartMark {
  double x = 0, y = 0;
  QString text;
};

struct LineChart {
  QString xTitle, yTitle;
  std::vector<std::pair<double, QString>> xTicks;  // where the x axis is labelled, and how
  std::function<QString(double)> yLabel;           // the y axis' values as shown; default: a number
  std::vector<ChartSeries> series;
  std::vector<ChartMark> marks;
  QString marksName;  // the marks' entry in the legend
  QColor markColor = QColor(190, 30, 30);
};

// The values the y axis is labelled at: round steps from `low` (or 0 when every value is
// positive) up to at least `high`, at most `most` of them.
std::vector<double> chartTicks(double low, double high, int most = 8);

// Adds the chart's items inside `area`: the legend along the top, the y title above the y
// axis, the x labels and title under the plot.
void drawLineChart(const LineChart& chart, const QRectF& area, std::vector<PageItem>& items);

}  // namespace vrt
