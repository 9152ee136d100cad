#pragma once
// Recorded pages out to paper or to a PDF file. Both replay the pages as drawn, so text
// stays text (a PDF carries its fonts; nothing is turned into bitmaps).
#include <QString>
#include <functional>
#include <vector>

#include "runtime/print/page_store.h"

class QPrinter;

namespace vrt {

struct OutputResult {
  bool ok = true;
  QString error;  // what went wrong, for the user
};

// Called after each page with the pages done so far; returning false stops the output.
using OutputProgress = std::function<bool(int done, int total)>;

// Writes `pages` (1-based numbers of the store) to `path`. The file appears only when every
// page was written: a folder that cannot be written or a disk that fills up leaves any file
// already at `path` as it was. No pages is a failure that writes nothing: an empty file
// is not a report.
OutputResult writePdf(const PageStore& store, const std::vector<int>& pages, const QString& path,
                      const OutputProgress& progress = {});

// Prints `pages` on `printer` as it is set up. No pages is a failure that prints nothing.
OutputResult printPages(QPrinter& printer, const PageStore& store, const std::vector<int>& pages,
                        const OutputProgress& progress = {});

}  // namespace vrt
