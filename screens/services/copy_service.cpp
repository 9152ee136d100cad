#include "screens/services/copy_service.h"

#include <algorithm>
#include <vector>

#include "dictionary/tables.h"
#include "records/levels.h"
#include "records/relation_manager.h"
#include "records/thread_dictionary.h"
#include "records/upkeep.h"
#include "runtime/data/errors.h"
#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"
#include "runtime/store/transaction.h"
#include "runtime/store/view.h"
#include "runtime/text/picture.h"
#include "runtime/text/utf8.h"
#include "screens/worship/open_tables.h"
#include "windows/browse_screen.h"
#include "windows/calendar_key.h"
#include "windows/exit_requests.h"
#include "windows/screen_conventions.h"
#include "windows/window_placement.h"

namespace vesp {

namespace {

using namespace vrt;

constexpr const char* kCaption = "Copy Service";
constexpr const char* kAskProcedure = "AskServiceCopy";

// A service's records of one child table, as stored, read by its service-number key.
struct Children {
  const dict::TableDecl* table;
  const char* serviceField;  // as the filter names it
  LongField link;
  std::vector<RecordBuffer> records;
};

bool readChildren(std::int32_t service, Children& c) {
  DataFile& file = TableFile(*c.table);
  View view(file);
  if (!view.setFilter(std::string(c.serviceField) + " = " + std::to_string(service)) || !view.open()) return false;
  const bool held = view.beginBatch();  // one read transaction: each record one step
  while (view.next()) c.records.push_back(file.buffer());
  const bool ended = errorCode() == kRecordNotAvailable;
  if (held) view.endBatch();
  view.close();
  return ended;
}

// Inserts `record` through the table's relation manager (auto-number, parent check and
// upkeep), inside the caller's transaction.
bool insertCopy(const dict::TableDecl& table, const RecordBuffer& record, const FieldDesc& number,
                LongField link, std::int32_t parent) {
  FileManager& f = Access(table);
  *f.BUFFER() = record;
  f.BUFFER()->setNumber(number, 0);
  RecordRef(*f.BUFFER()).set(link, parent);
  f.GiveUpReservedNumber();
  return Relate(table).Insert(false) == Level::Benign;
}

// Every file the copy writes or its upkeep touches, open for the length of the copy.
std::vector<DataFile*> filesOfCopy(const std::vector<const dict::TableDecl*>& tables) {
  std::vector<DataFile*> files;
  auto add = [&files](DataFile* f) {
    if (f && std::find(files.begin(), files.end(), f) == files.end()) files.push_back(f);
  };
  for (const dict::TableDecl* t : tables) {
    add(&TableFile(*t));
    for (const Upkeep& u : UpkeepOf(t->label))
      for (const std::string& label : u.tables)
        if (FileManager* fm = fileManagerFor(label)) add(fm->FILE());
  }
  return files;
}

// Each relation manager writes without a transaction of its own while the copy's one frames
// them all; put back however the copy ends.
class OneTransaction {
 public:
  explicit OneTransaction(const std::vector<const dict::TableDecl*>& tables) {
    for (const dict::TableDecl* t : tables) {
      RelationManager& r = Relate(*t);
      saved_.emplace_back(&r, r.SETTINGS().transactionFlag);
      r.UseTransactions(false);
    }
  }
  ~OneTransaction() {
    for (auto& [r, flag] : saved_) r->UseTransactions(flag);
  }

