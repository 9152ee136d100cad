// Two stations adding records to one table at once: two processes, each inserting 1,000
// services through the record framework as the service form's insert does (the framework
// draws each number), on the files of a fresh folder and on a server (in an empty schema of
// its own, dropped at the end). Printed: records per second for both together and for each
// station, and whether all 2,000 arrived with 2,000 distinct numbers.
//
//   bench_inserts [FOLDER] [RECORDS-PER-STATION] [--engine files|server|both] [--server CONNECTION]
//                                        (default: /tmp/vesp-bench-inserts, 1000, files)
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "bench/bench_engines.h"
#include "dictionary/dictionary.h"
#include "dictionary/tables.h"
#include "dictionary/upgrade_registration.h"
#include "records/error_manager.h"
#include "records/file_manager.h"
#include "records/message_display.h"
#include "records/thread_dictionary.h"
#include "runtime/data/errors.h"
#include "runtime/os/thread_state.h"
#include "runtime/store/pg_db.h"

using namespace vrt;
using namespace vesp;
using Clock = std::chrono::steady_clock;

namespace {

// A message the framework shows is a failure of the run: it is printed and answered.
struct PrintedDisplay : MessageDisplay {
  int shown = 0;
  int ShowMessage(std::string_view text, std::string_view, MessageIcon, int, int defaultButton) override {
    ++shown;
    std::cerr << "station " << ::getpid() << " was shown: " << text << "\n";
    return defaultButton;
  }
  int ShowHistory(const std::vector<HistoryRow>&, int) override { return Button::Ok; }
};

// The dictionary and the error manager of one station's thread.
struct Station {
  PrintedDisplay display;
  ThreadContext context{1};
  ThreadContextScope scope{context};
  Station() {
    errorManager().Setup();
    errorManager().SetDisplay(&display);
    errorManager().SetEndHook([](Level) { std::_Exit(3); });
    dict::registerTablesForUpgrade();
    SetupDictionaryForThread();
  }
  ~Station() {
    KillDictionaryForThread();
    errorManager().SetDisplay(nullptr);
  }
};

// One station: ready, waits for the start, inserts, and says how long it took (seconds,
// on `result`). Exits non-zero when an insert fails.
[[noreturn]] void runStation(int count, int ready, int start, int result) {
  int code = 0;
  {
    Station s;
    FileManager& services = Access(tables::Service);
    // Opened for real now: a plain Open waits for the first record operation.
    if (services.Open() != Level::Benign || services.Use() != Level::Benign) std::_Exit(4);
    char byte = 1;
    if (::write(ready, &byte, 1) != 1 || ::read(start, &byte, 1) < 0) std::_Exit(5);
    const auto begun = Clock::now();
    for (int i = 0; i < count && code == 0; ++i) {
      if (services.ClearForInsert() != Level::Benign) code = 6;
      Buffer(tables::Service).set(SER_TITLE, "Evening prayer " + std::to_string(i));
      if (code == 0 && services.Insert(false) != Level::Benign) code = 7;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - begun).count();
    if (::write(result, &seconds, sizeof seconds) != sizeof seconds) code = 8;
    static_cast<void>(services.Close());
    if (s.display.shown) code = 9;
  }
  std::_Exit(code);
}

struct Outcome {
  double wall = 0;                  // from the start until both stations are done
  double stations[2] = {0, 0};      // each station's own time for its inserts
  std::int64_t stored = 0;
  std::size_t distinct = 0;
  bool ok = false;
};

Outcome measure(int count) {
  Outcome out;
  {
    // The table is made before the stations start, as a first use of the program would.
    Station s;
    FileManager& services = Access(tables::Service);
    if (services.Open() != Level::Benign || services.Use() != Level::Benign) return out;
    static_cast<void>(services.Close());
  }
  int start[2], result[2];
  if (::pipe(start) || ::pipe(result)) return out;
  // The stations open the table one after the other (opening is not what is measured),
  // then insert at the same time. Each says it is ready on a pipe of its own, which ends
  // when it dies first.
  pid_t pids[2];
  bool bothReady = true;
  for (pid_t& pid : pids) {
    int ready[2];
    if (::pipe(ready)) return out;
    pid = ::fork();
    if (pid == 0) {
      ::close(start[1]);
      ::close(ready[0]);
      runStation(count, ready[1], start[0], result[1]);
    }
    ::close(ready[1]);
    char byte;
    bothReady = bothReady && ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
  }
  ::close(start[0]);
  ::close(result[1]);
  const auto begun = Clock::now();
  ::close(start[1]);  // both stations start now
  bool finished = bothReady;
  for (pid_t pid : pids) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::cerr << "station " << pid << " failed (" << (WIFEXITED(status) ? WEXITSTATUS(status) : -1) << ")\n";
      finished = false;
    }
  }
  out.wall = std::chrono::duration<double>(Clock::now() - begun).count();
  for (double& s : out.stations)
    if (::read(result[0], &s, sizeof s) != sizeof s) finished = false;
  ::close(result[0]);

  // What arrived, read back by this process.
  Station s;
  FileManager& services = Access(tables::Service);
  if (services.Open() != Level::Benign || services.Use() != Level::Benign) return out;
  DataFile& f = TableFile(tables::Service);
  out.stored = f.records();
  std::set<std::int64_t> numbers;
  f.setToStart(SER_ServiceNumberKey.index);
  while (f.next()) numbers.insert(f.buffer().get(SER_SERVICENUMBER));
  out.distinct = numbers.size();
  static_cast<void>(services.Close());
  out.ok = finished && out.stored == 2 * count && out.distinct == static_cast<std::size_t>(2 * count);
  return out;
}

