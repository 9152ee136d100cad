#pragma once
// The program's globals: per thread, the request a procedure is called for, the response it
// gives back and the pending browse navigation; process-wide, where the main frame stands.
#include "windows/procedure_codes.h"

namespace vesp {

struct ThreadGlobals {
  Request GlobalRequest = Request::None;     // set by the caller just before the call
  Response GlobalResponse = Response::None;  // set by the called procedure as it ends
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
