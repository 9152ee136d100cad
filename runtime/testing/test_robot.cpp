#include "runtime/testing/test_robot.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QTimerEvent>

#include "runtime/gui/control.h"
#include "runtime/gui/file_dialog.h"
#include "runtime/gui/frame_host.h"
#include "runtime/gui/keys.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/paged_list.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"
#include "runtime/gui/window_builder.h"
#include "runtime/text/utf8.h"

namespace vrt {

namespace {

std::string withoutAmpersands(std::string_view s) {
  std::string out;
  for (char c : s)
    if (c != '&') out += c;
  return out;
}

bool sameCaption(std::string_view a, std::string_view b) {
  return a == b || withoutAmpersands(a) == withoutAmpersands(b);
}

std::string quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

std::vector<std::string_view> splitPath(std::string_view path) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t bar = path.find('|', start);
    parts.push_back(path.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
    if (bar == std::string_view::npos) return parts;
    start = bar + 1;
  }
}

QAction* findMenuAction(QMainWindow* main, std::string_view path) {
  QList<QAction*> actions = main->menuBar()->actions();
  QAction* found = nullptr;
  for (std::string_view part : splitPath(path)) {
    found = nullptr;
    for (QAction* a : actions)
      if (!a->isSeparator() && sameCaption(a->text().toStdString(), part)) found = a;
    if (!found) throw RobotError("no menu item " + quoted(part) + " in " + quoted(path));
    if (QMenu* sub = found->menu()) {
      emit sub->aboutToShow();  // opened, as a user opens it, so that it can fill itself
      actions = sub->actions();
    }
  }
  if (!found->isEnabled()) throw RobotError("menu item " + quoted(path) + " is disabled");
  return found;
}

QAction* findMenuAction(std::string_view path) {
  Window* frame = FrameHost::frame();
  auto* main = frame ? qobject_cast<QMainWindow*>(frame->widget()) : nullptr;
  if (!main) throw RobotError("no frame is open for menu " + quoted(path));
  return findMenuAction(main, path);
}

// The window's own menu bar and toolbar live on the main window around its body.
QMainWindow* chromeOf(const Window& window) {
  for (QWidget* w = window.body(); w; w = w->parentWidget())
    if (auto* main = qobject_cast<QMainWindow*>(w)) return main;
  return nullptr;
}

QMenu* openPopup() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->property("vrtPopup").isValid() && w->isVisible()) return qobject_cast<QMenu*>(w);
  return nullptr;
}

QFileDialog* openFileDialog() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->property(kFileDialogProperty).isValid() && w->isVisible()) return qobject_cast<QFileDialog*>(w);
  return nullptr;
}

}  // namespace

TestRobot::~TestRobot() { EndAllThreads(); }

void TestRobot::settle(int maxRounds) {
  for (int round = 0; round < maxRounds; ++round) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    if (RunReadyThreads() == 0 && !AnyThreadReady()) return;
  }
  throw RobotError("the threads did not settle");
}

Window* TestRobot::findWindow(std::string_view name) const {
  auto open = Window::openWindows();
  for (auto it = open.rbegin(); it != open.rend(); ++it)
    if ((*it)->caption() == name || (*it)->procedure() == name) return *it;
  return nullptr;
}

Window& TestRobot::window(std::string_view name) const {
  Window* w = findWindow(name);
  if (!w) throw RobotError("no open window " + quoted(name));
  return *w;
}

Control& TestRobot::control(std::string_view windowName, std::string_view use) const {
  Control* c = window(windowName).control(use);
  if (!c) throw RobotError("window " + quoted(windowName) + " has no control " + quoted(use));
  return *c;
}

Window* TestRobot::messageBox() const { return findWindow(kMessageBoxProcedure); }

Window& TestRobot::usableWindow(std::string_view name) const {
  Window& w = window(name);
  if (!w.takesInput()) throw RobotError("window " + quoted(name) + " does not take input now");
  return w;
}

