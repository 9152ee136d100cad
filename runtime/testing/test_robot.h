#pragma once
// Drives the program the way a user would, in-process on Qt's offscreen platform: finds
// windows and controls, presses, types, chooses, and runs the threads until every one
// waits for an event. No sleeps and no timing: settle() runs until nothing is left to do.
// Every action that a user could not take (a missing or disabled control, a window that
// does not take input) throws RobotError, which a test reports as a failure.
#include <stdexcept>
#include <string>
#include <string_view>

#include "runtime/gui/events.h"

namespace vrt {

class Control;
class Window;

class RobotError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A robot ends every thread when it goes away (EndAllThreads): declare it after the
// state that the threads' procedures use, so that they end before that state does.
class TestRobot {
 public:
  TestRobot() = default;
  ~TestRobot();
  TestRobot(const TestRobot&) = delete;
  TestRobot& operator=(const TestRobot&) = delete;

  // Delivers pending Qt events and runs ready threads until all wait; throws when they
  // are still busy after `maxRounds` rounds (a thread that never waits).
  void settle(int maxRounds = 100000);

  // The newest open window whose caption or procedure name is `name`; nullptr if none.
  Window* findWindow(std::string_view name) const;
  Window& window(std::string_view name) const;
  Control& control(std::string_view window, std::string_view use) const;
  // The newest open message box, or nullptr.
  Window* messageBox() const;

  // Each action settles afterwards, so its effects are there when it returns.
  void press(std::string_view window, std::string_view use);
  // Replaces the entry's text as typed and leaves the control (which accepts it).
  void type(std::string_view window, std::string_view use, std::string_view text);
  void check(std::string_view window, std::string_view use, bool on);
  void chooseTab(std::string_view window, std::string_view sheetUse, std::string_view tabCaption);
  void chooseRow(std::string_view window, std::string_view listUse, int row);
  void doubleClickRow(std::string_view window, std::string_view listUse, int row);
  // A click on one cell of a row, for lists that care which column was hit (1-based).
  void dragThumb(std::string_view window, std::string_view listUse, int position);
  // Drags row `from` with the mouse and lets it go on row `to` (1-based rows of the page).
  void dragRow(std::string_view window, std::string_view listUse, int from, int to);
  void chooseItem(std::string_view window, std::string_view use, std::string_view item);
  void chooseRadio(std::string_view window, std::string_view groupUse, std::string_view caption);
  // A click on a cell (1-based row and column), a right click on a row (highlighting it
  // first), a click on a column heading (key kMouseLeft, kMouseLeft2 or kMouseRight).
  void clickCell(std::string_view window, std::string_view listUse, int row, int column);
  void rightClickRow(std::string_view window, std::string_view listUse, int row, int column = 1);
  void clickHeader(std::string_view window, std::string_view listUse, int column, int key = 0x01);
  // A frame menu item by its caption path, "&Browse|Browse the Services file".
  void chooseMenu(std::string_view path);
  // A menu item of a top-level window's own menu bar.
  void chooseMenu(std::string_view window, std::string_view path);
  // The status-bar text while the item is highlighted.
  std::string hoverMenu(std::string_view path);
  // A frame toolbar button by control number (3001 ...) or by caption or tip.
  void pressToolbar(int number);
  void pressToolbar(ToolbarAction action) { pressToolbar(toolbarControl(action)); }
  void pressToolbar(std::string_view captionOrTip);
  // A button of a top-level window's own toolbar, by caption or tip.
  void pressToolbar(std::string_view window, std::string_view captionOrTip);
  // A button of the newest message box, by caption with or without "&" ("&Yes", "Yes").
  void pressMessageButton(std::string_view caption);
  // An entry of the open context menu by caption path ("&View|One"), or no entry at all.
  void choosePopup(std::string_view path);
  void dismissPopup();
  bool popupOpen() const;
  // The open file dialog: choose `path` (as if typed and confirmed), or cancel it.
  void chooseFile(std::string_view path);
  void cancelFileDialog();
  // A key pressed in the window, on `use` or (empty) on the control that has the focus.
  void pressKey(std::string_view window, int keyCode, std::string_view use = {});
  // A character typed as one key press ("é", "!"), on `use` or on the focused control.
  void typeCharacter(std::string_view window, std::string_view character, std::string_view use = {});
  // The mouse comes to rest on a control: returns the status-bar text then (its help).
  std::string hover(std::string_view window, std::string_view use);
  // The user clicks into the window (making it the active one) or on its close box.
  void activate(std::string_view window);
  void closeWindow(std::string_view window);
  // The window's running timer runs out once, as if its time had passed.
  void fireTimer(std::string_view window);

 private:
  Window& usableWindow(std::string_view name) const;
  class PagedList& usableList(std::string_view window, std::string_view listUse) const;
  void pressToolbarOf(Window& window, std::string_view captionOrTip);
  Control& usableControl(std::string_view window, std::string_view use) const;
};

}  // namespace vrt
