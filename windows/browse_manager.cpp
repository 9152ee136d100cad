#include "windows/browse_manager.h"

#include <algorithm>

#include "records/levels.h"
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
  WINDOW = window;
  PREVCHOICE = 0;
  ILC = &list;
  LISTQUEUE = &queue;
  RETAINROW = true;
  CURRENTCHOICE = 0;
  SORT.clear();
  ViewManager::Setup(view, primary);
  LASTITEMS = list.Items();
  hearOtherStations();
  if (SELECTING) {
    startAtRead_ = callerReadRecord();
    BUFFER = PRIMARY->Me->PushBufferCopy();
  }
}

void BrowseManager::hearOtherStations() {
  std::vector<std::string> tables;
  for (const vrt::DataFile* f : VIEW->tables())
    if (f->onServer()) tables.push_back(f->sqlTable());
  if (tables.empty()) return;
  const int thread = vrt::ThreadNumber();
  hearing_.start([this, thread, tables](const std::string& table) {
    if (!table.empty() && std::find(tables.begin(), tables.end(), table) == tables.end()) return;
    vrt::Window* window = WINDOW ? WINDOW->MYWINDOW() : nullptr;
    if (!window || !ILC) return;
    vrt::Event e;
    e.event = kEventTablesChanged;
    e.control = ILC->Control();
    e.window = window->id();
    vrt::PostEventOnce(e, thread);
  });
}

// Whether the primary buffer holds the table's current record as it is stored: the caller
// read the record it wants the look-up to open on (not just set some of its values).
bool BrowseManager::callerReadRecord() {
  vrt::DataFile& file = *PRIMARY->Me->FILE;
  if (!file.hasCurrent()) return false;
  vrt::RecordBuffer stored = *PRIMARY->Me->BUFFER;
  return file.peekAt(file.currentRowid(), stored) && stored == *PRIMARY->Me->BUFFER;
}

int BrowseManager::AddKeyOrder(std::unique_ptr<ThumbStep> step, int key) {
  const int number = ViewManager::AddKeyOrder(key);
  SORT.emplace_back();
  SORT.back().THUMB = std::move(step);
  return number;
}

bool BrowseManager::SelectOrder(int number) {
  if (!ViewManager::SelectOrder(number)) return false;
  stepLimitsSet_ = false;
  return true;
}

// ---------------------------------------------------------------- reading

// Reading past the end may have overwritten the reset fields: they get their values back.
ReadResult BrowseManager::afterRead(ReadResult result) {
  if (result == ReadResult::Failed) readFailed_ = true;
  if (result == ReadResult::End)
    for (const auto& pair : currentSort().RESETS)
      if (pair.left.write) pair.left.write(pair.right);
  return result;
}

ReadResult BrowseManager::ReadNext() { return afterRead(ViewManager::ReadNext()); }
ReadResult BrowseManager::ReadPrevious() { return afterRead(ViewManager::ReadPrevious()); }

void BrowseManager::StoreRow(ListRow& row) {
  row.columns.clear();
  for (const auto& pair : FIELDS) row.columns.push_back(pair.left.read().toText());
  row.position = VIEW->position();
}

void BrowseManager::LoadRowIntoRecord() {
  if (LISTQUEUE->Records() == 0 || CURRENTCHOICE < 1) {
    ClearViewRecords();
    return;
  }
  const ListRow& row = LISTQUEUE->Fetch(std::min(CURRENTCHOICE, LISTQUEUE->Records()));
  for (std::size_t i = 0; i < FIELDS.size() && i < row.columns.size(); ++i)
    if (FIELDS[i].left.write)
      FIELDS[i].left.write(FIELDS[i].left.text ? Value::text(row.columns[i])
                                                : Value::number(vrt::expr::numberFromText(row.columns[i])));
}

void BrowseManager::FillRows(int direction) {
  const bool up = direction == kUpward;
  std::string start;
  if (LISTQUEUE->Records() > 0) {
    start = LISTQUEUE->GetViewPosition(up ? 1 : LISTQUEUE->Records());
    if (!VIEW->resetTo(start)) start.clear();
  }
  bool first = !start.empty();  // the first record read may be that row itself
  endReached_ = false;
  const bool batch = VIEW->beginBatch();
  while (ITEMSTOFILL > 0) {
    const ReadResult result = up ? ReadPrevious() : ReadNext();
    if (result == ReadResult::End) {
      endReached_ = true;
      break;
    }
    if (result != ReadResult::Ok) break;
    if (first) {
      first = false;
      if (VIEW->position() == start) continue;
    }
    if (LISTQUEUE->Records() >= LASTITEMS) LISTQUEUE->Delete(up ? LISTQUEUE->Records() : 1);
    ListRow row;
    StoreRow(row);
    if (up) LISTQUEUE->Insert(1, std::move(row));
    else LISTQUEUE->Insert(std::move(row));
    --ITEMSTOFILL;
  }
  if (batch) VIEW->endBatch();
}