Control& TestRobot::usableControl(std::string_view windowName, std::string_view use) const {
  Window& w = usableWindow(windowName);
  Control& c = control(windowName, use);
  if (c.disabled() || c.hidden()) throw RobotError("control " + quoted(use) + " cannot be used now");
  // Nor can a control on a hidden or disabled tab, or in a disabled or hidden group.
  if (QWidget* widget = c.widget())
    for (QWidget* up = widget->parentWidget(); up && up != w.body(); up = up->parentWidget())
      if (Control* holder = w.control(controlNumberOf(up)); holder && holder != &c && (holder->disabled() || holder->hidden()))
        throw RobotError("control " + quoted(use) + " is inside " + quoted(std::string_view(holder->use().empty() ? holder->text() : holder->use())) +
                         ", which cannot be used now");
  return c;
}

PagedList& TestRobot::usableList(std::string_view windowName, std::string_view listUse) const {
  PagedList* list = usableControl(windowName, listUse).list();
  if (!list) throw RobotError("control " + quoted(listUse) + " is not a list");
  return *list;
}

void TestRobot::press(std::string_view windowName, std::string_view use) {
  Control& c = usableControl(windowName, use);
  if (auto* b = qobject_cast<QAbstractButton*>(c.widget())) {
    b->click();
  } else if (c.action()) {
    c.action()->trigger();
  } else {
    throw RobotError("control " + quoted(use) + " is not a button");
  }
  settle();
}

void TestRobot::type(std::string_view windowName, std::string_view use, std::string_view text) {
  Control& c = usableControl(windowName, use);
  if (c.readOnly()) throw RobotError("control " + quoted(use) + " is read-only");
  const QString typed = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  QWidget* w = c.widget();
  if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit()) w = combo->lineEdit();
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    edit->setFocus();
    edit->selectAll();
    edit->insert(typed);  // as typed: marks the entry modified
    emit edit->editingFinished();
  } else if (auto* box = qobject_cast<QPlainTextEdit*>(w)) {
    box->setFocus();
    box->setPlainText(typed);
    box->document()->setModified(true);
    c.window().acceptControl(c);
  } else if (auto* spin = qobject_cast<QSpinBox*>(w)) {
    spin->setFocus();
    spin->setValue(typed.trimmed().toInt());
    emit spin->editingFinished();
  } else {
    throw RobotError("control " + quoted(use) + " takes no typing");
  }
  settle();
}

void TestRobot::check(std::string_view windowName, std::string_view use, bool on) {
  Control& c = usableControl(windowName, use);
  auto* b = qobject_cast<QAbstractButton*>(c.widget());
  if (!b || !b->isCheckable()) throw RobotError("control " + quoted(use) + " is not a check box");
  if (b->isChecked() != on) b->click();
  settle();
}

void TestRobot::chooseTab(std::string_view windowName, std::string_view sheetUse, std::string_view tabCaption) {
  Control& sheet = usableControl(windowName, sheetUse);
  auto* tabs = qobject_cast<QTabWidget*>(sheet.widget());
  if (!tabs) throw RobotError("control " + quoted(sheetUse) + " is not a sheet");
  for (int i = 0; i < tabs->count(); ++i)
    if (sameCaption(tabs->tabText(i).toStdString(), tabCaption)) {
      if (!tabs->isTabEnabled(i) || !tabs->isTabVisible(i)) throw RobotError("tab " + quoted(tabCaption) + " cannot be chosen");
      tabs->setCurrentIndex(i);
      settle();
      return;
    }
  throw RobotError("no tab " + quoted(tabCaption));
}

void TestRobot::chooseRow(std::string_view windowName, std::string_view listUse, int row) {
  PagedList* list = usableControl(windowName, listUse).list();
  if (!list) throw RobotError("control " + quoted(listUse) + " is not a list");
  if (row < 1 || row > list->rowCount()) throw RobotError("the list has no row " + std::to_string(row));
  list->userHighlight(row);
  settle();
}

void TestRobot::doubleClickRow(std::string_view windowName, std::string_view listUse, int row) {
  PagedList* list = usableControl(windowName, listUse).list();
  if (!list) throw RobotError("control " + quoted(listUse) + " is not a list");
  if (row < 1 || row > list->rowCount()) throw RobotError("the list has no row " + std::to_string(row));
  list->userDoubleClick(row);
  settle();
}

