#pragma once
// The main frame, procedure Main: the program's MDI frame with its menus and toolbar. It
// starts every browse on a thread of its own and forwards the toolbar's navigation buttons
// to the thread of the window the user works in.
#include "runtime/gui/window_design.h"

namespace vesp {

// The status-bar zone that shows where the data lives.
inline constexpr int kLocationZone = 2;
inline constexpr const char* kFrameCaption = "Vespera - Version 1.1 - Release Date 3-18-2006";

vrt::WindowSpec MainFrameSpec();
// Runs the frame until the user closes it; returns once every other thread has ended.
void Main();
// The desktop is ending the session: the frame closes as by its close box, asking every
// form first. True when a form is there to ask and `mayAsk`: the session must then be
// called off, since the answers cannot be waited for. Before the frame is open (start-up
// is still on its way) the close is kept and done as soon as the frame opens.
bool DesktopSessionEnding(bool mayAsk);

}  // namespace vesp
