#include "runtime/gui/frame_host.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStyle>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <cmath>

#include "runtime/gui/flat_style.h"
#include "runtime/gui/look.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"
#include "runtime/gui/window_builder.h"
#include "runtime/gui/window_chrome.h"

namespace vrt {

namespace {

struct FrameState {
  QPointer<QMainWindow> main;
  QPointer<QMdiArea> area;
  int frameWindow = 0;
  int activeWindow = 0;
};

FrameState& state() {
  static FrameState s;
  return s;
}

QWidget* focusedEditor() {
  QWidget* w = QApplication::focusWidget();
  if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->lineEdit();
  return w;
}

template <typename Call>
void onEditor(Call call) {
  QWidget* w = focusedEditor();
  if (auto* e = qobject_cast<QLineEdit*>(w)) call(e);
  if (auto* t = qobject_cast<QPlainTextEdit*>(w)) call(t);
}

constexpr const char* kWindowListProperty = "vrtWindowList";

// The menu that arranges the windows (the one holding Tile) ends with a list of the open
// windows, the active one checked; choosing one brings it to the front. Made afresh each
// time the menu opens, so it always names the windows as they are.
void listOpenWindows(QMenu* menu) {
  for (QAction* a : menu->actions())
    if (a->property(kWindowListProperty).toBool()) {
      menu->removeAction(a);
      a->deleteLater();
    }
  QMdiArea* area = state().area;
  if (!area) return;
  QList<QMdiSubWindow*> open;
  for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::CreationOrder))
    if (sub->isVisible()) open.push_back(sub);
  if (open.isEmpty()) return;
  menu->addSeparator()->setProperty(kWindowListProperty, true);
  for (int i = 0; i < open.size(); ++i) {
    QPointer<QMdiSubWindow> sub = open[i];
    QString caption = sub->windowTitle();
    caption.replace('&', QStringLiteral("&&"));
    QAction* item = menu->addAction(i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(caption) : caption);
    item->setProperty(kWindowListProperty, true);
    item->setCheckable(true);
    item->setChecked(sub == area->activeSubWindow());
    QObject::connect(item, &QAction::triggered, area, [area, sub] {
      if (!sub) return;
      if (sub->isMinimized()) sub->showNormal();
      area->setActiveSubWindow(sub);
    });
  }
}

void attachWindowList(Window& frame, QMainWindow* main) {
  for (const auto& c : frame.controls()) {
    if (c->stdAction() != StdAction::Tile || !c->action()) continue;
    for (QMenu* menu : main->findChildren<QMenu*>())
      if (menu->actions().contains(c->action()))
        QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] { listOpenWindows(menu); });
  }
}

}  // namespace

QWidget* FrameHost::build(Window& window, const WindowSpec& design, QWidget*& body) {
  FrameState& s = state();
  installFlatStyle();
  auto* area = new QMdiArea;
  // Windows that reach past the area are scrolled to; without scroll bars the area would
  // ask for room for all of them and push the frame off the screen.
  area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  QMainWindow* main = buildChrome(window, design, area);
  attachWindowList(window, main);
  QObject::connect(area, &QMdiArea::subWindowActivated, area, [](QMdiSubWindow* sub) {
    if (Window* w = sub ? Window::owning(sub) : nullptr) noteActivated(*w);
  });
  s.main = main;
  s.area = area;
  s.frameWindow = window.id();
  body = area;
  return main;
}

Window* FrameHost::frame() {
  Window* w = Window::find(state().frameWindow);
  return w && w->isOpen() ? w : nullptr;
}

QMdiArea* FrameHost::mdiArea() { return state().area; }

void FrameHost::noteActivated(Window& window) {
  if (window.kind() != WindowKind::Frame) state().activeWindow = window.id();
}

void FrameHost::forget(Window& window) {
  FrameState& s = state();
  if (s.activeWindow == window.id()) s.activeWindow = 0;
  if (s.frameWindow == window.id()) s.frameWindow = 0;
}

Window* FrameHost::activeChild() {
  Window* w = Window::find(state().activeWindow);
  if (w && w->isOpen()) return w;
  if (QMdiArea* area = mdiArea())
    if (QMdiSubWindow* sub = area->activeSubWindow())
      if (Window* child = Window::owning(sub); child && child->isOpen()) return child;
  return nullptr;
}

