#pragma once
// Where a window may open: inside the room it has (a list window inside the frame's window
// area, any other window on the screen), over the window it was opened from, and clear of
// an open copy of itself.
#include "runtime/gui/window.h"

namespace vesp {

// Keeps an open window inside its room. A window taller than the room gives up rows of its
// longest paged list (down to three) until it fits, so that the buttons under the list stay
// in sight; then it is made no larger than the room and moved back inside it.
void FitInRoom(vrt::Window& window);

// The window that `window` was opened from: the thread's window before it, else the frame.
// nullptr when there is neither.
vrt::Window* OwnerOf(const vrt::Window& window);

// Centres an open top-level window over its owner (see OwnerOf). With `ownerShare` above 0
// the window first takes that share of the owner's size (a preview's pages want room).
void CentreOverOwner(vrt::Window& window, double ownerShare = 0);

// A second copy of a window (another open window of the same procedure and kind) at the same
// place is moved down and right by a title bar's height, and again while it would cover one.
void OffsetFromCopies(vrt::Window& window);

}  // namespace vesp
