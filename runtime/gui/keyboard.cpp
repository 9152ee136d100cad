#include "runtime/gui/keyboard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>

#include "runtime/gui/control.h"
#include "runtime/gui/drop_list.h"
#include "runtime/gui/events.h"
#include "runtime/gui/window.h"
#include "runtime/gui/window_builder.h"
#include "runtime/text/utf8.h"

namespace vrt {

namespace {

QString accessibleText(std::string text) {
  QString s = QString::fromStdString(text).remove(QLatin1Char('&')).trimmed();
  while (s.endsWith(QLatin1Char(':'))) s.chop(1);
  return s;
}

bool namedByPrompt(ControlKind kind) {
  switch (kind) {
    case ControlKind::Entry:
    case ControlKind::TextBox:
    case ControlKind::DropList:
    case ControlKind::Combo:
    case ControlKind::Spin:
    case ControlKind::List:
      return true;
    default:
      return false;
  }
}

bool usable(const Control& c) { return c.widget() && !c.disabled() && !c.hidden() && c.widget()->isEnabled(); }

// Enter on these presses the default button; entries, text boxes, spins and lists keep it.
bool passesEnterOn(const QObject* watched) {
  if (qobject_cast<const QCheckBox*>(watched) || qobject_cast<const QRadioButton*>(watched)) return true;
  // A drop list showing a choice the user has not accepted yet takes Enter itself.
  if (auto* drop = dynamic_cast<const DropListBox*>(watched); drop && drop->choicePending()) return false;
  if (auto* combo = qobject_cast<const QComboBox*>(watched)) return !combo->isEditable();
  if (qobject_cast<const QTabWidget*>(watched)) return true;
  return false;
}

Control* cancelButton(const Window& window) {
  Control* named = nullptr;
  for (const auto& c : window.controls()) {
    if (c->kind() != ControlKind::Button) continue;
    if (c->isCancel()) return c.get();
    if (!named && equalTextNoCase(c->use(), "?Cancel")) named = c.get();
  }
  return named;
}

}  // namespace

char32_t typedCharacter(const QKeyEvent& key) {
  if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return 0;
  const QList<uint> text = key.text().toUcs4();
  if (text.size() != 1) return 0;
  const char32_t c = text[0];
  return c >= 0x20 && c != 0x7F && QChar::isPrint(c) ? c : 0;
}

bool pressWindowButtonFor(Window& window, int code, QObject* watched) {
  if (code != kEnterKey && code != kEscKey) return false;
  // Only the first delivery: a key the focused widget ignores comes again for its parents.
  QWidget* focus = QApplication::focusWidget();
  if (focus ? watched != focus : watched != window.widget()) return false;
  if (code == kEscKey) {
    Control* cancel = cancelButton(window);
    if (!cancel || !usable(*cancel)) return false;
    if (auto* b = qobject_cast<QAbstractButton*>(cancel->widget())) b->click();
    return true;
  }
  if (auto* b = qobject_cast<QPushButton*>(watched)) {
    b->click();
    return true;
  }
  if (focus && !passesEnterOn(watched)) return false;
  for (const auto& c : window.controls())
    if (c->isDefault() && usable(*c)) {
      if (auto* b = qobject_cast<QAbstractButton*>(c->widget())) b->click();
      return true;
    }
  return false;
}

void nameControlsAndOrderTabs(Window& window) {
  const auto& controls = window.controls();
  QWidget* previous = nullptr;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    Control& c = *controls[i];
    QWidget* w = c.widget();
    if (!w || c.action() || c.kind() == ControlKind::Tab) continue;
    if (c.kind() == ControlKind::Prompt && i + 1 < controls.size() && namedByPrompt(controls[i + 1]->kind())) {
      Control& next = *controls[i + 1];
      if (auto* label = qobject_cast<QLabel*>(w); label && next.widget()) {
        label->setBuddy(next.widget());
        next.widget()->setAccessibleName(accessibleText(c.text()));
        if (auto* table = next.widget()->findChild<QTableWidget*>()) table->setAccessibleName(accessibleText(c.text()));
      }
    }
    const bool iconOnly = (c.kind() == ControlKind::Button || c.kind() == ControlKind::Image) && c.text().empty();
    if (iconOnly && !c.tip().empty()) w->setAccessibleName(accessibleText(c.tip()));
    QWidget* focusTarget = w->focusProxy() ? w->focusProxy() : w;
    if (!(focusTarget->focusPolicy() & Qt::TabFocus)) continue;
    if (previous && previous->window() == focusTarget->window()) QWidget::setTabOrder(previous, focusTarget);
    previous = focusTarget;
  }
}

}  // namespace vrt
