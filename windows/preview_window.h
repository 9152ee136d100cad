#pragma once
// The print preview: the user looks at a report's pages, zooms, picks the pages to print,
// and prints them or saves them through an output generator. Runs on the calling thread
// until the user closes it.
#include "runtime/print/page_store.h"

namespace vesp {

struct PreviewOptions {
  bool allowZoom = true;  // the "Z&oom:" list and the Zoom menu
  bool maximize = true;   // opens maximised once its position is set
};

// What the user did with the pages.
struct PreviewOutcome {
  bool printed = false;
  bool saved = false;
};

PreviewOutcome RunPreview(vrt::PageStore& pages, const PreviewOptions& options = {});

}  // namespace vesp
