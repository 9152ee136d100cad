// Planning from last week and looking back, on Qt's offscreen platform: copying a service
// of 50 elements (with its passages and key words) as "Copy Service..." does, timed from
// the call to the committed copy; the chart's data alone (ten years of services and their
// statistics read); and the statistics chart of ten years of weekly attendance from the chart
// window's OK to the preview showing the chart, driven by the test robot with the real clock
// and timer. Each is run several times; the median is printed.
//
// The last chart is left in FOLDER as chart.pdf.
//
//   bench_planning [FOLDER] [RUNS]     (default: /tmp/vesp-bench-planning, 5)
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "bench/bench_program.h"
#include "bench/bench_support.h"
#include "dictionary/dictionary.h"
#include "dictionary/tables.h"
#include "records/error_manager.h"
#include "records/thread_dictionary.h"
#include "runtime/testing/test_robot.h"
#include "runtime/gui/threads.h"
#include "runtime/testing/fake_desktop_settings.h"
#include "runtime/store/data_file.h"
#include "runtime/text/picture.h"
#include "screens/services/copy_service.h"
#include "screens/worship/open_tables.h"
#include "screens/worship/statistics_trend.h"
#include "shell/startup.h"
#include "tools/vesp_data/open_table.h"
#include "windows/procedures.h"
#include "windows/report_manager.h"

using namespace vrt;
using namespace vesp;
using vbench::Clock;
using vbench::since;
using vbench::spin;

