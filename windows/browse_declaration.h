#pragma once
// A browse declared as data: its caption, list columns with their fields and pictures, its
// tabs (each a sort order with its locator and thumb step), its buttons, and the form it
// runs for insert, change, delete and view. RunBrowse turns a declaration into a working
// browse procedure:
//
//   const BrowseDecl kBrowseRole = [] {
//     BrowseDecl b("BrowseRole", "Browse the Role File", tables::Role);
//     b.columns = {{"Role", 20, "@s20", {tables::Role, ROL::ROLE}}};
//     b.tabs = {{"&Role", ROL::keys::RoleKey, BrowseTab::Locator::Entry, "Role:"}};
//     b.form = UpdateRole;
//     return b;
//   }();
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "runtime/gui/window_design.h"
#include "windows/form_declaration.h"
#include "windows/thumb_steps.h"
#include "windows/window_component.h"

namespace vesp {

class BrowseScreen;

struct BrowseTab {
  enum class Locator { None, Step, Entry };
  std::string caption;  // "&Title"
  int key = 0;          // the primary table's key of this order
  Locator locator = Locator::Step;
  std::string locatorPrompt{};  // entry locators: "Title:"
  unsigned step = ThumbStep::kLetters;  // the thumb step's kind flags; 0 for none
  bool numericStep = false;
  std::string order{};  // an order text that replaces the key's: "-UPPER(ELT:ElementType)"
};

struct BrowseDecl {
  BrowseDecl() = default;
  BrowseDecl(std::string procedureName, std::string caption_, const dict::TableDecl& primaryTable)
      : procedure(std::move(procedureName)), caption(std::move(caption_)), primary(&primaryTable) {}

  std::string procedure;
  std::string caption;
  const dict::TableDecl* primary = nullptr;
  std::string listUse = kBrowseListUse;
  std::string listTitle;  // shown above the list
  int rows = 10;
  std::vector<BrowseColumn> columns;
  std::vector<FieldRef> hiddenFields;  // held in each row, not shown (key fields)
  std::vector<BrowseTab> tabs;
  std::string sheetUse = kSheetUse;
  Procedure form;  // the update form, for insert, change, delete and view
  bool insert = true, change = true, remove = true, view = false, select = true;
  bool help = true;  // a "Help" button after Close
  std::string closeText = "Close";
  std::string helpText = "Help";
  std::map<std::string, std::string> buttonTips;  // a button's use name: its help text
  bool hideSelect = true;
  bool retainRow = false;
  bool rememberPlace = true;
  std::string filter;  // the screen's own filter, installed under the standard filter's name
  // The prompt of a word search above the list ("Search:"): as the user types, the list
  // holds only the records whose indexed fields have every word typed. Empty: none.
  std::string wordSearch;
  // A "C&lear" button: the look-up closes as cancelled with its table's record emptied, so
  // a field whose typed key was not found is cleared, while a look-up button keeps its value.
  bool clear = false;
  std::vector<vrt::ControlSpec> extraButtons;  // beside Close
  // Use names of extra buttons that the list's popup menu offers too, after its own
  // entries; choosing one presses the button.
  std::vector<std::string> popupButtons;
  std::function<EventResult(BrowseScreen&, int control)> onButton;
  // Controls of a part of the screen with a life of its own, above the list; `attach`
  // builds that part once the browse is set up, and it then takes the window's events
  // after the list does, until the browse closes.
  std::vector<vrt::ControlSpec> extraControls;
  std::function<std::unique_ptr<WindowComponent>(BrowseScreen&)> attach;
  // Further lists on the same window, each showing the records of another table that
  // belong to the highlighted row (refilled whenever the highlight moves).
  std::vector<ChildListDecl> children;
  std::vector<const dict::TableDecl*> lookupTables;  // read by the locals' computations
  // Where the list opens when it opens in the first tab's order (not as a look-up): sets
  // that order's leading key value in the primary buffer, and the list opens on the first
  // record at or after it, highlighted on the top row, the records before it a Page Up
  // away (past the last record: on the last). None: at the top.
  std::function<void()> openAt;
};

// Runs the browse the declaration describes for the thread's global request (select for a
// look-up); its response is left in the thread's globals.
void RunBrowse(const BrowseDecl& browse);

}  // namespace vesp
