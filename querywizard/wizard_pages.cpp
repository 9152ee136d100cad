#include "querywizard/wizard_pages.h"

#include <algorithm>
#include <numeric>

#include "querywizard/display_text.h"
#include "querywizard/globals.h"
#include "querywizard/hooks.h"
#include "querywizard/query_store.h"
#include "runtime/gui/buttons.h"
#include "runtime/text/utf8.h"

namespace qrywiz {

namespace {

constexpr std::uint8_t kTextType = 1;
constexpr std::uint8_t kEntryControl = 1, kCheckControl = 2, kDropListControl = 3;

std::string clipped(std::string_view s) { return std::string(vrt::clip(s)); }

bool isDatePicture(std::string_view picture) {
  const std::string_view p = vrt::clip(picture);
  return p.size() >= 2 && p[0] == '@' && (p[1] == 'd' || p[1] == 'D');
}

std::vector<std::string> splitOptions(std::string_view options) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (;;) {
    const std::size_t bar = options.find('|', start);
    out.push_back(std::string(options.substr(start, bar == std::string_view::npos ? bar : bar - start)));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  return out;
}

}  // namespace

WizardPages::WizardPages(WizardSession& session) : session_(session) {}

std::vector<int> WizardPages::fieldOrder() const {
  std::vector<int> order(session_.fields().size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
    return session_.fields()[a].QWFLDQPOINTER < session_.fields()[b].QWFLDQPOINTER;
  });
  return order;
}

const XBQW_FIELDSQUEUE_Record* WizardPages::fieldAt(int row) const {
  const std::vector<int> order = fieldOrder();
  if (row < 1 || row > static_cast<int>(order.size())) return nullptr;
  return &session_.fields()[order[row - 1]];
}

int WizardPages::rowOfPointer(std::int32_t pointer) const {
  const std::vector<int> order = fieldOrder();
  for (std::size_t i = 0; i < order.size(); ++i)
    if (session_.fields()[order[i]].QWFLDQPOINTER == pointer) return static_cast<int>(i) + 1;
  return 0;
}

const XBQW_FIELDSQUEUE_Record* WizardPages::field() const { return fieldAt(draft.fieldRow); }

bool WizardPages::isCheckBoxField() const {
  const auto* f = field();
  return f && f->QWFLDCONTROL == kCheckControl;
}

std::vector<std::string> WizardPages::fieldNames() const {
  std::vector<std::string> names;
  for (int i : fieldOrder()) names.push_back(clipped(session_.fields()[i].QWFLDDESC));
  return names;
}

std::vector<std::string> WizardPages::operationNames() const {
  std::vector<std::string> names;
  const auto* f = field();
  const int last = f && f->QWFLDDATATYPE == kTextType ? kDoesNotContain : kIsLessOrEqual;
  for (int op = kIsEqualTo; op <= last; ++op) names.push_back(clipped(displayText(op)));
  return names;
}

std::uint8_t WizardPages::operation() const {
  if (isCheckBoxField()) return draft.checked ? kIsChecked : kIsNotChecked;
  const int op = draft.operationRow;
  return static_cast<std::uint8_t>(op >= 1 && op <= 12 ? op : 1);
}

void WizardPages::start() {
  if (session_.restrictManual()) manualShown_ = false;
  if (session_.loadedNumber() != 0) {
    title_ = clipped(session_.loadedDescription());
  } else {
    title_ = clipped(displayText(163));
  }
  if (session_.manualPage) {
    manualShown_ = false;
    page_ = 5;
  } else if (!session_.elements.empty()) {
    page_ = 4;
    selectedElement_ = 1;
    addingNew_ = false;
  } else {
    newElement();
  }
}

void WizardPages::newElement() {
  page_ = 1;
  addingNew_ = true;
  editedElement_ = 0;
  draft.value.clear();
  draft.checked = false;
  draft.matchType = false;
  draft.compareTo = CompareTo::Constant;
  draft.otherFieldRow = 0;
}

void WizardPages::prepareOperations() {
  const int count = static_cast<int>(operationNames().size());
  if (draft.operationRow < 1 || draft.operationRow > count) draft.operationRow = 1;
}

bool WizardPages::next() {
  switch (page_) {
    case 1: {
      const auto* f = field();
      if (!f) return false;
      if (f->QWFLDCONTROL == kCheckControl) {
        valueHeading_ = clipped(f->QWFLDDESC) + " " + clipped(displayText(kIsEqualTo));
        page_ = 3;
      } else {
        prepareOperations();
        page_ = 2;
      }
      return true;
    }
    case 2:
      valueHeading_ = clipped(field()->QWFLDDESC) + " " + clipped(displayText(operation())) + ":";
      page_ = 3;
      return true;
    case 3:
      if (!finishElement()) return false;
      page_ = 4;
      return true;
    default:
      return false;
  }
}

