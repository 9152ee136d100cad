#pragma once
// The program's globals: per thread, the request a procedure is called for, the response it
// gives back and the pending browse navigation; process-wide, where the main frame stands.
namespace vesp {

struct ThreadGlobals {
  int GlobalRequest = 0;   // 1 insert, 2 change, 3 delete, 4 select, 6 view
  int GlobalResponse = 0;  // 1 completed, 2 cancelled
  int VCRRequest = 0;      // the browse navigation a form asked for
};

ThreadGlobals& threadGlobals();
// Every thread starts with all three cleared.
void clearThreadGlobals();

// The frame's x, y, width and height, written once when it opens, for centring children.
struct FrameGeometry {
  short AppFrameX = 0, AppFrameY = 0, AppFrameWidth = 0, AppFrameHeight = 0;
};
FrameGeometry& frameGeometry();

}  // namespace vesp
