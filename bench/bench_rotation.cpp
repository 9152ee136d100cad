// Song rotation: what keeping the bibliography's first and last used dates costs when an
// element is saved, and a page of the bibliography in last-used order, on Qt's offscreen
// platform. Two data sets: five years of services (260 services, 2,600 elements, 2,000
// entries) and a large file (10,000 services, 100,000 elements, 2,000 entries).
//
//   bench_rotation [FOLDER [SERVICES]]   (default: /tmp/vesp-bench-rotation, both sets, each
//                                         in a process of its own)
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "bench/bench_support.h"
#include "dictionary/dictionary.h"
#include "dictionary/tables.h"
#include "records/error_manager.h"
#include "records/levels.h"
#include "records/thread_dictionary.h"
#include "runtime/gui/control.h"
#include "runtime/gui/frame_host.h"
#include "runtime/gui/paged_list.h"
#include "runtime/testing/test_robot.h"
#include "runtime/gui/threads.h"
#include "runtime/testing/fake_desktop_settings.h"
#include "runtime/store/data_file.h"
#include "runtime/store/view.h"
#include "worship/song_rotation.h"
#include "shell/startup.h"
#include "windows/procedures.h"
#include "windows/thread_globals.h"

using namespace vrt;
using namespace vesp;

namespace {

constexpr const char* kWindow = "Browse the Bibliography File";
constexpr int kEntries = 2000;

struct Sizes {
  const char* name;
  int services, perService;
};

bool write(const dict::TableDecl& table, std::int64_t count, const std::function<void(RecordRef, std::int64_t)>& fill) {
  DataFile file(dict::schemaOf(table));
  std::filesystem::remove(file.path());
  if (!file.create() || !file.open() || !file.stream()) return false;
  for (std::int64_t i = 1; i <= count; ++i) {
    file.buffer().clearAll(file.schema().fields);
    fill(file.buffer(), i);
    if (!file.add()) return false;
  }
  return file.flush();
}

// Weekly services; every other element a song from the whole bibliography.
bool makeData(const Sizes& s) {
  std::uint64_t seed = 12345;
  auto random = [&seed](int n) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int>((seed >> 33) % static_cast<std::uint64_t>(n));
  };
  const DayNumber start = dateFromYmd(2021, 1, 3);
  bool ok = write(tables::Bibliography, kEntries, [](RecordRef b, std::int64_t i) {
    b.set(BBL_BIBLIOGRAPHYNUMBER, static_cast<std::int32_t>(i));
    b.set(BBL_TITLE, "Song " + std::to_string(i));
  });
  ok = ok && write(tables::Service, s.services, [&](RecordRef r, std::int64_t i) {
    r.set(SER_SERVICENUMBER, static_cast<std::int32_t>(i));
    r.set(SER_TITLE, "Service " + std::to_string(i));
    r.set(SER_WEEKOFDATE_DATE, start + static_cast<DayNumber>(7 * ((i - 1) % 1400)));
  });
  ok = ok && write(tables::ServiceElement, static_cast<std::int64_t>(s.services) * s.perService,
                   [&](RecordRef r, std::int64_t i) {
                     r.set(SEL_ELEMENTNUMBER, static_cast<std::int32_t>(i));
                     r.set(SEL_SERVICENUMBER, static_cast<std::int32_t>((i - 1) / s.perService + 1));
                     r.set(SEL_ELEMENTORDER, static_cast<std::int32_t>((i - 1) % s.perService + 1));
                     r.set(SEL_BIBLIOGRAPHYNUMBER, i % 2 ? 0 : random(kEntries) + 1);
                   });
  if (!ok) return false;
  DataFile services(dict::schemaOf(tables::Service)), elements(dict::schemaOf(tables::ServiceElement)),
      bibliography(dict::schemaOf(tables::Bibliography));
  return services.open() && elements.open() && bibliography.open() &&
         RecomputeAllSongUse(services, elements, bibliography) >= 0;
}

void print(const char* name, const std::vector<double>& v) {
  std::printf("  %-56s %5zu %9.0f %9.0f %9.0f\n", name, v.size(), *std::min_element(v.begin(), v.end()),
              vbench::median(v), *std::max_element(v.begin(), v.end()));
}

