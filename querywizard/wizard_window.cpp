#include "querywizard/wizard_window.h"

#include <QColor>
#include <algorithm>
#include <cmath>

#include "querywizard/choice_windows.h"
#include "querywizard/display_text.h"
#include "querywizard/query_store.h"
#include "querywizard/globals.h"
#include "querywizard/insert_at_cursor.h"
#include "querywizard/qrywiz.h"
#include "querywizard/store_messages.h"
#include "querywizard/wizard_fonts.h"
#include "querywizard/wizard_layout.h"
#include "querywizard/wizard_pages.h"
#include "querywizard/wizard_session.h"
#include "runtime/expr/expression.h"
#include "runtime/gui/buttons.h"
#include "runtime/gui/paged_list.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"
#include "runtime/text/picture.h"
#include "runtime/text/utf8.h"

namespace qrywiz {

namespace {

using vrt::Control;
using vrt::Window;

bool isDateField(const XBQW_FIELDSQUEUE_Record* field) {
  const auto p = field ? vrt::Picture::parse(vrt::clip(field->QWFLDPICTURE)) : std::nullopt;
  return p && p->kind() == vrt::Picture::Kind::Date;
}

class WizardWindow {
 public:
  explicit WizardWindow(WizardSession& session) : session_(session), pages_(session), window_(wizardWindow(vars_)) {}

  bool run() {
    applyFontSets(window_, wizardDesignedFontSize);
    // The buttons move between the pages, never the tabs.
    c("?Pages").setTabsShown(false);
    showPicture();
    sizeManualFields();
    limitManualText();
    c("?QueryList").list()->setColumnLook(2, QColor(Qt::red), true);
    c("?QueryList").alert(vrt::kDeleteKey);
    for (const char* use : {"?FieldList", "?OperationList", "?ChoiceList", "?QueryList"}) c(use).alert(vrt::kEnterKey);
    pages_.start();
    // Options bit 4: the wizard floats as a tool window over the program.
    if ((XBQW_MainOptions & 4) != 0) window_.setToolWindow(true);
    window_.open();
    fillPage(pages_.page());
    for (;;) {
      show();
      const vrt::Event e = window_.accept();
      if (e.event == vrt::kEventCloseWindow || e.event == vrt::kEventCloseDown) {
        if (e.event == vrt::kEventCloseDown || pages_.cancel() == PageOutcome::Cancelled) return false;
        continue;
      }
      if (e.event == vrt::kEventAlertKey) {
        if (e.key == vrt::kDeleteKey && pages_.page() == 4) removeSelected();
        if (e.key == vrt::kEnterKey) onEnter(e.control);
        continue;
      }
      if (e.event == vrt::kEventNewSelection && e.control == window_.number("?QueryList"))
        pages_.selectElement(selectedRow("?QueryList"));
      if (e.event == vrt::kEventAccepted) {
        if (const auto outcome = onAccepted(e.control)) return *outcome == PageOutcome::Finished;
      }
    }
  }

 private:
  Control& c(std::string_view use) { return *window_.control(use); }

  // Display text 170: "1" or "2" a built-in picture, any other text a picture file.
  void showPicture() {
    const std::string choice(vrt::clip(displayText(170)));
    const bool file = !choice.empty() && choice != "1" && choice != "2";
    c("?Picture1").setHidden(choice == "2" || file);
    c("?Picture2").setHidden(choice != "2");
    c("?Picture3").setHidden(!file);
    if (file) c("?Picture3").showImageFile(choice, 64, 64);
  }

  // Without the expression builder page 5's field list takes the button's room.
  void sizeManualFields() {
    wideFieldList_ = !session_.restrictManual() && (XBQW_MainOptions & 1) != 0;
    Control& list = c("?ManualFields");
    const int units = wideFieldList_ ? kManualFieldsWideWidth : kManualFieldsWidth;
    list.setFixedWidth(units * list.charWidth() / 4);
  }

  // The typed query never grows past the filter it goes into: what would is not taken.
  void limitManualText() { c("?ManualText").limitBytes(session_.filterSize()); }