bool WizardPages::back() {
  if (page_ < 2 || page_ > 3) return false;
  page_ = isCheckBoxField() ? 1 : page_ - 1;
  return true;
}

ValueControl WizardPages::valueControl() const {
  if (draft.compareTo == CompareTo::Field) return ValueControl::FieldChoice;
  if (draft.compareTo == CompareTo::Expression) return ValueControl::Expression;
  const auto* f = field();
  if (!f) return ValueControl::Entry;
  if (f->QWFLDCONTROL == kCheckControl) return ValueControl::Check;
  const std::uint8_t op = operation();
  if (f->QWFLDCONTROL == kDropListControl && (op == kIsEqualTo || op == kIsNotEqualTo)) return ValueControl::Choice;
  if (op >= kBeginsWith && op <= kDoesNotContain) return ValueControl::TextBox;
  return ValueControl::Entry;
}

std::vector<std::string> WizardPages::choices() const {
  if (valueControl() == ValueControl::FieldChoice) return fieldNames();
  const auto* f = field();
  return f ? splitOptions(f->QWFLDOPTIONS) : std::vector<std::string>{};
}

std::string WizardPages::entryPicture() const {
  const auto* f = field();
  if (!f) return "@s80";
  if (valueControl() == ValueControl::TextBox || valueControl() == ValueControl::Expression) {
    // An expression takes what the builder may write into it.
    const int length = valueControl() == ValueControl::Expression ? static_cast<int>(kElementValueWidth)
                                                                  : std::min<int>(f->QWFLDLENGTH, 80);
    return "@s" + std::to_string(std::max(length, 1));
  }
  return clipped(f->QWFLDPICTURE);
}

bool WizardPages::lookupShown() const {
  const auto* f = field();
  switch (valueControl()) {
    case ValueControl::Entry:
      return f && (!vrt::clip(f->QWFLDLOOKUP).empty() ||
                   (isDatePicture(f->QWFLDPICTURE) && (XBQW_MainOptions & 2) == 0));
    case ValueControl::Expression: return (XBQW_MainOptions & 1) == 0;
    default: return false;
  }
}

bool WizardPages::matchTypeShown() const {
  const auto* f = field();
  if (!f || f->QWFLDCONTROL == kCheckControl) return false;
  if (f->QWFLDDATATYPE != kTextType) return true;
  return !(session_.syntax() == Syntax::Sql && (XBQW_SqlOptions & 1) != 0);
}

int WizardPages::matchTypePrompt() const {
  const auto* f = field();
  return f && f->QWFLDDATATYPE == kTextType ? 162 : 161;
}

void WizardPages::setCompareTo(CompareTo kind) {
  if (kind == draft.compareTo) return;
  draft.compareTo = kind;
  draft.value.clear();
  if (kind == CompareTo::Field && draft.otherFieldRow == 0) draft.otherFieldRow = 1;
}

bool WizardPages::finishElement() {
  const auto* f = field();
  if (!f) return false;
  QueryElement e;
  e.FIELDNAME = clipped(f->QWFLDNAME);
  e.DATATYPE = f->QWFLDDATATYPE;
  e.FLDQPOINTER = f->QWFLDQPOINTER;
  e.OPCODE = operation();
  e.MATCHTYPE = draft.matchType ? 1 : 0;
  std::string value = draft.value;
  switch (draft.compareTo) {
    case CompareTo::Constant:
      if (f->QWFLDCONTROL == kCheckControl) {
        value = draft.checked ? "1" : "0";
      } else if (f->QWFLDDATATYPE == kTextType) {
        value = std::string(vrt::utf8Truncate(value, f->QWFLDLENGTH));
      } else if (vrt::clip(value).empty()) {
        value = "0";
      }
      break;
    case CompareTo::Expression:
      if (f->QWFLDDATATYPE != kTextType && vrt::clip(value).empty()) value = "0";
      e.EXPRESSION = 1;
      break;
    case CompareTo::Field:
      if (const auto* other = fieldAt(draft.otherFieldRow)) {
        value = clipped(other->QWFLDNAME);
        e.CMPFLDQPOINTER = other->QWFLDQPOINTER;
      }
      break;
  }
  e.VALUE = std::string(vrt::utf8Truncate(value, kElementValueWidth));
  e.DESC = describeElement(e, session_.fields());
  // The list takes the element only when the query it makes still fits the filter.
  CurrentQuery list = session_.elements;
  int selected;
  if (editedElement_ >= 1 && editedElement_ <= static_cast<int>(list.size())) {
    e.CONJUNCTION = list[editedElement_ - 1].CONJUNCTION;
    list[editedElement_ - 1] = std::move(e);
    selected = editedElement_;
  } else {
    list.push_back(std::move(e));
    selected = static_cast<int>(list.size());
  }
  if (!queryFits(assembleQuery(list, session_.syntax()), session_.filterSize())) return false;
  session_.elements = std::move(list);
  selectedElement_ = selected;
  addingNew_ = false;
  editedElement_ = 0;
  return true;
}

