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
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

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

}  // namespace

QWidget* FrameHost::build(Window& window, const WindowSpec& design, QWidget*& body) {
  FrameState& s = state();
  auto* area = new QMdiArea;
  QMainWindow* main = buildChrome(window, design, area);
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

void FrameHost::tile() {
  if (QMdiArea* area = mdiArea()) area->tileSubWindows();
}

void FrameHost::cascade() {
  if (QMdiArea* area = mdiArea()) area->cascadeSubWindows();
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
