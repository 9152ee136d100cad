#include "windows/window_room.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "runtime/gui/control.h"
#include "runtime/gui/frame_host.h"
#include "runtime/gui/paged_list.h"
#include "runtime/gui/threads.h"

namespace vesp {

namespace {

constexpr int kFewestRows = 3;

bool insideFrame(const vrt::Window& window) { return qobject_cast<const QMdiSubWindow*>(window.widget()) != nullptr; }

// The room in the coordinates of the window's position: the frame's window area for a list
// window inside it, else the screen less what the desktop's frame around the window takes.
QRect roomFor(const vrt::Window& window) {
  const QWidget* top = window.widget();
  if (auto* sub = qobject_cast<const QMdiSubWindow*>(top)) return sub->mdiArea() ? sub->mdiArea()->viewport()->rect() : QRect();
  const QScreen* screen = top && top->screen() ? top->screen() : QGuiApplication::primaryScreen();
  if (!screen) return {};
  QRect room = screen->availableGeometry();
  const QRect outer = top->frameGeometry(), inner = top->geometry();
  room.adjust(inner.left() - outer.left(), inner.top() - outer.top(), inner.right() - outer.right(),
              inner.bottom() - outer.bottom());
  return room;
}

// Where a window is on the screen, whatever its position is counted from.
QRect onScreen(const vrt::Window& window) {
  const QWidget* w = window.widget();
  return w ? QRect(w->mapToGlobal(QPoint(0, 0)), w->size()) : QRect();
}

// Fewer rows in the longest list; false when no list can give up a row.
bool dropARow(const vrt::Window& window) {
  vrt::PagedList* longest = nullptr;
  for (const auto& c : window.controls()) {
    vrt::PagedList* list = c->list();
    if (!list || list->ownScrolling() || c->hidden()) continue;
    if (!longest || list->visibleItems() > longest->visibleItems()) longest = list;
  }
  if (!longest || longest->visibleItems() <= kFewestRows) return false;
  longest->setVisibleItems(longest->visibleItems() - 1);
  // The layouts above it learn of the change now, not when their next layout pass comes.
  for (QWidget* w = longest; w && w != window.widget(); w = w->parentWidget()) w->updateGeometry();
  return true;
}

}  // namespace

void FitInRoom(vrt::Window& window) {
  QWidget* top = window.widget();
  const QRect room = roomFor(window);
  if (!top || room.isEmpty()) return;
  while (top->minimumSizeHint().height() > room.height() && dropARow(window)) {
  }
  const QSize least = top->minimumSizeHint();
  QRect r = window.position();
  r.setWidth(std::min(r.width(), std::max(least.width(), room.width())));
  r.setHeight(std::min(r.height(), std::max(least.height(), room.height())));
  // Back inside the room, the caption first: a window that still does not fit keeps its
  // top-left corner in reach.
  r.moveLeft(std::max(room.left(), std::min(r.left(), room.right() + 1 - r.width())));
  r.moveTop(std::max(room.top(), std::min(r.top(), room.bottom() + 1 - r.height())));
  window.setPosition(r);
}

vrt::Window* OwnerOf(const vrt::Window& window) {
  const std::vector<int> windows = vrt::ThreadWindows(window.thread());
  const auto at = std::find(windows.begin(), windows.end(), window.id());
  if (at != windows.end() && at != windows.begin())
    if (vrt::Window* before = vrt::Window::find(*std::prev(at)); before && before->isOpen()) return before;
  vrt::Window* frame = vrt::FrameHost::frame();
  return frame != &window ? frame : nullptr;
}

void CentreOverOwner(vrt::Window& window, double ownerShare) {
  const vrt::Window* owner = OwnerOf(window);
  if (!owner || !window.widget() || insideFrame(window)) return;
  const QRect over = onScreen(*owner);
  QRect r = window.position();
  if (ownerShare > 0) r.setSize((QSizeF(over.size()) * ownerShare).toSize().expandedTo(window.widget()->minimumSizeHint()));
  r.moveCenter(over.center());
  window.setPosition(r);
  FitInRoom(window);
}

void OffsetFromCopies(vrt::Window& window) {
  QWidget* top = window.widget();
  if (!top) return;
  const int step = std::max(8, top->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, top));
  QRect r = window.position();
  const std::vector<vrt::Window*> open = vrt::Window::openWindows();
  const auto covers = [&] {
    for (const vrt::Window* other : open)
      if (other != &window && other->kind() == window.kind() && other->procedure() == window.procedure() &&
          other->position().topLeft() == r.topLeft())
        return true;
    return false;
  };
  for (std::size_t tries = 0; tries < open.size() && covers(); ++tries) r.translate(step, step);
  if (r != window.position()) window.setPosition(r);
}

}  // namespace vesp
