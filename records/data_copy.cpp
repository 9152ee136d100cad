#include "records/data_copy.h"

#include <QCryptographicHash>

#include <filesystem>

#include "dictionary/dictionary.h"
#include "runtime/data/errors.h"
#include "runtime/data/stored_tables.h"
#include "runtime/store/data_file.h"
#include "runtime/store/upgrader.h"

namespace vesp::datacopy {

namespace {

using vrt::DataFile;

constexpr std::int64_t kProgressStep = 1000;

std::string withGrouping(std::int64_t n) {
  std::string digits = std::to_string(n), out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string failure(const std::string& doing, const Table& table, const DataLocation& at) {
  return "cannot " + doing + " " + table.label() + " (" + at.describe() + "): " + vrt::errorMessage() +
         (vrt::threadError().fileText.empty() ? "" : " - " + vrt::threadError().fileText);
}

bool missing() { return vrt::errorCode() == vrt::kFileNotFound || vrt::errorCode() == vrt::kPathNotFound; }

// The record as stored, field by field: what both engines must give back alike.
void addRecord(QCryptographicHash& hash, const DataFile& file) {
  const vrt::TableSchema& schema = file.schema();
  const auto& bytes = file.buffer().raw();
  for (std::size_t i = 0; i < schema.fields.size(); ++i) {
    if (!schema.isStored(static_cast<int>(i))) continue;
    const vrt::FieldDesc& f = schema.fields[i];
    std::size_t size = f.size;
    const unsigned char* at = bytes.data() + f.offset;
    if (f.type == vrt::FieldType::String)
      while (size > 0 && at[size - 1] == ' ') --size;
    if (f.type == vrt::FieldType::CString)
      for (std::size_t n = 0; n < size; ++n)
        if (at[n] == 0) {
          size = n;
          break;
        }
    const std::uint32_t length = static_cast<std::uint32_t>(size);
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(&length), sizeof length));
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(at), static_cast<qsizetype>(size)));
  }
}

// Reads every record of an open file in file order into the digest; false on a read error.
bool digestOf(DataFile& file, TableSum& sum, const std::function<void()>& eachRecord = {}) {
  QCryptographicHash hash(QCryptographicHash::Sha256);
  sum.records = 0;
  file.setToStart(DataFile::kFileOrder);
  while (file.next()) {
    addRecord(hash, file);
    ++sum.records;
    if (eachRecord) eachRecord();
  }
  if (vrt::errorCode() != vrt::kRecordNotAvailable) return false;
  sum.digest = hash.result().toHex().toStdString();
  return true;
}

// The table at `at`, open as it is stored: a table an older version made and no open has
// converted yet is read (and copied) in its own structure, so that a backup made before
// its conversion holds it as it was. Not open when it cannot be opened; the thread's
// error state says why.
std::unique_ptr<DataFile> openAsStored(const Table& table, const DataLocation& at, vrt::OpenAccess access) {
  auto file = std::make_unique<DataFile>(*table.schema, table.name, at);
  if (file->open(access) || vrt::errorCode() != vrt::kInvalidRecordDeclaration) return file;
  const auto stored = vrt::storedSchema(*file);
  if (!stored) {
    vrt::setError(vrt::kInvalidRecordDeclaration);
    return file;
  }
  file = std::make_unique<DataFile>(*stored, table.name, at);
  file->open(access);
  return file;
}

std::string emptyDigest() {
  return QCryptographicHash(QCryptographicHash::Sha256).result().toHex().toStdString();
}

}  // namespace

std::int64_t Outcome::records() const {
  std::int64_t n = 0;
  for (const TableSum& t : tables) n += t.records;
  return n;
}

std::vector<Table> dataTables() {
  std::vector<Table> tables;
  for (const vrt::TableSchema& t : dict::tables()) tables.push_back({&t, {}});
  for (const vrt::StoredTable& t : vrt::storedTables()) tables.push_back({t.schema, t.name});
  return tables;
}

