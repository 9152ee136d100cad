#include "runtime/store/backup_copy.h"

#include <QCryptographicHash>
#include <QFile>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <unistd.h>

#include "runtime/store/file_format.h"
#include "runtime/store/index_check.h"
#include "runtime/store/sqlite_db.h"

namespace vrt::store {

namespace {

constexpr int kPagesPerStep = 1024;
constexpr std::int64_t kCheckMap = std::int64_t(1) << 30;

std::string failure(const std::string& what, const sql::Database& db, int rc) {
  return what + ": " + (db.isOpen() && db.lastErrorCode() ? db.lastError() : std::string(sqlite3_errstr(rc)));
}

// Counts inside whatever read transaction `db` holds.
bool countTables(sql::Database& db, TableCounts& counts, std::string& error) {
  std::vector<std::string> names;
  {
    sql::Statement s(db.handle(), "SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite_%'",
                     false);
    if (!s.ok()) return error = failure("cannot list the tables", db, s.prepareResult()), false;
    int rc;
    while ((rc = s.step()) == SQLITE_ROW) names.emplace_back(s.text(0));
    if (rc != SQLITE_DONE) return error = failure("cannot list the tables", db, rc), false;
  }
  for (const auto& n : names) {
    sql::Statement c(db.handle(), "SELECT count(*) FROM " + sql::quoteIdent(n), false);
    const int rc = c.ok() ? c.step() : c.prepareResult();
    if (rc != SQLITE_ROW) return error = failure("cannot count " + n, db, rc), false;
    counts[n] = c.int64(0);
  }
  return true;
}

bool syncFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

}  // namespace

CopyResult copyDatabase(const std::string& source, const std::string& target, const PageProgress& progress) {
  CopyResult r;
  std::error_code ec;
  if (std::filesystem::exists(target, ec)) {
    r.error = target + " exists already";
    return r;
  }
  auto fail = [&](std::string text) {
    r.error = std::move(text);
    std::filesystem::remove(target, ec);
    std::filesystem::remove(target + "-journal", ec);
    return r;
  };
  sql::Database src, dst;
  int rc = src.open(source, true, false);
  if (rc != SQLITE_OK) return fail(failure("cannot open " + source, src, rc));
  src.setBusyTimeout(5000);
  // Pages read through the map are not copied once more into the page cache.
  src.exec("PRAGMA mmap_size=" + std::to_string(kCheckMap));
  // One snapshot for the counts and every page: writers wait until the copy is done.
  rc = src.exec("BEGIN");
  if (rc == SQLITE_OK && !countTables(src, r.counts, r.error)) return fail("cannot read " + source + ": " + r.error);
  if (rc != SQLITE_OK) return fail(failure("cannot read " + source, src, rc));
  rc = dst.open(target, false, true);
  // The target is new: nothing to roll back, and a failed copy is thrown away.
  if (rc == SQLITE_OK) rc = dst.exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF");
  if (rc != SQLITE_OK) return fail(failure("cannot create " + target, dst, rc));
  sqlite3_backup* b = sqlite3_backup_init(dst.handle(), "main", src.handle(), "main");
  if (!b) return fail(failure("cannot copy to " + target, dst, SQLITE_ERROR));
  do {
    rc = sqlite3_backup_step(b, kPagesPerStep);
    if (progress) {
      const int total = sqlite3_backup_pagecount(b);
      progress(total - sqlite3_backup_remaining(b), total);
    }
  } while (rc == SQLITE_OK);
  const int finish = sqlite3_backup_finish(b);
  src.exec("COMMIT");
  if (rc != SQLITE_DONE || finish != SQLITE_OK)
    return fail(failure("cannot copy " + source + " to " + target, dst, rc == SQLITE_DONE ? finish : rc));
  dst.close();
  src.close();
  if (!syncFile(target)) return fail("cannot write " + target + " to disk");
  r.bytes = static_cast<std::int64_t>(std::filesystem::file_size(target, ec));
  r.ok = true;
  return r;
}

namespace {

// A read-only connection with a cache and a map large enough for one scan of a big file.
int openForCheck(sql::Database& db, const std::string& path) {
  int rc = db.open(path, true, false);
  if (rc == SQLITE_OK) rc = db.exec(std::string(sql::kBatchCacheSize) + ";PRAGMA mmap_size=" + std::to_string(kCheckMap));
  return rc;
}

// Every page and record: what SQLite's full check does apart from matching indexes to tables.
std::string quickCheck(const std::string& path) {
  sql::Database db;
  int rc = openForCheck(db, path);
  if (rc != SQLITE_OK) return failure("cannot open " + path, db, rc);
  sql::Statement s(db.handle(), "PRAGMA quick_check(20)", false);
  if (!s.ok()) return failure(path + " cannot be checked", db, s.prepareResult());
  std::string problems;
  while ((rc = s.step()) == SQLITE_ROW) {
    const std::string line(s.text(0));
    if (line != "ok") problems += (problems.empty() ? "" : "; ") + line;
  }
  if (rc != SQLITE_DONE) return failure(path + " cannot be checked", db, rc);
  return problems;
}

}  // namespace

std::string verifyDatabase(const std::string& path, const TableCounts* expected, TableCounts* countsOut) {
  // The two halves read the same file through separate connections, side by side.
  auto pages = std::async(std::launch::async, [&path] { return quickCheck(path); });
  TableCounts counts;
  std::string indexes;
  {
    sql::Database db;
    const int rc = openForCheck(db, path);
    indexes = rc == SQLITE_OK ? checkIndexes(db, counts) : failure("cannot open " + path, db, rc);
  }
  std::string problems = pages.get();
  if (!indexes.empty()) problems += (problems.empty() ? "" : "; ") + indexes;
  if (!problems.empty()) return path + " is damaged: " + problems;
  if (expected) {
    for (const auto& [table, n] : *expected) {
      auto it = counts.find(table);
      if (it == counts.end()) return path + " lacks the table " + table;
      if (it->second != n)
        return path + ": " + table + " holds " + std::to_string(it->second) + " records instead of " +
               std::to_string(n);
    }
    if (counts.size() != expected->size()) return path + " holds tables it should not";
  }
  if (countsOut) *countsOut = std::move(counts);
  return {};
}

std::string fileDigest(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  QCryptographicHash hash(QCryptographicHash::Md5);
  if (!hash.addData(&file)) return {};
  return hash.result().toHex().toStdString();
}

std::map<std::string, std::int64_t> metadataValues(const std::string& path, const std::string& name) {
  std::map<std::string, std::int64_t> out;
  sql::Database db;
  if (db.open(path, true, false) != SQLITE_OK) return out;
  sql::Statement s(db.handle(), std::string("SELECT tbl, value FROM ") + kMetaTable + " WHERE name = ?", false);
  if (!s.ok()) return out;
  s.bind(1, std::string_view(name));
  while (s.step() == SQLITE_ROW) out[std::string(s.text(0))] = s.int64(1);
  return out;
}

}  // namespace vrt::store
