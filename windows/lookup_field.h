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
//  - Text typed where a number is looked up finds by name, when the look-up table declares
//    how (DeclareLookupByName): the look-up browse opens on the first record the text
//    names; a choice there is taken, a cancel keeps the number the entry held. Tables that
//    declare nothing refuse such text, as the number picture does. A number no record has
//    opens the look-up on the first record whose words hold it, where the table is looked up
//    by words.
#include <functional>
#include <string>

#include "records/file_manager.h"
#include "runtime/gui/control.h"
#include "windows/form_declaration.h"

namespace vesp {

class WindowController;

// How text typed into a number look-up of `table` is found: the first record, in the order
// of key `key`, whose field `field` starts with the text (case-blind; a last name), or, with
// `words`, the first in that order whose indexed words hold each typed word (any word of a
// title, writer or CCLI); without such a record the browse opens where `field` would hold
// the text. The browse listing the table must open in `key` order.
struct LookupByName {
  const dict::TableDecl* table = nullptr;
  int key = 0;
  int field = -1;
  bool words = false;
};
// Process-wide; declared at start-up beside the table's look-up browse, before any form runs.
void DeclareLookupByName(const LookupByName& byName);

class LookupField {
 public:
  // `displayText` is the variable the display control shows (number look-ups), or nullptr.
  LookupField(WindowController& form, const LookupDecl& decl, vrt::Control& entry, std::string* displayText);

  const LookupDecl& decl() const { return decl_; }
  int entryNumber() const { return entry_.number(); }
  // Consumed when the accepted-field handling of the event must stop.
  [[nodiscard]] EventResult OnButton();
  [[nodiscard]] EventResult OnEntryAccepted();
  // The entry's text was refused by its picture: looked up by name where the table says how.
  [[nodiscard]] EventResult OnEntryRejected();
  // The display text from the look-up record that the entry names ("" when none is found).
  void RefreshDisplay();

 private:
  FileManager& table() const;
  const vrt::FieldDesc& keyField() const;
  void positionOnEntry();
  // Reads the record the entry names into the look-up table's buffer; when there is none,
  // the buffer holds only the entry's value. Whether it was found.
  bool readEntryRecord();
  // Leaves the look-up table's buffer on the first record `typed` names, read, or on the
  // values the look-up browse is to open near.
  void positionOnName(const LookupByName& byName, const std::string& typed);
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
