// BrowsePrayerRequest over 1,000,000 prayer requests on Qt's offscreen platform, driven by
// the test robot as a user would: each figure is the wall time from the user's action until
// every thread waits again and the list has been painted.
//   - opening the browse from the frame's way to its first page (fields registered, saved
//     queries read, first page in date-started order);
//   - choosing a saved query that asks for a word of the request text, rare ("care", about
//     one request in a hundred) and common ("job"), and going back to "All Records".
//
//   bench_prayer [FOLDER] [REQUESTS]     (default: /tmp/vesp-bench-prayer, 1000000)
// The folder is filled by the sample-data generator when its PrayerRequest file is missing.
#include <QApplication>
#include <QFile>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/keyset_reference.h"
#include "querywizard/display_text.h"
#include "querywizard/library_windows.h"
#include "querywizard/wizard_layout.h"
#include "records/error_manager.h"
#include "runtime/gui/control.h"
#include "runtime/gui/frame_host.h"
#include "runtime/gui/paged_list.h"
#include "runtime/testing/test_robot.h"
#include "runtime/gui/threads.h"
#include "runtime/os/desktop_settings.h"
#include "runtime/testing/fake_desktop_settings.h"
#include "shell/browse_menu.h"
#include "shell/startup.h"

using namespace vrt;
using namespace vesp;

namespace {

constexpr const char* kWindow = "Browse the Prayer Request File";
constexpr const char* kList = "?Browse:1";
constexpr const char* kQueries = "?SavedQueries";
constexpr std::string_view kWizard = qrywiz::kWizardProcedure;
constexpr int kRuns = 21;

struct Row {
  std::string name;
  std::vector<double> micros{};
};

class Bench {
 public:
  template <typename Action>
  void time(Row& row, Action&& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    if (PagedList* l = list()) l->repaint();
    row.micros.push_back(
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
  }
  void open() {
    StartBrowse(*browseEntry("BrowsePrayerRequest"));
    robot.settle();
  }
  PagedList* list() const { return robot.findWindow(kWindow) ? robot.control(kWindow, kList).list() : nullptr; }
  int rows() const { return list() ? list()->rowCount() : 0; }
  std::string firstRow() const {
    PagedList* l = list();
    return l && l->rowCount() > 0 ? "#" + l->rowAt(1).at(0) + " " + l->rowAt(1).at(1) : "<none>";
  }
  // Through the wizard once: Custom Query..., the request contains `word`, saved.
  bool saveQuery(const std::string& word, const std::string& description) {
    robot.chooseItem(kWindow, kQueries, "Custom Query...");
    if (!robot.findWindow(kWizard)) return false;
    PagedList* fields = robot.control(kWizard, "?FieldList").list();
    for (int r = 1; r <= fields->rowCount(); ++r)
      if (fields->rowAt(r)[0] == "PRA:Request") robot.chooseRow(kWizard, "?FieldList", r);
    robot.press(kWizard, "?Next");
    robot.chooseRow(kWizard, "?OperationList", 8);  // contains
    robot.press(kWizard, "?Next");
    robot.type(kWizard, "?Value", word);
    robot.press(kWizard, "?Next");
    robot.press(kWizard, "?Finish");
    robot.pressMessageButton("Yes");
    robot.type(qrywiz::kDescriptionProcedure, "?Description", description);
    robot.press(qrywiz::kDescriptionProcedure, "?OK");
    return !robot.findWindow(kWizard) && robot.control(kWindow, kQueries).text() == description;
  }

  TestRobot robot;
};

void print(const Row& r) {
  std::printf("%-44s %5zu %9.0f %9.0f %9.0f\n", r.name.c_str(), r.micros.size(),
              *std::min_element(r.micros.begin(), r.micros.end()), vbench::median(r.micros),
              *std::max_element(r.micros.begin(), r.micros.end()));
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "/tmp/vesp-bench-prayer";
  const std::int64_t requests = argc > 2 ? std::atoll(argv[2]) : 1'000'000;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  vbench::DataFolder in(folder);
  if (!vbench::ensurePrayerRequests(requests, folder)) return 1;
  QFile::remove("QUERIES.TPS");  // each run saves its own queries

  installDesktopSettings(std::make_unique<FakeDesktopSettings>(true));
  errorManager().SetEndHook([](Level) {});
  StartProgram();
  // The wizard's windows and the fixed entries of the drop list, as start-up gives them.
  qrywiz::useLibraryWindows();
  qrywiz::XB_SETQWDISPLAYTEXT(302, "All Records");
  qrywiz::XB_SETQWDISPLAYTEXT(303, "Custom Query...");
  Bench b;
  b.robot.settle();
  if (!FrameHost::frame()) {
    std::cerr << "the program's frame did not come up\n";
    return 1;
  }

  Row opening{"open to first page (all records)"};
  for (int i = 0; i < kRuns; ++i) {
    b.time(opening, [&] { b.open(); });
    if (b.robot.messageBox() || b.rows() == 0) {
      std::cerr << "the browse did not open on a page of requests\n";
      return 1;
    }
    if (i + 1 < kRuns) b.robot.press(kWindow, "?Close");
  }
  const std::string top = b.firstRow();
  const int pageRows = b.rows();
  if (!b.saveQuery("care", "Care") || !b.saveQuery("job", "Job")) {
    std::cerr << "the queries could not be saved through the wizard\n";
    return 1;
  }

  Row care{"choose saved query: request contains 'care'"}, job{"choose saved query: request contains 'job'"},
      all{"back to All Records"};
  std::string careTop, jobTop;
  int careRows = 0, jobRows = 0;
  for (int i = 0; i < kRuns; ++i) {
    b.time(care, [&] { b.robot.chooseItem(kWindow, kQueries, "Care"); });
    careTop = b.firstRow();
    careRows = b.rows();
    b.time(all, [&] { b.robot.chooseItem(kWindow, kQueries, "All Records"); });
    b.time(job, [&] { b.robot.chooseItem(kWindow, kQueries, "Job"); });
    jobTop = b.firstRow();
    jobRows = b.rows();
    b.time(all, [&] { b.robot.chooseItem(kWindow, kQueries, "All Records"); });
  }
  if (careTop == top || jobTop == top || careTop.find("care") == std::string::npos ||
      jobTop.find("job") == std::string::npos) {
    std::cerr << "the query did not filter: top " << top << ", care " << careTop << ", job " << jobTop << "\n";
    return 1;
  }

  std::cout << requests << " prayer requests, BrowsePrayerRequest (" << pageRows
            << " visible rows, date-started order), offscreen; microseconds per user action until the threads"
               " wait and the list is painted\n";
  std::cout << "first rows: all " << top << "\n            care (" << careRows << " rows) " << careTop
            << "\n            job (" << jobRows << " rows) " << jobTop << "\n\n";
  std::printf("%-44s %5s %9s %9s %9s\n", "operation", "runs", "min", "median", "max");
  for (const Row& r : {opening, care, job, all}) print(r);

  EndAllThreads();
  installDesktopSettings(nullptr);
  errorManager().SetEndHook(nullptr);
  return 0;
}
