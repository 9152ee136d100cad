#pragma once
// One control of a window, addressed by its use name ("?Insert") or its number. Its
// properties read and write the Qt widget behind it; entry-like controls carry a bound
// variable shown through their picture.
#include <QAction>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/gui/control_face.h"
#include "runtime/gui/window_design.h"

namespace vrt {

class PagedList;
class Window;

class Control {
 public:
  Control(Window& window, const ControlSpec& design, int number);
  ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Window& window() const { return window_; }
  ControlKind kind() const { return kind_; }
  const std::string& use() const { return use_; }
  int number() const { return number_; }

  // Text: a caption (buttons, prompts, tabs, menu items) or what an entry shows now.
  std::string text() const;
  void setText(std::string_view text);
  // Value: a check's on/off value, a progress or spin position, a drop list's item,
  // otherwise the text.
  std::string value() const;
  void setValue(std::string_view value);

  bool disabled() const { return face_->disabled(); }
  void setDisabled(bool disabled) { face_->setDisabled(disabled); }
  bool hidden() const { return face_->hidden(); }
  void setHidden(bool hidden) { face_->setHidden(hidden); }
  bool readOnly() const { return readOnly_; }
  void setReadOnly(bool readOnly);
  std::string tip() const { return face_->tip(); }
  void setTip(std::string_view tip) { face_->setTip(tip); }
  const std::string& icon() const { return icon_; }
  void setIcon(std::string_view icon);
  void setFont(std::string_view name, int pointSize);
  bool isDefault() const { return face_->isDefault(); }
  // One default button per window: making this one the default unmakes the others.
  void setDefault(bool isDefault);
  // Lists: the highlighted row; drop lists and option groups: the chosen item; sheets:
  // the tab shown. 1-based, 0 = none.
  int selected() const;
  void setSelected(int index);
  int visibleItems() const;
  void setVisibleItems(int rows);
  // Drop lists and combos.
  const std::vector<std::string>& items() const { return items_; }
  void setItems(std::vector<std::string> items);

  // Look while pointed at, as hyperlinks use it. Colours are 0xBBGGRR values; kNoColor
  // gives the control its own colour back.
  int color() const;
  void setColor(int color);
  int background() const;
  void setBackground(int color);
  bool underline() const;
  void setUnderline(bool underline);
  CursorKind cursor() const;
  void setCursor(CursorKind cursor);

  // Place and size inside the window's body, logical pixels. Layouts place controls:
  // setting the geometry fixes the size, and moves the control only when no layout holds it.
  QRect geometry() const;
  void setGeometry(const QRect& rect);
  // Whether the point (in the window body's pixels) lies on the control.
  bool contains(const QPoint& point) const;
  // Place and size counted from the whole window's corner (its menu bar and toolbar
  // included), and on the screen.
  QRect placeInWindow() const;
  QRect screenRect() const;
  // Neither hidden itself nor inside a hidden tab or group: seen whenever its window is.
  bool shown() const;
  // Widths in logical pixels, for screens that size a control by its font: the average
  // character width of its font, its least width, and the range it may take (most 0: no
  // greatest width); a fixed width makes least and most the same.
  int charWidth() const;
  int minimumWidth() const;
  void setWidthRange(int least, int most);
  void setFixedWidth(int width);
  // The layouts holding the control learn of a change of its size now, not at their next pass.
  void relayout();
  // A new family (a name not installed: the desktop's own) and size (above 0) for the
  // control's font, keeping the rest of it; an empty name keeps the family.
  void changeFont(std::string_view family, int pointSize);

  // Spins and progress bars.
  int low() const { return low_; }
  int high() const { return high_; }
  void setRange(int low, int high);

