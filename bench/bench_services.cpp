// Service planning over 100,000 services with 1,000,000 service elements, on Qt's offscreen
// platform, driven by the test robot as a user would: each figure is the wall time from the
// user's action until every thread waits again and the lists have been painted.
//
//   bench_services [FOLDER] [SERVICES] [ELEMENTS PER SERVICE] [--engine files|server|both]
//                  [--server CONNECTION]  (default: /tmp/vesp-bench-services, 100000, 10, files)
// The folder is filled by the sample-data generator when its Service file is missing; one
// service in the middle then gets 40 elements more, for 50 in all. A server
// (bench/bench_engines.h) gets the folder's data copied in when it holds none.
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "bench/bench_engines.h"
#include "bench/bench_support.h"
#include "dictionary/tables.h"
#include "records/error_manager.h"
#include "records/thread_dictionary.h"
#include "runtime/gui/control.h"
#include "runtime/gui/events.h"
#include "runtime/gui/frame_host.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/window.h"
#include "runtime/gui/paged_list.h"
#include "runtime/testing/test_robot.h"
#include "runtime/gui/threads.h"
#include "runtime/os/desktop_settings.h"
#include "runtime/data/errors.h"
#include "runtime/store/transaction.h"
#include "runtime/testing/fake_desktop_settings.h"
#include "shell/startup.h"
#include "tools/vesp_data/sample_data.h"
#include "windows/procedures.h"
#include "windows/thread_globals.h"
#include "windows/window_controller.h"

using namespace vrt;
using namespace vesp;

