#include "records/view_manager.h"

#include "records/thread_registry.h"
#include "runtime/data/errors.h"
#include "runtime/store/position_codec.h"
#include "runtime/text/utf8.h"

namespace vesp {

using vrt::expr::Value;

ViewManager::~ViewManager() { Destroy(); }

void ViewManager::Setup(vrt::View& view, RelationManager& primary, std::vector<SortOrder>* orders) {
  inited_ = true;
  view_ = &view;
  primary_ = &primary;
  disposeOrder_ = orders == nullptr;
  orders_ = orders ? orders : &ownOrders_;
  current_ = 0;
  savedBuffers_.clear();
  killed_ = false;
  for (vrt::DataFile* table : view_->tables()) {
    RelationManager* rm = relationManagerFor(table->schema().label);
    FileManager* fm = fileManagerFor(table->schema().label);
    if (!rm || !fm) break;
    static_cast<void>(rm->Open());
    used_ = true;
    if (fm->Use() != Level::Benign) break;
  }
}

void ViewManager::Shutdown() {
  if (!inited_ || killed_) return;
  for (SortOrder& o : *orders_) {
    o.RANGELIST.Kill();
    o.FILTER.clear();
    o.ORDER.clear();
  }
  if (disposeOrder_) orders_->clear();
  savedBuffers_.clear();
  CloseView(true);
  if (used_) {
    for (vrt::DataFile* table : view_->tables())
      if (RelationManager* rm = relationManagerFor(table->schema().label)) static_cast<void>(rm->Close());
    used_ = false;
  }
  killed_ = true;
}

void ViewManager::Destroy() {
  if (inited_ && !killed_) Shutdown();
}

const ViewManager::SortOrder& ViewManager::CurrentOrder() const {
  static const SortOrder none;
  return orders_ && current_ < orders_->size() ? (*orders_)[current_] : none;
}

ViewManager::SortOrder& ViewManager::currentOrder() {
  if (orders_ && current_ < orders_->size()) return (*orders_)[current_];
  // No sort order yet: the view reads in file order, unfiltered; what is set on this
  // stand-in is dropped, since there is no order to hang it on.
  unordered_ = SortOrder{};
  return unordered_;
}

const FileManager::KeyEntry* ViewManager::keyEntry(int key) const {
  for (const auto& e : primary_->Me()->KEYS())
    if (e.key == key) return &e;
  return nullptr;
}

std::string ViewManager::KeyOrderText(int key) const {
  const FileManager::KeyEntry* e = keyEntry(key);
  if (!e) return {};
  std::string text;
  for (const auto& f : e->FIELDS) text += (text.empty() ? "" : ",") + std::string(f.ASCEND ? "" : "-") + f.FIELDNAME;
  return text;
}

int ViewManager::AddKeyOrder(int key) {
  static_cast<void>(primary_->Me()->Use());  // the key descriptions come with the file's set-up
  SortOrder o;
  o.MAINKEY = key;
  if (const auto* e = keyEntry(key); e && !e->FIELDS.empty()) o.FREEELEMENT = e->FIELDS.front().field;
  o.ORDER = KeyOrderText(key);
  orders_->push_back(std::move(o));
  current_ = orders_->size() - 1;
  return static_cast<int>(orders_->size());
}

void ViewManager::rebuildFreeElement() {
  SortOrder& o = currentOrder();
  const int position = FreeComponentPosition();
  const auto* e = keyEntry(o.MAINKEY);
  o.FREEELEMENT = position > 0 && e ? e->FIELDS[static_cast<std::size_t>(position - 1)].field : -1;
  o.ORDER = KeyOrderText(o.MAINKEY);
}

void ViewManager::LimitBy(int field, ValueRef value) {
  SortOrder& o = currentOrder();
  o.LIMITTYPE = kSingleValue;
  o.RANGELIST.Kill();
  if (const auto* e = keyEntry(o.MAINKEY)) {
    const auto& fields = primary_->Me()->FILE()->schema().fields;
    for (const auto& c : e->FIELDS) {
      if (c.field == field) break;
      o.RANGELIST.AddPair(ValueRef::ofField(*primary_->Me()->BUFFER(), fields[static_cast<std::size_t>(c.field)]));
    }
  }
  o.RANGELIST.AddPair(std::move(value));
  rebuildFreeElement();
}

void ViewManager::LimitBy(int, RelationManager& related) {
  SortOrder& o = currentOrder();
  o.LIMITTYPE = kFileRelation;
  o.RANGELIST.Kill();
  if (const auto* r = primary_->RelationTo(related)) {
    const auto& theirs = related.Me()->FILE()->schema().fields;
    for (const auto& link : r->FIELDS)
      o.RANGELIST.AddPair(ValueRef::ofField(*related.Me()->BUFFER(), theirs[static_cast<std::size_t>(link.hisField)]));
  }
  rebuildFreeElement();
}

int ViewManager::FreeComponentPosition() {
  const SortOrder& o = currentOrder();
  const auto* e = keyEntry(o.MAINKEY);
  const int n = static_cast<int>(o.RANGELIST.size());
  if (o.MAINKEY < 0 || !e || static_cast<int>(e->FIELDS.size()) < n + 1) return 0;
  return n + 1;
}

std::string ViewManager::FreeComponentName() {
  const int position = FreeComponentPosition();
  const auto* e = keyEntry(currentOrder().MAINKEY);
  return position > 0 && e ? e->FIELDS[static_cast<std::size_t>(position - 1)].FIELDNAME : std::string();
}

bool ViewManager::FreeComponentAscending() {
  const int position = FreeComponentPosition();
  const auto* e = keyEntry(currentOrder().MAINKEY);
  return position == 0 || !e || e->FIELDS[static_cast<std::size_t>(position - 1)].ASCEND;
}

// ---------------------------------------------------------------- order and filter texts

void ViewManager::ExtendOrder(const std::string& text) {
  const std::string& now = currentOrder().ORDER;
  if (now.empty()) PutOrderText(text);
  else if (!text.empty() && text.front() == '*') PutOrderText(text.substr(1));
  else PutOrderText(now + "," + text);
}

void ViewManager::PutOrderText(const std::string& text) { currentOrder().ORDER = text; }

void ViewManager::PutNamedFilter(const std::string& text, const std::string& id) {
  auto& filters = currentOrder().FILTER;
  if (text.empty()) filters.erase(id);
  else filters[id] = text;
}

void ViewManager::PutNamedFilterOnEveryOrder(const std::string& text, const std::string& id) {
  for (SortOrder& order : *orders_) {
    if (text.empty()) order.FILTER.erase(id);
    else order.FILTER[id] = text;
  }
}

namespace {

// A range value as filter text: text quoted (quotes doubled), upper-cased where the key is.
std::string rangeValueText(const Value& v, const std::string& componentName) {
  if (!v.isText()) return v.toText();
  std::string quoted = "'";
  for (char c : v.toText()) {
    if (c == '\'') quoted += '\'';
    quoted += c;
  }
  quoted += "'";
  return componentName.find("UPPER(") != std::string::npos ? "UPPER(" + quoted + ")" : quoted;
}

}  // namespace

void ViewManager::PushFilter() {
  SortOrder& o = currentOrder();
  std::string text;
  if (o.LIMITTYPE == kSingleValue || o.LIMITTYPE == kFileRelation) {
    const auto* e = keyEntry(o.MAINKEY);
    for (std::size_t i = 0; e && i < o.RANGELIST.size() && i < e->FIELDS.size(); ++i) {
      const std::string& name = e->FIELDS[i].FIELDNAME;
      text += (i ? " AND " : "") + name + " = " + rangeValueText(o.RANGELIST[i].right, name);
    }
  }
  for (const auto& [id, filter] : o.FILTER) text += (text.empty() ? "(" : " AND (") + filter + ")";
  filterText_ = text;
  if (!view_->setFilter(text)) {
    // The user is told, and reading goes on without the filter and the range limits.
    static_cast<void>(primary_->Me()->ERRORS()->Raise(Msg::ViewOpenError));
    view_->setFilter("");
  }
}

void ViewManager::PushOrder() {
  orderText_ = currentOrder().ORDER;
  if (!view_->setOrder(orderText_)) {
    static_cast<void>(primary_->Me()->ERRORS()->Raise(Msg::ViewOpenError));
    view_->setOrder("");
  }
}

bool ViewManager::RefreshLimits() {
  SortOrder& o = currentOrder();
  if (o.RANGELIST.empty()) return false;
  if (o.LIMITTYPE == kSingleValue) {
    auto& last = o.RANGELIST[o.RANGELIST.size() - 1];
    const Value live = last.left.read();
    if (live == last.right) return false;
    last.right = live;
  } else if (o.LIMITTYPE == kFileRelation) {
    if (o.RANGELIST.Equal()) return false;
    o.RANGELIST.AssignLeftToRight();
  } else {
    return false;
  }
  PushFilter();
  return true;
}

bool ViewManager::SelectOrder(int number) {
  if (number == 0) number = 1;
  if (number < 1 || number > static_cast<int>(orders_->size())) return false;
  if (static_cast<std::size_t>(number - 1) == current_) return false;
  current_ = static_cast<std::size_t>(number - 1);
  return true;
}

// ---------------------------------------------------------------- opening and reading

void ViewManager::OpenView() {
  if (!view_->isOpen() && !view_->open() && vrt::errorCode() != vrt::kFileAlreadyOpen) {
    primary_->Me()->ERRORS()->NoteFile(vrt::clip(primary_->Me()->FILENAMEVALUE()));
    static_cast<void>(primary_->Me()->ERRORS()->Raise(Msg::ViewOpenError));
  }
  opened_ = true;
  view_->setBuffer(settings_.PAGESIZE, settings_.PAGESBEHIND, settings_.PAGESAHEAD, settings_.TIMEOUT);
  PushOrder();
  PushFilter();
}

void ViewManager::CloseView(bool force) {
  if ((opened_ || force) && view_) view_->close();
  opened_ = false;
}

void ViewManager::Reposition(long position) {
  OpenView();
  if (position == 0) {
    view_->setToStart();
  } else if (!view_->resetTo(vrt::store::encodePosition(position, {}))) {
    static_cast<void>(primary_->Me()->ERRORS()->Raise(Msg::ViewOpenError));
    view_->setToStart();
  }
}

ViewManager::RecordCheck ViewManager::CheckRecord() { return RecordCheck::Ok; }

ReadResult ViewManager::read(bool forward) {
  for (;;) {
    if (!(forward ? view_->next() : view_->previous())) break;
    switch (CheckRecord()) {
      case RecordCheck::Ok: return ReadResult::Ok;
      case RecordCheck::OutOfRange: return ReadResult::End;
      case RecordCheck::Filtered: continue;
    }
  }
  if (vrt::errorCode() == vrt::kRecordNotAvailable) return ReadResult::End;
  FileManager& fm = *primary_->Me();
  fm.ERRORS()->NoteFile(vrt::clip(fm.FILENAMEVALUE()));
  static_cast<void>(fm.ERRORS()->Raise(Msg::RecordRetrievalError));
  return ReadResult::Failed;
}

ReadResult ViewManager::ReadNext() { return read(true); }
ReadResult ViewManager::ReadPrevious() { return read(false); }

void ViewManager::ClearViewRecords() {
  for (vrt::DataFile* t : view_->tables()) t->buffer().clearAll(t->schema().fields);
}

Level ViewManager::PrepareNewRecord(bool suppressClear) {
  if (!suppressClear) ClearViewRecords();
  SortOrder& o = currentOrder();
  if (o.LIMITTYPE == kSingleValue || o.LIMITTYPE == kFileRelation) {
    const auto* e = keyEntry(o.MAINKEY);
    const auto& fields = primary_->Me()->FILE()->schema().fields;
    for (std::size_t i = 0; e && i < o.RANGELIST.size() && i < e->FIELDS.size(); ++i) {
      const auto& f = fields[static_cast<std::size_t>(e->FIELDS[i].field)];
      const Value& v = o.RANGELIST[i].right;
      if (vrt::isTextType(f.type)) primary_->Me()->BUFFER()->setText(f, v.toText());
      else primary_->Me()->BUFFER()->setNumber(f, v.toNumber());
    }
  }
  return primary_->Me()->ClearForInsert(true);
}

void ViewManager::SaveTableBuffers() {
  savedBuffers_.clear();
  for (vrt::DataFile* t : view_->tables())
    if (FileManager* fm = fileManagerFor(t->schema().label)) savedBuffers_.emplace_back(fm, fm->PushBufferCopy());
}

void ViewManager::RestoreTableBuffers() {
  for (auto& [fm, id] : savedBuffers_) fm->PopBufferCopy(id, true);
  savedBuffers_.clear();
}

}  // namespace vesp
