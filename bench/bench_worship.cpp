// The worship leader's reports on Qt's offscreen platform, driven by the test robot with
// the real clock and the real timer: the song usage over five years of weekly services
// (260 services, 2,600 elements, 2,000 bibliography entries) from the range window's OK
// to the first page in the preview; and the order of one service of ten elements from the
// start of its report to its first page. Each is run several times; the median is printed.
//
// The last run's pages are left in FOLDER as usage.pdf and order.pdf.
//
//   bench_worship [FOLDER] [RUNS]     (default: /tmp/vesp-bench-worship, 5)
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <ctime>
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

constexpr int kServices = 260, kPerService = 10, kEntries = 2000;
const DayNumber kFirstSunday = dateFromYmd(2021, 1, 3);

bool makeData() {
  return vbench::writeRecords(tables::Bibliography, kEntries,
               [](RecordRef r, int i) {
                 r.set(BBL_BIBLIOGRAPHYNUMBER, i);
                 r.set(BBL_TITLE, (i % 7 == 0 ? "Dios está aquí " : "Song of praise ") + std::to_string(i));
                 r.set(BBL_WRITTENBY, "Writer " + std::to_string(i % 300));
                 r.set(BBL_PUBLISHER, i % 3 ? "Hope Publishing" : "Integrity Music");
                 r.set(BBL_CCLI, std::to_string(1000000 + i * 7919));
               }) &&
         vbench::writeRecords(tables::Service, kServices,
               [](RecordRef r, int i) {
                 r.set(SER_SERVICENUMBER, i);
                 r.set(SER_TITLE, "Sunday worship, week " + std::to_string(i));
                 r.set(SER_WEEKOFDATE_DATE, kFirstSunday + 7 * (i - 1));
                 r.set(SER_SPEAKER, 1);
               }) &&
         vbench::writeRecords(tables::ServiceElement, kServices * kPerService, [](RecordRef r, int i) {
           const int step = (i - 1) % kPerService;
           r.set(SEL_ELEMENTNUMBER, i);
           r.set(SEL_SERVICENUMBER, (i - 1) / kPerService + 1);
           r.set(SEL_ELEMENTORDER, step + 1);
           // Songs spread over the whole bibliography; every tenth element is a reading
           // without an entry.
           const bool song = step != 9;
           r.set(SEL_TYPE, song ? "Song" : "Reading");
           r.set(SEL_TITLE, song ? "Song " + std::to_string(i) : "Scripture reading");
           r.set(SEL_BIBLIOGRAPHYNUMBER, song ? (i * 37) % kEntries + 1 : 0);
           r.set(SEL_DURATION, std::to_string(3 + i % 4) + ":" + std::to_string(10 + i % 50));
           r.set(SEL_TEMPO, i % 2 ? "Upbeat" : "Slow");
           r.set(SEL_SOUND, "Band, vocals");
         });
}

// From `go` (which starts the report's work) to the preview open with its first page;
// with a `pdf` path the pages are saved there before the preview closes.
double toPreview(TestRobot& robot, const char* progress, const std::function<void()>& go, ReportOutcome& outcome,
                 const std::string& pdf = {}) {
  const auto start = Clock::now();
  go();
  while (robot.findWindow(progress)) spin(robot);
  while (!robot.findWindow("Report Preview")) spin(robot);
  const double seconds = since(start);
  outcome = ReportOutcomes().back();
  if (!pdf.empty()) {
    robot.chooseMenu("Report Preview", "&File|Save As -PDF");
    robot.chooseFile(pdf);
  }
  robot.chooseMenu("Report Preview", "&File|E&xit");
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "/tmp/vesp-bench-worship";
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::filesystem::remove_all(folder);
  vbench::DataFolder in(folder);
  const auto made = Clock::now();
  if (!makeData()) {
    std::cerr << "cannot write the services\n";
    return 1;
  }
  std::printf("%d services, %d elements, %d bibliography entries written in %.2f s\n", kServices,
              kServices * kPerService, kEntries, since(made));

  installDesktopSettings(std::make_unique<FakeDesktopSettings>(true));
  errorManager().SetEndHook([](Level) {});
  int rc = 0;
  {
    TestRobot robot;
    StartProgram();
    robot.settle();
    const std::string from = formatPicture(double(kFirstSunday), "@d17");
    const std::string to = formatPicture(double(kFirstSunday + 7 * kServices), "@d17");
    std::vector<double> usage, order;
    ReportOutcome usageOutcome, orderOutcome;
    for (int run = 0; run < runs; ++run) {
      StartThread(FindProcedure("ReportSongUsage"), 25'000, "ReportSongUsage");
      robot.settle();
      robot.type("Song Usage", "?FromDate", from);
      robot.type("Song Usage", "?ToDate", to);
      // The last run's pages are kept, to be looked at.
      const std::string pdf = run + 1 == runs ? folder + "/usage.pdf" : std::string();
      usage.push_back(
          toPreview(robot, "Song Usage Report", [&] { robot.press("Song Usage", "?OK"); }, usageOutcome, pdf));

      order.push_back(toPreview(
          robot, "Order of Service Report",
          [&] {
            StartThread(
                [] {
                  FileManager& f = Access(tables::Service);
                  static_cast<void>(f.Open());
                  RecordRef(*f.BUFFER()).set(SER_SERVICENUMBER, kServices / 2);
                  static_cast<void>(f.Fetch(dict::idx::SER::keys::ServiceNumberKey));
                  FindProcedure("ReportOrderOfService")();
                },
                25'000, "ReportOrderOfService");
            robot.settle();
          },
          orderOutcome, run + 1 == runs ? folder + "/order.pdf" : std::string()));
    }
    const double slice = CurrentReportSettings().TIMESLICE;
    std::printf("song usage: %ld entries printed on %d pages\n", usageOutcome.records, usageOutcome.pages);
    std::printf("  OK to the first page previewed   median %.3f s, worst %.3f s over %d runs\n",
                vbench::median(usage), *std::max_element(usage.begin(), usage.end()), runs);
    std::printf("  longest timer event's work       %.2f slices (%ld hundredths)\n", usageOutcome.longestEvent / slice,
                usageOutcome.longestEvent);
    std::printf("order of service: %ld lines printed on %d page(s)\n", orderOutcome.records, orderOutcome.pages);
    std::printf("  start to the first page previewed median %.3f s, worst %.3f s over %d runs\n",
                vbench::median(order), *std::max_element(order.begin(), order.end()), runs);
    if (usageOutcome.records == 0 || orderOutcome.records != kPerService) rc = 1;
  }
  EndAllThreads();
  return rc;
}
