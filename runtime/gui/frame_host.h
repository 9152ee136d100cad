#pragma once
// The application frame: the one open window of kind WindowKind::Frame, with its menu
// bar (items with status-bar help texts), toolbar, status bar and MDI area for browses.
// It knows which application window the user worked in last and which thread that
// window belongs to, so that frame buttons can be forwarded there as events.
#include <string>

#include "runtime/gui/window_design.h"

class QMdiArea;
class QWidget;

namespace vrt {

class Window;

class FrameHost {
 public:
  // The open frame window, or nullptr.
  static Window* frame();
  static QMdiArea* mdiArea();

  // The window (MDI child or owned top-level, never the frame) that was active last and is
  // still open; nullptr when none.
  static Window* activeChild();
  static int activeChildThread();  // 0 when none
  // Posts `event` for `control` to the active child's thread; false when there is none.
  static bool postToActiveChild(int event, int control);

  static void tile();
  static void cascade();
  static void arrangeIcons();
  static void runStdAction(StdAction action);

  // What the status bar shows now (a menu item's help text while it is highlighted).
  static std::string statusText();

  // Window-layer plumbing.
  static QWidget* build(Window& window, const WindowSpec& design, QWidget*& body);
  static void noteActivated(Window& window);
  static void forget(Window& window);
};

}  // namespace vrt