 private:
  std::vector<std::pair<RelationManager*, bool>> saved_;
};

struct CopyAnswer {
  bool cancelled = true;
  DayNumber weekOf = 0;
  std::string title;
};

CopyAnswer askCopy(const std::string& title, DayNumber weekOf) {
  CopyAnswer answer;
  std::int32_t date = weekOf > 0 ? weekOf + 7 : today();  // next week's, as a rule
  std::string newTitle = title;
  const std::string shownDate = weekOf > 0 ? " (" + formatPicture(double(weekOf), "@d17") + ")" : std::string();
  WindowSpec design = windowSpec(kCaption, kAskProcedure);
  design.controls = {
      prompt("A new service with the elements, Bible passages and key words of \"" + title + "\"" + shownDate + ":",
             "?CopyOf"),
      grid(2, {prompt("&Week Of:"), entry("?WeekOf", "@d17", bind(date)), prompt("&Title:"),
               entry("?Title", "@s75", bind(newTitle))}),
      row({button("?OK", "&OK").icon("SOK.ICO").help("Copy the service and open the copy").makeDefault(),
           button("?Cancel", "&Cancel").icon("SCANCEL.ICO").help("Copy nothing").makeCancel()}),
  };
  design.alertKeys = {kF6Key};  // the calendar, on the date
  Window window(design);
  const int ok = window.number("?OK"), cancel = window.number("?Cancel");
  window.open();
  // Over the window it was asked from, or where the user last left it.
  PlaceScreenWindow(kAskProcedure, window, true, true);
  for (;;) {
    const Event e = window.accept();
    if (e.event == kEventCloseWindow || e.event == kEventCloseDown) break;
    if (e.event == kEventAlertKey && e.key == kF6Key) CalendarOnFocusedControl(window);
    if (e.event != kEventAccepted) continue;
    if (e.control == cancel) break;
    if (e.control != ok) continue;
    if (window.updateAll() != 0 || date <= 0) {
      // Said with an example: the date is read as the desktop writes dates, which need not
      // be the way the user types them.
      Message("The week-of date must be a real date, written like " + formatPicture(double(today()), "@d17") + ".",
              kCaption, kIconExclamation);
      window.select(window.number("?WeekOf"));
      continue;
    }
    answer = {false, date, newTitle};
    break;
  }
  SaveWindowPlacement(kAskProcedure, window);
  return answer;
}

bool readService(std::int32_t number) {
  FileManager& s = Access(tables::Service);
  RecordRef(*s.BUFFER()).set(SER_SERVICENUMBER, number);
  return s.Fetch(dict::idx::SER::keys::ServiceNumberKey) == Level::Benign;
}

}  // namespace

ServiceCopy CopyService(std::int32_t from, DayNumber weekOf, const std::string& title) {
  ServiceCopy copy;
  const std::vector<const dict::TableDecl*> written = {&tables::Service, &tables::ServiceElement, &tables::BibleRef,
                                                       &tables::KeyWords};
  OpenTables open({&tables::Service, &tables::ServiceElement, &tables::BibleRef, &tables::KeyWords,
                   &tables::Bibliography});
  if (!open.failed().empty()) {
    copy.error = "The " + open.failed() + " file could not be opened.";
    return copy;
  }
  if (!readService(from)) {
    copy.error = "The service to copy is no longer on file.";
    return copy;
  }
  const RecordBuffer original = *Access(tables::Service).BUFFER();
  Children elements{&tables::ServiceElement, "SEL:ServiceNumber", SEL_SERVICENUMBER, {}};
  Children passages{&tables::BibleRef, "BIB:ServiceNumber", BIB_SERVICENUMBER, {}};
  Children keyWords{&tables::KeyWords, "KWD:ServiceNumber", KWD_SERVICENUMBER, {}};
  for (Children* c : {&elements, &passages, &keyWords})
    if (!readChildren(from, *c)) {
      copy.error = std::string("The service's ") + c->table->label + " records could not be read: " + errorMessage();
      return copy;
    }

  const OneTransaction framed(written);
  Transaction txn(filesOfCopy(written), Relate(tables::Service).SETTINGS().transactionWait);
  if (!txn.begin()) {
    copy.error = "The files are in use at another station; try again in a moment (" + errorMessage() + ").";
    return copy;
  }
  FileManager& service = Access(tables::Service);
  *service.BUFFER() = original;
  RecordRef s(*service.BUFFER());
  s.set(SER_SERVICENUMBER, 0);
  s.set(SER_TITLE, title);
  s.set(SER_WEEKOFDATE_DATE, weekOf);
  s.set(SER_DATECREATED_DATE, today());
  s.set(SER_DATECREATED_TIME, clockNow());
  s.set(SER_LASTUPDATED_DATE, 0);
  s.set(SER_LASTUPDATED_TIME, 0);
  s.set(SER_EMPCREATED, 0);
  s.set(SER_EMPLASTUPDATED, 0);
  service.GiveUpReservedNumber();
  bool ok = Relate(tables::Service).Insert(false) == Level::Benign;
  const std::int32_t number = s.get(SER_SERVICENUMBER);
  const auto& sel = TableFile(tables::ServiceElement).schema().fields;
  const auto& bib = TableFile(tables::BibleRef).schema().fields;
  const auto& kwd = TableFile(tables::KeyWords).schema().fields;
  for (const RecordBuffer& r : elements.records)
    ok = ok && insertCopy(tables::ServiceElement, r, sel[0], SEL_SERVICENUMBER, number) && ++copy.elements;
  for (const RecordBuffer& r : passages.records)
    ok = ok && insertCopy(tables::BibleRef, r, bib[0], BIB_SERVICENUMBER, number) && ++copy.passages;
  for (const RecordBuffer& r : keyWords.records)
    ok = ok && insertCopy(tables::KeyWords, r, kwd[0], KWD_SERVICENUMBER, number) && ++copy.keyWords;
  if (!ok || !txn.commit()) {
    copy.error = "The service could not be copied: " + errorMessage();
    txn.rollback();
    for (const dict::TableDecl* t : written) Access(*t).GiveUpReservedNumber();
    copy.elements = copy.passages = copy.keyWords = 0;
    return copy;
  }
  copy.ok = true;
  copy.number = number;
  return copy;
}

void CopyServiceFromBrowse(BrowseScreen& screen) {
  BrowseManager& browse = screen.Browse();
  const RecordRef highlighted(*Access(tables::Service).BUFFER());
  const std::int32_t from = highlighted.get(SER_SERVICENUMBER);
  const CopyAnswer answer = askCopy(std::string(clip(highlighted.get(SER_TITLE))), highlighted.get(SER_WEEKOFDATE_DATE));
  if (answer.cancelled) return;
  const ServiceCopy copy = CopyService(from, answer.weekOf, answer.title);
  if (!copy.ok) {
    Message(copy.error, kCaption, kIconExclamation);
    browse.FillPage(BrowseManager::kFromHighlight);
    browse.RefreshControls();
    return;
  }
  // The form works on the copy as it is stored.
  static_cast<void>(Access(tables::Service).Open());
  bool kept = readService(copy.number);
  if (kept && screen.RunProcedure(screen.Decl().form, Request::Change) != Response::Completed) {
    // The program ending (File > Exit, the session's end) is not the user giving the plan
    // up: the copy and the elements already moved or added in it stay.
    if (ClosingDown() || ExitAsked(ThreadNumber())) {
      static_cast<void>(Access(tables::Service).Close());
      return;
    }
    // Given up: the copy goes, with everything copied into it or added to it since.
    kept = !(readService(copy.number) && Relate(tables::Service).Delete(false) == Level::Benign);
    if (kept) Message("The copy could not be deleted: " + errorMessage(), kCaption, kIconExclamation);
  }
  if (kept && readService(copy.number)) browse.RefreshAtRecord();
  else browse.FillPage(BrowseManager::kFromHighlight);
  static_cast<void>(Access(tables::Service).Close());
  browse.RefreshControls();
}

}  // namespace vesp