void BrowseManager::locate(const std::string& target) {
  CURRENTCHOICE = target.empty() ? 1 : LISTQUEUE->Find(target);
}

void BrowseManager::FillPage(int mode) {
  if (!ILC->Visible()) {
    LOADPENDING = true;
    return;
  }
  LOADED = true;
  LOADPENDING = false;
  if (CURRENTCHOICE == 0) CURRENTCHOICE = 1;
  int retain = 0;
  std::string target;
  bool fromScratch = false;
  if (mode == kFromHighlight) {
    if (LISTQUEUE->Records() > 0) {
      target = LISTQUEUE->GetViewPosition(std::min(CURRENTCHOICE, LISTQUEUE->Records()));
      if (!VIEW->resetTo(LISTQUEUE->GetViewPosition(1))) {
        Reposition();
        fromScratch = true;
      }
    } else {
      Reposition();
      fromScratch = true;
    }
  } else if (RETAINROW) {
    retain = CURRENTCHOICE - 1;
  }
  LISTQUEUE->Free();
  ITEMSTOFILL = LASTITEMS - retain;
  FillRows(kDownward);
  const bool downwardEnded = endReached_;
  const int readDown = LISTQUEUE->Records();
  if (target.empty() && readDown > 0) target = LISTQUEUE->GetViewPosition(1);
  locate(target);
  // Nothing at or after the place (a locate past the last record): the page is the last one,
  // read from the end, with the record nearest the place highlighted. Starting again from the
  // top would read nothing upward and show an empty list over a table that has records.
  const bool pastTheEnd = LISTQUEUE->Records() == 0 && !fromScratch;
  if (pastTheEnd) VIEW->setToEnd();
  else if (LISTQUEUE->Records() == 0) Reposition();
  ITEMSTOFILL = LASTITEMS - readDown;
  if (!fromScratch && (ITEMSTOFILL > 0 || retain > 0)) {
    // At the end of the data, or to keep the record on its screen row: fill from above.
    ITEMSTOFILL = std::max(ITEMSTOFILL, retain);
    FillRows(kUpward);
    locate(target);
    if (pastTheEnd) CURRENTCHOICE = LISTQUEUE->Records();
  }
  if (RETAINROW && LISTQUEUE->Records() < LASTITEMS && !downwardEnded && LISTQUEUE->Records() > 0) {
    // The top of the data was reached above the record: what is missing comes from below.
    ITEMSTOFILL = LASTITEMS - LISTQUEUE->Records();
    FillRows(kDownward);
    locate(target);
  }
  while (LISTQUEUE->Records() > LASTITEMS) LISTQUEUE->Delete(LISTQUEUE->Records());
  if (CURRENTCHOICE == 0) CURRENTCHOICE = 1;
  LoadRowIntoRecord();
}

// ---------------------------------------------------------------- scrolling

void BrowseManager::ScrollByRow(int event) {
  if (event == vrt::kEventScrollUp) {
    if (CURRENTCHOICE > 1) {
      --CURRENTCHOICE;
    } else {
      ITEMSTOFILL = 1;
      FillRows(kUpward);
      CURRENTCHOICE = 1;
    }
  } else if (CURRENTCHOICE < LISTQUEUE->Records()) {
    ++CURRENTCHOICE;
  } else {
    ITEMSTOFILL = 1;
    FillRows(kDownward);
    CURRENTCHOICE = LISTQUEUE->Records();
  }
}

void BrowseManager::ScrollByPage(int event) {
  const bool up = event == vrt::kEventPageUp;
  ITEMSTOFILL = ILC->Items();
  FillRows(up ? kUpward : kDownward);
  const int unread = ITEMSTOFILL;  // 0 when a whole page was read
  CURRENTCHOICE = std::clamp(CURRENTCHOICE + (up ? -unread : unread), 1, std::max(1, LISTQUEUE->Records()));
}