int FrameHost::activeChildThread() {
  Window* w = activeChild();
  return w ? w->thread() : 0;
}

bool FrameHost::postToActiveChild(int event, int control) {
  const int thread = activeChildThread();
  return thread != 0 && PostEvent(event, control, thread);
}

namespace {

// The windows that Tile and Cascade arrange: open, and not iconised.
QList<QMdiSubWindow*> arrangedWindows(QMdiArea* area) {
  QList<QMdiSubWindow*> windows;
  for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::CreationOrder))
    if (sub->isVisible() && !sub->isMinimized()) windows.push_back(sub);
  return windows;
}

// A window never smaller than it can be drawn; one larger than its share of the area
// overlaps its neighbours, and the area scrolls to it.
void placeWindow(QMdiSubWindow* sub, const QRect& place) {
  if (sub->isMaximized()) sub->showNormal();
  sub->setGeometry(QRect(place.topLeft(), place.size().expandedTo(sub->minimumSizeHint())));
}

}  // namespace

// Both arrange the windows inside the area as it is: the frame keeps its size (the area's
// own tiling would grow the frame until every window had its least size).
void FrameHost::tile() {
  QMdiArea* area = mdiArea();
  if (!area) return;
  const QList<QMdiSubWindow*> windows = arrangedWindows(area);
  if (windows.isEmpty()) return;
  const QRect room = area->viewport()->rect();
  const int count = static_cast<int>(windows.size());
  const int columns = static_cast<int>(std::ceil(std::sqrt(double(count))));
  const int rows = (count + columns - 1) / columns;
  for (int i = 0; i < count; ++i) {
    const int row = i / columns, column = i % columns;
    // The last row's windows share its whole width.
    const int inRow = row == rows - 1 ? count - row * columns : columns;
    const int x = room.left() + room.width() * column / inRow, y = room.top() + room.height() * row / rows;
    placeWindow(windows[i], QRect(QPoint(x, y), QPoint(room.left() + room.width() * (column + 1) / inRow - 1,
                                                       room.top() + room.height() * (row + 1) / rows - 1)));
  }
}

void FrameHost::cascade() {
  QMdiArea* area = mdiArea();
  if (!area) return;
  QList<QMdiSubWindow*> windows = arrangedWindows(area);
  if (windows.isEmpty()) return;
  // The active window ends on top, where the user was working.
  if (QMdiSubWindow* active = area->activeSubWindow(); active && windows.removeOne(active)) windows.push_back(active);
  const QRect room = area->viewport()->rect();
  const int step = std::max(8, windows.front()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, windows.front()));
  // Each a title bar lower and to the right of the one before, from the corner again when
  // the next would start too low; each as large as it likes, as far as the area reaches.
  const int perRun = std::max(1, (room.height() / 2) / step);
  for (int i = 0; i < static_cast<int>(windows.size()); ++i) {
    QMdiSubWindow* sub = windows[i];
    const QPoint at = room.topLeft() + QPoint(step, step) * (i % perRun) + QPoint(step * 2 * (i / perRun), 0);
    const QSize wanted = sub->sizeHint().boundedTo(QSize(room.right() + 1 - at.x(), room.bottom() + 1 - at.y()));
    placeWindow(sub, QRect(at, wanted));
    sub->raise();
  }
}

void FrameHost::arrangeIcons() {
  QMdiArea* area = mdiArea();
  if (!area) return;
  int x = 0;
  for (QMdiSubWindow* sub : area->subWindowList()) {
    if (!sub->isMinimized()) continue;
    sub->move(x, area->viewport()->height() - sub->height());
    x += sub->width();
  }
}

void FrameHost::runStdAction(StdAction action) {
  switch (action) {
    case StdAction::Tile: tile(); break;
    case StdAction::Cascade: cascade(); break;
    case StdAction::ArrangeIcons: arrangeIcons(); break;
    case StdAction::Cut: onEditor([](auto* e) { e->cut(); }); break;
    case StdAction::Copy: onEditor([](auto* e) { e->copy(); }); break;
    case StdAction::Paste: onEditor([](auto* e) { e->paste(); }); break;
    default: break;
  }
}

std::string FrameHost::statusText() {
  QMainWindow* main = state().main;
  return main ? main->statusBar()->currentMessage().toStdString() : std::string();
}

}  // namespace vrt