void WizardPages::conjunction(std::string_view andOr) {
  if (page_ != 4 || session_.elements.empty()) return;
  session_.elements.back().CONJUNCTION = std::string(andOr);
  newElement();
}

void WizardPages::change(int row) {
  CurrentQuery& list = session_.elements;
  if (page_ != 4 || row < 1 || row > static_cast<int>(list.size())) return;
  const QueryElement& e = list[row - 1];
  draft = ElementDraft{};
  draft.fieldRow = std::max(rowOfPointer(e.FLDQPOINTER), 1);
  draft.matchType = e.MATCHTYPE != 0;
  if (e.OPCODE == kIsChecked || e.OPCODE == kIsNotChecked) {
    draft.checked = e.OPCODE == kIsChecked;
  } else {
    draft.operationRow = e.OPCODE;
  }
  if (e.CMPFLDQPOINTER != 0) {
    draft.compareTo = CompareTo::Field;
    draft.otherFieldRow = std::max(rowOfPointer(e.CMPFLDQPOINTER), 1);
  } else {
    draft.compareTo = e.EXPRESSION ? CompareTo::Expression : CompareTo::Constant;
    draft.value = e.VALUE;
  }
  editedElement_ = row;
  selectedElement_ = row;
  addingNew_ = false;
  page_ = 1;
}

void WizardPages::remove(int row) {
  CurrentQuery& list = session_.elements;
  if (page_ != 4 || row < 1 || row > static_cast<int>(list.size())) return;
  const bool wasLast = row == static_cast<int>(list.size());
  list.erase(list.begin() + (row - 1));
  if (list.empty()) {
    selectedElement_ = 0;
    newElement();
    return;
  }
  if (wasLast) list.back().CONJUNCTION.clear();
  selectedElement_ = std::min(row, static_cast<int>(list.size()));
}

void WizardPages::toggleConjunction(int row) {
  CurrentQuery& list = session_.elements;
  if (row < 1 || row > static_cast<int>(list.size())) return;
  if (list[row - 1].CONJUNCTION.empty()) return;  // the last element joins nothing
  CurrentQuery toggled = list;
  std::string& c = toggled[row - 1].CONJUNCTION;
  c = c == "AND" ? "OR" : "AND";
  if (queryFits(assembleQuery(toggled, session_.syntax()), session_.filterSize())) list = std::move(toggled);
}

void WizardPages::manual() {
  if (session_.restrictManual() || page_ == 5) return;
  // The element an AND or OR began is given up, as Cancel would: no conjunction dangles.
  CurrentQuery elements = session_.elements;
  if (addingNew_ && page_ != 4 && !elements.empty()) elements.back().CONJUNCTION.clear();
  std::string text;
  if (!elements.empty()) {
    text = assembleQuery(elements, session_.syntax());
    if (!queryFits(text, session_.filterSize())) return;
    session_.manualText = text;
  }
  if (addingNew_ && page_ != 4) {
    session_.elements = std::move(elements);
    addingNew_ = false;
    editedElement_ = 0;
  }
  session_.manualPage = true;
  pageBeforeManual_ = page_;
  manualShown_ = false;
  page_ = 5;
}

PageOutcome WizardPages::cancel() {
  if (page_ == 4 || session_.elements.empty()) return PageOutcome::Cancelled;
  if (page_ == 5) {
    session_.manualPage = false;
    if (!session_.restrictManual()) manualShown_ = true;
  }
  if (addingNew_) session_.elements.back().CONJUNCTION.clear();
  addingNew_ = false;
  editedElement_ = 0;
  page_ = 4;
  if (selectedElement_ < 1 || selectedElement_ > static_cast<int>(session_.elements.size()))
    selectedElement_ = static_cast<int>(session_.elements.size());
  return PageOutcome::Stay;
}

PageOutcome WizardPages::finish() {
  if (page_ != 4 && page_ != 5) return PageOutcome::Stay;
  if (page_ == 4) session_.manualPage = false;
  if (!session_.checkFinished()) return PageOutcome::Stay;
  const int save = showMessage(displayText(42), displayText(41), vrt::kButtonYes | vrt::kButtonNo | vrt::kButtonCancel,
                               vrt::kButtonYes);
  if (save == vrt::kButtonNo) {
    session_.forgetLoadedQuery();
    session_.finishUnsaved();
    return PageOutcome::Finished;
  }
  if (save != vrt::kButtonYes) return PageOutcome::Stay;
  bool asNew = true;
  if (session_.loadedNumber() != 0)
    asNew = showMessage(displayText(36), displayText(35), vrt::kButtonYes | vrt::kButtonNo, vrt::kButtonYes) !=
            vrt::kButtonYes;
  return session_.save(asNew) ? PageOutcome::Finished : PageOutcome::Stay;
}

}  // namespace qrywiz
