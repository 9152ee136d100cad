// A browse over 1,000,000 prayer requests in date order, 20 rows, on Qt's offscreen platform,
// driven by the test robot as a user would: each figure is the wall time from the user's
// action until every thread waits again and the list has been painted. Printed beside the
// raw keyset page read the store benchmark compares against.
//
//   bench_browse [FOLDER] [REQUESTS] [--engine files|server|both] [--server CONNECTION]
//                                        (default: /tmp/vesp-bench-browse, 1000000, files)
// The folder is filled by the sample-data generator when its PrayerRequest file is missing;
// a server (bench/bench_engines.h) gets the folder's data copied in when it holds none.
#include <QApplication>
#include <QEvent>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "bench/bench_engines.h"
#include "bench/bench_support.h"
#include "bench/keyset_reference.h"
#include "dictionary/dictionary.h"
#include "dictionary/tables.h"
#include "records/error_manager.h"
#include "runtime/data/errors.h"
#include "runtime/gui/control.h"
#include "runtime/gui/events.h"
#include "runtime/gui/frame_host.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/window.h"
#include "runtime/gui/paged_list.h"
#include "runtime/testing/test_robot.h"
#include "runtime/gui/threads.h"
#include "runtime/os/desktop_settings.h"
#include "runtime/testing/fake_desktop_settings.h"
#include "runtime/store/data_file.h"
#include "runtime/store/pg_db.h"
#include "runtime/store/view.h"
#include "shell/startup.h"
#include "windows/browse_declaration.h"
#include "windows/thread_globals.h"

using namespace vrt;
using namespace vesp;
namespace PRA = dict::idx::PRA;

namespace {

constexpr const char* kWindow = "Browse the PrayerRequest File";
constexpr const char* kList = "?Browse:1";
constexpr const char* kLocator = "?Locator:1";
constexpr int kPages = 100;  // page presses per run
constexpr int kRuns = 21;    // repetitions of the operations that are not page presses

const BrowseDecl& prayerBrowse() {
  static const BrowseDecl decl = [] {
    BrowseDecl b("BenchBrowsePrayerRequest", kWindow, tables::PrayerRequest);
    b.rows = 20;
    b.columns = {{"Date Started", 10, "@d2-b", {tables::PrayerRequest, PRA::DATESTARTED}},
                 {"Request #", 9, "@n9", {tables::PrayerRequest, PRA::REQUESTNUMBER}, true},
                 {"Category", 20, "@s20", {tables::PrayerRequest, PRA::REQUESTCATEGORY}},
                 {"Request", 40, "@s40", {tables::PrayerRequest, PRA::REQUEST}}};
    b.tabs = {{"&Date Started", PRA::keys::DateStartedKey, BrowseTab::Locator::Entry, "Date Started:", 1, true}};
    b.insert = b.change = b.remove = b.select = false;
    b.help = false;
    b.rememberPlace = false;
    return b;
  }();
  return decl;
}

long residentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
}

// One operation's runs: the whole wait, and the part of it the list's final paint took.
struct Row {
  Row(std::string n, std::vector<double> m = {}) : name(std::move(n)), micros(std::move(m)) {}
  std::string name;
  std::vector<double> micros, paint;
};

// Counts the paints of a browse list's rows (the table's viewport).
struct ListPaintCounter : QObject {
  int* count;
  explicit ListPaintCounter(int* c) : count(c) {}
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::Paint && watched->parent() && watched->parent()->inherits("QTableWidget")) ++*count;
    return false;
  }
};

class Bench {
 public:
  Bench() { qApp->installEventFilter(&counter); }
  ~Bench() { qApp->removeEventFilter(&counter); }
  int listPaints = 0;
  ListPaintCounter counter{&listPaints};

