// The bibliography's search as the user types, over 10,000 entries, on Qt's offscreen
// platform: each figure is one typed character, from the key press until the threads wait
// again and the list has been painted.
//
//   bench_bibliography [FOLDER] [ENTRIES]     (default: /tmp/vesp-bench-bibliography, 10000)
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "bench/bench_support.h"
#include "dictionary/dictionary.h"
#include "dictionary/tables.h"
#include "records/error_manager.h"
#include "runtime/gui/control.h"
#include "runtime/gui/frame_host.h"
#include "runtime/gui/paged_list.h"
#include "runtime/testing/test_robot.h"
#include "runtime/gui/threads.h"
#include "runtime/os/desktop_settings.h"
#include "runtime/testing/fake_desktop_settings.h"
#include "runtime/store/data_file.h"
#include "shell/startup.h"
#include "windows/procedures.h"
#include "windows/thread_globals.h"

using namespace vrt;
using namespace vesp;

namespace {

constexpr const char* kWindow = "Browse the Bibliography File";

// Titles of three words from a small vocabulary, so a typed word matches many entries and
// a second word narrows them.
const char* const kWords[] = {"Amazing", "Grace", "Holy",    "Spirit", "Come",   "Thou",  "Fount", "Blessed",
                              "Jesus",   "Lord",  "Great",   "Faith",  "Living", "Hope",  "Light", "Morning",
                              "Praise",  "King",  "Glorious", "Name",  "Dios",   "está",  "aquí",  "Señor"};

bool makeEntries(std::int64_t count) {
  DataFile file(dict::schemaOf(tables::Bibliography));
  if (std::filesystem::exists(file.path())) {
    if (!file.open(OpenAccess::ReadOnly)) return false;
    if (file.records() == count) return true;
    file.close();
    std::filesystem::remove(file.path());
  }
  if (!file.create() || !file.open() || !file.stream()) return false;
  RecordRef b = file.buffer();
  constexpr int n = static_cast<int>(std::size(kWords));
  for (std::int64_t i = 1; i <= count; ++i) {
    file.buffer().clearAll(file.schema().fields);
    b.set(BBL_BIBLIOGRAPHYNUMBER, static_cast<std::int32_t>(i));
    b.set(BBL_TITLE, std::string(kWords[i % n]) + " " + kWords[(i / n) % n] + " " + kWords[(i / (n * n)) % n]);
    b.set(BBL_WRITTENBY, std::string(kWords[(i * 7) % n]) + " Writer");
    b.set(BBL_CCLI, std::to_string(1'000'000 + i));
    if (!file.add()) return false;
  }
  file.flush();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "/tmp/vesp-bench-bibliography";
  const std::int64_t entries = argc > 2 ? std::atoll(argv[2]) : 10'000;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  vbench::DataFolder in(folder);
  if (!makeEntries(entries)) {
    std::cerr << "the bibliography could not be written\n";
    return 1;
  }
  installDesktopSettings(std::make_unique<FakeDesktopSettings>(true));
  errorManager().SetEndHook([](Level) {});
  StartProgram();
  TestRobot robot;
  robot.settle();
  if (!FrameHost::frame()) return 1;
  StartThread([] {
    threadGlobals().GlobalRequest = Request::None;
    FindProcedure("BrowseBibliography")();
  }, 50'000);
  robot.settle();
  if (!robot.findWindow(kWindow)) {
    std::cerr << "the bibliography browse did not open\n";
    return 1;
  }
  PagedList* list = robot.control(kWindow, "?Browse:1").list();

  // Each run types the words key by key and then clears them.
  const std::string typed = "grace hol";
  std::vector<double> keys, narrowest;
  int shownAfterFirst = 0, shownAtEnd = 0;
  for (int run = 0; run < 11; ++run) {
    for (std::size_t i = 0; i < typed.size(); ++i) {
      const auto start = std::chrono::steady_clock::now();
      robot.typeCharacter(kWindow, typed.substr(i, 1), "?WordSearch");
      list->repaint();
      const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
      (i + 1 == typed.size() ? narrowest : keys).push_back(us);
      if (i == 0) shownAfterFirst = list->rowCount();
    }
    shownAtEnd = list->rowCount();
    robot.type(kWindow, "?WordSearch", "");
    robot.typeCharacter(kWindow, " ", "?WordSearch");
  }
  std::printf("%lld bibliography entries, BrowseBibliography in title order, offscreen; microseconds per typed "
              "character until the threads wait and the list is painted\n",
              static_cast<long long>(entries));
  std::printf("typed \"%s\": %d rows shown after the first key, %d after the last\n\n", typed.c_str(),
              shownAfterFirst, shownAtEnd);
  auto print = [](const char* name, const std::vector<double>& v) {
    std::printf("%-36s %5zu %9.0f %9.0f %9.0f\n", name, v.size(), *std::min_element(v.begin(), v.end()),
                vbench::median(v), *std::max_element(v.begin(), v.end()));
  };
  std::printf("%-36s %5s %9s %9s %9s\n", "keystroke", "runs", "min", "median", "max");
  print("each key of \"grace ho\"", keys);
  print("the last key (\"grace hol\")", narrowest);
  return 0;
}
