#pragma once
// What a window may carry around its controls: a menu bar, a toolbar (buttons and
// controls such as spins and drop lists) and a status bar in zones. The frame always has
// them; a top-level window (the print preview, for one) when its design lists them.
#include <string>
#include <string_view>

#include "runtime/gui/window_design.h"

class QMainWindow;
class QWidget;

namespace vrt {

class Window;

// Whether `design` asks for anything that needs the chrome.
bool wantsChrome(const WindowSpec& design);

// A main window for `window` with the design's menus, toolbar and status zones, and
// `body` as its central widget.
QMainWindow* buildChrome(Window& window, const WindowSpec& design, QWidget* body);

// Status-bar zones (1-based). Zone 1 is the message area that help texts also use.
void setStatusZoneText(QMainWindow* main, int zone, std::string_view text);
std::string statusZoneText(const QMainWindow* main, int zone);

}  // namespace vrt
