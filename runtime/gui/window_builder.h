#pragma once
// Turns ControlSpecs into Qt widgets inside a window, creating the window's Controls and
// connecting each widget's signals to the events it posts. Internal to the window layer.
#include <vector>

#include "runtime/gui/window_design.h"

class QObject;
class QWidget;

namespace vrt {

class Window;

// Builds `controls` into `parent` (which gets a layout of its own).
void buildControls(Window& window, const std::vector<ControlSpec>& controls, QWidget* parent);
// Builds one control (a row or grid with its children) into `parent`, which places it.
QWidget* buildControl(Window& window, const ControlSpec& design, QWidget* parent);

// Marks `widget` as the face of control `number`, so input on it is traced back.
void tagControlWidget(QWidget* widget, int number);
// The control number of the tagged widget at or above `object` in its window, 0 if none.
int controlNumberOf(const QObject* object);

}  // namespace vrt

class QAction;
namespace vrt {
class Control;
// A menu item or toolbar button: choosing it carries out its built-in action, or posts
// "accepted" for it.
void connectAction(Window& window, Control& control, QAction* action);
}  // namespace vrt

namespace vrt {
// Tip, icon, font, disabled, hidden, read-only and default, as the design declares them.
void applyCommonProperties(const ControlSpec& design, Control& control);
}  // namespace vrt
