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

namespace {

bool usableTab(const QTabWidget& tabs, int index) { return tabs.isTabEnabled(index) && tabs.isTabVisible(index); }

int usableTabs(const QTabWidget& tabs) {
  int n = 0;
  for (int i = 0; i < tabs.count(); ++i) n += usableTab(tabs, i) ? 1 : 0;
  return n;
}

// The sheet around the focus; otherwise the window's first shown sheet.
QTabWidget* sheetFor(const Window& window, QWidget* focus) {
  for (QWidget* w = focus; w; w = w->parentWidget())
    if (auto* tabs = qobject_cast<QTabWidget*>(w); tabs && Window::owning(tabs) == &window)
      return tabs;
  for (const auto& c : window.controls())
    if (auto* tabs = qobject_cast<QTabWidget*>(c->widget()); tabs && tabs->isVisible() && usableTabs(*tabs) > 0)
      return tabs;
  return nullptr;
}

}  // namespace

bool takeTabKey(Window& window, int code, QObject* watched) {
  QWidget* focus = QApplication::focusWidget();
  if (!focus || watched != focus) return false;  // the first delivery only
  const bool ctrlTab = (code & ~kShift) == (static_cast<int>(kCtrl) | kTabKey);
  const bool ctrlPage = code == kCtrlPgDn || code == kCtrlPgUp;
  if (!ctrlTab && !ctrlPage) return false;
  if (auto* box = qobject_cast<QPlainTextEdit*>(focus); box && ctrlTab && !(code & kShift)) {
    if (!box->isReadOnly()) box->insertPlainText(QStringLiteral("\t"));
    return true;
  }
  QTabWidget* tabs = sheetFor(window, focus);
  // With no tab to go to the keys keep their other meanings: paging a list to its ends,
  // going to the frame's next window.
  if (!tabs || usableTabs(*tabs) < 2) return false;
  const int step = (code & kShift) || code == kCtrlPgUp ? -1 : 1;
  for (int i = 1; i < tabs->count(); ++i) {
    const int index = ((tabs->currentIndex() + step * i) % tabs->count() + tabs->count()) % tabs->count();
    if (usableTab(*tabs, index)) {
      tabs->setCurrentIndex(index);
      break;
    }
  }
  return true;
}

void focusAfter(Window& window, const Control& opener) {
  QWidget* from = opener.widget();
  if (!from) return;
  if (from->focusProxy()) from = from->focusProxy();
  QWidget* row = opener.widget()->parentWidget();
  const bool inRow = row && qobject_cast<QHBoxLayout*>(row->layout());
  for (QWidget* w = from->nextInFocusChain(); w && w != from; w = w->nextInFocusChain()) {
    if (w->window() != from->window() || !(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || !w->isEnabled())
      continue;
    if (inRow && row->isAncestorOf(w)) continue;
    if (const Control* c = window.control(controlNumberOf(w)); c && c->readOnly()) continue;
    w->setFocus(Qt::TabFocusReason);
    return;
  }
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