void TestRobot::clickCell(std::string_view windowName, std::string_view listUse, int row, int column) {
  PagedList& list = usableList(windowName, listUse);
  if (row < 1 || row > list.rowCount()) throw RobotError("the list has no row " + std::to_string(row));
  if (column < 1 || column > list.columnCount()) throw RobotError("the list has no column " + std::to_string(column));
  list.userClick(row, column);
  settle();
}

void TestRobot::rightClickRow(std::string_view windowName, std::string_view listUse, int row, int column) {
  PagedList& list = usableList(windowName, listUse);
  if (row < 1 || row > list.rowCount()) throw RobotError("the list has no row " + std::to_string(row));
  list.userRightClick(row, column);
  settle();
}

void TestRobot::clickHeader(std::string_view windowName, std::string_view listUse, int column, int key) {
  PagedList& list = usableList(windowName, listUse);
  if (column < 1 || column > list.columnCount()) throw RobotError("the list has no column " + std::to_string(column));
  list.userClickHeader(column, key);
  settle();
}

void TestRobot::dragThumb(std::string_view windowName, std::string_view listUse, int position) {
  PagedList* list = usableControl(windowName, listUse).list();
  if (!list || !list->thumbVisible()) throw RobotError("list " + quoted(listUse) + " shows no thumb");
  list->userDragThumb(position);
  settle();
}

void TestRobot::dragRow(std::string_view windowName, std::string_view listUse, int from, int to) {
  PagedList& list = usableList(windowName, listUse);
  for (int row : {from, to})
    if (row < 1 || row > list.rowCount()) throw RobotError("the list has no row " + std::to_string(row));
  if (!list.rowDragging()) throw RobotError("the rows of list " + quoted(listUse) + " cannot be dragged");
  QWidget* area = list.rowArea();
  const QPoint start = list.rowCentre(from), end = list.rowCentre(to);
  auto send = [area](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(at), QPointF(area->mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(area, &e);
  };
  send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
  // Through the rows between, as a hand would.
  constexpr int kSteps = 4;
  for (int step = 1; step <= kSteps; ++step)
    send(QEvent::MouseMove, start + (end - start) * step / kSteps + QPoint(step, 0), Qt::NoButton, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, end + QPoint(kSteps, 0), Qt::LeftButton, Qt::NoButton);
  settle();
}

void TestRobot::chooseItem(std::string_view windowName, std::string_view use, std::string_view item) {
  Control& c = usableControl(windowName, use);
  auto* combo = qobject_cast<QComboBox*>(c.widget());
  if (!combo) throw RobotError("control " + quoted(use) + " is not a drop list");
  const int index = combo->findText(QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size())));
  if (index < 0) throw RobotError("no item " + quoted(item) + " in " + quoted(use));
  combo->setCurrentIndex(index);
  emit combo->activated(index);
  settle();
}

void TestRobot::chooseRadio(std::string_view windowName, std::string_view groupUse, std::string_view caption) {
  Control& group = usableControl(windowName, groupUse);
  for (Control* r : group.radios())
    if (sameCaption(r->text(), caption)) {
      if (auto* b = qobject_cast<QAbstractButton*>(r->widget())) b->click();
      settle();
      return;
    }
  throw RobotError("no option " + quoted(caption) + " in " + quoted(groupUse));
}

void TestRobot::chooseMenu(std::string_view path) {
  if (!FrameHost::frame() || !FrameHost::frame()->takesInput()) throw RobotError("the frame does not take input now");
  findMenuAction(path)->trigger();
  settle();
}

void TestRobot::chooseMenu(std::string_view windowName, std::string_view path) {
  Window& w = usableWindow(windowName);
  QMainWindow* main = chromeOf(w);
  if (!main) throw RobotError("window " + quoted(windowName) + " has no menu bar");
  findMenuAction(main, path)->trigger();
  settle();
}