  // The user's action, then the list painted: what the user waits for.
  // The list is usually painted before the threads settle; when it is not, it is painted
  // here, so every figure includes exactly one paint of the list.
  template <typename Action>
  void time(Row& row, Action&& action) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    listPaints = 0;
    action();
    const auto painting = Clock::now();
    if (PagedList* l = list(); l && listPaints == 0) l->repaint();
    const auto end = Clock::now();
    row.micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    row.paint.push_back(std::chrono::duration<double, std::micro>(end - painting).count());
  }

  void open() {
    StartThread([] {
      threadGlobals().GlobalRequest = Request::None;
      RunBrowse(prayerBrowse());
    }, 50'000);
    robot.settle();
  }
  void close() { robot.press(kWindow, "?Close"); }
  PagedList* list() const {
    return robot.findWindow(kWindow) ? robot.control(kWindow, kList).list() : nullptr;
  }
  // What the user sees instead of a full list, for a bench that stops.
  std::string seen() const {
    if (Window* box = robot.messageBox())
      return "a message \"" + box->caption() + ": " + box->control(kMessageTextUse)->text() + "\"";
    if (!list()) return "no list window";
    return std::to_string(list()->rowCount()) + " rows";
  }
  std::string firstRow() const {
    PagedList* l = list();
    return l && l->rowCount() > 0 ? l->rowAt(1).at(0) + " #" + l->rowAt(1).at(1) : "<none>";
  }
  void key(int code) { robot.pressKey(kWindow, code, kList); }
  void pages(Row& row, int code) {
    for (int i = 0; i < kPages; ++i) time(row, [&] { key(code); });
  }

  TestRobot robot;
};

void print(const Row& r) {
  std::printf("%-34s %5zu %9.0f %9.0f %9.0f", r.name.c_str(), r.micros.size(),
              *std::min_element(r.micros.begin(), r.micros.end()), vbench::median(r.micros),
              *std::max_element(r.micros.begin(), r.micros.end()));
  if (!r.paint.empty()) std::printf(" %9.0f", vbench::median(r.paint));
  std::printf("\n");
}

// Every operation on the engine where the data lives now, printed; false when the browse
// does not behave.
bool measure(Bench& b, const std::string (&dates)[2], std::int64_t n, std::vector<Row>& rows) {
  const long before = residentKiB();
  Row opening{"open to first page"};
  for (int i = 0; i < kRuns; ++i) {
    b.time(opening, [&] { b.open(); });
    if (b.robot.messageBox() || !b.list() || b.list()->rowCount() != 20) {
      std::cerr << "the browse did not open on a full page: " << b.seen() << "\n";
      return false;
    }
    if (i + 1 < kRuns) b.close();
  }
  const std::string top = b.firstRow();
  rows.push_back(opening);

  Row downTop{"page down x100 from the top"}, downMiddle{"page down x100 from the middle"},
      upBottom{"page up x100 from the bottom"}, bottom{"bottom (from the top)"}, topRow{"top (from the bottom)"};
  b.pages(downTop, kPgDnKey);
  const std::string paged = b.firstRow();
  for (int i = 0; i < kRuns; ++i) {
    b.time(bottom, [&] { b.key(kEndKey); });
    b.time(topRow, [&] { b.key(kHomeKey); });
  }
  b.key(kEndKey);
  const std::string last = b.firstRow();
  b.pages(upBottom, kPgUpKey);
  b.robot.dragThumb(kWindow, kList, 50);
  const std::string half = b.firstRow();
  b.pages(downMiddle, kPgDnKey);
  rows.insert(rows.end(), {downTop, downMiddle, upBottom, bottom, topRow});

  Row thumbs[3] = {{"thumb drag to 25"}, {"thumb drag to 50"}, {"thumb drag to 75"}};
  for (int i = 0; i < kRuns; ++i)
    for (int t = 0; t < 3; ++t) b.time(thumbs[t], [&] { b.robot.dragThumb(kWindow, kList, 25 * (t + 1)); });
  rows.insert(rows.end(), std::begin(thumbs), std::end(thumbs));

  Row locate{"entry-locate a date in the middle"};
  for (int i = 0; i < kRuns; ++i) b.time(locate, [&] { b.robot.type(kWindow, kLocator, dates[i % 2]); });
  const std::string located = b.firstRow();
  rows.push_back(locate);
  const long after = residentKiB();
  b.close();
  if (paged == top || last == top || half == top || located == half) {
    std::cerr << "the browse did not move: top " << top << ", paged " << paged << ", bottom " << last << ", thumb 50 "
              << half << ", located " << located << "\n";
    return false;
  }

  std::cout << n << " prayer requests, PRA:DateStartedKey order, 20 visible rows, offscreen; microseconds per user action"
            << " until the threads wait and the list is painted\n";
  std::cout << "first rows seen (date serial #request): top " << top << ", after 100 pages " << paged << ", bottom page " << last << ", thumb 50 " << half << ", located "
            << located << " (typed " << dates[(kRuns - 1) % 2] << ")\n\n";
  std::printf("%-34s %5s %9s %9s %9s %9s\n", "operation", "runs", "min", "median", "max", "painted after settling (median)");
  for (const Row& r : rows) print(r);

  const double start = vbench::median(downTop.micros);
  std::printf("\nflat with position (median / page down from the top): page down middle %.2f, page up bottom %.2f;"
              " thumb 50 / 25 %.2f, thumb 75 / 25 %.2f\n",
              vbench::median(downMiddle.micros) / start, vbench::median(upBottom.micros) / start,
              vbench::median(thumbs[1].micros) / vbench::median(thumbs[0].micros),
              vbench::median(thumbs[2].micros) / vbench::median(thumbs[0].micros));
  std::printf("resident memory: %ld KiB before opening, %ld KiB after all operations, growth %.2f MiB\n", before, after,
              static_cast<double>(after - before) / 1024.0);

  return true;
}