// Runs `body` on a program thread of its own until it is done.
void onThread(TestRobot& robot, std::function<void()> body) {
  StartThread(std::move(body), 50'000);
  robot.settle();
}

void measure(const Sizes& s, TestRobot& robot) {
  std::vector<double> save, insert, plain, upkeep, scan;
  onThread(robot, [&] {
    FileManager& elements = Access(tables::ServiceElement);
    RelationManager& relate = Relate(tables::ServiceElement);
    static_cast<void>(relate.Open());
    int element = 2;
    // Saving a changed element as its form does: the write, its entries' upkeep, one transaction.
    save = vbench::timeRuns(101, [&] {
      elements.BUFFER()->set(SEL_ELEMENTNUMBER, element);
      element = element % (s.services * s.perService) + 2;
      if (elements.Fetch(dict::idx::SEL::keys::ElementNumberKey) != Level::Benign) return;
      elements.BUFFER()->set(SEL_BIBLIOGRAPHYNUMBER, elements.BUFFER()->get(SEL_BIBLIOGRAPHYNUMBER) % kEntries + 1);
      static_cast<void>(relate.Update(true));
    });
    insert = vbench::timeRuns(51, [&] {
      static_cast<void>(elements.ClearForInsert());
      elements.BUFFER()->set(SEL_SERVICENUMBER, s.services);
      elements.BUFFER()->set(SEL_ELEMENTORDER, 99);
      elements.BUFFER()->set(SEL_BIBLIOGRAPHYNUMBER, 7);
      static_cast<void>(relate.Insert(false));
    });
    // For comparison, a save of a table without upkeep: the write and its commit alone.
    FileManager& entries = Access(tables::Bibliography);
    RelationManager& relateEntries = Relate(tables::Bibliography);
    static_cast<void>(relateEntries.Open());
    int n = 0;
    plain = vbench::timeRuns(101, [&] {
      entries.BUFFER()->set(BBL_BIBLIOGRAPHYNUMBER, n % kEntries + 1);
      if (entries.Fetch(dict::idx::BBL::keys::BibliographyNumberKey) != Level::Benign) return;
      entries.BUFFER()->set(BBL_DESCRIPTION, "Revised " + std::to_string(++n));
      static_cast<void>(relateEntries.Update(true));
    });
    static_cast<void>(relateEntries.Close());
    // The upkeep alone, and what it would cost without the elements' side index: every
    // element read to find the entry's.
    DataFile& services = TableFile(tables::Service);
    DataFile& selFile = TableFile(tables::ServiceElement);
    DataFile& bibliography = TableFile(tables::Bibliography);
    int entry = 1;
    upkeep = vbench::timeRuns(101, [&] {
      RecomputeSongUse(services, selFile, bibliography, entry);
      entry = entry % kEntries + 1;
    });
    scan = vbench::timeRuns(11, [&] {
      View v(selFile);
      v.setOrder("+SEL:ElementNumber");
      v.setFilter("SEL:BibliographyNumber + 0 = " + std::to_string(entry));  // not pushed into the query
      v.open();
      v.setToStart();
      int n = 0;
      while (v.next()) ++n;
      entry = entry % kEntries + 1;
    });
    static_cast<void>(relate.Close());
  });

  // A page of the bibliography in last-used order: Page Down from the top, End, Home.
  onThread(robot, [] {
    threadGlobals().GlobalRequest = Request::None;
    FindProcedure("BrowseBibliography")();
  });
  if (!robot.findWindow(kWindow)) {
    std::cerr << "the bibliography browse did not open\n";
    return;
  }
  PagedList* list = robot.control(kWindow, "?Browse:1").list();
  robot.chooseTab(kWindow, "?CurrentTab", "Last Used");
  auto key = [&](int k) {
    return [&robot, list, k] {
      robot.pressKey(kWindow, k, "?Browse:1");
      list->repaint();
    };
  };
  robot.pressKey(kWindow, kHomeKey, "?Browse:1");
  const auto down = vbench::timeRuns(51, key(kPgDnKey));
  std::vector<double> ends;
  for (int i = 0; i < 11; ++i) {
    for (int k : {kEndKey, kHomeKey}) {
      const auto t0 = std::chrono::steady_clock::now();
      key(k)();
      ends.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
    }
  }
  const std::string top = list->cellText(1, 10);
  robot.press(kWindow, "?Close");

  std::printf("\n%s: %d services, %d elements, %d bibliography entries (microseconds)\n", s.name, s.services,
              s.services * s.perService, kEntries);
  std::printf("  %-56s %5s %9s %9s %9s\n", "", "runs", "min", "median", "max");
  print("save a changed element, with its two entries' upkeep", save);
  print("insert an element, with its entry's upkeep", insert);
  print("save a changed bibliography entry (no upkeep)", plain);
  print("one entry's upkeep alone, dates unchanged (side index)", upkeep);
  print("finding one entry's elements by reading them all", scan);
  print("BrowseBibliography page down, last-used order", down);
  print("BrowseBibliography End / Home, last-used order", ends);
  std::printf("  most recently used shown first: %s\n", top.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "/tmp/vesp-bench-rotation";
  const Sizes sizes[] = {{"five years", 260, 10}, {"large file", 10'000, 10}};
  if (argc < 3) {
    int rc = 0;
    for (const Sizes& s : sizes)
      rc |= std::system((std::string(argv[0]) + " '" + folder + "' " + std::to_string(s.services)).c_str());
    return rc ? 1 : 0;
  }
  const int services = std::atoi(argv[2]);
  Sizes s{"services", services, 10};
  for (const Sizes& known : sizes)
    if (known.services == services) s = known;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  installDesktopSettings(std::make_unique<FakeDesktopSettings>(true));
  errorManager().SetEndHook([](Level) {});
  const std::string sub = folder + "/" + std::to_string(s.services);
  std::filesystem::create_directories(sub);
  vbench::DataFolder in(sub);
  if (!makeData(s)) {
    std::cerr << "the data could not be written\n";
    return 1;
  }
  StartProgram();
  TestRobot robot;
  robot.settle();
  if (!FrameHost::frame()) return 1;
  measure(s, robot);
  return 0;
}
