#pragma once
// A window of one of the system's threads, built from a WindowSpec.
//
//   Window window(design);          // built on the running thread, not yet shown
//   window.open();                // shown; posts the open-window event
//   for (;;) {
//     Event e = window.accept();  // the next event for this window (the thread waits)
//     if (e.event == kEventCloseWindow) break;
//     ...
//   }
//                                 // destroying the window closes it
//
// A thread's newest open window is the only one of that thread taking input; the
// thread's older windows are disabled until it closes. Other threads' windows stay
// usable. Browse windows (WindowKind::Child) are MDI children of the open frame; the
// others are top-level windows owned by the frame.
#include <QPointer>
#include <QRect>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/gui/control.h"
#include "runtime/gui/events.h"
#include "runtime/gui/window_design.h"

class QMainWindow;
class QTimer;
class QWidget;

namespace vrt {

class Window {
 public:
  explicit Window(WindowSpec design);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Shows the window (displaying every bound variable) and posts the open-window event.
  void open();
  // Hides it and gives input back to the thread's previous window.
  void close();
  bool isOpen() const { return open_; }

  int id() const { return id_; }
  int thread() const { return thread_; }
  WindowKind kind() const { return spec_.kind; }
  const std::string& procedure() const { return spec_.procedure; }
  std::string caption() const;
  void setCaption(std::string_view caption);

  // Controls by use name (case does not matter) or number; nullptr when there is none.
  Control* control(std::string_view use) const;
  Control* control(int number) const;
  int number(std::string_view use) const;  // 0 when there is none
  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

  // The event loop: the next event for this window, waiting for it if need be.
  Event accept();
  const Event& currentEvent() const { return current_; }
  int keyCode() const { return keyCode_; }  // the key of the last alert-key event
  void post(int event, int control = 0);    // to this window, on its thread

  // Keys alerted on the whole window (a control's own alerts are on the control).
  void alert(int key) { alerted_.push_back(key); }
  bool alerted(int key) const;
  // Every key typing a printable character becomes an alert-key event (Control::alertCharacters).
  void alertCharacters(bool on) { alertCharacters_ = on; }
  bool alertsCharacters() const { return alertCharacters_; }

  // Every bound control shows its variable.
  void display();
  // Every bound control writes back to its variable, as a form does before saving; a
  // control whose text does not fit its picture raises "rejected" and keeps the variable.
  // Returns the number of the first rejected control, 0 when all were accepted.
  int updateAll();
  // Accepts one control as if the user left it: its variable is updated and "accepted"
  // is posted, or "rejected" (returning false) when its text does not fit the picture.
  bool acceptControl(Control& control);

  int focusedControl() const;  // 0 when no control of this window has the focus
  void select(int control);    // gives it the focus

  // Position and size in logical pixels (for MDI children: inside the frame's MDI area).
  QRect position() const;
  void setPosition(const QRect& rect);
  // Whether its widgets exist: from construction until the frame's closing takes them.
  bool hasWidgets() const { return top_ != nullptr; }
  // Where the window's inside is on the screen, whatever position() is counted from.
  QRect screenRect() const;
  // The room the window may take, in position()'s coordinates: the frame's window area for
  // a window inside the frame, else the screen less the desktop's frame around the window.
  // Empty while the window is not built.
  QRect room() const;
  bool insideFrame() const;  // an MDI child of the frame
  QSize leastSize() const;   // the least size its layouts have room in
  int titleBarHeight() const;

  // The window's state on the desktop, as the settings file remembers it.
  bool isMaximized() const;
  bool isMinimized() const;
  // A window whose least and greatest sizes are the same cannot be resized.
  bool isResizable() const;
  void setMaximized(bool on);  // false: back to its normal size
  void setMinimized(bool on);  // false: a minimised window comes back; others stay as they are
  // An open window hidden for a while (a progress window that shows only when work takes
  // long) keeps taking its events.
  void setVisible(bool visible);
  // Draws the window now, for work that shows its progress without giving the event loop a turn.
  void repaint();
  // Brings the window in front of the others and makes it the active one.
  void bringToFront();
  // A tool window floats over the program; set before the window opens.
  void setToolWindow(bool on);
  // While the window lives, `callOff` is asked when the desktop session is about to end
  // (`mayAsk`: the user may still be asked something); true calls the end off.
  void onSessionEnding(std::function<bool(bool mayAsk)> callOff);

  // Timer events every `hundredths` of a second; 0 stops them. At most one timer event
  // waits in the queue at a time.
  void setTimer(int hundredths);
  QTimer* timer() const;  // nullptr before the first setTimer
  int timerInterval() const;  // hundredths of a second; 0 while no timer runs

  // Status-bar zones (1-based; zone 1 is where help texts show) of a window with a
  // status bar, the frame's for the frame.
  void setStatusText(int zone, std::string_view text);
  std::string statusText(int zone) const;
  // Shows a control's help text: in this window's status bar, or the frame's when this
  // window has none.
  void showHelp(std::string_view text);

  // Whether this window takes input now (it is its thread's newest).
  bool takesInput() const;
  // The Qt widgets behind it, for the GUI layer only (the layers above use the operations
  // here and on Control).
  QWidget* widget() const { return top_; }
  // Where the controls live: the window itself, or the frame's central widget.
  QWidget* body() const { return body_; }

  // Open windows, oldest first; a window by id.
  static std::vector<Window*> openWindows();
  static Window* find(int id);
  // The window a widget belongs to, or nullptr.
  static Window* owning(const QObject* widget);

  // Used by the builder and the input filter.
  void postFromWidget(int event, int control, int key = 0);
  Control& addControl(const ControlSpec& design);
  void setInputEnabled(bool enabled);

 private:
  void build();
  int nextNumber();

  WindowSpec spec_;
  int id_;
  int thread_;
  bool open_ = false;
  bool everOpened_ = false;
  QPointer<QWidget> top_;   // the QWidget, QMainWindow or QMdiSubWindow shown
  QPointer<QWidget> body_;
  QPointer<QMainWindow> chrome_;  // menus, toolbar and status bar, when it has them
  QPointer<QTimer> timer_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<int> alerted_;
  std::vector<int> reservedNumbers_;
  int lastNumber_ = 0;
  Event current_;
  int keyCode_ = 0;
  bool alertCharacters_ = false;
};

}  // namespace vrt