// The query wizard's "contains" on the server: a view in date order with the search as its
// filter, opened and read to its first 20 records, against the very SQL the view sends (its
// text and values taken from the view) run through libpq as psql would run it, unprepared.
// Both timed the same way, in this process, each run reading its rows' values.
void measureContains(const vbench::Engine& server) {
  const auto& schema = dict::schemaOf(tables::PrayerRequest);
  DataFile file(schema);
  if (!file.open(OpenAccess::ReadOnly)) {
    std::cerr << "cannot open PrayerRequest on the server: " << errorMessage() << "\n";
    return;
  }
  pg::Connection raw;
  store::ConnectionCheck check;
  if (!raw.open(server.location, "", check)) {
    std::cerr << check.error << "\n";
    return;
  }
  const char* const filters[] = {"INSTRING('CHEMOTHERAPY',UPPER(PRA:Request),1,1)",
                                 "INSTRING('Okafor',PRA:Request,1,1)",
                                 "INSTRING('FAMILY',UPPER(PRA:Comments),1,1)",
                                 "NOT INSTRING('PRAY',UPPER(PRA:Request),1,1)"};
  const char* const order = "PRA:DateStarted,PRA:RequestNumber";
  std::printf("\ncontains filters on the server, date order, first 20 records (median microseconds of %d runs)\n", kRuns * 5);
  std::printf("%-52s %10s %10s %8s %8s\n", "filter", "view", "same SQL", "ratio", "pushed");
  for (const char* filter : filters) {
    View v(file);
    if (!v.setOrder(order) || !v.setFilter(filter) || !v.open()) {
      std::cerr << filter << ": " << errorMessage() << "\n";
      return;
    }
    const std::string sql = v.serverPageReadSql().at(0);
    const std::vector<std::string> values = v.serverPushedValues();
    const int pushed = v.pushedTerms();
    v.close();
    int rowsSeen = 0;
    const auto viewRuns = vbench::timeRuns(kRuns * 5, [&] {
      View w(file);
      w.setOrder(order);
      w.setFilter(filter);
      w.open();
      rowsSeen = 0;
      while (rowsSeen < 20 && w.next()) ++rowsSeen;
    });
    std::vector<const char*> marks;
    for (const auto& value : values) marks.push_back(value.c_str());
    std::size_t bytes = 0;
    const auto sqlRuns = vbench::timeRuns(kRuns * 5, [&] {
      PGresult* r = PQexecParams(raw.handle(), sql.c_str(), static_cast<int>(marks.size()), nullptr, marks.data(),
                                 nullptr, nullptr, 0);
      for (int row = 0; row < PQntuples(r) && row < 20; ++row)
        for (int col = 0; col < PQnfields(r); ++col) bytes += static_cast<std::size_t>(PQgetlength(r, row, col));
      PQclear(r);
    });
    const double fv = vbench::median(viewRuns), fs = vbench::median(sqlRuns);
    std::printf("%-52s %10.0f %10.0f %8.2f %8d\n", filter, fv, fs, fs > 0 ? fv / fs : 0.0, pushed);
    if (rowsSeen != 20 || bytes == 0) std::printf("  (the view found %d records)\n", rowsSeen);
    std::printf("  SQL: %s\n  values:", sql.c_str());
    for (const auto& value : values) std::printf(" '%s'", value.c_str());
    std::printf("\n");
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<vbench::Engine> engines = vbench::engines(argc, argv);
  if (engines.empty()) return 2;
  const std::string folder = argc > 1 ? argv[1] : "/tmp/vesp-bench-browse";
  const std::int64_t requests = argc > 2 ? std::atoll(argv[2]) : 1'000'000;
  vbench::useOffscreenDesktop();
  QApplication app(argc, argv);
  vbench::DataFolder in(folder);
  if (!vbench::ensurePrayerRequests(requests, folder)) return 1;

  // The reference page read, and the dates to locate, from the file itself.
  const auto& schema = dict::schemaOf(tables::PrayerRequest);
  DataFile file(schema);
  if (!file.open(OpenAccess::ReadOnly)) {
    std::cerr << "cannot open PrayerRequest.vdb: " << errorMessage() << "\n";
    return 1;
  }
  const std::int64_t n = file.records();
  const int key = PRA::keys::DateStartedKey;
  const auto middle = vbench::valuesAtRank(file, key, n / 2);
  const auto nearMiddle = vbench::valuesAtRank(file, key, n / 2 + n / 20);
  const std::string dates[2] = {std::to_string(std::get<std::int64_t>(middle[0])),
                                std::to_string(std::get<std::int64_t>(nearMiddle[0]))};
  sql::Database refDb;
  refDb.open(file.path(), true, false);
  vbench::KeysetReference ref(refDb, file.layout(), key);
  std::vector<std::pair<std::string, std::vector<double>>> reference;
  for (auto [where, rank] : {std::pair{"start", std::int64_t{20}}, std::pair{"middle", n / 2},
                             std::pair{"end", n - 21}}) {
    const auto values = vbench::valuesAtRank(file, key, rank);
    reference.emplace_back(where, vbench::timeRuns(301, [&] { vbench::KeysetReference::readPage(ref.forward, values); }));
  }

  installDesktopSettings(std::make_unique<FakeDesktopSettings>(true));
  errorManager().SetEndHook([](Level) {});
  StartProgram();
  Bench b;
  b.robot.settle();
  if (!FrameHost::frame()) {
    std::cerr << "the program's frame did not come up\n";
    return 1;
  }

  std::vector<std::vector<Row>> measured;
  for (const vbench::Engine& engine : engines) {
    if (!vbench::useEngine(engine)) return 1;
    std::cout << "\n== " << engine.name << ": " << engine.location.describe() << "\n";
    std::vector<Row> rows;
    if (!measure(b, dates, n, rows)) return 1;
    measured.push_back(std::move(rows));
    if (engine.location.onServer()) measureContains(engine);
  }
  std::printf("\n%-34s %5s %9s %9s %9s\n", "raw keyset page read (20 forward), files", "runs", "min", "median", "max");
  for (const auto& [where, micros] : reference) print(Row("  at the " + std::string(where), micros));
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
