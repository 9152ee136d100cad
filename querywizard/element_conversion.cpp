// Element tables of earlier versions named each operation by its display text; this brings
// such a table to the current layout, where the operation is its code.
#include <string_view>

#include "querywizard/display_text.h"
#include "querywizard/hooks.h"
#include "querywizard/query_files.h"
#include "querywizard/query_tables.h"
#include "querywizard/store_types.h"
#include "runtime/store/file_format.h"
#include "runtime/store/server_upgrade.h"

namespace qrywiz {

namespace {

struct NamedOperation {
  std::string_view name;
  std::uint8_t code;
};

// The earlier version's texts, compared exactly.
constexpr NamedOperation kOperationNames[] = {
    {"Is Equal To", 1},  {"Is NOT Equal To", 2},    {"Is Greater Than", 3},     {"Is Less Than", 4},
    {"Is Greater Than or Equal To", 5},             {"Is Less Than or Equal To", 6},
    {"Begins With", 7},  {"Does NOT Begin With", 9}, {"Contains", 8},           {"Does NOT Contain", 10},
    {"Is Checked", 11},  {"Is Not Checked", 12},
};

// Runs the copy on its own connection inside one transaction; returns the SQLite result.
int copyToCurrentLayout(vrt::sql::Database& db, const vrt::store::TableLayout& target, std::string& why) {
  using namespace vrt;
  int rc = SQLITE_OK;
  const auto storedText = store::storedStructure(db, "main", target.sqlTable(), rc);
  if (rc != SQLITE_OK) return rc;
  auto oldSchema = storedText ? store::TableLayout::parseStructure(*storedText) : std::nullopt;
  if (!oldSchema || oldSchema->fieldIndex("OPERATOR") < 0) {
    why = "Invalid File!";
    return SQLITE_ERROR;
  }
  const store::TableLayout old(*oldSchema, target.sqlTable(), target.sqlTable() + "_");
  const int opField = oldSchema->fieldIndex("OPERATOR");
  const std::string fresh = target.sqlTable() + "Tmp";
  const store::TableLayout staging(target.schema(), fresh, fresh + "_");
  rc = db.exec("DROP TABLE IF EXISTS " + sql::quoteIdent(fresh));
  if (rc == SQLITE_OK) rc = db.exec(staging.createTableSql("main"));
  if (rc != SQLITE_OK) return rc;

  const TableSchema& to = target.schema();
  {
    sql::Statement read(db.handle(), "SELECT _pos," + old.columnList() + " FROM " + sql::quoteIdent(old.sqlTable()),
                        false);
    std::string marks;
    for (std::size_t i = 0; i < staging.columns().size(); ++i) marks += ",?";
    sql::Statement write(db.handle(),
                         "INSERT INTO " + sql::quoteIdent(fresh) + " (_pos," + staging.columnList() + ") VALUES (?" +
                             marks + ")",
                         false);
    if (!read.ok()) return read.prepareResult();
    if (!write.ok()) return write.prepareResult();
    RecordBuffer src(oldSchema->recordSize), dst(to.recordSize);
    while ((rc = read.step()) == SQLITE_ROW) {
      old.readRecord(read, 1, src);
      dst.clearAll(to.fields);
      for (const FieldDesc& f : to.fields) {
        const int from = oldSchema->fieldIndex(f.name);
        if (from >= 0) dst.setText(f, src.text(oldSchema->fields[static_cast<std::size_t>(from)]));
      }
      dst.set(EL::OPCODE, operationCodeOfName(src.text(oldSchema->fields[static_cast<std::size_t>(opField)])));
      write.bind(1, read.int64(0));
      staging.bindRecord(write, 2, dst);
      const int w = write.step();
      write.reset();
      if (w != SQLITE_DONE) return w;
    }
    if (rc != SQLITE_DONE) return rc;
  }
  rc = db.exec("DROP TABLE " + sql::quoteIdent(old.sqlTable()));
  if (rc == SQLITE_OK)
    rc = db.exec("ALTER TABLE " + sql::quoteIdent(fresh) + " RENAME TO " + sql::quoteIdent(target.sqlTable()));
  if (rc == SQLITE_OK) rc = store::createIndexes(db, "main", target);
  if (rc == SQLITE_OK) rc = store::writeStructure(db, "main", target);
  if (rc == SQLITE_OK) rc = store::createCountTriggers(db, "main", target);
  return rc;
}

}  // namespace

std::uint8_t operationCodeOfName(std::string_view name) {
  for (const NamedOperation& op : kOperationNames)
    if (op.name == name) return op.code;
  return 0;
}

namespace {

// On a server: the store's conversion, each record's operation looked up by its name.
bool convertOnServer(const vrt::DataFile& target, std::string& why) {
  namespace srv = vrt::store::server;
  const auto stored = srv::storedSchema(target.location(), target.sqlTable());
  if (!stored || stored->fieldIndex("OPERATOR") < 0) {
    why = "Invalid File!";
    return false;
  }
  const int rc = srv::convertTable(target.location(), target.layout(), {},
                                   [](const vrt::TableSchema& from, const vrt::RecordRef& src, vrt::RecordBuffer& dst) {
                                     const int op = from.fieldIndex("OPERATOR");
                                     dst.set(EL::OPCODE, operationCodeOfName(src.text(from.fields[static_cast<std::size_t>(op)])));
                                   });
  if (rc != 0) why = vrt::threadError().fileText.empty() ? vrt::errorMessage() : vrt::threadError().fileText;
  return rc == 0;
}

}  // namespace

bool convertElements(const vrt::DataFile& target) {
  std::string why;
  if (target.onServer()) {
    bool done;
    {
      BusyWindow busy(displayText(301));
      done = convertOnServer(target, why);
    }
    if (done) return true;
    vrt::setError(vrt::kInvalidRecordDeclaration, why);
    showMessage("Error Converting Elements File - " + why, "");
    return false;
  }
  {
    BusyWindow busy(displayText(301));
    vrt::sql::Database db;
    int rc = db.open(target.path(), false, false);
    if (rc == SQLITE_OK) rc = db.exec("BEGIN IMMEDIATE");
    if (rc == SQLITE_OK) rc = copyToCurrentLayout(db, target.layout(), why);
    if (rc == SQLITE_OK) rc = db.exec("COMMIT");
    if (rc == SQLITE_OK) return true;
    if (why.empty()) why = db.isOpen() ? db.lastError() : sqlite3_errstr(rc);
    if (db.isOpen() && db.inTransaction()) db.exec("ROLLBACK");
  }
  vrt::setError(vrt::kInvalidRecordDeclaration, why);
  showMessage("Error Converting Elements File - " + why, "");
  return false;
}

}  // namespace qrywiz
