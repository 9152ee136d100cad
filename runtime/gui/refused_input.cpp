#include "runtime/gui/refused_input.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "runtime/gui/control.h"
#include "runtime/gui/window.h"
#include "runtime/text/picture_hint.h"

namespace vrt {

void showRefusedInput(Window& window, Control& control) {
  window.select(control.number());
  QWidget* w = control.widget();
  if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit()) w = combo->lineEdit();
  if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->selectAll();
  else if (auto* box = qobject_cast<QPlainTextEdit*>(w)) box->selectAll();
  else if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) spin->selectAll();
  // After the focus moved: a field's own help shown on focus must not cover the reason.
  window.showHelp(refusalText(control.picture()));
}

}  // namespace vrt