std::string TestRobot::hoverMenu(std::string_view path) {
  findMenuAction(path)->hover();
  QCoreApplication::sendPostedEvents();
  return FrameHost::statusText();
}

void TestRobot::pressToolbar(int number) {
  Window* frame = FrameHost::frame();
  if (!frame || !frame->takesInput()) throw RobotError("the frame does not take input now");
  Control* c = frame->control(number);
  if (!c || !c->action() || c->kind() != ControlKind::ToolButton)
    throw RobotError("no toolbar button " + std::to_string(number));
  if (c->disabled()) throw RobotError("toolbar button " + std::to_string(number) + " is disabled");
  c->action()->trigger();
  settle();
}

void TestRobot::pressToolbar(std::string_view windowName, std::string_view captionOrTip) {
  pressToolbarOf(usableWindow(windowName), captionOrTip);
}

void TestRobot::pressToolbarOf(Window& w, std::string_view captionOrTip) {
  for (const auto& c : w.controls())
    if (c->kind() == ControlKind::ToolButton && (sameCaption(c->text(), captionOrTip) || c->tip() == captionOrTip)) {
      if (c->disabled() || c->hidden()) throw RobotError("toolbar button " + quoted(captionOrTip) + " cannot be used now");
      c->action()->trigger();
      settle();
      return;
    }
  throw RobotError("no toolbar button " + quoted(captionOrTip));
}

void TestRobot::pressToolbar(std::string_view captionOrTip) {
  Window* frame = FrameHost::frame();
  if (!frame) throw RobotError("no frame is open");
  for (const auto& c : frame->controls())
    if (c->kind() == ControlKind::ToolButton && (sameCaption(c->text(), captionOrTip) || c->tip() == captionOrTip))
      return pressToolbar(c->number());
  throw RobotError("no toolbar button " + quoted(captionOrTip));
}

void TestRobot::pressMessageButton(std::string_view caption) {
  Window* box = messageBox();
  if (!box) throw RobotError("no message box is open");
  for (const auto& c : box->controls())
    if (c->kind() == ControlKind::Button && sameCaption(c->text(), caption)) {
      if (!box->takesInput()) throw RobotError("the message box does not take input now");
      if (auto* b = qobject_cast<QAbstractButton*>(c->widget())) b->click();
      settle();
      return;
    }
  throw RobotError("the message box has no button " + quoted(caption));
}

bool TestRobot::popupOpen() const { return openPopup() != nullptr; }

void TestRobot::choosePopup(std::string_view path) {
  QMenu* menu = openPopup();
  if (!menu) throw RobotError("no context menu is open");
  QAction* found = nullptr;
  for (std::string_view part : splitPath(path)) {
    if (!menu) throw RobotError(quoted(path) + " goes below an entry without a submenu");
    found = nullptr;
    for (QAction* a : menu->actions())
      if (!a->isSeparator() && sameCaption(a->text().toStdString(), part)) found = a;
    if (!found) throw RobotError("no context menu entry " + quoted(part));
    menu = found->menu();
  }
  if (!found->isEnabled()) throw RobotError("context menu entry " + quoted(path) + " is disabled");
  found->trigger();
  openPopup()->hide();
  settle();
}

void TestRobot::dismissPopup() {
  QMenu* menu = openPopup();
  if (!menu) throw RobotError("no context menu is open");
  menu->hide();
  settle();
}

void TestRobot::chooseFile(std::string_view path) {
  QFileDialog* dialog = openFileDialog();
  if (!dialog) throw RobotError("no file dialog is open");
  // Typed into the file name box, as a user would; the dialog's own checks then run.
  auto* nameBox = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  if (!nameBox) throw RobotError("the file dialog has no file name box");
  nameBox->setText(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())));
  static_cast<QDialog*>(dialog)->accept();
  if (dialog->isVisible()) throw RobotError("the file dialog refused " + quoted(path));
  settle();
}

void TestRobot::cancelFileDialog() {
  QFileDialog* dialog = openFileDialog();
  if (!dialog) throw RobotError("no file dialog is open");
  dialog->reject();
  settle();
}

