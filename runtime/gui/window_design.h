#pragma once
// Windows are declared as data: a WindowSpec holds a tree of ControlSpecs made with the
// small builder functions below, e.g.
//
//   WindowSpec design = windowSpec("Changing a Service Record", "UpdateService");
//   design.controls = {
//       sheet("?CurrentTab", {tab("&General", {prompt("&Title:"), entry("?SER:Title", "@s60", bind(title))})}),
//       row({button("?OK", "&OK").makeDefault(), button("?Cancel", "&Cancel")}),
//   };
//
// Qt layouts size and place the controls: a prompt and the control after it share a line;
// row() puts controls side by side; grid(n) in n columns. Controls are numbered in
// declaration order (1, 2, ...) unless a design gives its own number (the toolbar's 3001...).
#include <string>
#include <vector>

#include "runtime/gui/binding.h"

namespace vrt {

enum class ControlKind {
  Prompt, Entry, TextBox, Button, Check, DropList, Combo, List, Sheet, Tab, OptionGroup,
  Radio, Image, Spin, Progress, Region, Row, Grid,
  Menu, MenuItem, Separator, ToolButton,  // frame windows only
};

// Built-in behaviour of a menu item, carried out without procedure code.
enum class StdAction { None, Tile, Cascade, ArrangeIcons, Cut, Copy, Paste, CloseWindow };

enum class ColumnAlign { Left, Center, Right };

// A list column. With a picture, the row's value for it is raw data (a number, a day
// number, text) that the list formats; without one it is shown as given. A group column
// (secondLine set) shows two values of the row one under the other, under a two-line
// heading: a row then carries one value more than its columns.
struct ListColumn {
  std::string header;
  int width = 10;  // characters
  bool rightAligned = false;  // the same as align = ColumnAlign::Right
  std::string picture = {};
  ColumnAlign align = ColumnAlign::Left;
  std::string secondLine = {};  // the heading of the second line of a group column
  int secondWidth = 0;

  ColumnAlign alignment() const { return rightAligned ? ColumnAlign::Right : align; }
  bool isGroup() const { return !secondLine.empty(); }
};

inline ListColumn column(std::string header, int width, std::string picture = {}, ColumnAlign align = ColumnAlign::Left) {
  ListColumn c;
  c.header = std::move(header);
  c.width = width;
  c.picture = std::move(picture);
  c.align = align;
  return c;
}
// "Title" over "Series" in one column: the row's next two values.
inline ListColumn groupColumn(std::string first, int width, std::string second, int secondWidth) {
  ListColumn c = column(std::move(first), width);
  c.secondLine = std::move(second);
  c.secondWidth = secondWidth;
  return c;
}

// Mouse cursors a control can show while pointed at.
enum class CursorKind { Arrow, Hand, Wait, IBeam };

// Colours are colour values as the system stores them: 0xBBGGRR (16777215 is white);
// kNoColor keeps the control's own.
inline constexpr int kNoColor = -1;

struct ControlSpec {
  ControlKind kind = ControlKind::Region;
  std::string use;      // "?Insert", "?BROWSE:1"; may be empty
  std::string text;     // caption, prompt, tab or menu text
  std::string picture;  // entries, combos, spins
  Binding binding;
  std::vector<std::string> items;   // drop-list and combo choices
  std::vector<std::string> values;  // check: {on, off}; radio: {value}
  std::vector<ListColumn> columns;  // lists
  std::vector<ControlSpec> children;
  std::string tipText, iconName, helpText, fontName;
  int fontSize = 0;
  int number = 0;        // 0: assigned when the window is built
  int rows = 0;          // lists: visible rows; text boxes: lines; drop lists: rows shown
  int columnsInGrid = 0; // grids
  int low = 0, high = 100, step = 1;  // spins and progress bars
  bool disabled = false, hidden = false, readOnly = false, isDefault = false;
  bool scrolls = false;  // lists: hold all their rows and scroll them themselves
  bool isCancel = false;  // Escape presses it
  bool immediate = false;  // entries: every change the user types posts a new-selection event
  int textColor = kNoColor, backColor = kNoColor;
  bool underline = false;
  CursorKind cursorKind = CursorKind::Arrow;
  StdAction stdAction = StdAction::None;