  void setRows(std::string_view use, const std::vector<std::vector<std::string>>& rows, int selected) {
    vrt::PagedList* list = c(use).list();
    list->setRows(rows);
    list->setSelectedRow(rows.empty() ? 0 : std::clamp(selected, 1, static_cast<int>(rows.size())));
  }
  static std::vector<std::vector<std::string>> oneColumn(const std::vector<std::string>& items) {
    std::vector<std::vector<std::string>> rows;
    for (const auto& i : items) rows.push_back({i});
    return rows;
  }
  int selectedRow(std::string_view use) { return c(use).list()->selectedRow(); }

  // Reads page 1 to 3's choices from the controls into the draft; false when the value
  // typed does not fit the field's picture (the entry then says so and keeps the old).
  bool readPage() {
    if (window_.updateAll() != 0 && pages_.page() == 3) return false;
    ElementDraft& d = pages_.draft;
    switch (pages_.page()) {
      case 1: if (selectedRow("?FieldList") > 0) d.fieldRow = selectedRow("?FieldList"); break;
      case 2: if (selectedRow("?OperationList") > 0) d.operationRow = selectedRow("?OperationList"); break;
      case 3:
        switch (pages_.valueControl()) {
          case ValueControl::Choice: {
            const auto items = pages_.choices();
            const int row = selectedRow("?ChoiceList");
            d.value = row >= 1 && row <= static_cast<int>(items.size()) ? items[row - 1] : std::string();
            break;
          }
          case ValueControl::FieldChoice: d.otherFieldRow = std::max(selectedRow("?ChoiceList"), 1); break;
          case ValueControl::Check: d.checked = vars_.checkValue == "1"; break;
          default: d.value = std::string(vrt::clip(vars_.value));
        }
        d.matchType = vars_.matchType == "1";
        break;
      case 5: session_.manualText = vars_.manualText; break;
    }
    return true;
  }

  // Puts the draft into the page's controls when the page is entered.
  void fillPage(int page) {
    const ElementDraft& d = pages_.draft;
    if (page == 1) setRows("?FieldList", oneColumn(pages_.fieldNames()), d.fieldRow);
    if (page == 2) setRows("?OperationList", oneColumn(pages_.operationNames()), d.operationRow);
    if (page == 3) fillValue();
    if (page == 5) {
      vars_.manualText = session_.manualText;
      std::vector<std::vector<std::string>> rows;
      for (const auto& f : session_.fields()) rows.push_back({std::string(vrt::clip(f.QWFLDDESC)), f.QWFLDPICTURE});
      setRows("?ManualFields", rows, 1);
    }
    window_.display();
  }

  void fillValue() {
    const ElementDraft& d = pages_.draft;
    vars_.compareTo = std::to_string(static_cast<int>(d.compareTo));
    vars_.matchType = d.matchType ? "1" : "0";
    vars_.checkValue = d.checked ? "1" : "0";
    // The entry shows and reads the value through the field's picture (dates and numbers
    // are kept as their values); text operations and expressions take plain text.
    Control& value = c("?Value");
    if (!value.setPicture(pages_.entryPicture())) value.setPicture("@s80");
    vars_.value = d.value;
    const auto items = pages_.choices();
    int selected = pages_.valueControl() == ValueControl::FieldChoice ? d.otherFieldRow : 0;
    if (pages_.valueControl() == ValueControl::Choice)
      for (std::size_t i = 0; i < items.size() && !d.value.empty(); ++i)
        if (items[i].compare(0, d.value.size(), d.value) == 0) selected = static_cast<int>(i) + 1;
    setRows("?ChoiceList", oneColumn(items), std::max(selected, 1));
  }

  void show() {
    const int page = pages_.page();
    c("?Pages").setSelected(page);
    c("?Back").setHidden(!pages_.backShown());
    c("?Back").setDisabled(!pages_.backEnabled());
    c("?Next").setHidden(!pages_.nextShown());
    c("?Finish").setHidden(!pages_.finishShown());
    c("?Manual").setHidden(!pages_.manualShown());
    (pages_.finishShown() ? c("?Finish") : c("?Next")).setDefault(true);
    window_.setCaption(pages_.title());
    if (const auto* f = pages_.field()) c("?FieldText").setText(vrt::clip(f->QWFLDDESC));
    if (page == 3) showValue();
    if (page == 4) {
      std::vector<std::vector<std::string>> rows;
      for (const QueryElement& e : session_.elements) rows.push_back({e.DESC, e.CONJUNCTION});
      setRows("?QueryList", rows, pages_.selectedElement());
    }
    if (page == 5) c("?BuildButton").setHidden(wideFieldList_ || (XBQW_MainOptions & 1) != 0);
  }

