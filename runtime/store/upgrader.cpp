#include "runtime/store/upgrader.h"

#include <cstdio>
#include <map>
#include <mutex>

#include "runtime/data/errors.h"
#include "runtime/store/file_format.h"
#include "runtime/store/record_conversion.h"
#include "runtime/store/server_upgrade.h"
#include "runtime/text/utf8.h"

namespace vrt {

namespace {

struct Registration {
  std::string prefix;
  TableSchema schema;
};

struct Upgrader {
  std::mutex lock;
  bool started = false;
  std::map<std::string, int> options{{"BadFile", 0}, {"SPCreate", 0}};
  std::map<std::string, int> drivers;
  std::map<std::string, Registration> tables;  // by upper-cased label
  std::function<int(const std::string&)> beforeConvert;
  store::ConvertProgress progress;
};

// Records carried between two reports of a file's conversion.
constexpr std::int64_t kProgressStep = 250;

Upgrader& upgrader() {
  static Upgrader u;
  return u;
}

// Records the failure, then gives up the conversion: nothing of it reaches the file.
int fail(sql::Database& db, int rc) {
  sql::recordError(db, rc);
  db.exec("ROLLBACK");
  return errorCode();
}

// Whether the file at `path` stores a structure other than the target's.
bool needsConversion(const std::string& path, const store::TableLayout& target) {
  sql::Database db;
  if (db.open(path, true, false) != SQLITE_OK) return false;
  int rc = SQLITE_OK;
  const auto stored = store::storedStructure(db, "main", target.sqlTable(), rc);
  return stored && *stored != target.structureText();
}

}  // namespace

UpgradeHandle ds_PassHandleForUpgrading() {
  std::lock_guard g(upgrader().lock);
  upgrader().started = true;
  return 1;
}

void ds_SetOption(std::string_view option, int value) {
  std::lock_guard g(upgrader().lock);
  upgrader().options[std::string(option)] = value;
}

int ds_GetOption(std::string_view option) {
  std::lock_guard g(upgrader().lock);
  auto it = upgrader().options.find(std::string(option));
  return it == upgrader().options.end() ? 0 : it->second;
}

void ds_AddDriver(std::string_view driver, const TableSchema&, int value) {
  std::lock_guard g(upgrader().lock);
  upgrader().drivers[std::string(driver)] = value;
}

void ds_IgnoreDriver(std::string_view driver, int value) {
  std::lock_guard g(upgrader().lock);
  upgrader().drivers["ignore:" + std::string(driver)] = value;
}

void ds_UsingFile(std::string_view prefix, std::string_view label, const TableSchema& table, int version) {
  std::lock_guard g(upgrader().lock);
  Registration r{std::string(prefix), table};
  r.schema.version = version;
  upgrader().tables[upperCase(label)] = std::move(r);
}

bool ds_IsRegistered(std::string_view label) {
  std::lock_guard g(upgrader().lock);
  return upgrader().tables.count(upperCase(label)) > 0;
}

int ds_RegisteredVersion(std::string_view label) {
  std::lock_guard g(upgrader().lock);
  auto it = upgrader().tables.find(upperCase(label));
  return it == upgrader().tables.end() ? -1 : it->second.schema.version;
}

void ds_SetBeforeConvert(std::function<int(const std::string& path)> hook) {
  std::lock_guard g(upgrader().lock);
  upgrader().beforeConvert = std::move(hook);
}

void ds_SetConvertProgress(store::ConvertProgress hook) {
  std::lock_guard g(upgrader().lock);
  upgrader().progress = std::move(hook);
}

void ds_ForgetFile(std::string_view label) {
  std::lock_guard g(upgrader().lock);
  upgrader().tables.erase(upperCase(label));
}

std::vector<std::string> ds_RegisteredFiles() {
  std::lock_guard g(upgrader().lock);
  std::vector<std::string> labels;
  for (const auto& [label, registration] : upgrader().tables) labels.push_back(label);
  return labels;
}

int convertFile(const std::string& path, const store::TableLayout& target, const store::ConvertProgress& progress) {
  clearError();
  sql::Database db;
  int rc = db.open(path, false, false);
  if (rc != SQLITE_OK) return fail(db, rc);
  rc = db.exec("BEGIN IMMEDIATE");
  if (rc != SQLITE_OK) return fail(db, rc);
  int found = SQLITE_OK;
  const auto storedText = store::storedStructure(db, "main", target.sqlTable(), found);
  if (found != SQLITE_OK) return fail(db, found);
  if (!storedText) {
    db.exec("ROLLBACK");
    setError(kInvalidRecordDeclaration);
    return errorCode();
  }
  if (*storedText == target.structureText()) {
    db.exec("ROLLBACK");
    return 0;
  }
  auto oldSchema = store::TableLayout::parseStructure(*storedText);
  if (!oldSchema) {
    db.exec("ROLLBACK");
    setError(kInvalidRecordDeclaration);
    return errorCode();
  }
  oldSchema->label = target.schema().label;
  const store::TableLayout old(*oldSchema, target.sqlTable(), target.sharesFile() ? target.sqlTable() + "_" : "");

  // Build the new table beside the old one, copy every record by field name, then swap.
  const std::string fresh = target.sqlTable() + "__upgrading";
  const store::TableLayout staging(target.schema(), fresh, fresh + "_");
  rc = db.exec("DROP TABLE IF EXISTS " + sql::quoteIdent(fresh));
  if (rc == SQLITE_OK) rc = db.exec(staging.createTableSql("main"));
  if (rc != SQLITE_OK) return fail(db, rc);

  const store::RecordConversion conversion(old.schema(), target.schema());
  {
    sql::Statement read(db.handle(),
                        "SELECT _pos,_changes," + old.columnList() + " FROM " + sql::quoteIdent(old.sqlTable()), false);
    std::string marks;
    for (std::size_t i = 0; i < staging.columns().size(); ++i) marks += ",?";
    sql::Statement write(db.handle(),
                         "INSERT INTO " + sql::quoteIdent(fresh) + " (_pos,_changes," + staging.columnList() +
                             ") VALUES (?,?" + marks + ")",
                         false);
    if (!read.ok() || !write.ok()) return fail(db, read.ok() ? write.prepareResult() : read.prepareResult());
    RecordBuffer src(old.schema().recordSize), dst(target.schema().recordSize);
    std::int64_t total = 0, done = 0;
    if (progress) {
      sql::Statement count(db.handle(), "SELECT count(*) FROM " + sql::quoteIdent(old.sqlTable()), false);
      if (count.ok() && count.step() == SQLITE_ROW) total = count.int64(0);
      progress(target.schema().label, 0, total);
    }
    while ((rc = read.step()) == SQLITE_ROW) {
      old.readRecord(read, 2, src);
      conversion.apply(src, dst);
      write.bind(1, read.int64(0));
      write.bind(2, read.int64(1));
      staging.bindRecord(write, 3, dst);
      const int w = write.step();
      write.reset();
      if (w != SQLITE_DONE) return fail(db, w);
      if (progress && ++done % kProgressStep == 0) progress(target.schema().label, done, total);
    }
    if (progress && done % kProgressStep != 0) progress(target.schema().label, done, total);
    if (rc != SQLITE_DONE) return fail(db, rc);
  }
  rc = db.exec("DROP TABLE " + sql::quoteIdent(old.sqlTable()));
  if (rc == SQLITE_OK)
    rc = db.exec("ALTER TABLE " + sql::quoteIdent(fresh) + " RENAME TO " + sql::quoteIdent(target.sqlTable()));
  // The count triggers went with the old table; make them again with the indexes.
  if (rc == SQLITE_OK) {
    rc = store::createIndexes(db, "main", target);
    if (rc == SQLITE_OK) rc = store::writeStructure(db, "main", target);
    if (rc == SQLITE_OK) rc = store::createCountTriggers(db, "main", target);
  }
  if (rc == SQLITE_OK) rc = db.exec("COMMIT");
  if (rc != SQLITE_OK) return fail(db, rc);
  return 0;
}

std::optional<TableSchema> storedSchema(const DataFile& file) {
  std::optional<TableSchema> stored;
  if (file.onServer()) {
    stored = store::server::storedSchema(file.location(), file.sqlTable());
  } else {
    sql::Database db;
    if (db.open(file.path(), true, false) != SQLITE_OK) return std::nullopt;
    int rc = SQLITE_OK;
    const auto text = store::storedStructure(db, "main", file.sqlTable(), rc);
    if (text) stored = store::TableLayout::parseStructure(*text);
  }
  if (stored) {
    stored->label = file.schema().label;
    stored->prefix = file.schema().prefix;
  }
  return stored;
}

int ds_FileOpen(DataFile& file, OpenAccess access) {
  clearError();
  std::optional<Registration> reg;
  {
    std::lock_guard g(upgrader().lock);
    auto it = upgrader().tables.find(upperCase(file.schema().label));
    if (it != upgrader().tables.end()) reg = it->second;
  }
  if (reg && !file.isOpen()) {
    const store::TableLayout target(reg->schema, file.sqlTable(), file.sharesFile() ? file.sqlTable() + "_" : "");
    if (file.open(access)) return 0;
    // Only a declaration that differs asks for a conversion; the open reports the rest.
    if (errorCode() != kInvalidRecordDeclaration) return errorCode();
    if (access == OpenAccess::ReadOnly) return errorCode();
    // A table that a newer version of the program made is never brought down to this
    // version's structure: another station may be using it, and what the newer version
    // keeps in it would be lost.
    if (const auto stored = storedSchema(file); stored && stored->version > reg->schema.version) {
      setError(kInvalidRecordDeclaration);
      threadError().fileText = "The table was made by a newer version of the program (structure version " +
                               std::to_string(stored->version) + "; this one knows version " +
                               std::to_string(reg->schema.version) + "). Update this program to use it.";
      return errorCode();
    }
    std::function<int(const std::string&)> before;
    store::ConvertProgress progress;
    {
      std::lock_guard g(upgrader().lock);
      before = upgrader().beforeConvert;
      progress = upgrader().progress;
    }
    const bool server = file.onServer();
    // Only a table whose stored structure really differs is converted (and backed up first).
    if (before && (server ? store::server::needsConversion(file.location(), target) : needsConversion(file.path(), target))) {
      if (const int rc = before(file.path()); rc != 0) return rc;
    }
    const int rc = server ? store::server::convertTable(file.location(), target, progress)
                          : convertFile(file.path(), target, progress);
    if (rc != 0) {
      // With "BadFile" on, a file that cannot be converted is kept aside under another
      // name and the table starts anew; otherwise it stays as it is and the open fails. A
      // server's table is never set aside: the stations share it, and it stays as it is.
      if (ds_GetOption("BadFile") == 0 || file.sharesFile() || server) return rc;
      const std::string aside = file.path() + ".bad";
      if (std::rename(file.path().c_str(), aside.c_str()) != 0) return rc;
      setError(kFileNotFound);
      return kFileNotFound;
    }
  }
  file.open(access);
  return errorCode();
}

}  // namespace vrt
