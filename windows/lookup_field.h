#pragma once
// A validated look-up field: an entry holding the key of a record of a look-up table, with
// a look-up button beside it and, for number keys, a display of the looked-up text.
//  - The button positions the look-up table on the entry's value and calls the look-up
//    browse (select request); a completed choice copies the key in, a cancelled one keeps
//    the old value.
//  - A typed value is looked up: found, the display follows; not found, the look-up browse
//    opens; cancelled there, the entry and its display are cleared and get the focus back.
//    An empty entry that is not required is left alone.
//  - Once the look-up browse has closed the focus moves on, past the button and display,
//    except to the entry whose typed value was given up.
//  - A found or chosen record's values are copied into the form's record (`assign`); a
//    cleared entry empties them (`unassign`).
#include <functional>
#include <string>

#include "records/file_manager.h"
#include "runtime/gui/control.h"
#include "windows/form_declaration.h"

namespace vesp {

class WindowController;

class LookupField {
 public:
  // `displayText` is the variable the display control shows (number look-ups), or nullptr.
  LookupField(WindowController& form, const LookupDecl& decl, vrt::Control& entry, std::string* displayText);

  const LookupDecl& decl() const { return decl_; }
  int entryNumber() const { return entry_.number(); }
  // Consumed when the accepted-field handling of the event must stop.
  [[nodiscard]] EventResult OnButton();
  [[nodiscard]] EventResult OnEntryAccepted();
  // The display text from the look-up record that the entry names ("" when none is found).
  void RefreshDisplay();

 private:
  FileManager& table() const;
  const vrt::FieldDesc& keyField() const;
  void positionOnEntry();
  // Reads the record the entry names into the look-up table's buffer; when there is none,
  // the buffer holds only the entry's value. Whether it was found.
  bool readEntryRecord();
  void takeChosenKey();
  void clearEntry();
  bool entryEmpty() const;
  bool numberKey() const;
  void copyValues(const std::function<void()>& hook);
  // Once the look-up has closed, the focus goes on to the field after `opener`.
  void moveOnFrom(const vrt::Control& opener);

  WindowController& form_;
  LookupDecl decl_;
  vrt::Control& entry_;
  std::string* displayText_;
};

}  // namespace vesp