  void showValue() {
    const ValueControl kind = pages_.valueControl();
    c("?ValueHeading").setText(pages_.valueHeading());
    const bool typed = kind == ValueControl::Entry || kind == ValueControl::TextBox || kind == ValueControl::Expression;
    c("?Value").setHidden(!typed);
    c("?Lookup").setHidden(!pages_.lookupShown());
    // Beside its lookup button the entry is at most 116 dialog units wide.
    Control& entry = c("?Value");
    if (entryMinimum_ < 0) entryMinimum_ = entry.minimumWidth();
    const int narrow = kValueBesideLookupWidth * entry.charWidth() / 4;
    entry.setWidthRange(pages_.lookupShown() ? std::min(entryMinimum_, narrow) : entryMinimum_,
                        pages_.lookupShown() ? narrow : 0);
    c("?ChoiceList").setHidden(kind != ValueControl::Choice && kind != ValueControl::FieldChoice);
    c("?ChoiceList").list()->setHeaderAt(1, displayText(kind == ValueControl::FieldChoice ? 159 : 167));
    c("?CheckValue").setHidden(kind != ValueControl::Check);
    if (const auto* f = pages_.field()) c("?CheckValue").setText(vrt::clip(f->QWFLDOPTIONS));
    c("?MatchType").setHidden(!pages_.matchTypeShown());
    c("?MatchType").setText(displayText(pages_.matchTypePrompt()));
    c("?MatchExtra").setText(displayExtra(pages_.matchTypePrompt()));
    c("?MatchExtra").setHidden(!pages_.matchTypeShown());
    const bool checkBox = pages_.field() && pages_.field()->QWFLDCONTROL == 2;
    c("?CompareTo").setHidden(checkBox);
  }

  void removeSelected() {
    if (c("?QueryList").list()->clickedColumn() == 2) return;  // the conjunction column deletes nothing
    const int row = selectedRow("?QueryList");
    if (row > 0) pages_.remove(row);
    if (pages_.page() == 1) fillPage(1);
  }

  void onEnter(int focused) {
    for (const char* use : {"?FieldList", "?OperationList", "?ChoiceList"})
      if (focused == window_.number(use)) onNext();
    if (focused == window_.number("?QueryList")) onChange();
  }

  void onNext() {
    if (readPage() && pages_.next()) fillPage(pages_.page());
  }

  void onChange() {
    const int row = selectedRow("?QueryList");
    if (row <= 0) return;
    if (c("?QueryList").list()->clickedColumn() == 2) {
      pages_.toggleConjunction(row);
      return;
    }
    pages_.change(row);
    fillPage(1);
  }

  void onLookup() {
    if (!readPage()) return;
    const auto* f = pages_.field();
    if (!f) return;
    if (pages_.valueControl() == ValueControl::Expression) {
      std::string expression = vars_.value;
      if (QW_BUILDEXPQ(expression, session_.fields(), session_.syntax() == Syntax::Sql ? 1 : 0, kElementValueWidth))
        vars_.value = expression;
    } else if (isDateField(f) && (XBQW_MainOptions & 2) == 0) {
      const std::int32_t chosen = QW_DROPCAL(std::atoi(vars_.value.c_str()), window_.number("?Lookup"));
      vars_.value = chosen != 0 ? std::to_string(chosen) : std::string();
    } else {
      const auto result = vrt::expr::evaluateText(vrt::clip(f->QWFLDLOOKUP));
      const std::string text = result.value.toText();
      if (result.code == 0 && !vrt::clip(text).empty()) vars_.value = std::string(vrt::clip(text));
    }
    window_.display();
  }

  void insertField() {
    const int row = selectedRow("?ManualFields");
    if (row < 1 || row > static_cast<int>(session_.fields().size())) return;
    insertAtCursor(window_, c("?ManualText"), vrt::clip(session_.fields()[row - 1].QWFLDNAME));
  }