namespace {

constexpr const char* kBrowse = "Browse the Service File";
constexpr const char* kForm = "Changing a Service Record";
constexpr int kRuns = 21;
constexpr int kMoves = 200;

struct Row {
  std::string name;
  std::vector<double> micros{};
};

void print(const Row& r) {
  std::printf("%-46s %5zu %9.0f %9.0f %9.0f\n", r.name.c_str(), r.micros.size(),
              *std::min_element(r.micros.begin(), r.micros.end()), vbench::median(r.micros),
              *std::max_element(r.micros.begin(), r.micros.end()));
}

class Bench {
 public:
  // The action, then the window's lists painted.
  template <typename Action>
  void time(Row& row, const char* window, std::initializer_list<const char*> lists, Action&& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    for (const char* l : lists)
      if (robot.findWindow(window)) robot.control(window, l).list()->repaint();
    row.micros.push_back(
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
  }
  void run(std::function<void()> body) {
    StartThread(std::move(body), 50'000);
    robot.settle();
  }
  int rows(const char* window, const char* list) const {
    return robot.findWindow(window) ? robot.control(window, list).list()->rowCount() : -1;
  }
  // What the user sees instead of a full list, for a bench that stops.
  std::string seen(const char* window, const char* list) const {
    if (Window* box = robot.messageBox())
      return "a message \"" + box->caption() + ": " + box->control(kMessageTextUse)->text() + "\"";
    return std::to_string(rows(window, list)) + " rows";
  }
  TestRobot robot;
};

bool generate(std::int64_t services, std::int64_t perService, const std::string& folder) {
  if (std::filesystem::exists("Service.vdb")) return true;
  std::cout << "Generating " << services << " services with " << perService << " elements each in " << folder
            << " ...\n";
  tools::SampleOptions options;
  options.prayerRequests = 0;
  options.services = services;
  options.elementsPerService = perService;
  std::ostringstream log;
  const auto start = std::chrono::steady_clock::now();
  if (tools::generateSampleData(options, log, std::cerr) != 0) return false;
  std::cout << "bulk insert (all tables): "
            << std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() << " s\n";
  return true;
}

// Every operation on the engine where the data lives now, printed; false when a window does
// not behave.
// The service form opened to change service `target`, as Enter on its row would.
void changeService(std::int64_t target) {
  FileManager& f = Access(tables::Service);
  static_cast<void>(f.Open());
  f.BUFFER()->setNumber(f.FILE()->schema().fields[0], static_cast<double>(target));
  if (f.Fetch(0) == Level::Benign) {
    threadGlobals().GlobalRequest = Request::Change;
    FindProcedure("UpdateService")();
  }
  static_cast<void>(f.Close());
}

bool measure(Bench& b, std::int64_t services, std::int64_t elements, std::int64_t ofTarget, std::int64_t target,
             std::vector<Row>& rows) {
  Row opening{"open BrowseService to first painted page", {}};
  for (int i = 0; i < kRuns; ++i) {
    b.time(opening, kBrowse, {"?BROWSE:1", "?LIST"}, [&] {
      b.run([] {
        threadGlobals().GlobalRequest = Request::None;
        FindProcedure("BrowseService")();
      });
    });
    // A full page is as many rows as the list shows in the room the frame gives it.
    const int page = b.robot.findWindow(kBrowse) ? b.robot.control(kBrowse, "?BROWSE:1").list()->visibleItems() : 0;
    if (b.robot.messageBox() || page < 1 || b.rows(kBrowse, "?BROWSE:1") != page) {
      std::cerr << "the browse did not open on a full page of " << page << " rows: " << b.seen(kBrowse, "?BROWSE:1")
                << "\n";
      return false;
    }
    if (i + 1 < kRuns) b.robot.press(kBrowse, "?Close");
  }

  Row moving{"move the highlight one row, element list refilled", {}};
  std::string firstElements, lastElements;
  b.robot.chooseRow(kBrowse, "?BROWSE:1", 1);
  firstElements = b.robot.control(kBrowse, "?LIST").list()->cellText(1, 1);
  for (int i = 0; i < kMoves; ++i)
    b.time(moving, kBrowse, {"?BROWSE:1", "?LIST"}, [&] { b.robot.pressKey(kBrowse, kDownKey, "?BROWSE:1"); });
  lastElements = b.robot.control(kBrowse, "?LIST").list()->cellText(1, 1);
  const int elementRows = b.rows(kBrowse, "?LIST");
  b.robot.press(kBrowse, "?Close");

  Row form{"open UpdateService on a service with 50 elements", {}};
  int formRows = 0;
  for (int i = 0; i < kRuns; ++i) {
    b.time(form, kForm, {"?List:ServiceElements"}, [&] {
      b.run([target] { changeService(target); });
    });
    formRows = b.rows(kForm, "?List:ServiceElements");
    if (formRows <= 0) {
      std::cerr << "the service form did not open with its elements\n";
      return false;
    }
    b.robot.press(kForm, "?Cancel");
  }

  // One element of the 50 moved down and back up by Ctrl+Down / Ctrl+Up: the orders of all
  // 50 renumbered in one transaction, the list refilled with it highlighted, the running
  // time summed again, and the list painted.
  Row reorder{"move one element of 50 (renumbered, repainted)"};
  b.run([target] { changeService(target); });
  b.robot.chooseTab(kForm, "?CurrentTab", "Service Elements");
  b.robot.chooseRow(kForm, "?List:ServiceElements", 2);
  const std::string moved = b.robot.control(kForm, "?List:ServiceElements").list()->cellText(2, 1);
  for (int i = 0; i < kMoves; ++i)
    b.time(reorder, kForm, {"?List:ServiceElements"}, [&] {
      b.robot.pressKey(kForm, i % 2 == 0 ? (int{kCtrl} | kDownKey) : (int{kCtrl} | kUpKey), "?List:ServiceElements");
    });
  PagedList* order = b.robot.control(kForm, "?List:ServiceElements").list();
  if (b.robot.messageBox() || order->cellText(order->selectedRow(), 1) != moved) {
    std::cerr << "the moved element is not the highlighted one\n";
    return false;
  }
  const std::string runningTime = b.robot.control(kForm, "?RunningTime").text();
  b.robot.press(kForm, "?Cancel");

  // What no reorder can go below: one changed element made durable on its own, as every
  // save is (the journal and the file flushed to the disk).
  Row commit{"one element saved alone (the disk's floor)"};
  b.run([&] {
    FileManager& f = Access(tables::ServiceElement);
    if (f.Open() != Level::Benign || f.Use() != Level::Benign) return;
    vrt::DataFile& file = *f.FILE();
    RecordRef(*f.BUFFER()).set(SEL_SERVICENUMBER, static_cast<double>(target));
    RecordRef(*f.BUFFER()).set(SEL_ELEMENTORDER, 0.0);
    file.setToValue(dict::idx::SEL::keys::ServiceElementKey);
    const std::int64_t rowid = file.next() ? file.currentRowid() : 0;
    for (int i = 0; rowid && i < kMoves; ++i) {
      const auto start = std::chrono::steady_clock::now();
      vrt::Transaction t({&file}, 2);
      if (!t.begin() || !file.getByRowid(rowid)) {
        std::cerr << vrt::errorMessage() << "\n";
        break;
      }
      file.put();
      t.commit();
      commit.micros.push_back(
          std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    static_cast<void>(f.Close());
  });
  if (commit.micros.empty()) {
    std::cerr << "no element of the service could be saved alone\n";
    return false;
  }

  rows = {opening, moving, form, reorder, commit};
  std::cout << services << " services, " << elements << " service elements (" << ofTarget << " in service " << target
            << "), offscreen; microseconds per user action until the threads wait and the lists are painted\n";
  std::cout << "element list: first row \"" << firstElements << "\" at the top, \"" << lastElements << "\" after "
            << kMoves << " moves (" << elementRows << " rows); the form's element list shows " << formRows
            << " rows; \"" << moved << "\" moved " << kMoves << " times, " << runningTime << "\n\n";
  std::printf("%-46s %5s %9s %9s %9s\n", "operation", "runs", "min", "median", "max");
  for (const Row& r : rows) print(r);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<vbench::Engine> engines = vbench::engines(argc, argv);
  if (engines.empty()) return 2;
  const std::string folder = argc > 1 ? argv[1] : "/tmp/vesp-bench-services";
  const std::int64_t services = argc > 2 ? std::atoll(argv[2]) : 100'000;
  const std::int64_t perService = argc > 3 ? std::atoll(argv[3]) : 10;
  const std::int64_t target = services / 2;  // the service with 50 elements
  vbench::useOffscreenDesktop();
  QApplication app(argc, argv);
  vbench::DataFolder in(folder);
  const bool fresh = !std::filesystem::exists("Service.vdb");
  if (!generate(services, perService, folder)) return 1;

  installDesktopSettings(std::make_unique<FakeDesktopSettings>(true));
  errorManager().SetEndHook([](Level) {});
  StartProgram();
  Bench b;
  b.robot.settle();
  if (!FrameHost::frame()) {
    std::cerr << "the program's frame did not come up\n";
    return 1;
  }
  std::int64_t elements = 0, ofTarget = 0;
  b.run([&] {
    FileManager& f = Access(tables::ServiceElement);
    static_cast<void>(f.Open());
    for (std::int64_t order = perService + 1; fresh && order <= 50; ++order) {
      static_cast<void>(f.ClearForInsert());
      RecordRef r(*f.BUFFER());
      r.set(SEL_SERVICENUMBER, static_cast<double>(target));
      r.set(SEL_ELEMENTORDER, static_cast<double>(order));
      r.set(SEL_TITLE, "Added element " + std::to_string(order));
      static_cast<void>(f.Insert());
    }
    static_cast<void>(f.Use());
    elements = f.FILE()->records();
    static_cast<void>(f.Close());
  });
  ofTarget = std::max<std::int64_t>(perService, 50);

  std::vector<std::vector<Row>> measured;
  for (const vbench::Engine& engine : engines) {
    if (!vbench::useEngine(engine)) return 1;
    std::cout << "\n== " << engine.name << ": " << engine.location.describe() << "\n";
    std::vector<Row> rows;
    if (!measure(b, services, elements, ofTarget, target, rows)) return 1;
    measured.push_back(std::move(rows));
  }
  if (measured.size() == 2) {
    std::vector<std::string> names;
    std::vector<std::vector<double>> files, server;
    for (std::size_t i = 0; i < measured[0].size(); ++i) {
      names.push_back(measured[0][i].name);
      files.push_back(measured[0][i].micros);
      server.push_back(measured[1][i].micros);
    }
    vbench::printComparison(names, files, server);
  }

  EndAllThreads();
  installDesktopSettings(nullptr);
  errorManager().SetEndHook(nullptr);
  return 0;
}
