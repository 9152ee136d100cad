// The statistics chart, started from the service browse by its button and its popup entry:
// its points and moving average against a sum of the generated statistics made here
// straight from the files, the marked holidays and events, the PDF's title and axis labels,
// and a range without statistics.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "records/thread_dictionary.h"
#include "runtime/gui/message_box.h"
#include "runtime/text/picture.h"
#include "runtime/text/utf8.h"
#include "tools/vesp_data/sample_data.h"
#include "worship_fixture.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

constexpr const char* kAsk = "Statistics Chart";
constexpr const char* kProgress = "Statistics Chart Report";

std::string shown(vrt::DayNumber d) { return vrt::formatPicture(double(d), "@d17"); }

// Five years of generated Sundays from 2 January 2000, one statistics record each.
class StatisticsChartTest : public WorshipReports<ServicesTest> {
 protected:
  void SetUp() override {
    WorshipReports<ServicesTest>::SetUp();
    tools::SampleOptions options;
    options.prayerRequests = 0;
    options.services = 260;
    std::ostringstream out, err;
    ASSERT_EQ(tools::generateSampleData(options, out, err), 0) << err.str();
  }

  struct Expected {
    std::int64_t total = 0;
    std::string holiday, event;
  };
  // Per week-of date in [from, to]: the sum of `figure` over the statistics records of the
  // services of that date, read record by record from both files in their stored order.
  std::map<vrt::DayNumber, Expected> expected(vrt::DayNumber from, vrt::DayNumber to,
                                              std::int64_t (*figure)(const vrt::RecordRef&)) {
    std::map<vrt::DayNumber, Expected> out;
    onThread([&] {
      std::map<std::int32_t, vrt::DayNumber> dates;
      FileManager& s = Access(tables::Service);
      static_cast<void>(s.Open());
      static_cast<void>(s.Use());
      for (s.FILE()->setToStart(0); s.FILE()->next();)
        dates[vrt::RecordRef(*s.BUFFER()).get(SER_SERVICENUMBER)] = vrt::RecordRef(*s.BUFFER()).get(SER_WEEKOFDATE_DATE);
      static_cast<void>(s.Close());
      FileManager& st = Access(tables::Statistics);
      static_cast<void>(st.Open());
      static_cast<void>(st.Use());
      for (st.FILE()->setToStart(0); st.FILE()->next();) {
        const vrt::RecordRef r(*st.BUFFER());
        const vrt::DayNumber date = dates[r.get(STA_SERVICENUMBER)];
        if (date < from || date > to) continue;
        Expected& e = out[date];
        e.total += figure(r);
        e.holiday = std::string(vrt::clip(r.get(STA_HOLIDAY)));
        e.event = std::string(vrt::clip(r.get(STA_SPECIALEVENT)));
      }
      static_cast<void>(st.Close());
    });
    return out;
  }

  void askChart(const char* measure, vrt::DayNumber from, vrt::DayNumber to, int window) {
    ASSERT_NE(robot.findWindow(kAsk), nullptr);
    robot.chooseItem(kAsk, "?Measure", measure);
    robot.type(kAsk, "?FromDate", shown(from));
    robot.type(kAsk, "?ToDate", shown(to));
    robot.type(kAsk, "?Window", std::to_string(window));
    robot.press(kAsk, "?OK");
  }
};

std::int64_t everyone(const vrt::RecordRef& r) {
  return std::int64_t{r.get(STA_ADULT)} + r.get(STA_ADULTGUESTS) + r.get(STA_YOUTH) + r.get(STA_YOUTHGUESTS) +
         r.get(STA_CHILDREN) + r.get(STA_CHILDRENGUESTS);
}
std::int64_t offering(const vrt::RecordRef& r) { return r.get(STA_OFFERING).cents(); }

}  // namespace

