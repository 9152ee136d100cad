#pragma once
// The wizard's five pages as a state machine, apart from its widgets: 1 field ->
// 2 operation -> 3 value -> 4 current query (check-box fields skip 2), 4 -> 1 by AND, OR
// or Change, any of 1-4 -> 5 by Manual, Finish on 4 and 5, Cancel back to 4 while the
// list holds elements and otherwise the end. The window shows what this says and hands
// the user's choices to it.
#include <cstdint>
#include <string>
#include <vector>

#include "querywizard/wizard_session.h"

namespace qrywiz {

enum class CompareTo : std::uint8_t { Constant = 1, Field = 2, Expression = 3 };

// What page 3 shows for the value.
enum class ValueControl { Entry, TextBox, Choice, Check, FieldChoice, Expression };

// The element being edited.
struct ElementDraft {
  int fieldRow = 1;      // 1-based row of the field list
  int operationRow = 1;  // 1-based row of the operation list
  CompareTo compareTo = CompareTo::Constant;
  std::string value;
  bool checked = false;
  bool matchType = false;
  int otherFieldRow = 0;  // compare-to "another field"
};

enum class PageOutcome { Stay, Finished, Cancelled };

class WizardPages {
 public:
  explicit WizardPages(WizardSession& session);

  // The starting page: 5 for a loaded manual query, 4 for one with elements, else 1.
  void start();

  int page() const { return page_; }
  const std::string& title() const { return title_; }
  bool addingNew() const { return addingNew_; }

  // Buttons.
  bool backShown() const { return page_ <= 3; }
  bool backEnabled() const { return page_ >= 2 && page_ <= 3; }
  bool nextShown() const { return page_ <= 3; }
  bool finishShown() const { return page_ >= 4; }
  bool manualShown() const { return manualShown_; }

  // Page 1: descriptions of the offered fields in their list order.
  std::vector<std::string> fieldNames() const;
  const XBQW_FIELDSQUEUE_Record* field() const;  // the chosen field
  // Page 2: the operations offered for the chosen field, and their codes.
  std::vector<std::string> operationNames() const;
  std::uint8_t operation() const;
  // Page 3.
  const std::string& valueHeading() const { return valueHeading_; }
  ValueControl valueControl() const;
  std::vector<std::string> choices() const;  // Choice: the field's options; FieldChoice: every field
  std::string entryPicture() const;          // Entry: the field's picture; TextBox: "@s<length>"
  bool lookupShown() const;
  bool matchTypeShown() const;
  int matchTypePrompt() const;  // display text 161 or 162
  void setCompareTo(CompareTo kind);
  ElementDraft draft;

  // Moves; false when the move is not possible from this page.
  bool next();
  bool back();
  void conjunction(std::string_view andOr);  // "AND" / "OR" on page 4
  void change(int row);                      // 1-based element row
  void remove(int row);
  void toggleConjunction(int row);
  void manual();
  PageOutcome cancel();
  // Finish on page 4 or 5, with its questions.
  PageOutcome finish();

  CurrentQuery& elements() { return session_.elements; }
  int selectedElement() const { return selectedElement_; }
  void selectElement(int row) {
    if (row >= 1 && row <= static_cast<int>(session_.elements.size())) selectedElement_ = row;
  }
  WizardSession& session() { return session_; }

 private:
  std::vector<int> fieldOrder() const;  // indexes into the fields in list order
  const XBQW_FIELDSQUEUE_Record* fieldAt(int row) const;
  int rowOfPointer(std::int32_t pointer) const;
  bool isCheckBoxField() const;
  void newElement();
  bool finishElement();  // false when the query would not fit: the list stays as it was
  void prepareOperations();

  WizardSession& session_;
  int page_ = 1;
  std::string title_, valueHeading_;
  bool addingNew_ = true;
  bool manualShown_ = true;
  int selectedElement_ = 0;
  int editedElement_ = 0;  // 1-based row being changed, 0 for a new element
  int pageBeforeManual_ = 4;
};

}  // namespace qrywiz