  // Modifiers, for chaining in declarations.
  ControlSpec tip(std::string t) && { tipText = std::move(t); return std::move(*this); }
  ControlSpec icon(std::string i) && { iconName = std::move(i); return std::move(*this); }
  ControlSpec help(std::string h) && { helpText = std::move(h); return std::move(*this); }
  ControlSpec font(std::string name, int size) && { fontName = std::move(name); fontSize = size; return std::move(*this); }
  ControlSpec withNumber(int n) && { number = n; return std::move(*this); }
  ControlSpec makeDefault() && { isDefault = true; return std::move(*this); }
  ControlSpec makeDisabled() && { disabled = true; return std::move(*this); }
  ControlSpec makeHidden() && { hidden = true; return std::move(*this); }
  ControlSpec makeReadOnly() && { readOnly = true; return std::move(*this); }
  ControlSpec scrolling() && { scrolls = true; return std::move(*this); }
  ControlSpec action(StdAction a) && { stdAction = a; return std::move(*this); }
  ControlSpec makeCancel() && { isCancel = true; return std::move(*this); }
  ControlSpec makeImmediate() && { immediate = true; return std::move(*this); }
  ControlSpec colors(int text, int back = kNoColor) && { textColor = text; backColor = back; return std::move(*this); }
  ControlSpec underlined() && { underline = true; return std::move(*this); }
  ControlSpec cursor(CursorKind k) && { cursorKind = k; return std::move(*this); }
};

ControlSpec prompt(std::string text, std::string use = {});
ControlSpec entry(std::string use, std::string picture, Binding binding);
ControlSpec textBox(std::string use, Binding binding, int lines = 3);
ControlSpec button(std::string use, std::string text);
// A check box stores `on` or `off` in its variable.
ControlSpec check(std::string use, std::string text, Binding binding, std::string on = "1", std::string off = "0");
// A drop list stores the chosen item's text.
ControlSpec dropList(std::string use, std::vector<std::string> items, Binding binding, int rows = 8);
ControlSpec combo(std::string use, std::string picture, std::vector<std::string> items, Binding binding);
ControlSpec spin(std::string use, std::string picture, Binding binding, int low, int high, int step = 1);
// A list shows only the rows its owner gives it and carries its own 0-100 thumb
// (unless made scrolling(): then it holds every row and scrolls them itself).
ControlSpec list(std::string use, std::vector<ListColumn> columns, int visibleRows);
ControlSpec sheet(std::string use, std::vector<ControlSpec> tabs);
ControlSpec tab(std::string text, std::vector<ControlSpec> children, std::string use = {});
// An option group stores the chosen radio's value.
ControlSpec optionGroup(std::string use, std::string text, Binding binding, std::vector<ControlSpec> radios);
ControlSpec radio(std::string text, std::string value, std::string use = {});
ControlSpec image(std::string use, std::string icon);
ControlSpec progress(std::string use, int low = 0, int high = 100);
ControlSpec region(std::string use, std::vector<ControlSpec> children = {});
ControlSpec row(std::vector<ControlSpec> children);
ControlSpec grid(int columns, std::vector<ControlSpec> children);
// Menus, their items and toolbar buttons (frames and top-level windows). A toolbar also
// takes prompts, entries, spins and drop lists.
ControlSpec menu(std::string text, std::vector<ControlSpec> items);
ControlSpec menuItem(std::string use, std::string text);
ControlSpec separator();
ControlSpec toolButton(std::string use, std::string text, int number = 0);

enum class WindowKind {
  Owned,  // a top-level window owned by the frame (forms, look-ups, message boxes, the preview)
  Child,  // an MDI child of the frame (browses); top-level when no frame is open
  Frame,  // the application frame: menus, toolbar, status bar, MDI area
};

struct WindowSpec {
  std::string caption;
  std::string procedure;  // the procedure that opens it, for finding it again
  WindowKind kind = WindowKind::Owned;
  std::string iconName;
  std::string fontName;
  int fontSize = 0;
  int width = 0, height = 0;  // logical pixels; 0: as the layout needs
  std::vector<ControlSpec> controls;
  std::vector<ControlSpec> menus;    // frames and top-level windows
  std::vector<ControlSpec> toolbar;  // frames and top-level windows
  // Status-bar zones and their widths in logical pixels (0: stretches). Zone 1 shows
  // help texts. A frame always has a status bar; other windows only when they list zones.
  std::vector<int> statusZones;
  std::vector<int> alertKeys;        // keys alerted on the whole window
};

inline WindowSpec windowSpec(std::string caption, std::string procedure, WindowKind kind = WindowKind::Owned) {
  WindowSpec design;
  design.caption = std::move(caption);
  design.procedure = std::move(procedure);
  design.kind = kind;
  return design;
}

}  // namespace vrt