TEST_F(StatisticsChartTest, EachPointIsTheDatesAttendanceWithAMovingAverage_AndThePdfNamesTheChartAndItsAxes) {
  const vrt::DayNumber from = vrt::dateFromYmd(2001, 1, 1), to = vrt::dateFromYmd(2002, 12, 31);
  const auto sums = expected(from, to, everyone);
  ASSERT_GT(sums.size(), 100u);
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.press(kServices, "?StatisticsChart");
  askChart("Attendance", from, to, 4);
  runToPreview(kProgress);

  std::vector<Line> points;
  for (const Line& l : tableLines())
    if (l.count("Week Of") && l.count("Attendance")) points.push_back(l);
  ASSERT_EQ(points.size(), sums.size());
  std::vector<double> window;
  int marked = 0;
  std::size_t i = 0;
  for (const auto& [date, e] : sums) {
    window.push_back(double(e.total));
    if (window.size() > 4) window.erase(window.begin());
    double average = 0;
    for (double v : window) average += v;
    average /= double(window.size());
    const Line& p = points[i++];
    EXPECT_EQ(p.at("Week Of"), shown(date));
    EXPECT_EQ(p.at("Attendance"), vrt::formatPicture(double(e.total), "@n-14")) << shown(date);
    EXPECT_EQ(p.at("Moving Average"), vrt::formatPicture(average, "@n-14.1")) << shown(date);
    EXPECT_EQ(p.count("Holiday") ? p.at("Holiday") : "", e.holiday) << shown(date);
    EXPECT_EQ(p.count("Special Event") ? p.at("Special Event") : "", e.event) << shown(date);
    if (!e.holiday.empty() || !e.event.empty()) ++marked;
  }
  EXPECT_GE(marked, 8) << "two years of Christmases, New Years, Mother's and Father's Days";

  // The chart: a dot per point on the line of values, and one per holiday or event.
  int dots = 0, markDots = 0;
  for (const vrt::RecordedPage& page : pages())
    for (const vrt::PageItem& item : page.items)
      if (item.kind == vrt::PageItem::Dot) (item.color == QColor(190, 30, 30) ? markDots : dots)++;
  EXPECT_EQ(dots, static_cast<int>(sums.size()));
  EXPECT_EQ(markDots, marked + 1) << "and one in the legend";

  const std::string pdf = dir.file("attendance.pdf");
  saveAsPdf(pdf);
  closePreview();
  bool found = false;
  const QString text = runTool("pdftotext", {QString::fromStdString(pdf), "-"}, found);
  if (!found) GTEST_SKIP() << "pdftotext is not installed (poppler-utils)";
  const std::string title = "Attendance from " + shown(from) + " to " + shown(to);
  for (const std::string& t : {title, std::string("Week Of"), std::string("Moving average of 4"),
                               std::string("Holiday or special event"), std::string("2001"), std::string("2002"),
                               std::string("Christmas"), std::string("Baptism Sunday")})
    EXPECT_TRUE(text.contains(QString::fromStdString(t))) << t << "\n" << text.toStdString().substr(0, 2000);
}

TEST_F(StatisticsChartTest, ThePopupMenuAsksToo_ARangeWithoutStatisticsSaysSoAndOfferingsKeepTheirCents) {
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.rightClickRow(kServices, "?BROWSE:1", 1);
  robot.choosePopup("Statistics Char&t...");
  // The generated services end in 2004: nothing to chart in 1990, and the window stays.
  askChart("Offering", vrt::dateFromYmd(1990, 1, 1), vrt::dateFromYmd(1990, 12, 31), 4);
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_NE(robot.control(robot.messageBox()->caption(), vrt::kMessageTextUse).text().find("No service from"),
            std::string::npos);
  robot.pressMessageButton("Ok");
  EXPECT_EQ(robot.findWindow(kProgress), nullptr);
  ASSERT_NE(robot.findWindow(kAsk), nullptr);
  // A moving average over no services is refused.
  askChart("Offering", vrt::dateFromYmd(2003, 1, 1), vrt::dateFromYmd(2003, 3, 31), 0);
  ASSERT_NE(robot.messageBox(), nullptr);
  robot.pressMessageButton("Ok");
  const vrt::DayNumber from = vrt::dateFromYmd(2003, 1, 1), to = vrt::dateFromYmd(2003, 3, 31);
  askChart("Offering", from, to, 1);
  runToPreview(kProgress);
  const auto sums = expected(from, to, offering);
  std::vector<Line> points;
  for (const Line& l : tableLines())
    if (l.count("Offering")) points.push_back(l);
  ASSERT_EQ(points.size(), sums.size());
  std::size_t i = 0;
  for (const auto& [date, e] : sums) {
    EXPECT_EQ(points[i].at("Offering"), vrt::formatPicture(double(e.total) / 100.0, "@n-14.2"));
    // Over one service the average is the point itself.
    EXPECT_EQ(points[i++].at("Moving Average"), vrt::formatPicture(double(e.total) / 100.0, "@n-14.2"));
  }
  // Under three months the axis names each date.
  const std::vector<std::string> all = texts();
  EXPECT_GE(indexOf(all, shown(sums.begin()->first)), 0);
  EXPECT_GE(indexOf(all, "Offering from " + shown(from) + " to " + shown(to)), 0);
  closePreview();
}
