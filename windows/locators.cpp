#include "windows/locators.h"

#include <optional>

#include "runtime/gui/binding.h"
#include "runtime/gui/events.h"
#include "runtime/text/picture.h"
#include "runtime/text/utf8.h"
#include "windows/browse_manager.h"

namespace vesp {

namespace {

const vrt::FieldDesc* fieldOf(const BrowseManager* browse, int field) {
  if (!browse || field < 0) return nullptr;
  return &browse->PRIMARY()->Me()->FILE()->schema().fields[static_cast<std::size_t>(field)];
}

}  // namespace

void Locator::Init(BrowseManager& browse, int control, int freeElement, bool noCase) {
  BROWSEMANAGER = &browse;
  CONTROL = control;
  FREEELEMENT = freeElement;
  NOCASE = noCase;
}

void Locator::Set() {
  if (const vrt::FieldDesc* f = fieldOf(BROWSEMANAGER, FREEELEMENT)) BROWSEMANAGER->PRIMARY()->Me()->BUFFER()->clear(*f);
}

void Locator::PointAt(int freeElement) {
  FREEELEMENT = freeElement;
  Set();
}

bool Locator::TakeAccepted(const std::string&) { return false; }

std::string Locator::freeElementText() const {
  const vrt::FieldDesc* f = fieldOf(BROWSEMANAGER, FREEELEMENT);
  return f ? BROWSEMANAGER->PRIMARY()->Me()->BUFFER()->text(*f) : std::string();
}

bool Locator::locateAt(const std::string& text) {
  const vrt::FieldDesc* f = fieldOf(BROWSEMANAGER, FREEELEMENT);
  if (!f) return false;
  if (!vrt::isTextType(f->type)) {
    // A date or number is typed as the list shows it ("06/15/2021"), or as a plain number.
    std::optional<double> number;
    if (const auto picture = vrt::Picture::parse(f->picture)) number = picture->deformat(text);
    if (!number) number = vrt::parsePlainNumber(text);
    if (!number) return false;
    BROWSEMANAGER->PRIMARY()->Me()->BUFFER()->setNumber(*f, *number);
    return true;
  }
  std::string value = NOCASE ? vrt::upperCase(text) : text;
  if (BROWSEMANAGER->FreeElementDescending()) {
    // The mark must survive the cut to the field's size: cut the text first.
    std::string mark;
    vrt::utf8Append(mark, kDescendingMark);
    value = std::string(vrt::utf8Truncate(value, f->size > mark.size() + 1 ? f->size - mark.size() - 1 : 0)) + mark;
  }
  BROWSEMANAGER->PRIMARY()->Me()->BUFFER()->setText(*f, value);
  return true;
}

bool StepLocator::TakeKey(char32_t key) {
  if (!BROWSEMANAGER || FREEELEMENT < 0) return false;
  if (BROWSEMANAGER->LISTQUEUE()->Records() > 0) {
    BROWSEMANAGER->ScrollByRow(vrt::kEventScrollDown);
    BROWSEMANAGER->LoadRowIntoRecord();
  }
  const std::string now = freeElementText();
  std::size_t at = 0;
  const char32_t first = now.empty() ? 0 : vrt::utf8Next(now, at);
  const char32_t wanted = NOCASE ? vrt::upperCaseChar(key) : key;
  if (first != 0 && (NOCASE ? vrt::upperCaseChar(first) : first) == wanted) return false;  // the next row starts so
  std::string typed;
  vrt::utf8Append(typed, wanted);
  return locateAt(typed);
}

void EntryLocator::Set() {
  SHADOW.clear();
  Locator::Set();
}

void EntryLocator::SetTypedText(const std::string& text) { SHADOW = std::string(vrt::utf8Left(text, kShadowChars)); }

bool EntryLocator::TakeAccepted(const std::string& text) {
  SetTypedText(std::string(vrt::clip(text)));
  if (SHADOW.empty()) return false;
  return locateAt(SHADOW);
}

}  // namespace vesp