bool summarize(const DataLocation& at, std::vector<TableSum>& out, std::string& error) {
  out.clear();
  for (const Table& table : dataTables()) {
    TableSum sum;
    sum.table = table.label();
    const auto opened = openAsStored(table, at, vrt::OpenAccess::ReadOnly);
    DataFile& file = *opened;
    if (!file.isOpen()) {
      if (!missing()) {
        error = failure("open", table, at);
        return false;
      }
      sum.digest = emptyDigest();
      out.push_back(std::move(sum));
      continue;
    }
    sum.present = true;
    if (!digestOf(file, sum)) {
      error = failure("read", table, at);
      return false;
    }
    out.push_back(std::move(sum));
  }
  return true;
}

std::string tablesWithRecords(const DataLocation& at, std::string& error) {
  std::string found;
  for (const Table& table : dataTables()) {
    const auto file = openAsStored(table, at, vrt::OpenAccess::ReadOnly);
    if (!file->isOpen()) {
      if (missing()) continue;
      error = failure("open", table, at);
      return {};
    }
    if (const std::int64_t n = file->records(); n > 0)
      found += (found.empty() ? "" : ", ") + table.label() + " (" + withGrouping(n) + ")";
  }
  return found;
}

Outcome copyData(const DataLocation& from, const DataLocation& to, const Progress& progress) {
  Outcome o;
  std::string error;
  if (!to.onServer()) {
    std::error_code ec;
    std::filesystem::create_directories(to.folder, ec);
    if (ec) {
      o.error = "cannot make the folder " + to.folder + ": " + ec.message();
      return o;
    }
  }
  const std::string occupied = tablesWithRecords(to, error);
  if (!error.empty()) {
    o.error = error;
    return o;
  }
  if (!occupied.empty()) {
    o.error = to.describe() + " already holds records, in " + occupied +
              ". Copy only into an empty database or an empty folder, so that nothing there is lost or mixed.";
    return o;
  }
  const auto partly = [&](const std::string& why) {
    o.error = why + ". What was copied so far stays at " + to.describe() + "; empty it before trying again.";
    o.tables.clear();
    return o;
  };
  for (const Table& table : dataTables()) {
    const auto opened = openAsStored(table, from, vrt::OpenAccess::ReadOnly);
    DataFile& source = *opened;
    const bool present = source.isOpen();
    if (!present && !missing()) return partly(failure("open", table, from));
    // The copy keeps the structure the table is stored in.
    DataFile target(source.schema(), table.name, to);
    if (!target.open()) {
      if (!missing()) return partly(failure("open", table, to));
      if (!target.create() || !target.open()) return partly(failure("make", table, to));
    }
    TableSum sum;
    sum.table = table.label();
    sum.present = present;
    if (!present) {
      sum.digest = emptyDigest();
      o.tables.push_back(std::move(sum));
      continue;
    }
    const std::int64_t total = source.records();
    if (progress) progress(table.label(), 0, total);
    if (!target.stream()) return partly(failure("write", table, to));
    bool written = true;
    const bool read = digestOf(source, sum, [&] {
      if (!written) return;
      target.buffer().assign(source.buffer().raw());
      written = target.add();
      if (written && progress && sum.records % kProgressStep == 0) progress(table.label(), sum.records, total);
    });
    if (!written) return partly(failure("write", table, to));
    if (!read) return partly(failure("read", table, from));
    if (!target.flush()) return partly(failure("write", table, to));
    if (progress) progress(table.label(), sum.records, total);
    o.tables.push_back(std::move(sum));
  }
  // Read back from the target as another program would see it.
  std::vector<TableSum> copied;
  if (!summarize(to, copied, error)) return partly("the copy cannot be read back: " + error);
  for (std::size_t i = 0; i < o.tables.size(); ++i) {
    const TableSum& a = o.tables[i];
    const TableSum& b = copied[i];
    if (a.records != b.records)
      return partly("the copy of " + a.table + " holds " + withGrouping(b.records) + " records instead of " +
                    withGrouping(a.records));
    if (a.digest != b.digest) return partly("the copy of " + a.table + " differs from its source");
  }
  o.ok = true;
  return o;
}

}  // namespace vesp::datacopy
