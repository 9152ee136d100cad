#include "querywizard/query_store.h"

#include <algorithm>

#include "querywizard/display_text.h"
#include "querywizard/hooks.h"
#include "querywizard/query_files.h"
#include "querywizard/query_tables.h"
#include "querywizard/store_messages.h"
#include "runtime/gui/buttons.h"
#include "querywizard/store_types.h"
#include "runtime/store/transaction.h"
#include "runtime/text/picture.h"
#include "runtime/text/utf8.h"

namespace qrywiz {

using vrt::DataFile;

namespace {

constexpr int kWaitSeconds = 2;
constexpr int kNumberingAttempts = 3;
constexpr const char* kMissingField = "?????";
constexpr const char* kSaveErrorTitle = "Query Save Error";

std::string classKey(std::string_view className) {
  return std::string(vrt::utf8Truncate(vrt::upperCase(vrt::clip(className)), QR::CLASSNAME.size));
}

SavedQuery rowOf(const vrt::RecordRef& r) {
  SavedQuery q;
  q.number = r.get(QR::QUERYNO);
  q.className = r.get(QR::CLASSNAME);
  q.description = r.get(QR::DESCRIPTION);
  q.manual = r.get(QR::MANUAL) == 1;
  q.invalid = r.get(QR::INVALID) == 1;
  q.queryString = r.get(QR::QUERYSTRING);
  return q;
}

bool getByNumber(DataFile& queries, std::int32_t number) {
  queries.buffer().set(QR::QUERYNO, number);
  return queries.get(QR::BYQUERYNO);
}

// The positions of a query's element rows, in stored order.
std::vector<std::int64_t> elementRows(DataFile& elements, std::int32_t number) {
  std::vector<std::int64_t> rows;
  elements.buffer().set(EL::QUERYNO, number);
  elements.setToValue(EL::BYQUERYNO);
  while (elements.next() && elements.buffer().get(EL::QUERYNO) == number) rows.push_back(elements.currentRowid());
  return rows;
}

const XBQW_FIELDSQUEUE_Record* byFieldPointer(const XBQW_FIELDSQUEUE& fields, std::int32_t pointer) {
  if (pointer <= 0) return nullptr;
  for (const auto& f : fields)
    if (f.QWFLDFIELDPOINTER == pointer) return &f;
  return nullptr;
}

const XBQW_FIELDSQUEUE_Record* byQPointer(const XBQW_FIELDSQUEUE& fields, std::int32_t pointer) {
  if (pointer <= 0) return nullptr;
  for (const auto& f : fields)
    if (f.QWFLDQPOINTER == pointer) return &f;
  return nullptr;
}

std::string valueText(const QueryElement& e, const XBQW_FIELDSQUEUE_Record& field) {
  const std::string value(vrt::clip(e.VALUE));
  const std::string picture(vrt::clip(field.QWFLDPICTURE));
  const char letter = picture.size() > 1 ? static_cast<char>(std::toupper(static_cast<unsigned char>(picture[1]))) : 0;
  if (letter == 'D') return vrt::formatPicture(std::atof(value.c_str()), picture);
  if (letter == 'T') return vrt::formatPicture(std::atof(value.c_str()), "@t3");
  return value;
}

// Writes the element rows of a query; false after the message was shown.
bool writeElements(DataFile& elements, const CurrentQuery& list, const XBQW_FIELDSQUEUE& fields,
                   std::int32_t number) {
  for (const QueryElement& e : list) {
    vrt::RecordBuffer& b = elements.buffer();
    b.clearAll(elements.schema().fields);
    b.set(EL::QUERYNO, number);
    const auto* field = byQPointer(fields, e.FLDQPOINTER);
    b.set(EL::FIELDPOINTER, field ? field->QWFLDFIELDPOINTER : -1);
    std::int32_t cmp = 0;
    if (e.CMPFLDQPOINTER != 0) {
      const auto* other = byQPointer(fields, e.CMPFLDQPOINTER);
      cmp = other ? other->QWFLDFIELDPOINTER : -1;
    }
    b.set(EL::CMPPOINTER, cmp);
    b.set(EL::CONJUNCTION, e.CONJUNCTION);
    b.set(EL::VALUE, e.VALUE);
    b.set(EL::MATCHTYPE, e.MATCHTYPE);
    b.set(EL::OPCODE, e.OPCODE);
    b.set(EL::EXPRESSION, e.EXPRESSION);
    if (!elements.add()) {
      showMessage("Error Writing Query: " + codeAndText(), kSaveErrorTitle);
      return false;
    }
  }
  return true;
}

bool eraseRows(DataFile& file, const std::vector<std::int64_t>& rows) {
  for (std::int64_t row : rows)
    if (!file.getByRowid(row) || !file.erase()) return false;
  return true;
}

}  // namespace

std::vector<SavedQuery> listQueries(std::string_view className) {
  std::vector<SavedQuery> out;
  QueryFiles files;
  DataFile* queries = files.open(QueryTable::Queries);
  if (!queries) return out;
  const std::string cls = classKey(className);
  queries->buffer().set(QR::CLASSNAME, cls);
  queries->buffer().set(QR::DESCRIPTION, "");
  queries->setToValue(QR::BYCLASSNAME);
  while (queries->next() && vrt::equalTextNoCase(queries->buffer().get(QR::CLASSNAME), cls))
    out.push_back(rowOf(queries->buffer()));
  return out;
}

std::optional<SavedQuery> readQuery(std::int32_t number) {
  QueryFiles files;
  DataFile* queries = files.open(QueryTable::Queries);
  if (!queries || !getByNumber(*queries, number)) return std::nullopt;
  return rowOf(queries->buffer());
}

std::string describeElement(const QueryElement& e, const XBQW_FIELDSQUEUE& fields) {
  const auto* field = byQPointer(fields, e.FLDQPOINTER);
  const std::string d = field ? std::string(vrt::clip(field->QWFLDDESC)) : kMissingField;
  const std::string o = displayText(e.OPCODE);
  std::string text;
  if (e.CMPFLDQPOINTER != 0) {
    const auto* other = byQPointer(fields, e.CMPFLDQPOINTER);
    text = other ? d + " " + o + " " + std::string(vrt::clip(other->QWFLDDESC)) : std::string(kMissingField) + " " + o + " ";
  } else if (e.EXPRESSION == 1) {
    text = d + " " + o + " " + std::string(vrt::clip(e.VALUE));
  } else if (e.OPCODE == kIsChecked || e.OPCODE == kIsNotChecked) {
    text = d + " " + o;
  } else {
    text = d + " " + o + " " + (field ? valueText(e, *field) : std::string(vrt::clip(e.VALUE)));
  }
  return std::string(vrt::utf8Truncate(text, kElementDescWidth));
}

std::optional<LoadedQuery> loadQuery(std::int32_t number, const XBQW_FIELDSQUEUE& fields) {
  QueryFiles files;
  DataFile* queries = files.open(QueryTable::Queries);
  DataFile* elements = queries ? files.open(QueryTable::Elements) : nullptr;
  if (!elements || !getByNumber(*queries, number)) return std::nullopt;
  LoadedQuery loaded;
  loaded.query = rowOf(queries->buffer());
  elements->buffer().set(EL::QUERYNO, number);
  elements->setToValue(EL::BYQUERYNO);
  while (elements->next() && elements->buffer().get(EL::QUERYNO) == number) {
    const vrt::RecordBuffer& r = elements->buffer();
    QueryElement e;
    const auto* field = byFieldPointer(fields, r.get(EL::FIELDPOINTER));
    e.FLDQPOINTER = field ? field->QWFLDQPOINTER : -1;
    e.CONJUNCTION = r.get(EL::CONJUNCTION);
    e.OPCODE = r.get(EL::OPCODE);
    e.VALUE = r.get(EL::VALUE);
    e.EXPRESSION = r.get(EL::EXPRESSION);
    e.MATCHTYPE = r.get(EL::MATCHTYPE);
    if (field) {
      if (field->QWFLDCONTROL == 2) e.OPCODE = e.VALUE == "0" ? kIsNotChecked : kIsChecked;
      e.FIELDNAME = field->QWFLDNAME;
      e.DATATYPE = field->QWFLDDATATYPE;
    }
    if (const std::int32_t cmp = r.get(EL::CMPPOINTER); cmp != 0) {
      const auto* other = byFieldPointer(fields, cmp);
      e.CMPFLDQPOINTER = other ? other->QWFLDQPOINTER : -1;
    }
    e.DESC = describeElement(e, fields);
    loaded.elements.push_back(std::move(e));
  }
  return loaded;
}

std::int32_t saveQuery(CurrentQuery& list, const XBQW_FIELDSQUEUE& fields, const SaveInput& in,
                       std::string& description) {
  QueryFiles files;
  DataFile* queries = files.open(QueryTable::Queries);
  DataFile* elements = queries ? files.open(QueryTable::Elements) : nullptr;
  if (!elements) return 0;
  std::string current;
  if (in.isNew) {
    queries->buffer().clearAll(queries->schema().fields);
    queries->buffer().set(QR::CLASSNAME, classKey(in.className));
  } else {
    if (!getByNumber(*queries, in.number)) {
      showMessage("Error Retrieving Query File: " + codeAndText(), "Query Restore Error");
      return 0;
    }
    current = queries->buffer().get(QR::DESCRIPTION);
  }
  if (in.manualPage) list.clear();
  vrt::RecordBuffer row = queries->buffer();
  row.set(QR::MANUAL, in.manualPage ? 1 : 0);
  row.set(QR::INVALID, 0);
  row.set(QR::QUERYSTRING, in.filterText);

  const auto entered = hooks().describe(in.isNew ? DescriptionRequest::Insert : DescriptionRequest::Change, current);
  if (!entered) return 0;
  row.set(QR::DESCRIPTION, *entered);

  // The row and its elements change together or not at all; a new query takes the next
  // number inside the same transaction, so that two stations never draw the same one.
  for (int attempt = 1;; ++attempt) {
    vrt::Transaction t({queries, elements}, kWaitSeconds);
    bool begun = t.begin();
    // On a server a transaction locks only the rows it writes: other stations wait for the
    // numbering while this one reads the highest number and adds the next.
    if (begun && in.isNew && !queries->holdNumbering()) {
      const vrt::ErrorState why = vrt::threadError();
      t.rollback();
      vrt::threadError() = why;
      begun = false;
    }
    if (!begun) {
      if (vrt::errorCode() == vrt::kFileLocked && attempt < kNumberingAttempts) continue;
      if (in.isNew && attempt >= kNumberingAttempts &&
          showStoreMessage(StoreMessage::AutoIncrementError, errorDescription()) == vrt::kButtonRetry) {
        attempt = 0;
        continue;
      }
      showMessage("Error Starting Transaction: " + codeAndText(), kSaveErrorTitle);
      return 0;
    }
    std::int32_t number = in.number;
    bool written;
    if (in.isNew) {
      queries->setToEnd(QR::BYQUERYNO);
      number = queries->previous() ? queries->buffer().get(QR::QUERYNO) + 1 : 1;
      row.set(QR::QUERYNO, number);
      queries->buffer().assign(row.raw());
      written = queries->add();
      if (!written && vrt::errorCode() == vrt::kDuplicateKey) {
        t.rollback();
        showStoreMessage(StoreMessage::DuplicateKeyError, "By Query Number");
        return 0;
      }
    } else {
      written = getByNumber(*queries, number);
      if (written) {
        queries->buffer().assign(row.raw());
        written = queries->put();
      }
    }
    if (!written) {
      showMessage("Error Writing Query: " + codeAndText(), kSaveErrorTitle);
      t.rollback();
      return 0;
    }
    if (!in.isNew && !eraseRows(*elements, elementRows(*elements, number))) {
      showMessage("Error Writing Query: " + codeAndText(), kSaveErrorTitle);
      t.rollback();
      return 0;
    }
    if (!writeElements(*elements, list, fields, number)) {
      t.rollback();
      return 0;
    }
    if (!t.commit()) {
      showMessage("Error Committing Transaction: " + codeAndText(), kSaveErrorTitle);
      return 0;
    }
    description = std::string(vrt::clip(*entered));
    return number;
  }
}

bool deleteQuery(std::int32_t number) {
  QueryFiles files;
  DataFile* queries = files.open(QueryTable::Queries);
  DataFile* elements = queries ? files.open(QueryTable::Elements) : nullptr;
  if (!elements || !getByNumber(*queries, number)) return false;
  if (showStoreMessage(StoreMessage::ConfirmDelete) != vrt::kButtonOk) return false;
  for (;;) {
    vrt::Transaction t({queries, elements}, kWaitSeconds);
    const char* table = "XBQW_Elements";
    bool done = t.begin() && eraseRows(*elements, elementRows(*elements, number));
    if (done) {
      table = "XBQW_Queries";
      done = getByNumber(*queries, number) && queries->erase();
    }
    if (done && t.commit()) return true;
    t.rollback();
    showStoreMessage(StoreMessage::DeleteOperationError, errorDescription(), table);
    if (showStoreMessage(StoreMessage::DeleteRetry) != vrt::kButtonYes) return false;
  }
}

}  // namespace qrywiz
