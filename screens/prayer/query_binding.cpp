#include "screens/prayer/query_binding.h"

#include <algorithm>

#include "dictionary/tables.h"
#include "querywizard/qrywiz.h"
#include "records/thread_dictionary.h"
#include "runtime/gui/control.h"
#include "runtime/gui/threads.h"
#include "runtime/text/utf8.h"
#include "screens/prayer/categories.h"
#include "screens/prayer/journal_handover.h"
#include "screens/prayer/journal_reports.h"
#include "screens/prayer/offered_fields.h"
#include "windows/browse_screen.h"
#include "windows/procedures.h"

namespace vesp {

using namespace vrt;

namespace {

constexpr int kAllRecords = 1, kCustomQuery = 2, kFirstSaved = 3;
constexpr std::string_view kRuntimeCategory = "RUNTIMECATEGORY";

std::string sortKeyOf(std::string_view description) {
  return std::string(utf8Truncate("3" + upperCase(clip(description)), qrywiz::kSortKeyWidth));
}

bool asksForCategoryOnly(const qrywiz::XBQW_QUERIESQUEUE_Record& entry) {
  return upperCase(clip(entry.description)) == "SELECT CATEGORY";
}

}  // namespace

std::vector<ControlSpec> QueryBinding::Controls() {
  return {row({prompt("Saved Queries:"), dropList(kSavedQueriesUse, {}, Binding(), 12).tip("Request Category"),
               button(kQueryChangeUse, "Change").makeDisabled(), button(kQueryDeleteUse, "Delete").makeDisabled()})};
}

QueryBinding::QueryBinding(BrowseScreen& browse) : browse_(browse) {
  usable_ = RegisterPrayerRequestFields(fields_) == 0;
  // The evaluator reads the category each time, so a query parsed before it was chosen
  // still sees the latest one.
  expr::bindName(kRuntimeCategory, [] { return expr::Value::text(RuntimeCategory()); });
  qrywiz::XB_FILLQWQUEUE(queries_, kPrayerRequestClass, 1);
  std::stable_sort(queries_.begin(), queries_.end(),
                   [](const auto& a, const auto& b) { return a.sortKey < b.sortKey; });
  if (!queries_.empty()) current_ = queries_.front();
  select(kAllRecords);
  if (Control* list = browse_.MYWINDOW()->control(kSavedQueriesUse)) {
    // Wide enough for a description of 40 characters, as its one column is.
    list->setLeastCharacters(40);
    if (!usable_) list->setDisabled(true);
  }
}

QueryBinding::~QueryBinding() = default;

void QueryBinding::ArmKeys() {
  if (Control* list = browse_.MYWINDOW()->control(kSavedQueriesUse)) {
    list->alert(kCtrlEnter);
    list->alert(kDeleteKey);
  }
}

int QueryBinding::selected() const {
  const Control* list = browse_.MYWINDOW()->control(kSavedQueriesUse);
  return list ? list->selected() : 0;
}

int QueryBinding::entryOf(std::int32_t number) const {
  for (std::size_t i = 0; i < queries_.size(); ++i)
    if (queries_[i].queryNumber == number) return static_cast<int>(i) + 1;
  return 0;
}

EventResult QueryBinding::TakeEvent() {
  const Event& e = browse_.CurrentEvent();
  Window& w = *browse_.MYWINDOW();
  if (!e.control) return EventResult::Continue;
  const bool onList = e.control == w.number(kSavedQueriesUse);
  if (onList && e.event == kEventNewSelection) {
    enableButtons();
    return EventResult::Consumed;
  }
  if (onList && e.event == kEventAlertKey && (e.key == kCtrlEnter || e.key == kDeleteKey)) {
    // The key presses its button as a click would: not while the button is off.
    const Control* button = w.control(e.key == kCtrlEnter ? kQueryChangeUse : kQueryDeleteUse);
    if (button && !button->disabled()) w.post(kEventAccepted, button->number());
    return EventResult::Consumed;
  }
  if (e.event != kEventAccepted) return EventResult::Continue;
  if (onList) choose(selected());
  else if (e.control == w.number(kQueryChangeUse)) change();
  else if (e.control == w.number(kQueryDeleteUse)) remove();
  else if (e.control == w.number(kPrintQueryUse)) printQuery();
  else return EventResult::Continue;
  return EventResult::Consumed;
}

// ---------------------------------------------------------------- the drop list

void QueryBinding::select(int entry) {
  Control* list = browse_.MYWINDOW()->control(kSavedQueriesUse);
  if (!list) return;
  std::vector<std::string> items;
  for (const auto& q : queries_) items.push_back(q.description);
  if (list->items() != items) list->setItems(std::move(items));
  list->setSelected(entry);
  enableButtons();
}

void QueryBinding::enableButtons() {
  const int entry = selected();
  const bool saved = usable_ && entry >= kFirstSaved && entry <= static_cast<int>(queries_.size()) &&
                     !asksForCategoryOnly(queries_[static_cast<std::size_t>(entry - 1)]);
  browse_.SetControlDisabled(browse_.MYWINDOW()->number(kQueryChangeUse), !saved);
  browse_.SetControlDisabled(browse_.MYWINDOW()->number(kQueryDeleteUse), !saved);
}

void QueryBinding::choose(int entry) {
  if (!usable_ || entry < 1 || entry > static_cast<int>(queries_.size())) return;
  current_ = queries_[static_cast<std::size_t>(entry - 1)];
  if (entry == kAllRecords) {
    filter_.clear();
  } else if (entry == kCustomQuery) {
    qrywiz::XB_QWIZARD(fields_, kPrayerRequestClass, filter_, current_.description, 1, 0);
    const std::int32_t response = qrywiz::XBQW_Response();
    if (response == 0) {
      filter_.clear();
      current_ = queries_.front();
      select(kAllRecords);
    } else if (response != -1) {
      addQuery(response);
    }
  } else {
    // A query another browse deleted reads as the empty text: every record shows.
    qrywiz::XB_GETQUERY(current_.queryNumber, filter_);
  }
  if (!filter_.empty()) applyRuntimeCategory();
  enableButtons();
  install();
}

void QueryBinding::addQuery(std::int32_t number) {
  current_.queryNumber = number;
  current_.sortKey = sortKeyOf(current_.description);
  // Replacing a saved query of the same description gives back its number: one entry.
  if (const int old = entryOf(number); old >= kFirstSaved) queries_.erase(queries_.begin() + (old - 1));
  const auto at = std::upper_bound(queries_.begin() + std::min<std::size_t>(queries_.size(), kFirstSaved - 1),
                                   queries_.end(), current_.sortKey,
                                   [](const std::string& key, const auto& q) { return key < q.sortKey; });
  const auto inserted = queries_.insert(at, current_);
  const int entry = static_cast<int>(inserted - queries_.begin()) + 1;
  select(entry);
  browse_.MYWINDOW()->post(kEventNewSelection, browse_.MYWINDOW()->number(kSavedQueriesUse));
}

void QueryBinding::change() {
  const int entry = selected();
  if (!usable_ || entry < kFirstSaved || entry > static_cast<int>(queries_.size())) return;
  current_ = queries_[static_cast<std::size_t>(entry - 1)];
  const std::int32_t number = current_.queryNumber;
  qrywiz::XB_QWIZARD(fields_, kPrayerRequestClass, filter_, current_.description, 1, 0, number);
  const std::int32_t response = qrywiz::XBQW_Response();
  if (response == number) {
    auto& changed = queries_[static_cast<std::size_t>(entry - 1)];
    changed.description = current_.description;
    changed.sortKey = current_.sortKey = sortKeyOf(current_.description);
    std::stable_sort(queries_.begin() + (kFirstSaved - 1), queries_.end(),
                     [](const auto& a, const auto& b) { return a.sortKey < b.sortKey; });
    select(entryOf(number));
    applyRuntimeCategory();
    enableButtons();
  } else if (response == -1) {
    select(kCustomQuery);
    browse_.MYWINDOW()->post(kEventNewSelection, browse_.MYWINDOW()->number(kSavedQueriesUse));
    applyRuntimeCategory();
    enableButtons();
  } else if (response != 0) {
    addQuery(response);
  }
  install();
}

void QueryBinding::remove() {
  const int entry = selected();
  if (!usable_ || entry < kFirstSaved || entry > static_cast<int>(queries_.size())) return;
  if (qrywiz::XB_DELETEQUERY(queries_[static_cast<std::size_t>(entry - 1)].queryNumber) != 1) return;
  queries_.erase(queries_.begin() + (entry - 1));
  select(kAllRecords);
  choose(kAllRecords);
  browse_.MYWINDOW()->post(kEventNewSelection, browse_.MYWINDOW()->number(kSavedQueriesUse));
}

// ---------------------------------------------------------------- applying the filter

void QueryBinding::applyRuntimeCategory() {
  if (upperCase(filter_).find(kRuntimeCategory) == std::string::npos) return;
  const Response response = browse_.CallProcedure(Request::Select, BrowsePrayerRequestCategory);
  if (response == Response::Completed)
    SetRuntimeCategory(std::string(clip(RecordRef(Buffer(tables::Lookups)).get(LOO_LOOKUPTYPE))));
  qrywiz::XB_QWPARSE(kRuntimeCategory, upperCase(RuntimeCategory()), filter_);
}

void QueryBinding::install() {
  BrowseManager& b = browse_.Browse();
  b.PutNamedFilterOnEveryOrder(filter_, kQueryFilterName);
  // Another query starts at the top of the list.
  b.LISTQUEUE()->Free();
  b.Reset(true);
}

void QueryBinding::printQuery() {
  SetHandedFilter(filter_);
  SetHandedDescription(current_.description);
  StartQueryReport(CurrentQueryHandover());
}

}  // namespace vesp