// An empty schema of its own on the server for the run, through the options every
// connection of this process (and of the stations it starts) takes from the environment.
bool useEmptySchema(const store::DataLocation& where, const std::string& schema, bool drop) {
  store::ConnectionCheck check;
  pg::Connection c;
  if (!c.open(where, "", check)) {
    std::cerr << check.error << "\n";
    return false;
  }
  const std::string name = sql::quoteIdent(schema);
  if (!c.exec("DROP SCHEMA IF EXISTS " + name + " CASCADE").ok()) return false;
  if (drop) return true;
  if (!c.exec("CREATE SCHEMA " + name).ok()) {
    std::cerr << "cannot make the schema " << schema << ": " << c.lastError() << "\n";
    return false;
  }
  ::setenv("PGOPTIONS", ("-c search_path=" + schema).c_str(), 1);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<vbench::Engine> engines = vbench::engines(argc, argv);
  if (engines.empty()) return 2;
  const std::string folder = argc > 1 ? argv[1] : "/tmp/vesp-bench-inserts";
  const int count = argc > 2 ? std::atoi(argv[2]) : 1000;
  if (count <= 0) {
    std::cerr << "the records per station must be a positive number\n";
    return 2;
  }
  std::vector<std::pair<std::string, Outcome>> outcomes;
  for (const vbench::Engine& engine : engines) {
    // Each engine starts on an empty Service table.
    const std::string here = folder + "/" + engine.name;
    std::filesystem::remove_all(here);
    std::filesystem::create_directories(here);
    std::filesystem::current_path(here);
    const std::string schema = "bench_inserts_" + std::to_string(::getpid());
    if (engine.location.onServer() && !useEmptySchema(engine.location, schema, false)) return 1;
    const auto opened = store::openData(engine.location);
    if (!opened.ok) {
      std::cerr << opened.error << "\n";
      return 1;
    }
    outcomes.emplace_back(engine.name, measure(count));
    if (engine.location.onServer()) {
      useEmptySchema(engine.location, schema, true);
      ::unsetenv("PGOPTIONS");
    }
    store::openData(store::DataLocation::files());
  }

  std::printf("two stations (processes) inserting %d services each into one table through the record framework\n\n",
              count);
  std::printf("%-8s %10s %12s %14s %14s %9s %9s\n", "engine", "seconds", "records/s", "station 1 r/s",
              "station 2 r/s", "stored", "distinct");
  for (const auto& [name, o] : outcomes) {
    std::printf("%-8s %10.2f %12.0f %14.0f %14.0f %9lld %9zu%s\n", name.c_str(), o.wall, 2 * count / o.wall,
                count / o.stations[0], count / o.stations[1], static_cast<long long>(o.stored), o.distinct,
                o.ok ? "" : "  FAILED");
  }
  if (outcomes.size() == 2)
    std::printf("\nserver/files records per second: %.2f\n", outcomes[0].second.wall / outcomes[1].second.wall);
  for (const auto& [name, o] : outcomes)
    if (!o.ok) return 1;
  return 0;
}
