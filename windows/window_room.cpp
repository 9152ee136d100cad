#include "windows/window_room.h"

#include <QSizeF>
#include <algorithm>
#include <vector>

#include "runtime/gui/control.h"
#include "runtime/gui/frame_host.h"
#include "runtime/gui/paged_list.h"
#include "runtime/gui/threads.h"

namespace vesp {

namespace {

constexpr int kFewestRows = 3;

// Fewer rows in the longest list; false when no list can give up a row.
bool dropARow(const vrt::Window& window) {
  vrt::Control* longest = nullptr;
  for (const auto& c : window.controls()) {
    vrt::PagedList* list = c->list();
    if (!list || list->ownScrolling() || c->hidden()) continue;
    if (!longest || list->visibleItems() > longest->list()->visibleItems()) longest = c.get();
  }
  if (!longest || longest->list()->visibleItems() <= kFewestRows) return false;
  longest->list()->setVisibleItems(longest->list()->visibleItems() - 1);
  // The layouts above it learn of the change now, not when their next layout pass comes.
  longest->relayout();
  return true;
}

}  // namespace

void FitInRoom(vrt::Window& window) {
  const QRect room = window.room();
  if (!window.hasWidgets() || room.isEmpty()) return;
  while (window.leastSize().height() > room.height() && dropARow(window)) {
  }
  const QSize least = window.leastSize();
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
  if (!owner || !window.hasWidgets() || window.insideFrame()) return;
  const QRect over = owner->screenRect();
  QRect r = window.position();
  if (ownerShare > 0) r.setSize((QSizeF(over.size()) * ownerShare).toSize().expandedTo(window.leastSize()));
  r.moveCenter(over.center());
  window.setPosition(r);
  FitInRoom(window);
}

void OffsetFromCopies(vrt::Window& window) {
  if (!window.hasWidgets()) return;
  const int step = std::max(8, window.titleBarHeight());
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
