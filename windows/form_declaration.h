#pragma once
// A record form declared as data: its captions, tabs, prompts and fields with pictures,
// validated look-ups with the browse each runs, date fields with calendar buttons, child
// lists with their forms, and the few hooks a form really has (priming a new record, stamps
// before a save, special buttons). RunForm turns a declaration into a working form procedure:
//
//   const NamedProcedure kBrowseRole{"BrowseRole"};  // another folder's browse, checked at start-up
//   const FormDecl kUpdatePerformer = [] {
//     FormDecl f("UpdatePerformer", "Update the Performers File", tables::Performers, "Performer");
//     LookupDecl role = lookupInto(kLookupButtonUse, kBrowseRole, tables::Role, ROL::keys::RoleKey, ROL::ROLE);
//     f.tabs = {{"&General", {field("&Name:", "?PER:Name", {tables::Performers, PER::NAME}),
//                             lookupField("&Role:", "?PER:Role", {tables::Performers, PER::ROLE}, role)}}};
//     return f;
//   }();
//   void UpdatePerformer() { RunForm(kUpdatePerformer); }
//
// A hook that handles a button returns EventResult::Consumed, one that leaves it to the
// form EventResult::Continue.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "dictionary/declare.h"
#include "runtime/gui/events.h"
#include "runtime/gui/window_design.h"
#include "windows/control_names.h"
#include "windows/procedures.h"
#include "windows/screen_conventions.h"

namespace vrt {
class Window;
}

namespace vesp {

class FileManager;
class FormScreen;

// What a form's entry is bound to: a field of a table (the thread's record buffer) or a
// screen local of the form.
struct FieldRef {
  const dict::TableDecl* table = nullptr;
  int field = -1;
  std::string local;  // "LOC:Answered"
  bool numeric = false;

  FieldRef() = default;
  FieldRef(const dict::TableDecl& t, int f) : table(&t), field(f) {}
  static FieldRef Local(std::string name, bool isNumber = false) {
    FieldRef r;
    r.local = std::move(name);
    r.numeric = isNumber;
    return r;
  }
};

// A column of a list over a table: a field, or a screen local worked out for each row from
// the record just read (a performer's display name). A group column shows a second value
// under the first.
struct BrowseColumn {
  std::string header;
  int width = 10;  // characters
  std::string picture;
  FieldRef field;
  bool rightAligned = false;
  bool hyperlink = false;  // a click on its cell opens the file or address in it
  vrt::ColumnAlign align = vrt::ColumnAlign::Left;  // rightAligned wins
  std::function<std::string()> compute = {};  // a local's value for the row just read
  std::string secondHeader = {};
  int secondWidth = 0;
  std::string secondPicture = {};
  FieldRef secondField = {};
  std::function<std::string()> secondCompute = {};
};
// A column showing the screen local `name`, worked out per row by `compute`.
BrowseColumn localColumn(std::string header, int width, std::string picture, std::string name,
                         std::function<std::string()> compute);

// A look-up into another table, behind an entry.
struct LookupDecl {
  std::string button = kLookupButtonUse;  // the look-up button beside the entry
  Procedure browse;                    // the look-up browse, run for a select request
  const dict::TableDecl* table = nullptr;
  int key = 0;        // the look-up table's key the entry's value is found by
  int keyField = -1;  // its field holding that value
  // Number look-ups show a text of the found record in a display beside the entry.
  int textField = -1;
  std::function<std::string()> text;  // or a text made of several of the found record's fields
  std::string display;                // the display's use name
  bool required = false;
  // Values copied from the look-up record into the form's record when a key is found or
  // chosen, and emptied when a typed key's look-up is cancelled (the entry is cleared too).
  std::function<void()> assign, unassign;
  // Finds the record the entry names into the look-up table's buffer, where the key alone
  // cannot (a text that is unique only together with a number); default: by `key`.
  std::function<bool(FileManager& table, const std::string& value)> find;
};
// The look-up behind `button`, running `browse`, that finds the entry's value in `table` by
// `key`, whose field `keyField` holds it.
LookupDecl lookupInto(std::string button, Procedure browse, const dict::TableDecl& table, int key, int keyField);

// A list of the records that belong to the form's record. When a new record is given up,
// the records its lists hold for it are deleted with it: its number goes to the next one.
struct ChildListDecl {
  std::string list;  // the list control's use name
  std::vector<vrt::ListColumn> columns;
  int rows = 5;
  std::string insert = kInsertUse, change = kChangeUse, remove = kDeleteUse;
  Procedure form;  // the child form its buttons run
  int hyperlinkColumn = 0;  // 1-based; a click on its cell opens the cell's text

