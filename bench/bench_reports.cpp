// The prayer-request report over 10,000 requests (one in ten with a text of some 2,000
// characters), on Qt's offscreen platform, driven by the test robot with the real clock
// and the real 10-hundredths timer: from the order window's OK to the last page produced
// and the first page in the preview; the longest timer event's work in time slices; and the
// PDF written from the preview in pages per second.
//
//   bench_reports [FOLDER] [REQUESTS]     (default: /tmp/vesp-bench-reports, 10000)
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "bench/bench_program.h"
#include "bench/bench_support.h"
#include "dictionary/dictionary.h"
#include "dictionary/tables.h"
#include "records/error_manager.h"
#include "runtime/gui/frame_host.h"
#include "runtime/testing/test_robot.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"
#include "runtime/os/desktop_settings.h"
#include "runtime/testing/fake_desktop_settings.h"
#include "runtime/print/page_store.h"
#include "runtime/store/data_file.h"
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

// This process's processor time: the machine is shared, so wall time also holds waiting.
double cpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

bool makeRequests(std::int64_t count) {
  auto file = tools::openTable(dict::schemaOf(tables::PrayerRequest), std::cerr, true);
  if (!file || !file->stream()) return false;
  const auto& schema = file->schema();
  std::string longText;
  while (longText.size() < 2000) longText += "that the Lord would strengthen the family through this long season of trial, ";
  for (std::int64_t i = 1; i <= count; ++i) {
    file->buffer().clearAll(schema.fields);
    RecordRef r = file->buffer();
    std::string text = "Request " + std::to_string(i) + ": pray for healing and peace";
    if (i % 10 == 0) text += " " + longText;
    r.set(PRA_REQUESTNUMBER, static_cast<std::int32_t>(i));
    r.set(PRA_REQUEST, text);
    r.set(PRA_DATESTARTED, static_cast<DayNumber>(dateFromYmd(2020, 1, 1) + i % 2000));
    if (i % 2) r.set(PRA_DATEANSWERED, static_cast<DayNumber>(dateFromYmd(2024, 1, 1) + i % 500));
    r.set(PRA_NUMBERDAYS, std::to_string(i % 400));
    r.set(PRA_ANSWER, i % 2 ? "Yes" : "");
    r.set(PRA_REQUESTCATEGORY, i % 3 ? "Family" : "Health");
    if (!file->add()) return false;
  }
  return file->flush();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "/tmp/vesp-bench-reports";
  const std::int64_t requests = argc > 2 ? std::atoll(argv[2]) : 10'000;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::filesystem::remove_all(folder);
  vbench::DataFolder in(folder);
  const auto made = Clock::now();
  if (!makeRequests(requests)) {
    std::cerr << "cannot write the prayer requests\n";
    return 1;
  }
  std::printf("%lld prayer requests written in %.2f s\n", static_cast<long long>(requests), since(made));

  installDesktopSettings(std::make_unique<FakeDesktopSettings>(true));
  errorManager().SetEndHook([](Level) {});
  int rc = 0;
  {
    TestRobot robot;
    StartProgram();
    robot.settle();
    StartThread(FindProcedure("ReportPrayerRequestAll"), 25'000, "ReportPrayerRequestAll");
    robot.settle();
    const auto start = Clock::now();
    const double cpuStart = cpuSeconds();
    robot.press("Select the Order", "?OK");
    while (robot.findWindow("Report Prayer Request")) spin(robot);
    const double lastPage = since(start), lastPageCpu = cpuSeconds() - cpuStart;
    while (!robot.findWindow("Report Preview")) spin(robot);
    const double preview = since(start);
    const ReportOutcome outcome = ReportOutcomes().back();
    const double slice = CurrentReportSettings().TIMESLICE;
    std::printf("records printed                 %ld\n", outcome.records);
    std::printf("pages produced                  %d\n", outcome.pages);
    // The pages go to the preview when processing ends: its first page shows then.
    std::printf("OK to the last page produced    %.2f s   (target under 5 s; %.2f s of processor time)\n", lastPage,
                lastPageCpu);
    std::printf("OK to the first page previewed  %.2f s\n", preview);
    std::printf("longest timer event's work      %.2f slices (%ld hundredths; target under 1.5)\n",
                outcome.longestEvent / slice, outcome.longestEvent);

    const std::string pdf = folder + "/bench.pdf";
    robot.chooseMenu("Report Preview", "&File|Save As -PDF");
    const auto pdfStart = Clock::now();
    const double pdfCpuStart = cpuSeconds();
    robot.chooseFile(pdf);
    const double pdfSeconds = since(pdfStart), pdfCpu = cpuSeconds() - pdfCpuStart;
    std::printf("PDF of %d pages                 %.2f s, %.0f pages/s (target at least 200; %.0f pages per processor second), %.1f MB\n",
                outcome.pages, pdfSeconds, outcome.pages / pdfSeconds, outcome.pages / pdfCpu,
                QFileInfo(QString::fromStdString(pdf)).size() / 1e6);
    robot.chooseMenu("Report Preview", "&File|E&xit");
    if (outcome.records != requests) rc = 1;
  }
  EndAllThreads();
  return rc;
}
