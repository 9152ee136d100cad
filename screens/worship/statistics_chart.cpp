#include "screens/worship/statistics_chart.h"

#include <algorithm>

#include "dictionary/tables.h"
#include "runtime/data/errors.h"
#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/window.h"
#include "runtime/print/line_chart.h"
#include "runtime/store/view.h"
#include "runtime/text/picture.h"
#include "runtime/text/utf8.h"
#include "screens/worship/open_tables.h"
#include "screens/worship/usage_range.h"
#include "windows/calendar_key.h"
#include "windows/report_manager.h"
#include "windows/screen_conventions.h"
#include "windows/window_placement.h"

namespace vesp {

namespace {

using namespace vrt;

constexpr const char* kAskProcedure = "AskStatisticsChart";
constexpr const char* kAnyType = "(every type)";
constexpr double kChartHeight = 330;

const ReportDeclaration kChartReport = {kStatisticsChartProcedure, "StatisticsChart", kStatisticsChartCaption, nullptr,
                                        {}, {}, "", "Statistics Chart Report", "StatisticsChart Report", 8};

std::string dateText(DayNumber d) { return formatPicture(double(d), "@d17"); }
QString q(const std::string& s) { return QString::fromStdString(s); }

// A figure as the table and the axis show it: amounts in units with cents, counts whole.
QString figure(double value, bool money) {
  return q(formatPicture(money ? value / 100.0 : value, money ? "@n-14.2" : "@n-14"));
}
QString average(double value, bool money) {
  return q(formatPicture(money ? value / 100.0 : value, money ? "@n-14.2" : "@n-14.1"));
}

std::string joined(const std::vector<std::string>& texts) {
  std::string out;
  for (const std::string& t : texts) out += (out.empty() ? "" : ", ") + t;
  return out;
}

// Years over a long range, months over a shorter one, else the dates themselves.
std::vector<std::pair<double, QString>> dateTicks(DayNumber first, DayNumber last,
                                                  const std::vector<TrendPoint>& points) {
  std::vector<std::pair<double, QString>> ticks;
  const auto a = ymdFromDate(first), b = ymdFromDate(last);
  if (!a || !b) return ticks;
  if (last - first > 2 * 366) {
    for (int y = a->year + (a->month > 1 || a->day > 1 ? 1 : 0); y <= b->year; ++y)
      ticks.emplace_back(dateFromYmd(y, 1, 1), QString::number(y));
  } else if (last - first > 62) {
    static const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    for (int y = a->year, m = a->month;;) {
      if (++m > 12) {
        m = 1;
        ++y;
      }
      const DayNumber d = dateFromYmd(y, m, 1);
      if (d > last) break;
      // January shows its year instead: short labels leave room for every month.
      ticks.emplace_back(d, m == 1 ? QString::number(y) : QString(kMonths[m - 1]));
    }
  } else {
    for (const TrendPoint& p : points) ticks.emplace_back(p.date, q(dateText(p.date)));
  }
  return ticks;
}

LineChart chartOf(const StatisticsTrend& trend, const ChartRequest& request) {
  const bool money = request.measure->money;
  const double unit = money ? 100.0 : 1.0;
  LineChart chart;
  chart.xTitle = "Week Of";
  chart.yTitle = q(request.measure->name);
  chart.yLabel = [](double v) { return q(formatPicture(v, "@n-14")); };
  ChartSeries values{q(request.measure->name), {}, QColor(20, 60, 150), 0.8, true};
  ChartSeries averages{"Moving average of " + QString::number(request.window), {}, QColor(230, 120, 0), 1.8, false};
  for (const TrendPoint& p : trend.points) {
    values.points.emplace_back(double(p.date), double(p.total) / unit);
    averages.points.emplace_back(double(p.date), p.average / unit);
    std::vector<std::string> named = p.holidays;
    named.insert(named.end(), p.events.begin(), p.events.end());
    if (!named.empty()) chart.marks.push_back({double(p.date), double(p.total) / unit, q(joined(named))});
  }
  chart.series = {std::move(values), std::move(averages)};
  chart.marksName = "Holiday or special event";
  if (!trend.points.empty()) chart.xTicks = dateTicks(trend.points.front().date, trend.points.back().date, trend.points);
  return chart;
}

std::vector<std::string> statisticTypes() {
  std::vector<std::string> types = {kAnyType};
  OpenTables open({&tables::StatisticType});
  if (!open.failed().empty()) return types;
  DataFile& file = TableFile(tables::StatisticType);
  View view(file);
  if (!view.setOrder("+UPPER(STT:StatisticType)") || !view.open()) return types;
  while (view.next()) {
    std::string t(clip(RecordRef(file.buffer()).get(STT_STATISTICTYPE)));
    if (!t.empty()) types.push_back(std::move(t));
  }
  view.close();
  return types;
}

StatisticsTrend trendOf(const ChartRequest& request) {
  StatisticsTrend trend;
  OpenTables open({&tables::Service, &tables::Statistics});
  if (!open.failed().empty()) {
    trend.error = "The " + open.failed() + " file could not be opened.";
    return trend;
  }
  return StatisticsTrendOf(TableFile(tables::Service), TableFile(tables::Statistics), request.from, request.to,
                           *request.measure, request.type, request.window);
}

// The window's answer and the trend it found; cancelled when `request.measure` is null.
struct Asked {
  ChartRequest request;
  StatisticsTrend trend;
};

Asked askChart() {
  Asked asked;
  std::int32_t from = YearBefore(today()), to = today(), window = 4;
  std::vector<std::string> measures;
  for (const StatisticMeasure& m : StatisticMeasures()) measures.push_back(m.name);
  std::string measure = measures.front(), type = kAnyType;
  WindowSpec design = windowSpec(kStatisticsChartCaption, kAskProcedure);
  design.controls = {
      grid(2, {prompt("&Statistic:"), dropList("?Measure", measures, bind(measure)),
               prompt("T&ype:"), dropList("?Type", statisticTypes(), bind(type)),
               prompt("&From:"), entry("?FromDate", "@d17", bind(from)),
               prompt("&To:"), entry("?ToDate", "@d17", bind(to)),
               prompt("&Average over:"), row({entry("?Window", "@n3", bind(window)), prompt("services")})}),
      row({button("?OK", "&OK").icon("SOK.ICO").help("Draw the chart").makeDefault(),
           button("?Cancel", "&Cancel").icon("SCANCEL.ICO").help("Cancel operation").makeCancel()}),
  };
  design.alertKeys = {kF6Key};  // the calendar, on either date
  Window window_(design);
  const int ok = window_.number("?OK"), cancel = window_.number("?Cancel");
  window_.open();
  // Over the window it was asked from, or where the user last left it.
  PlaceScreenWindow(kAskProcedure, window_, true, true);
  for (;;) {
    const Event e = window_.accept();
    if (e.event == kEventCloseWindow || e.event == kEventCloseDown) break;
    if (e.event == kEventAlertKey && e.key == kF6Key) CalendarOnFocusedControl(window_);
    if (e.event != kEventAccepted) continue;
    if (e.control == cancel) break;
    if (e.control != ok) continue;
    if (window_.updateAll() != 0 || from <= 0 || to <= 0) {
      Message("Both dates must be real dates.", kStatisticsChartCaption, kIconExclamation);
      continue;
    }
    if (from > to) {
      Message("The range ends before it starts.", kStatisticsChartCaption, kIconExclamation);
      continue;
    }
    if (window < 1 || window > 52) {
      Message("The moving average spans 1 to 52 services.", kStatisticsChartCaption, kIconExclamation);
      window_.select(window_.number("?Window"));
      continue;
    }
    ChartRequest request;
    for (const StatisticMeasure& m : StatisticMeasures())
      if (measure == m.name) request.measure = &m;
    if (!request.measure) request.measure = &StatisticMeasures().front();
    request.type = type == kAnyType ? std::string() : type;
    request.from = from;
    request.to = to;
    request.window = window;
    StatisticsTrend trend = trendOf(request);
    if (!trend.ok) {
      Message("The statistics could not be read: " + trend.error, kStatisticsChartCaption, kIconHand);
      continue;
    }
    if (trend.points.empty()) {
      // Said here, where the range can be changed at once.
      Message("No service from " + dateText(from) + " to " + dateText(to) + " has statistics" +
                  (request.type.empty() ? std::string() : " of the type \"" + request.type + "\"") +
                  " to chart.",
              kStatisticsChartCaption, kIconExclamation);
      continue;
    }
    asked = {request, std::move(trend)};
    break;
  }
  SaveWindowPlacement(kAskProcedure, window_);
  return asked;
}

}  // namespace

std::string StatisticsChartTitle(const ChartRequest& request) {
  return std::string(request.measure->name) + " from " + dateText(request.from) + " to " + dateText(request.to);
}

std::vector<ReportLine> StatisticsChartLines(const StatisticsTrend& trend, const ChartRequest& request) {
  const bool money = request.measure->money;
  std::vector<ReportLine> lines;
  const auto dates = static_cast<int>(trend.points.size());
  lines.push_back(ReportLine::field("Statistic:", request.measure->name));
  lines.push_back(ReportLine::field("Type:", request.type.empty() ? "Every type" : q(request.type)));
  lines.push_back(ReportLine::field(
      "Services:", q(dateText(request.from) + " to " + dateText(request.to) + ", " + std::to_string(dates) +
                     (dates == 1 ? " date" : " dates") + " with statistics of " + std::to_string(trend.services) +
                     (trend.services == 1 ? " service" : " services"))));
  lines.push_back(ReportLine::field("Moving average:", "Of each date and the " + QString::number(request.window - 1) +
                                                           " before it"));
  const LineChart chart = chartOf(trend, request);
  lines.push_back(ReportLine::drawing(kChartHeight, [chart](std::vector<PageItem>& items, const QRectF& area) {
    drawLineChart(chart, area, items);
  }));
  lines.push_back(ReportLine::section("Points", {{"Week Of", 70, Qt::AlignLeft},
                                                 {q(request.measure->name), 80, Qt::AlignRight},
                                                 {"Moving Average", 80, Qt::AlignRight},
                                                 {"Holiday", 110, Qt::AlignLeft},
                                                 {"Special Event", 110, Qt::AlignLeft}}));
  for (const TrendPoint& p : trend.points)
    lines.push_back(ReportLine::detail({q(dateText(p.date)), figure(double(p.total), money), average(p.average, money),
                                        q(joined(p.holidays)), q(joined(p.events))}));
  return lines;
}

void ReportStatisticsChart() {
  Asked asked = askChart();
  if (!asked.request.measure) return;
  ReportRun run;
  run.title = StatisticsChartTitle(asked.request);
  run.rows = [lines = StatisticsChartLines(asked.trend, asked.request)] {
    return ComputedRows(
        [lines](std::vector<ReportLine>& out, std::string&) {
          out = lines;
          return true;
        },
        true);
  };
  RunReport(kChartReport, std::move(run));
}

}  // namespace vesp
