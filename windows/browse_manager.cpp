#include "windows/browse_manager.h"

#include <algorithm>

#include "records/levels.h"
#include "records/lookup_memo.h"
#include "runtime/gui/events.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"
#include "runtime/store/view.h"
#include "windows/window_controller.h"
#include "runtime/store/data_file.h"
#include "runtime/text/field.h"
#include "runtime/text/utf8.h"

namespace vesp {

using vrt::expr::Value;

void BrowseManager::Setup(ListControl& list, vrt::View& view, ListQueue& queue, RelationManager& primary,
                          WindowController* window) {
  controller_ = window;
  prevChoice_ = 0;
  ilc_ = &list;
  listQueue_ = &queue;
  currentChoice_ = 0;
  sorts_.clear();
  ViewManager::Setup(view, primary);
  lastItems_ = list.Items();
  hearOtherStations();
  if (settings_.SELECTING) {
    startAtRead_ = callerReadRecord();
    savedBuffer_ = PRIMARY()->Me()->PushBufferCopy();
  }
}

void BrowseManager::hearOtherStations() {
  std::vector<std::string> tables;
  for (const vrt::DataFile* f : VIEW()->tables())
    if (f->onServer()) tables.push_back(f->sqlTable());
  if (tables.empty()) return;
  const int thread = vrt::ThreadNumber();
  hearing_.start([this, thread, tables](const std::string& table) {
    if (!table.empty() && std::find(tables.begin(), tables.end(), table) == tables.end()) return;
    vrt::Window* window = controller_ ? controller_->MYWINDOW() : nullptr;
    if (!window || !ilc_) return;
    vrt::Event e;
    e.event = kEventTablesChanged;
    e.control = ilc_->Control();
    e.window = window->id();
    vrt::PostEventOnce(e, thread);
  });
}

// Whether the primary buffer holds the table's current record as it is stored: the caller
// read the record it wants the look-up to open on (not just set some of its values).
bool BrowseManager::callerReadRecord() {
  vrt::DataFile& file = *PRIMARY()->Me()->FILE();
  if (!file.hasCurrent()) return false;
  vrt::RecordBuffer stored = *PRIMARY()->Me()->BUFFER();
  return file.peekAt(file.currentRowid(), stored) && stored == *PRIMARY()->Me()->BUFFER();
}

int BrowseManager::AddKeyOrder(std::unique_ptr<ThumbStep> step, int key) {
  const int number = ViewManager::AddKeyOrder(key);
  sorts_.emplace_back();
  sorts_.back().THUMB = std::move(step);
  return number;
}

bool BrowseManager::SelectOrder(int number) {
  if (!ViewManager::SelectOrder(number)) return false;
  stepLimitsSet_ = false;
  return true;
}

// ---------------------------------------------------------------- reading

ReadResult BrowseManager::afterRead(ReadResult result) {
  if (result == ReadResult::Failed) readFailed_ = true;
  return result;
}

ReadResult BrowseManager::ReadNext() { return afterRead(ViewManager::ReadNext()); }
ReadResult BrowseManager::ReadPrevious() { return afterRead(ViewManager::ReadPrevious()); }

void BrowseManager::StoreRow(ListRow& row) {
  row.columns.clear();
  for (const auto& pair : settings_.FIELDS) row.columns.push_back(pair.left.read().toText());
  row.position = VIEW()->position();
}

void BrowseManager::LoadRowIntoRecord() {
  if (listQueue_->Records() == 0 || currentChoice_ < 1) {
    ClearViewRecords();
    return;
  }
  const ListRow& row = listQueue_->Fetch(std::min(currentChoice_, listQueue_->Records()));
  for (std::size_t i = 0; i < settings_.FIELDS.size() && i < row.columns.size(); ++i)
    if (settings_.FIELDS[i].left.write)
      settings_.FIELDS[i].left.write(settings_.FIELDS[i].left.text ? Value::text(row.columns[i])
                                                : Value::number(vrt::expr::numberFromText(row.columns[i])));
}

void BrowseManager::FillRows(int direction) {
  const bool up = direction == kUpward;
  std::string start;
  if (listQueue_->Records() > 0) {
    start = listQueue_->GetViewPosition(up ? 1 : listQueue_->Records());
    if (!VIEW()->continueFrom(start)) start.clear();
  }
  bool first = !start.empty();  // the first record read may be that row itself
  endReached_ = false;
  LookupMemo lookups;  // the rows' look-ups: each record read once for the page
  const bool batch = VIEW()->beginBatch();
  while (itemsToFill_ > 0) {
    const ReadResult result = up ? ReadPrevious() : ReadNext();
    if (result == ReadResult::End) {
      endReached_ = true;
      break;
    }
    if (result != ReadResult::Ok) break;
    if (first) {
      first = false;
      if (VIEW()->position() == start) continue;
    }
    if (listQueue_->Records() >= lastItems_) listQueue_->Delete(up ? listQueue_->Records() : 1);
    ListRow row;
    StoreRow(row);
    if (up) listQueue_->Insert(1, std::move(row));
    else listQueue_->Insert(std::move(row));
    --itemsToFill_;
  }
  if (batch) VIEW()->endBatch();
}

void BrowseManager::locate(const std::string& target) {
  currentChoice_ = target.empty() ? 1 : listQueue_->Find(target);
}

void BrowseManager::FillPage(int mode) {
  if (!ilc_->Visible()) {
    loadPending_ = true;
    return;
  }
  loaded_ = true;
  loadPending_ = false;
  if (currentChoice_ == 0) currentChoice_ = 1;
  int retain = 0;
  std::string target;
  bool fromScratch = false;
  if (mode == kFromHighlight) {
    if (listQueue_->Records() > 0) {
      target = listQueue_->GetViewPosition(std::min(currentChoice_, listQueue_->Records()));
      if (!VIEW()->resetTo(listQueue_->GetViewPosition(1))) {
        Reposition();
        fromScratch = true;
      }
    } else {
      Reposition();
      fromScratch = true;
    }
  } else if (settings_.RETAINROW) {
    retain = currentChoice_ - 1;
  }
  listQueue_->Free();
  itemsToFill_ = lastItems_ - retain;
  FillRows(kDownward);
  const bool downwardEnded = endReached_;
  const int readDown = listQueue_->Records();
  if (target.empty() && readDown > 0) target = listQueue_->GetViewPosition(1);
  locate(target);
  // Nothing at or after the place (a locate past the last record): the page is the last one,
  // read from the end, with the record nearest the place highlighted. Starting again from the
  // top would read nothing upward and show an empty list over a table that has records.
  const bool pastTheEnd = listQueue_->Records() == 0 && !fromScratch;
  if (pastTheEnd) VIEW()->setToEnd();
  else if (listQueue_->Records() == 0) Reposition();
  itemsToFill_ = lastItems_ - readDown;
  if (!fromScratch && (itemsToFill_ > 0 || retain > 0)) {
    // At the end of the data, or to keep the record on its screen row: fill from above.
    itemsToFill_ = std::max(itemsToFill_, retain);
    FillRows(kUpward);
    locate(target);
    if (pastTheEnd) currentChoice_ = listQueue_->Records();
  }
  if (settings_.RETAINROW && listQueue_->Records() < lastItems_ && !downwardEnded && listQueue_->Records() > 0) {
    // The top of the data was reached above the record: what is missing comes from below.
    itemsToFill_ = lastItems_ - listQueue_->Records();
    FillRows(kDownward);
    locate(target);
  }
  while (listQueue_->Records() > lastItems_) listQueue_->Delete(listQueue_->Records());
  if (currentChoice_ == 0) currentChoice_ = 1;
  LoadRowIntoRecord();
}

// ---------------------------------------------------------------- scrolling

void BrowseManager::ScrollByRow(int event) {
  if (event == vrt::kEventScrollUp) {
    if (currentChoice_ > 1) {
      --currentChoice_;
    } else {
      itemsToFill_ = 1;
      FillRows(kUpward);
      currentChoice_ = 1;
    }
  } else if (currentChoice_ < listQueue_->Records()) {
    ++currentChoice_;
  } else {
    itemsToFill_ = 1;
    FillRows(kDownward);
    currentChoice_ = listQueue_->Records();
  }
}

void BrowseManager::ScrollByPage(int event) {
  const bool up = event == vrt::kEventPageUp;
  itemsToFill_ = ilc_->Items();
  FillRows(up ? kUpward : kDownward);
  const int unread = itemsToFill_;  // 0 when a whole page was read
  currentChoice_ = std::clamp(currentChoice_ + (up ? -unread : unread), 1, std::max(1, listQueue_->Records()));
}

void BrowseManager::ScrollToEnd(int event) {
  const bool top = event == vrt::kEventScrollTop;
  listQueue_->Free();
  Reposition();
  if (!top) VIEW()->setToEnd();
  itemsToFill_ = ilc_->Items();
  FillRows(top ? kDownward : kUpward);
  currentChoice_ = top ? 1 : listQueue_->Records();
}

void BrowseManager::OnScroll(int event) {
  if (listQueue_->Records() == 0) return;
  currentEvent_ = event;
  switch (event) {
    case vrt::kEventScrollUp:
    case vrt::kEventScrollDown: ScrollByRow(event); break;
    case vrt::kEventPageUp:
    case vrt::kEventPageDown: ScrollByPage(event); break;
    case vrt::kEventScrollTop:
    case vrt::kEventScrollBottom: ScrollToEnd(event); break;
    default: return;
  }
  updateThumb(event);
  LoadRowIntoRecord();
  RefreshControls();
}

bool BrowseManager::FreeElementDescending() {
  const std::string name = FreeComponentName();
  const std::string& order = CurrentOrder().ORDER;
  for (std::size_t start = 0; !name.empty() && start <= order.size();) {
    const std::size_t comma = std::min(order.find(',', start), order.size());
    std::string_view part = std::string_view(order).substr(start, comma - start);
    while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
    const bool down = !part.empty() && part.front() == '-';
    if (!part.empty() && (part.front() == '-' || part.front() == '+')) part.remove_prefix(1);
    if (vrt::equalTextNoCase(part, name)) return down;
    start = comma + 1;
  }
  return !FreeComponentAscending();
}

// ---------------------------------------------------------------- the thumb

bool BrowseManager::freeElementValue(Value& value) {
  const int field = CurrentOrder().FREEELEMENT;
  if (field < 0) return false;
  const vrt::FieldDesc& f = PRIMARY()->Me()->FILE()->schema().fields[static_cast<std::size_t>(field)];
  value = vrt::isTextType(f.type) ? Value::text(PRIMARY()->Me()->BUFFER()->text(f))
                                  : Value::number(PRIMARY()->Me()->BUFFER()->number(f));
  return true;
}

void BrowseManager::setFreeElement(const Value& value) {
  const int field = CurrentOrder().FREEELEMENT;
  if (field < 0) return;
  const vrt::FieldDesc& f = PRIMARY()->Me()->FILE()->schema().fields[static_cast<std::size_t>(field)];
  if (vrt::isTextType(f.type)) PRIMARY()->Me()->BUFFER()->setText(f, value.toText());
  else PRIMARY()->Me()->BUFFER()->setNumber(f, value.toNumber());
}

void BrowseManager::updateThumb(int event) {
  if (currentSort().THUMB) return;  // RefreshControls asks the step
  const int rows = listQueue_->Records();
  const bool downward = event == vrt::kEventScrollDown || event == vrt::kEventPageDown || event == vrt::kEventScrollBottom;
  if (event == vrt::kEventScrollTop) thumb_ = 0;
  else if (event == vrt::kEventScrollBottom) thumb_ = 100;
  else if (endReached_ && downward && currentChoice_ == rows) thumb_ = 100;
  else if (endReached_ && !downward && currentChoice_ == 1) thumb_ = 0;
  else thumb_ = 50;
}

void BrowseManager::RecomputeThumb() {
  ThumbStep* step = currentSort().THUMB.get();
  if (!step || !step->LimitsNeeded() || CurrentOrder().FREEELEMENT < 0) return;
  if (listQueue_->Records() < lastItems_) return;  // a short list shows no thumb
  SaveTableBuffers();
  Value first, last;
  Reposition();
  VIEW()->setToEnd();
  if (ReadPrevious() == ReadResult::Ok) freeElementValue(last);
  Reposition();
  if (ReadNext() == ReadResult::Ok) freeElementValue(first);
  RestoreTableBuffers();
  step->SetLimits(first, last);
  stepLimitsSet_ = true;
}

int BrowseManager::OnThumbDrag(int position) {
  if (position <= 1) return vrt::kEventScrollTop;
  if (position >= 100) return vrt::kEventScrollBottom;
  ThumbStep* step = currentSort().THUMB.get();
  if (step && CurrentOrder().FREEELEMENT >= 0) {
    if (!stepLimitsSet_) RecomputeThumb();
    setFreeElement(step->ValueAt(position));
    RefreshAtKeyValue();
    return 0;
  }
  return position < 50 ? vrt::kEventPageUp : vrt::kEventPageDown;
}

// The key components after the free element go to their first value in the order, so that a
// located value lands on the first record that has it, not on the one highlighted before.
void BrowseManager::componentsAfterFreeElementToStart() {
  const int position = FreeComponentPosition();
  if (position <= 0) return;
  for (const auto& key : PRIMARY()->Me()->KEYS()) {
    if (key.key != CurrentOrder().MAINKEY) continue;
    const auto& fields = PRIMARY()->Me()->FILE()->schema().fields;
    for (std::size_t i = static_cast<std::size_t>(position); i < key.FIELDS.size(); ++i) {
      const vrt::FieldDesc& f = fields[static_cast<std::size_t>(key.FIELDS[i].field)];
      vrt::RecordRef& record = *PRIMARY()->Me()->BUFFER();
      if (vrt::isTextType(f.type)) {
        std::string last;
        for (std::size_t n = 0; n < f.size / 2; ++n) vrt::utf8Append(last, U'\u00FE');
        record.setText(f, key.FIELDS[i].ASCEND ? std::string() : last);
      } else {
        const double extreme = f.type == vrt::FieldType::Byte ? 255 : f.type == vrt::FieldType::Decimal ? 1e15 : 3e9;
        record.setNumber(f, key.FIELDS[i].ASCEND ? (f.type == vrt::FieldType::Byte ? 0 : -extreme) : extreme);
      }
    }
  }
}

void BrowseManager::RefreshAtKeyValue() {
  componentsAfterFreeElementToStart();
  if (!OPENED()) OpenView();
  // By value alone: the record last read must not decide where among equal keys the list starts.
  if (!VIEW()->resetToBuffer(true)) Reposition();
  FillPage(kFromView);
  RefreshControls();
}

bool BrowseManager::RefreshLimits() {
  const bool rangeMoved = ViewManager::RefreshLimits();
  bool changed = rangeMoved;
  if (const int items = ilc_->Items(); items >= 0 && items != lastItems_) {
    lastItems_ = items;
    changed = true;
  }
  // Whoever asked, the refill is owed until a page is filled: asking whether a reset is
  // due must not use the change up.
  if (changed) loadPending_ = true;
  if (rangeMoved) rangeMoved_ = true;
  return changed;
}

void BrowseManager::RefreshControls() {
  const int rows = listQueue_->Records();
  refreshButtons();
  ilc_->Show(listQueue_->rows());
  ilc_->SetChoice(rows ? currentChoice_ : 0);
  ThumbStep* step = currentSort().THUMB.get();
  const bool fullPage = rows >= lastItems_ && rows > 0;
  if (step && loaded_ && rows > 0) {
    if (!stepLimitsSet_) RecomputeThumb();
    Value v;
    if (stepLimitsSet_ && freeElementValue(v)) {
      thumb_ = step->Percentile(v);
      if (fullPage && thumb_ == 1) thumb_ = 0;
      if (fullPage && thumb_ == 99) thumb_ = 100;
    }
  }
  ilc_->SetThumb(thumb_, settings_.HASTHUMB && fullPage);
}

}  // namespace vesp