void BrowseManager::ScrollToEnd(int event) {
  const bool top = event == vrt::kEventScrollTop;
  LISTQUEUE->Free();
  Reposition();
  if (!top) VIEW->setToEnd();
  ITEMSTOFILL = ILC->Items();
  FillRows(top ? kDownward : kUpward);
  CURRENTCHOICE = top ? 1 : LISTQUEUE->Records();
}

void BrowseManager::OnScroll(int event) {
  if (LISTQUEUE->Records() == 0) return;
  CURRENTEVENT = event;
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
  const vrt::FieldDesc& f = PRIMARY->Me->FILE->schema().fields[static_cast<std::size_t>(field)];
  value = vrt::isTextType(f.type) ? Value::text(PRIMARY->Me->BUFFER->text(f))
                                  : Value::number(PRIMARY->Me->BUFFER->number(f));
  return true;
}

void BrowseManager::setFreeElement(const Value& value) {
  const int field = CurrentOrder().FREEELEMENT;
  if (field < 0) return;
  const vrt::FieldDesc& f = PRIMARY->Me->FILE->schema().fields[static_cast<std::size_t>(field)];
  if (vrt::isTextType(f.type)) PRIMARY->Me->BUFFER->setText(f, value.toText());
  else PRIMARY->Me->BUFFER->setNumber(f, value.toNumber());
}

void BrowseManager::updateThumb(int event) {
  if (currentSort().THUMB) return;  // RefreshControls asks the step
  const int rows = LISTQUEUE->Records();
  const bool downward = event == vrt::kEventScrollDown || event == vrt::kEventPageDown || event == vrt::kEventScrollBottom;
  if (event == vrt::kEventScrollTop) thumb_ = 0;
  else if (event == vrt::kEventScrollBottom) thumb_ = 100;
  else if (endReached_ && downward && CURRENTCHOICE == rows) thumb_ = 100;
  else if (endReached_ && !downward && CURRENTCHOICE == 1) thumb_ = 0;
  else thumb_ = 50;
}

void BrowseManager::RecomputeThumb() {
  ThumbStep* step = currentSort().THUMB.get();
  if (!step || !step->LimitsNeeded() || CurrentOrder().FREEELEMENT < 0) return;
  if (LISTQUEUE->Records() < LASTITEMS) return;  // a short list shows no thumb
  SaveTableBuffers();
  Value first, last;
  Reposition();
  VIEW->setToEnd();
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
  for (const auto& key : PRIMARY->Me->KEYS) {
    if (key.key != CurrentOrder().MAINKEY) continue;
    const auto& fields = PRIMARY->Me->FILE->schema().fields;
    for (std::size_t i = static_cast<std::size_t>(position); i < key.FIELDS.size(); ++i) {
      const vrt::FieldDesc& f = fields[static_cast<std::size_t>(key.FIELDS[i].field)];
      vrt::RecordRef& record = *PRIMARY->Me->BUFFER;
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
  if (!OPENED) OpenView();
  // By value alone: the record last read must not decide where among equal keys the list starts.
  if (!VIEW->resetToBuffer(true)) Reposition();
  FillPage(kFromView);
  RefreshControls();
}

bool BrowseManager::RefreshLimits() {
  const bool rangeMoved = ViewManager::RefreshLimits();
  bool changed = rangeMoved;
  if (const int items = ILC->Items(); items >= 0 && items != LASTITEMS) {
    LASTITEMS = items;
    changed = true;
  }
  FieldPairs& resets = currentSort().RESETS;
  if (!resets.Equal()) {
    resets.AssignLeftToRight();
    changed = true;
  }
  // Whoever asked, the refill is owed until a page is filled: asking whether a reset is
  // due must not use the change up.
  if (changed) LOADPENDING = true;
  if (rangeMoved) rangeMoved_ = true;
  return changed;
}

void BrowseManager::RefreshControls() {
  const int rows = LISTQUEUE->Records();
  refreshButtons();
  ILC->Show(LISTQUEUE->rows());
  ILC->SetChoice(rows ? CURRENTCHOICE : 0);
  ThumbStep* step = currentSort().THUMB.get();
  const bool fullPage = rows >= LASTITEMS && rows > 0;
  if (step && LOADED && rows > 0) {
    if (!stepLimitsSet_) RecomputeThumb();
    Value v;
    if (stepLimitsSet_ && freeElementValue(v)) {
      thumb_ = step->Percentile(v);
      if (fullPage && thumb_ == 1) thumb_ = 0;
      if (fullPage && thumb_ == 99) thumb_ = 100;
    }
  }
  ILC->SetThumb(thumb_, HASTHUMB && fullPage);
}

}  // namespace vesp