namespace {

constexpr int kServices = 520, kPerService = 10, kBig = 50;  // ten years of Sundays; the last has 50
const DayNumber kFirstSunday = dateFromYmd(2016, 1, 3);

int elementCount() { return (kServices - 1) * kPerService + kBig; }

bool makeData() {
  return vbench::writeRecords(tables::Bibliography, 500,
               [](RecordRef r, int i) {
                 r.set(BBL_BIBLIOGRAPHYNUMBER, i);
                 r.set(BBL_TITLE, "Song of praise " + std::to_string(i));
               }) &&
         vbench::writeRecords(tables::Service, kServices,
               [](RecordRef r, int i) {
                 r.set(SER_SERVICENUMBER, i);
                 r.set(SER_TITLE, "Sunday worship, week " + std::to_string(i));
                 r.set(SER_WEEKOFDATE_DATE, kFirstSunday + 7 * (i - 1));
               }) &&
         vbench::writeRecords(tables::ServiceElement, elementCount(),
               [](RecordRef r, int i) {
                 const int service = std::min(kServices, (i - 1) / kPerService + 1);
                 r.set(SEL_ELEMENTNUMBER, i);
                 r.set(SEL_SERVICENUMBER, service);
                 r.set(SEL_ELEMENTORDER, 10 * (i - (service - 1) * kPerService));
                 r.set(SEL_TITLE, "Element " + std::to_string(i));
                 r.set(SEL_TYPE, "Song");
                 r.set(SEL_BIBLIOGRAPHYNUMBER, (i * 37) % 500 + 1);
                 r.set(SEL_DURATION, "4:00");
                 r.set(SEL_PERFORMER, i % 40 + 1);
                 r.set(SEL_ELEMENTNOTES, "Verse, chorus, verse, chorus twice, bridge, chorus.");
               }) &&
         vbench::writeRecords(tables::BibleRef, 2 * kServices,
               [](RecordRef r, int i) {
                 r.set(BIB_REFERENCENUMBER, i);
                 r.set(BIB_SERVICENUMBER, (i + 1) / 2);
                 r.set(BIB_BOOK, "Psalms");
               }) &&
         vbench::writeRecords(tables::KeyWords, 3 * kServices,
               [](RecordRef r, int i) {
                 r.set(KWD_KEYWORDNUMBER, i);
                 r.set(KWD_SERVICENUMBER, (i + 2) / 3);
                 r.set(KWD_KEYWORD, "Grace");
               }) &&
         vbench::writeRecords(tables::Statistics, kServices, [](RecordRef r, int i) {
           r.set(STA_STATISTICNUMBER, i);
           r.set(STA_SERVICENUMBER, i);
           r.set(STA_TYPE, "Sunday Morning");
           r.set(STA_ADULT, 150 + (i * 37) % 90);
           r.set(STA_YOUTH, 30 + (i * 11) % 20);
           r.set(STA_CHILDREN, 20 + (i * 7) % 30);
           r.set(STA_HOLIDAY, i % 52 == 51 ? "Christmas" : "");
           r.set(STA_SPECIALEVENT, i % 26 == 10 ? "Baptism Sunday" : "");
         });
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "/tmp/vesp-bench-planning";
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::filesystem::remove_all(folder);
  vbench::DataFolder in(folder);
  if (!makeData()) {
    std::cerr << "cannot write the services\n";
    return 1;
  }
  std::printf("%d services (the last with %d elements), %d elements, %d statistics written\n", kServices, kBig,
              elementCount(), kServices);

  installDesktopSettings(std::make_unique<FakeDesktopSettings>(true));
  errorManager().SetEndHook([](Level) {});
  int rc = 0;
  {
    TestRobot robot;
    StartProgram();
    robot.settle();

    std::vector<double> copies;
    ServiceCopy last;
    StartThread(
        [&] {
          for (int run = 0; run < runs + 1; ++run) {
            const auto start = Clock::now();
            last = CopyService(kServices, kFirstSunday + 7 * (kServices + run), "Copied week");
            if (run > 0) copies.push_back(since(start));  // the first opens the files cold
          }
        },
        50'000, "CopyBench");
    robot.settle();
    std::printf("copy of a service: %d elements, %d passages, %d key words%s\n", last.elements, last.passages,
                last.keyWords, last.ok ? "" : (" FAILED: " + last.error).c_str());
    std::printf("  call to committed copy           median %.3f s, worst %.3f s over %d runs\n",
                vbench::median(copies), *std::max_element(copies.begin(), copies.end()), runs);
    if (!last.ok || last.elements != kBig) rc = 1;

    // The chart's data alone: the services of ten years and their statistics, read.
    std::vector<double> reads;
    std::size_t points = 0;
    StartThread(
        [&] {
          OpenTables open({&tables::Service, &tables::Statistics});
          for (int run = 0; run < runs + 1; ++run) {
            const auto start = Clock::now();
            const StatisticsTrend trend =
                StatisticsTrendOf(TableFile(tables::Service), TableFile(tables::Statistics), kFirstSunday,
                                  kFirstSunday + 7 * kServices, StatisticMeasures().front(), "", 4);
            if (run > 0) reads.push_back(since(start));
            points = trend.points.size();
          }
        },
        50'000, "TrendBench");
    robot.settle();
    std::printf("statistics trend: %zu points read\n", points);
    std::printf("  services and statistics read     median %.3f s, worst %.3f s over %d runs\n",
                vbench::median(reads), *std::max_element(reads.begin(), reads.end()), runs);

    const std::string from = formatPicture(double(kFirstSunday), "@d17");
    const std::string to = formatPicture(double(kFirstSunday + 7 * (kServices - 1)), "@d17");
    std::vector<double> charts;
    ReportOutcome outcome;
    for (int run = 0; run < runs; ++run) {
      StartThread(FindProcedure("ReportStatisticsChart"), 25'000, "ReportStatisticsChart");
      robot.settle();
      robot.type("Statistics Chart", "?FromDate", from);
      robot.type("Statistics Chart", "?ToDate", to);
      const auto start = Clock::now();
      robot.press("Statistics Chart", "?OK");
      while (robot.findWindow("Statistics Chart Report")) spin(robot);
      while (!robot.findWindow("Report Preview")) spin(robot);
      charts.push_back(since(start));
      outcome = ReportOutcomes().back();
      if (run + 1 == runs) {
        robot.chooseMenu("Report Preview", "&File|Save As -PDF");
        robot.chooseFile(folder + "/chart.pdf");
      }
      robot.chooseMenu("Report Preview", "&File|E&xit");
    }
    std::printf("statistics chart: %ld points of weekly attendance on %d pages\n", outcome.records, outcome.pages);
    std::printf("  OK to the chart previewed        median %.3f s, worst %.3f s over %d runs\n",
                vbench::median(charts), *std::max_element(charts.begin(), charts.end()), runs);
    if (outcome.records != kServices) rc = 1;
  }
  EndAllThreads();
  return rc;
}