  // Entries, combos and text boxes: `text` typed at the caret (replacing a selection);
  // the control then counts as changed. False for read-only controls and other kinds.
  bool insertAtCursor(std::string_view text);
  // Entries and text boxes: the caret, in characters from the start (0 for other kinds);
  // setting it past the end puts it at the end.
  int caret() const;
  void setCaret(int position);
  // Text boxes: an edit that would make the text longer than `bytes` (UTF-8) is not taken
  // (the text and the caret stay where they were, with a beep).
  void limitBytes(std::size_t bytes);
  // Combos and drop lists: wide enough for `characters` characters, whatever their items.
  void setLeastCharacters(int characters);
  // Combos: typed text stays as typed instead of completing to the first matching item.
  void setCompletes(bool completes);
  // Sheets: whether the tabs show (hidden: the program moves between the pages).
  void setTabsShown(bool shown);
  // Images: the picture in `file`, scaled to fit `width` x `height` in its proportions.
  void showImageFile(std::string_view file, int width, int height);
  // Regions: `content` (a view the GUI layer draws, such as a report's pages) takes the
  // region's whole room, and the region all the room its window gives it.
  void fill(QWidget* content);

  // The name assistive technology speaks for the control (its caption or prompt when none
  // is given).
  void setAccessibleName(std::string_view name);
  // Prompts: the control that the prompt's mnemonic gives the focus to.
  void setBuddy(Control& control);
  // Whether a widget of its own stands for the control (menu items, toolbar actions and
  // tabs have none).
  bool hasOwnWidget() const { return widget_ != nullptr; }

  // Shown in the status bar while the control is pointed at or has the focus.
  const std::string& help() const { return help_; }
  void setHelp(std::string_view help) { help_ = std::string(help); }

  // Escape presses a cancel button (unless Escape is alerted).
  bool isCancel() const { return isCancel_; }
  void setCancel(bool isCancel) { isCancel_ = isCancel; }

  // Bound variable.
  const Binding& binding() const { return binding_; }
  const std::optional<Picture>& picture() const { return picture_; }
  const std::string& pictureText() const { return pictureText_; }
  // A new picture: the control shows its variable through it from now on. False (and
  // the old picture kept) for text that is no picture.
  bool setPicture(std::string_view picture);
  // Shows the variable through the picture.
  void display();
  // Reads the control back into its variable; false (variable untouched) when the text
  // does not fit the picture.
  bool update();
  // A touched control is accepted when it is left even if its text did not change.
  bool touched() const { return touched_; }
  void setTouched(bool touched) { touched_ = touched; }
  bool modified() const;

  // Keys alerted on this control become alert-key events while it has the focus.
  void alert(int key) { alerted_.insert(key); }
  void alertRange(int first, int last);
  void unalert(int key) { alerted_.erase(key); }
  bool alerted(int key) const { return alerted_.count(key) > 0; }
  // Every key that types a printable character (punctuation and letters beyond ASCII
  // too) becomes an alert-key event with that character; see kCharacterKey.
  void alertCharacters(bool on) { alertCharacters_ = on; }
  bool alertsCharacters() const { return alertCharacters_; }

  // Widgets behind it, for the GUI layer and the test robot only (the layers above use the
  // operations here).
  PagedList* list() const;
  QWidget* widget() const { return widget_; }
  QAction* action() const { return action_; }
  StdAction stdAction() const { return stdAction_; }
  // Tabs: the sheet holding them and their place in it.
  Control* sheet() const { return sheet_; }

  // Called by the window's builder.
  void attach(QWidget* widget);
  void attach(QAction* action);
  void attachTab(Control* sheet, int index);
  void addRadio(Control* radio) { radios_.push_back(radio); }
  const std::vector<Control*>& radios() const { return radios_; }
  const std::vector<std::string>& values() const { return values_; }
  int tabIndex() const { return tabIndex_; }
  void markClean();

 private:
  void showRadioFor(const std::string& value);

  Window& window_;
  ControlKind kind_;
  std::string use_;
  int number_;
  Binding binding_;
  std::optional<Picture> picture_;
  std::string pictureText_;
  std::vector<std::string> items_;
  std::vector<std::string> values_;
  std::string icon_;
  StdAction stdAction_;
  bool readOnly_ = false;
  bool touched_ = false;
  bool isCancel_ = false;
  bool alertCharacters_ = false;
  int low_ = 0, high_ = 100;
  std::string help_;
  std::set<int> alerted_;
  QPointer<QWidget> widget_;
  QPointer<QAction> action_;
  std::unique_ptr<Face> face_;
  Control* sheet_ = nullptr;
  int tabIndex_ = -1;
  std::vector<Control*> radios_;
};

}  // namespace vrt