void TestRobot::pressKey(std::string_view windowName, int keyCode, std::string_view use) {
  Window& w = usableWindow(windowName);
  auto key = qtKeyFromCode(keyCode);
  if (!key) throw RobotError("key code " + std::to_string(keyCode) + " is no key");
  QWidget* target = nullptr;
  if (!use.empty()) {
    Control& c = usableControl(windowName, use);
    w.select(c.number());
    target = c.widget();
  } else if (Control* focused = w.control(w.focusedControl())) {
    target = focused->widget();
  }
  if (QWidget* focus = QApplication::focusWidget(); focus && target && (focus == target || target->isAncestorOf(focus)))
    target = focus;  // the key goes where the focus is, as typing would
  // A drop list's open list of items takes the keys while it is open.
  if (auto* combo = qobject_cast<QComboBox*>(target); combo && combo->view() && combo->view()->isVisible())
    target = combo->view();
  else if (QWidget* popup = QApplication::activePopupWidget(); popup && Window::owning(popup) == &w && use.empty())
    target = popup->focusWidget() ? popup->focusWidget() : popup;
  if (!target) target = w.body();
  const int base = keyCode & 0xFF;
  const QString text = (base >= '0' && base <= 'Z' && !(keyCode & (kCtrl | kAlt))) ? QString(QChar(base)) : QString();
  QKeyEvent press(QEvent::KeyPress, key->first, key->second, text);
  QKeyEvent release(QEvent::KeyRelease, key->first, key->second, text);
  QApplication::sendEvent(target, &press);
  QApplication::sendEvent(target, &release);
  settle();
}

void TestRobot::typeCharacter(std::string_view windowName, std::string_view character, std::string_view use) {
  Window& w = usableWindow(windowName);
  const QString text = QString::fromUtf8(character.data(), static_cast<qsizetype>(character.size()));
  if (text.toUcs4().size() != 1) throw RobotError(quoted(character) + " is not one character");
  QWidget* target = nullptr;
  if (!use.empty()) {
    Control& c = usableControl(windowName, use);
    w.select(c.number());
    target = c.widget();
  } else if (Control* focused = w.control(w.focusedControl())) {
    target = focused->widget();
  }
  if (!target) target = w.body();
  if (target->focusProxy()) target = target->focusProxy();
  // Qt names Latin-1 keys by their upper-case code; other characters have no key of their own.
  const char32_t c = text.toUcs4()[0];
  const QString upper = text.toUpper();
  const int qtKey = c < 0x100 && upper.size() == 1 && upper[0].unicode() < 0x100 ? upper[0].unicode() : static_cast<int>(Qt::Key_unknown);
  QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
  QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier, text);
  QApplication::sendEvent(target, &press);
  QApplication::sendEvent(target, &release);
  settle();
}

std::string TestRobot::hover(std::string_view windowName, std::string_view use) {
  Window& w = usableWindow(windowName);
  Control& c = usableControl(windowName, use);
  if (!c.widget()) throw RobotError("control " + quoted(use) + " cannot be pointed at");
  QEvent enter(QEvent::Enter);
  QApplication::sendEvent(c.widget(), &enter);
  settle();
  if (w.statusText(1).empty() && FrameHost::frame() && FrameHost::frame() != &w) return FrameHost::statusText();
  return w.statusText(1);
}

void TestRobot::activate(std::string_view windowName) {
  Window& w = window(windowName);
  FrameHost::noteActivated(w);
  w.postFromWidget(kEventGainFocus, 0);
  settle();
}

void TestRobot::closeWindow(std::string_view windowName) {
  Window& w = usableWindow(windowName);
  w.widget()->close();  // the close box: the window's procedure decides
  settle();
}

void TestRobot::fireTimer(std::string_view windowName) {
  QTimer* timer = window(windowName).timer();
  if (!timer || !timer->isActive()) throw RobotError("window " + quoted(windowName) + " has no running timer");
  QTimerEvent tick(timer->timerId());
  QCoreApplication::sendEvent(timer, &tick);
  settle();
}

}  // namespace vrt