  // The records listed: `table` read by `key`, whose first component equals the form's
  // `parent` field; `fields` feed the columns in order. Without a table the list stays
  // empty and its buttons only call the child form.
  const dict::TableDecl* table = nullptr;
  int key = 0;
  FieldRef parent;
  std::vector<FieldRef> fields;
  // Or, instead of `columns` and `fields`, columns that name their values, screen locals
  // among them; `hidden` values ride along in each row (the record's number).
  std::vector<BrowseColumn> cells;
  std::vector<FieldRef> hidden;
  std::string title;  // shown above the list
  bool readOnly = false;  // no buttons: the list only shows
  std::vector<const dict::TableDecl*> lookupTables;  // read by the locals' computations
  // The child table's field that places each record among the parent's others (an
  // element's order); -1 for none. With one, the Move Up / Move Down buttons, Ctrl+Up / Ctrl+Down
  // and dragging a row onto another move the highlighted record; the records are then
  // numbered 10, 20, 30 ... in one transaction, and the moved one stays highlighted.
  int orderField = -1;
  std::string moveUp = "?MoveUp", moveDown = "?MoveDown";
  // After each refill of the list from the table (the window's controls may show a sum of
  // its records).
  std::function<void(vrt::Window& window)> refilled;
};

struct FormItem {
  enum class Kind { Field, Lookup, Date, ChildList, Control, File, TextBox, DropList, Check };
  Kind kind = Kind::Field;
  std::string prompt;  // "&Role:"
  std::string use;     // "?ROL:Role"
  std::string picture; // empty: the dictionary's picture
  FieldRef field;
  bool history = true;  // the ditto key recalls it
  bool readOnly = false;  // shown, not typed into
  std::optional<LookupDecl> lookup;
  std::string calendarButton;  // Date: "?G_CALBUTTON"
  std::string pickButton, viewButton;  // File: "?LOOKUPFILE", "?VIEWFLYER"
  std::optional<ChildListDecl> child;
  std::optional<vrt::ControlSpec> control;
  std::vector<std::string> choices;  // DropList: its entries, also the values it stores
  int lines = 3;                     // TextBox
  std::string tip;                   // Field: shown when the mouse rests on the entry
};

FormItem field(std::string prompt, std::string use, FieldRef ref, std::string picture = {});
// A field the form shows but the user does not type into.
FormItem shownField(std::string prompt, std::string use, FieldRef ref, std::string picture = {});
FormItem lookupField(std::string prompt, std::string use, FieldRef ref, LookupDecl lookup, std::string picture = {});
FormItem dateField(std::string prompt, std::string use, FieldRef ref, std::string picture = {},
                   std::string calendarButton = kCalendarButtonUse);
// A file name with a pick button (the file dialog; cancelling empties the field) and a
// view button that opens what the field shows.
FormItem fileField(std::string prompt, std::string use, FieldRef ref, std::string pickButton,
                   std::string viewButton, std::string picture = {});
FormItem childList(ChildListDecl list);
// A text box over several lines; a drop list that stores the chosen text; a check box
// that stores 1 or 0.
FormItem textBoxField(std::string prompt, std::string use, FieldRef ref, int lines = 3);
FormItem dropListField(std::string prompt, std::string use, FieldRef ref, std::vector<std::string> choices);
FormItem checkField(std::string prompt, std::string use, FieldRef ref);
FormItem controlItem(vrt::ControlSpec control);

struct FormTab {
  std::string caption;  // "&General"
  std::vector<FormItem> items;
};

struct FormDecl {
  FormDecl() = default;
  FormDecl(std::string procedureName, std::string designedCaption, const dict::TableDecl& primaryTable,
           std::string captionWords)
      : procedure(std::move(procedureName)),
        caption(std::move(designedCaption)),
        primary(&primaryTable),
        captions(FormCaptions::FromWords(captionWords)) {}

  std::string procedure;  // also the settings section of its window's place
  std::string caption;    // shown for requests without a caption of their own
  const dict::TableDecl* primary = nullptr;
  FormCaptions captions;
  std::vector<FormTab> tabs;
  std::vector<vrt::ControlSpec> extraButtons;  // beside OK, Cancel and Help
  int historyKey = vrt::kCtrlQuote;
  int cancelAction = 3;
  bool rememberPlace = true;  // the prayer-journal screens do not remember theirs
  std::string okText = "&OK", cancelText = "Cancel", helpText = "&Help";
  std::map<std::string, std::string> buttonTips;  // a button's use name: its help text

  // Hooks.
  std::function<void(FormScreen&)> prime;     // default values of a new record
  std::function<void(FormScreen&)> stamp;     // just before the record is saved
  // After the stamp: false keeps the record unsaved and the form open (the hook said why
  // and chose the control to go to).
  std::function<bool(FormScreen&)> validate;
  std::function<EventResult(FormScreen&, int control)> onButton;  // an extra button or an accepted field
  std::function<void(FormScreen&)> opened;  // the window is built and about to show
};

// Runs the form the declaration describes for the thread's global request; its response is
// left in the thread's globals.
void RunForm(const FormDecl& form);

}  // namespace vesp