  std::optional<PageOutcome> onAccepted(int control) {
    const Control* source = window_.control(control);
    if (!source) return std::nullopt;
    const std::string& use = source->use();
    if (use == "?Next" || use == "?FieldList" || use == "?OperationList" ||
        (use == "?ChoiceList" && pages_.page() == 3)) {
      onNext();
    } else if (use == "?Back") {
      readPage();
      if (pages_.back()) fillPage(pages_.page());
    } else if (use == "?CompareTo") {
      pages_.setCompareTo(static_cast<CompareTo>(std::clamp(std::atoi(vars_.compareTo.c_str()), 1, 3)));
      fillValue();
      window_.display();
    } else if (use == "?Lookup") {
      onLookup();
    } else if (use == "?AndButton" || use == "?OrButton") {
      pages_.conjunction(use == "?AndButton" ? "AND" : "OR");
      fillPage(1);
    } else if (use == "?ChangeButton" || use == "?QueryList") {
      onChange();
    } else if (use == "?DeleteButton") {
      removeSelected();
    } else if (use == "?Manual") {
      readPage();
      pages_.manual();
      fillPage(5);
    } else if (use == "?ManualFields") {
      insertField();
    } else if (use == "?BuildButton") {
      readPage();
      std::string text = session_.manualText;
      if (QW_BUILDEXPQ(text, session_.fields(), session_.syntax() == Syntax::Sql ? 1 : 0, session_.filterSize())) {
        session_.manualText = text;
        fillPage(5);
      }
    } else if (use == "?Finish") {
      readPage();
      if (pages_.finish() == PageOutcome::Finished) return PageOutcome::Finished;
    } else if (use == "?Cancel") {
      readPage();
      if (pages_.cancel() == PageOutcome::Cancelled) return PageOutcome::Cancelled;
    }
    return std::nullopt;
  }

  WizardSession& session_;
  WizardPages pages_;
  WizardVariables vars_;
  Window window_;
  bool wideFieldList_ = false;
  int entryMinimum_ = -1;  // the value entry's own, before any narrowing
};

}  // namespace

bool runWizardWindow(WizardSession& session) {
  if (vrt::ThreadNumber() == 0) return false;
  if (session.loadedNumber() == 0 && !session.startOnNewQuery) {
    const SavedPick pick = runSavedQueries(session, true);
    switch (pick.choice) {
      case SavedChoice::Closed: return false;
      case SavedChoice::Insert: break;
      case SavedChoice::Change:
        if (!session.open(pick.number)) return false;
        break;
      case SavedChoice::Select:
      case SavedChoice::AndJoin:
      case SavedChoice::OrJoin: {
        const auto row = readQuery(pick.number);
        if (!row) return false;
        if (pick.choice != SavedChoice::Select) session.joinWith(static_cast<int>(pick.choice));
        session.finishWithSaved(pick.number, row->description);
        return true;
      }
    }
  }
  WizardWindow window(session);
  if (!window.run()) return false;
  if (session.mayCombine() && session.joinCode() == 0) session.joinWith(runCombineQueries());
  return true;
}

std::optional<std::string> runDescriptionForm(DescriptionRequest request, std::string_view current) {
  if (vrt::ThreadNumber() == 0) return std::nullopt;
  const int caption = request == DescriptionRequest::Change ? 233 : request == DescriptionRequest::Delete ? 234 : 235;
  const int prompt = request == DescriptionRequest::Change ? 231 : request == DescriptionRequest::Insert ? 232 : 230;
  const std::string original(vrt::clip(current));
  std::string description = original;
  Window form(descriptionForm(displayText(caption), displayText(prompt), description));
  if (request == DescriptionRequest::Delete) form.control("?Description")->setReadOnly(true);
  form.open();
  for (;;) {
    const vrt::Event e = form.accept();
    if (e.event == vrt::kEventCloseDown) return std::nullopt;
    const Control* c = e.event == vrt::kEventAccepted ? form.control(e.control) : nullptr;
    const bool leaving = e.event == vrt::kEventCloseWindow || (e.event == vrt::kEventAlertKey && e.key == vrt::kEscKey) ||
                         (c && c->use() == "?Cancel");
    bool save = c && c->use() == "?OK";
    if (leaving) {
      // A changed description is not dropped without asking.
      form.updateAll();
      if (vrt::clip(description) == original) return std::nullopt;
      const int answer = showStoreMessage(StoreMessage::UpdateCancelled);
      if (answer == vrt::kButtonNo) return std::nullopt;
      if (answer != vrt::kButtonYes) continue;
      save = true;
    }
    if (save && form.updateAll() == 0) return std::string(vrt::clip(description));
  }
}

}  // namespace qrywiz
