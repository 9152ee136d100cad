#include "windows/lookup_field.h"

#include <map>
#include <mutex>

#include "records/levels.h"
#include "records/thread_dictionary.h"
#include "runtime/store/view.h"
#include "runtime/text/search_words.h"
#include "runtime/gui/keyboard.h"
#include "runtime/gui/window.h"
#include "runtime/text/utf8.h"
#include "windows/validation.h"
#include "windows/window_controller.h"

namespace vesp {

namespace {

std::mutex byNameLock;
std::map<const dict::TableDecl*, LookupByName>& byNames() {
  static std::map<const dict::TableDecl*, LookupByName> declared;
  return declared;
}

const LookupByName* byNameOf(const dict::TableDecl* table) {
  std::lock_guard lock(byNameLock);
  const auto at = byNames().find(table);
  return at == byNames().end() ? nullptr : &at->second;
}

// The first record in `key` order whose indexed words hold those of `typed`, into the
// table's buffer (not read); false when there is none or it cannot be looked for.
bool firstWithWords(FileManager& t, const LookupByName& byName, const std::string& typed) {
  const vrt::TableSchema& schema = t.FILE()->schema();
  std::vector<std::string> labels;
  for (int f : schema.searchFields) labels.push_back(schema.fields[static_cast<std::size_t>(f)].label);
  const std::string filter = vrt::matchWordsFilter(typed, labels);
  std::string order;
  for (const FileManager::KeyEntry& e : t.KEYS())
    if (e.key == byName.key)
      for (const auto& f : e.FIELDS) order += (order.empty() ? "" : ",") + std::string(f.ASCEND ? "" : "-") + f.FIELDNAME;
  if (filter.empty() || order.empty() || t.Use() != Level::Benign) return false;
  vrt::View view(*t.FILE());
  if (!view.setOrder(order) || !view.setFilter(filter) || !view.open()) return false;
  const bool found = view.next();
  view.close();
  return found;
}

}  // namespace

void DeclareLookupByName(const LookupByName& byName) {
  std::lock_guard lock(byNameLock);
  byNames()[byName.table] = byName;
}

LookupField::LookupField(WindowController& form, const LookupDecl& decl, vrt::Control& entry, std::string* displayText)
    : form_(form), decl_(decl), entry_(entry), displayText_(displayText) {}

FileManager& LookupField::table() const { return Access(*decl_.table); }

const vrt::FieldDesc& LookupField::keyField() const {
  return table().FILE()->schema().fields[static_cast<std::size_t>(decl_.keyField)];
}

bool LookupField::entryEmpty() const {
  const std::string value = entry_.binding().value();
  if (vrt::clip(value).empty()) return true;
  const auto number = vrt::parsePlainNumber(value);
  return numberKey() && number && *number == 0;
}

bool LookupField::numberKey() const { return !vrt::isTextType(keyField().type); }

void LookupField::copyValues(const std::function<void()>& hook) {
  if (!hook) return;
  hook();
  if (form_.MYWINDOW()) form_.MYWINDOW()->display();
}

// Only the entry's value, over an empty record: nothing the buffer held before (another
// record's name, say) may decide where a look-up browse starts.
void LookupField::positionOnEntry() {
  FileManager& t = table();
  t.BUFFER()->clearAll(t.FILE()->schema().fields);
  t.BUFFER()->setText(keyField(), entry_.binding().value());
}

bool LookupField::readEntryRecord() {
  positionOnEntry();
  FileManager& t = table();
  if (decl_.find ? decl_.find(t, entry_.binding().value()) : t.Fetch(decl_.key) == Level::Benign) return true;
  positionOnEntry();
  return false;
}

void LookupField::positionOnName(const LookupByName& byName, const std::string& typed) {
  FileManager& t = table();
  const auto& fields = t.FILE()->schema().fields;
  // Read by its number, so that the look-up opens on that very record.
  if (byName.words && firstWithWords(t, byName, typed) && t.Fetch(decl_.key) == Level::Benign) return;
  t.BUFFER()->clearAll(fields);
  t.BUFFER()->setText(fields[static_cast<std::size_t>(byName.field)], typed);
}

void LookupField::takeChosenKey() {
  entry_.binding().setValue(table().BUFFER()->text(keyField()));
  entry_.display();
  RefreshDisplay();
  copyValues(decl_.assign);
}

void LookupField::clearEntry() {
  entry_.binding().setValue(numberKey() ? "0" : "");
  entry_.display();
  if (displayText_) displayText_->clear();
  if (form_.MYWINDOW())
    if (vrt::Control* d = form_.MYWINDOW()->control(decl_.display)) d->display();
  copyValues(decl_.unassign);
}

void LookupField::RefreshDisplay() {
  if (!displayText_ || (decl_.textField < 0 && !decl_.text)) return;
  displayText_->clear();
  if (!entryEmpty()) {
    FileManager& t = table();
    positionOnEntry();
    // A look-up record that cannot be read leaves the display empty, without a message.
    if (t.Fetch(decl_.key) == Level::Benign)
      *displayText_ = decl_.text ? decl_.text()
                                 : t.BUFFER()->text(t.FILE()->schema().fields[static_cast<std::size_t>(decl_.textField)]);
  }
  if (form_.MYWINDOW())
    if (vrt::Control* d = form_.MYWINDOW()->control(decl_.display)) d->display();
}

EventResult LookupField::OnButton() {
  // The look-up browse opens on the record the entry names, in whatever order it lists them.
  readEntryRecord();
  if (form_.RunProcedure(decl_.browse, Request::Select) == Response::Completed) takeChosenKey();
  if (vrt::Control* button = form_.MYWINDOW() ? form_.MYWINDOW()->control(decl_.button) : nullptr) moveOnFrom(*button);
  return EventResult::Consumed;
}

void LookupField::moveOnFrom(const vrt::Control& opener) {
  if (form_.MYWINDOW()) vrt::focusAfter(*form_.MYWINDOW(), opener);
}

EventResult LookupField::OnEntryAccepted() {
  if (ValidatingAllControls()) return EventResult::Continue;
  if (entryEmpty() && !decl_.required) return EventResult::Continue;
  if (readEntryRecord()) {
    RefreshDisplay();
    copyValues(decl_.assign);
    return EventResult::Continue;
  }
  // Not found: the browse starts near what was typed, or on the first record whose words
  // hold it (a song's CCLI number) where the table is looked up by words.
  if (const LookupByName* byName = numberKey() ? byNameOf(decl_.table) : nullptr; byName && byName->words) {
    const std::string typed(vrt::clip(entry_.binding().value()));
    if (!firstWithWords(table(), *byName, typed) || table().Fetch(decl_.key) != Level::Benign) positionOnEntry();
  }
  if (form_.RunProcedure(decl_.browse, Request::Select) == Response::Completed) {
    takeChosenKey();
    moveOnFrom(entry_);
    return EventResult::Continue;
  }
  clearEntry();
  if (form_.MYWINDOW()) form_.MYWINDOW()->select(entry_.number());
  return EventResult::Consumed;
}

EventResult LookupField::OnEntryRejected() {
  const LookupByName* byName = numberKey() ? byNameOf(decl_.table) : nullptr;
  const std::string typed(vrt::clip(entry_.text()));
  if (!byName || typed.empty()) return EventResult::Continue;
  // Taken now: the focus leaving the entry for the look-up must not look it up again.
  entry_.markClean();
  positionOnName(*byName, typed);
  if (form_.RunProcedure(decl_.browse, Request::Select) == Response::Completed) {
    takeChosenKey();
    moveOnFrom(entry_);
    return EventResult::Consumed;
  }
  // Given up: the entry shows again the number it holds (not the refused text), and keeps
  // the focus.
  entry_.setText({});
  entry_.display();
  RefreshDisplay();
  if (form_.MYWINDOW()) form_.MYWINDOW()->select(entry_.number());
  return EventResult::Consumed;
}

}  // namespace vesp
