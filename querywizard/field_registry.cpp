#include "querywizard/field_registry.h"

#include <algorithm>
#include <numeric>
#include <set>

#include "querywizard/display_text.h"
#include "querywizard/hooks.h"
#include "querywizard/query_files.h"
#include "querywizard/query_tables.h"
#include "querywizard/store_messages.h"
#include "querywizard/store_types.h"
#include "runtime/store/transaction.h"
#include "runtime/text/utf8.h"

namespace qrywiz {

using vrt::DataFile;

namespace {

constexpr int kLockAttempts = 10;
constexpr int kLockWaitSeconds = 1;
constexpr std::int32_t kHighestFieldNumber = 32767;
constexpr const char* kUpdateErrorTitle = "Field List Update Error";

std::string classKey(std::string_view className) {
  return std::string(vrt::utf8Truncate(vrt::upperCase(vrt::clip(className)), FD::CLASSNAME.size));
}

// Expressions are registered under their description, fields under their name.
std::string identityOf(const XBQW_FIELDSQUEUE_Record& r) {
  const std::string& source = r.QWFLDFIELDTYPE == 1 ? r.QWFLDDESC : r.QWFLDNAME;
  return std::string(vrt::utf8Truncate(vrt::upperCase(vrt::clip(source)), FD::FIELDNAME.size));
}

void rankByDescription(XBQW_FIELDSQUEUE& fields) {
  std::vector<std::size_t> order(fields.size());
  std::iota(order.begin(), order.end(), 0);
  std::vector<std::string> keys;
  keys.reserve(fields.size());
  for (const auto& f : fields) keys.push_back(vrt::upperCase(vrt::clip(f.QWFLDDESC)));
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
  for (std::size_t rank = 0; rank < order.size(); ++rank)
    fields[order[rank]].QWFLDQPOINTER = static_cast<std::int16_t>(rank + 1);
}

void sortByRank(XBQW_FIELDSQUEUE& fields) {
  std::stable_sort(fields.begin(), fields.end(),
                   [](const auto& a, const auto& b) { return a.QWFLDQPOINTER < b.QWFLDQPOINTER; });
}

// The class's stored rows: each record's number looked up (-1 when new), and the stored
// numbers no record carries (deleted fields). True when anything differs from the list.
struct Comparison {
  std::set<std::int32_t> deleted;
  std::vector<std::int64_t> rows;
  bool changed = false;
};

Comparison compareWithStored(DataFile& table, XBQW_FIELDSQUEUE& fields, const std::string& cls) {
  Comparison c;
  vrt::RecordBuffer& b = table.buffer();
  for (auto& f : fields) {
    b.clearAll(table.schema().fields);
    b.set(FD::CLASSNAME, cls);
    b.set(FD::FIELDTYPE, f.QWFLDFIELDTYPE);
    b.set(FD::FIELDNAME, identityOf(f));
    if (table.get(FD::BYCLASSNAME)) {
      f.QWFLDFIELDPOINTER = fieldPointer(b);
    } else {
      f.QWFLDFIELDPOINTER = -1;
      c.changed = true;
    }
  }
  std::set<std::int32_t> carried;
  for (const auto& f : fields) carried.insert(f.QWFLDFIELDPOINTER);
  b.clearAll(table.schema().fields);
  b.set(FD::CLASSNAME, cls);
  table.setToValue(FD::BYCLASSNAME);
  while (table.next() && vrt::equalTextNoCase(b.get(FD::CLASSNAME), cls)) {
    c.rows.push_back(table.currentRowid());
    const std::int32_t n = fieldPointer(b);
    if (!carried.count(n)) {
      c.deleted.insert(n);
      c.changed = true;
    }
  }
  return c;
}

// New records take the lowest positive number no other record carries.
void allocateNumbers(XBQW_FIELDSQUEUE& fields) {
  std::set<std::int32_t> used;
  for (const auto& f : fields)
    if (f.QWFLDFIELDPOINTER > 0) used.insert(f.QWFLDFIELDPOINTER);
  std::vector<std::size_t> order(fields.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return fields[a].QWFLDFIELDPOINTER < fields[b].QWFLDFIELDPOINTER; });
  std::int32_t next = 1;
  for (std::size_t i : order) {
    if (fields[i].QWFLDFIELDPOINTER != -1) continue;
    while (used.count(next)) ++next;
    if (next > kHighestFieldNumber) {
      showMessage("QW Pointer Overflow Error", "");
      return;
    }
    fields[i].QWFLDFIELDPOINTER = static_cast<std::int16_t>(next);
    used.insert(next);
  }
}

// Every element of the class's queries that names a deleted field gets -1 there, and its
// query is marked invalid.
bool invalidateQueries(DataFile& queries, DataFile& elements, const std::string& cls,
                       const std::set<std::int32_t>& deleted) {
  if (deleted.empty()) return true;
  std::vector<std::int64_t> rows;
  queries.buffer().clearAll(queries.schema().fields);
  queries.buffer().set(QR::CLASSNAME, cls);
  queries.setToValue(QR::BYCLASSNAME);
  while (queries.next() && vrt::equalTextNoCase(queries.buffer().get(QR::CLASSNAME), cls))
    rows.push_back(queries.currentRowid());
  for (std::int64_t row : rows) {
    if (!queries.getByRowid(row)) return false;
    const std::int32_t number = queries.buffer().get(QR::QUERYNO);
    std::vector<std::int64_t> hits;
    elements.buffer().set(EL::QUERYNO, number);
    elements.setToValue(EL::BYQUERYNO);
    while (elements.next() && elements.buffer().get(EL::QUERYNO) == number)
      if (deleted.count(elements.buffer().get(EL::FIELDPOINTER)) || deleted.count(elements.buffer().get(EL::CMPPOINTER)))
        hits.push_back(elements.currentRowid());
    if (hits.empty()) continue;
    for (std::int64_t hit : hits) {
      if (!elements.getByRowid(hit)) return false;
      vrt::RecordBuffer& e = elements.buffer();
      if (deleted.count(e.get(EL::FIELDPOINTER))) e.set(EL::FIELDPOINTER, -1);
      if (deleted.count(e.get(EL::CMPPOINTER))) e.set(EL::CMPPOINTER, -1);
      if (!elements.put()) return false;
    }
    if (!queries.getByRowid(row)) return false;
    queries.buffer().set(QR::INVALID, 1);
    if (!queries.put()) return false;
  }
  return true;
}

bool rewriteFields(DataFile& table, const XBQW_FIELDSQUEUE& fields, const std::string& cls,
                   const std::vector<std::int64_t>& rows) {
  for (std::int64_t row : rows)
    if (!table.getByRowid(row) || !table.erase()) return false;
  for (const auto& f : fields) {
    if (f.QWFLDFIELDPOINTER <= 0) continue;  // no number could be given
    vrt::RecordBuffer& b = table.buffer();
    b.clearAll(table.schema().fields);
    b.set(FD::CLASSNAME, cls);
    b.set(FD::FIELDTYPE, f.QWFLDFIELDTYPE);
    b.set(FD::FIELDNAME, identityOf(f));
    setFieldPointer(b, f.QWFLDFIELDPOINTER);
    if (!table.add()) return false;
  }
  return true;
}

// Locks the three tables by starting the transaction, with the attempts the rule allows. On
// a server, where a transaction locks only the rows it writes, the field table's numbering
// is held as well, so that stations register one at a time as they do on files.
bool lockAndBegin(vrt::Transaction& t, DataFile& table) {
  for (int attempt = 1; attempt <= kLockAttempts; ++attempt) {
    if (t.begin()) {
      if (table.holdNumbering()) return true;
      const vrt::ErrorState why = vrt::threadError();
      t.rollback();
      vrt::threadError() = why;
    }
    if (vrt::errorCode() != vrt::kFileLocked && vrt::errorCode() != vrt::kRecordHeld) {
      showMessage("Error Starting Transaction: " + codeAndText(), kUpdateErrorTitle);
      return false;
    }
  }
  showMessage("Error Locking Query Wizard Data Files|ERROR - " + vrt::errorMessage(), kUpdateErrorTitle);
  return false;
}

void update(QueryFiles& files, XBQW_FIELDSQUEUE& fields, const std::string& cls) {
  DataFile* table = files.open(QueryTable::Fields);
  DataFile* queries = files.open(QueryTable::Queries);
  DataFile* elements = queries ? files.open(QueryTable::Elements) : nullptr;
  if (!table || !elements) return;
  BusyWindow busy(displayText(300));
  vrt::Transaction t({table, queries, elements}, kLockWaitSeconds);
  if (!lockAndBegin(t, *table)) return;
  // Another station may have registered the class since the first look: decide again
  // under the lock.
  Comparison c = compareWithStored(*table, fields, cls);
  std::vector<std::int16_t> before;
  for (const auto& f : fields) before.push_back(f.QWFLDFIELDPOINTER);
  // Numbers that were never stored must not be used by saved queries.
  auto forgetNewNumbers = [&] {
    for (std::size_t i = 0; i < fields.size(); ++i) fields[i].QWFLDFIELDPOINTER = before[i];
  };
  allocateNumbers(fields);
  if (!invalidateQueries(*queries, *elements, cls, c.deleted) || !rewriteFields(*table, fields, cls, c.rows)) {
    showMessage("Error Writing Transaction: " + codeAndText(), kUpdateErrorTitle);
    t.rollback();
    forgetNewNumbers();
    return;
  }
  if (!t.commit()) {
    showMessage("Error Committing Transaction: " + codeAndText(), kUpdateErrorTitle);
    forgetNewNumbers();
  }
}

}  // namespace

void XB_INITFIELDSQUEUE(XBQW_FIELDSQUEUE& fields, std::string_view className) {
  if (fields.size() > kMaxOfferedFields) {
    showMessage("Error in Query Wizard XB_InitFieldsQueue Function|Too Many Fields Declared in the Queue",
                "Application Design Error");
    fields.clear();
    return;
  }
  rankByDescription(fields);
  QueryFiles files;
  const std::string cls = classKey(className);
  DataFile* table = files.open(QueryTable::Fields);
  if (!table) {
    for (auto& f : fields) f.QWFLDFIELDPOINTER = -1;
  } else if (compareWithStored(*table, fields, cls).changed) {
    update(files, fields, cls);
  }
  sortByRank(fields);
}

}  // namespace qrywiz
