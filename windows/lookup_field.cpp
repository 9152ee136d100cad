#include "windows/lookup_field.h"

#include "records/thread_dictionary.h"
#include "runtime/gui/keyboard.h"
#include "runtime/gui/window.h"
#include "runtime/text/utf8.h"
#include "windows/validation.h"
#include "windows/window_controller.h"

namespace vesp {

LookupField::LookupField(WindowController& form, const LookupDecl& decl, vrt::Control& entry, std::string* displayText)
    : form_(form), decl_(decl), entry_(entry), displayText_(displayText) {}

FileManager& LookupField::table() const { return Access(*decl_.table); }

const vrt::FieldDesc& LookupField::keyField() const {
  return table().FILE->schema().fields[static_cast<std::size_t>(decl_.keyField)];
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
  if (form_.MYWINDOW) form_.MYWINDOW->display();
}

// Only the entry's value, over an empty record: nothing the buffer held before (another
// record's name, say) may decide where a look-up browse starts.
void LookupField::positionOnEntry() {
  FileManager& t = table();
  t.BUFFER->clearAll(t.FILE->schema().fields);
  t.BUFFER->setText(keyField(), entry_.binding().value());
}

bool LookupField::readEntryRecord() {
  positionOnEntry();
  FileManager& t = table();
  if (decl_.find ? decl_.find(t, entry_.binding().value()) : t.Fetch(decl_.key) == Level::Benign) return true;
  positionOnEntry();
  return false;
}

void LookupField::takeChosenKey() {
  entry_.binding().setValue(table().BUFFER->text(keyField()));
  entry_.display();
  RefreshDisplay();
  copyValues(decl_.assign);
}

void LookupField::clearEntry() {
  entry_.binding().setValue(numberKey() ? "0" : "");
  entry_.display();
  if (displayText_) displayText_->clear();
  if (form_.MYWINDOW)
    if (vrt::Control* d = form_.MYWINDOW->control(decl_.display)) d->display();
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
                                 : t.BUFFER->text(t.FILE->schema().fields[static_cast<std::size_t>(decl_.textField)]);
  }
  if (form_.MYWINDOW)
    if (vrt::Control* d = form_.MYWINDOW->control(decl_.display)) d->display();
}

EventResult LookupField::OnButton() {
  // The look-up browse opens on the record the entry names, in whatever order it lists them.
  readEntryRecord();
  if (form_.RunProcedure(decl_.browse, Request::Select) == Response::Completed) takeChosenKey();
  if (vrt::Control* button = form_.MYWINDOW ? form_.MYWINDOW->control(decl_.button) : nullptr) moveOnFrom(*button);
  return EventResult::Consumed;
}

void LookupField::moveOnFrom(const vrt::Control& opener) {
  if (form_.MYWINDOW) vrt::focusAfter(*form_.MYWINDOW, opener);
}

EventResult LookupField::OnEntryAccepted() {
  if (ValidatingAllControls()) return EventResult::Continue;
  if (entryEmpty() && !decl_.required) return EventResult::Continue;
  if (readEntryRecord()) {
    RefreshDisplay();
    copyValues(decl_.assign);
    return EventResult::Continue;
  }
  // Not found: the browse starts near what was typed.
  if (form_.RunProcedure(decl_.browse, Request::Select) == Response::Completed) {
    takeChosenKey();
    moveOnFrom(entry_);
    return EventResult::Continue;
  }
  clearEntry();
  if (form_.MYWINDOW) form_.MYWINDOW->select(entry_.number());
  return EventResult::Consumed;
}

}  // namespace vesp
