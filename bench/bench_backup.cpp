// Backup and verify time for a data folder of many prayer requests, against `cp` of the same
// files in the same run (both with the files in the operating system's cache): a set that
// copies and checks every file, one made when nothing changed since the last, one after a
// single prayer request changed (against copying and checking that table's file alone), and
// the start-up's set when nothing changed.
//
//   bench_backup [FOLDER] [PRAYER_REQUESTS] [--full]   (default: /tmp/vesp-bench-backup, 1000000)
// --full also times SQLite's own integrity check of the largest file, for comparison.
// The folder's data is made once by vesp-data's generator and kept for later runs.
#include <QDateTime>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <future>
#include <sstream>
#include <string>

#include "bench/bench_support.h"
#include "dictionary/dictionary.h"
#include "records/data_backup.h"
#include "runtime/store/backup_copy.h"
#include "runtime/store/data_file.h"
#include "runtime/store/index_check.h"
#include "runtime/store/sqlite_db.h"
#include "tools/vesp_data/sample_data.h"

namespace fs = std::filesystem;

namespace {

double secondsOf(const std::function<void()>& body) {
  const auto start = std::chrono::steady_clock::now();
  body();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// CPU time of the calling thread: on a machine shared with other work it shows what the
// check itself costs, where wall time also shows the waiting.
double threadCpuSecondsOf(const std::function<void()>& body) {
  timespec start{}, end{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
  body();
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
  return static_cast<double>(end.tv_sec - start.tv_sec) + static_cast<double>(end.tv_nsec - start.tv_nsec) / 1e9;
}

// Changes one prayer request's text, as a save from its form would.
void changeOneRequest(int n) {
  vrt::DataFile file(*vesp::dict::table("PrayerRequest"));
  if (!file.open()) std::exit(1);
  const auto& request = file.schema().fields[static_cast<std::size_t>(file.schema().fieldIndex("REQUEST"))];
  file.setToStart(0);
  if (!file.next()) std::exit(1);
  file.buffer().setText(request, "changed for the benchmark " + std::to_string(n));
  if (!file.put()) std::exit(1);
  file.close();
}

vesp::backup::Outcome backUp(const std::string& target, const QDateTime& when, vesp::backup::Checking checking) {
  vesp::backup::Outcome o = vesp::backup::BackUpNow(".", target, when, {}, {}, checking);
  if (!o.ok) {
    std::fprintf(stderr, "backup failed: %s\n", o.error.c_str());
    std::exit(1);
  }
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "/tmp/vesp-bench-backup";
  const long long requests = argc > 2 ? std::atoll(argv[2]) : 1'000'000;
  vbench::DataFolder in(folder);
  if (!fs::exists("PrayerRequest.vdb")) {
    std::printf("making %lld prayer requests in %s ...\n", requests, folder.c_str());
    std::ostringstream out, err;
    if (vesp::tools::generateSampleData({requests, 156}, out, err) != 0) {
      std::fprintf(stderr, "%s", err.str().c_str());
      return 1;
    }
  }
  std::int64_t bytes = 0;
  std::string files;
  for (const auto& name : vesp::backup::dataFileNames()) {
    if (!fs::exists(name)) continue;
    bytes += static_cast<std::int64_t>(fs::file_size(name));
    files += " " + name;
  }
  std::printf("data: %.1f MiB in the data files\n", static_cast<double>(bytes) / (1 << 20));

  const int runs = 3;
  const std::string target = "bench-sets";
  // Mid-month, so that only the sets asked to check everything do.
  const QDateTime now(QDate::currentDate().addDays(15 - QDate::currentDate().day()), QTime(12, 0));
  std::vector<double> copyTimes, fullTimes, unchangedTimes, oneChangedTimes, aloneTimes, startupTimes;
  using vesp::backup::Checking;
  for (int r = 0; r < runs; ++r) {
    fs::remove_all(target);
    fs::create_directories(target + "/cp");
    // cp, then sync the copies to disk as the backup does.
    copyTimes.push_back(secondsOf([&] {
      const std::string command = "cp" + files + " " + target + "/cp/ && sync -f " + target + "/cp";
      if (std::system(command.c_str()) != 0) std::exit(1);
    }));
    fullTimes.push_back(secondsOf([&] { backUp(target, now.addSecs(r * 10), Checking::Full); }));
    unchangedTimes.push_back(secondsOf([&] { backUp(target, now.addSecs(r * 10 + 1), Checking::Changed); }));
    changeOneRequest(r);
    oneChangedTimes.push_back(secondsOf([&] { backUp(target, now.addSecs(r * 10 + 2), Checking::Changed); }));
    // What that set did for the one changed file, alone: the online copy, then the check
    // with the digest beside it.
    const std::string alone = target + "/alone.vdb";
    aloneTimes.push_back(secondsOf([&] {
      const vrt::store::CopyResult c = vrt::store::copyDatabase("PrayerRequest.vdb", alone);
      auto digest = std::async(std::launch::async, [&] { return vrt::store::fileDigest(alone); });
      if (!c.ok || !vrt::store::verifyDatabase(alone, &c.counts).empty() || digest.get().empty()) std::exit(1);
    }));
    fs::remove(alone);
    // The start-up's set of a new day, nothing changed since yesterday's.
    fs::remove_all(vesp::backup::kBackupFolder);
    backUp(vesp::backup::kBackupFolder, now.addDays(-1), Checking::Full);
    startupTimes.push_back(secondsOf([&] {
      const vesp::backup::Outcome o = vesp::backup::StartupBackup(".", now);
      if (!o.ok || o.skipped) std::exit(1);
    }));
    fs::remove_all(vesp::backup::kBackupFolder);
  }
  // Where the time of the largest file goes.
  fs::remove_all(target);
  fs::create_directories(target);
  const std::string copy = target + "/PrayerRequest.vdb";
  vrt::store::CopyResult copied;
  const double copySeconds = secondsOf([&] { copied = vrt::store::copyDatabase("PrayerRequest.vdb", copy); });
  double checkCpu = 0;
  const double checkSeconds = secondsOf(
      [&] { checkCpu = threadCpuSecondsOf([&] { vrt::store::verifyDatabase(copy, &copied.counts); }); });
  const double digestSeconds = secondsOf([&] { vrt::store::fileDigest(copy); });
  // The check's two halves, each alone, and SQLite's full check it stands for.
  auto connection = [&] {
    vrt::sql::Database db;
    db.open(copy, true, false);
    db.exec(std::string(vrt::sql::kBatchCacheSize) + ";PRAGMA mmap_size=1073741824");
    return db;
  };
  double quickCpu = 0, indexCpu = 0, fullCpu = 0;
  const double quickSeconds = secondsOf([&] {
    auto db = connection();
    quickCpu = threadCpuSecondsOf([&] { db.exec("PRAGMA quick_check"); });
  });
  const double indexSeconds = secondsOf([&] {
    auto db = connection();
    vrt::store::RowCounts rows;
    indexCpu = threadCpuSecondsOf([&] { vrt::store::checkIndexes(db, rows); });
  });
  const bool full = argc > 3 && std::string(argv[3]) == "--full";
  const double fullSeconds = !full ? 0 : secondsOf([&] {
    auto db = connection();
    fullCpu = threadCpuSecondsOf([&] { db.exec("PRAGMA integrity_check"); });
  });
  std::printf("PrayerRequest.vdb: online copy %.3f s, check and counts %.3f s (%.3f s of CPU), digest %.3f s\n",
              copySeconds, checkSeconds, checkCpu, digestSeconds);
  std::printf("  quick check alone %.3f s (%.3f s CPU), index check alone %.3f s (%.3f s CPU)\n", quickSeconds,
              quickCpu, indexSeconds, indexCpu);
  if (full) std::printf("  SQLite's full integrity check instead: %.3f s (%.3f s CPU)\n", fullSeconds, fullCpu);
  fs::remove_all(target);
  const double cp = vbench::median(copyTimes), fullSet = vbench::median(fullTimes),
               unchanged = vbench::median(unchangedTimes), oneChanged = vbench::median(oneChangedTimes),
               alone = vbench::median(aloneTimes), startup = vbench::median(startupTimes);
  std::printf("medians of %d runs:\n", runs);
  std::printf("cp + sync of the same files:                    %8.3f s\n", cp);
  std::printf("full set, every file copied and verified:       %8.3f s  (%.2f x cp)\n", fullSet, fullSet / cp);
  std::printf("set with nothing changed:                       %8.1f ms\n", unchanged * 1000);
  std::printf("set with one prayer request changed:            %8.3f s\n", oneChanged);
  std::printf("  copy and check of PrayerRequest.vdb alone:    %8.3f s  (ratio %.2f)\n", alone, oneChanged / alone);
  std::printf("start-up set of a new day, nothing changed:     %8.1f ms\n", startup * 1000);
  return 0;
}
