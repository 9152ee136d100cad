// Backup and verify time for a data folder of many prayer requests, against `cp` of the same
// files in the same run (both with the files in the operating system's cache).
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
#include <sstream>
#include <string>

#include "bench/bench_support.h"
#include "records/data_backup.h"
#include "runtime/store/backup_copy.h"
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
  std::vector<double> copyTimes, backupTimes;
  for (int r = 0; r < runs; ++r) {
    fs::remove_all(target);
    fs::create_directories(target + "/cp");
    // cp, then sync the copies to disk as the backup does.
    copyTimes.push_back(secondsOf([&] {
      const std::string command = "cp" + files + " " + target + "/cp/ && sync -f " + target + "/cp";
      if (std::system(command.c_str()) != 0) std::exit(1);
    }));
    vesp::backup::Outcome outcome;
    backupTimes.push_back(secondsOf([&] {
      outcome = vesp::backup::BackUpNow(".", target, QDateTime::currentDateTime());
    }));
    if (!outcome.ok) {
      std::fprintf(stderr, "backup failed: %s\n", outcome.error.c_str());
      return 1;
    }
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
  const double cp = vbench::median(copyTimes), backup = vbench::median(backupTimes);
  std::printf("cp + sync of the same files:     %.3f s (median of %d)\n", cp, runs);
  std::printf("backup with verify:              %.3f s (median of %d)\n", backup, runs);
  std::printf("ratio backup / cp:               %.2f\n", backup / cp);
  return 0;
}
