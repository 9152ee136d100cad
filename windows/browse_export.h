#pragma once
// "Export to CSV..." on every browse's popup menu: every record the browse's current order,
// range and filters select (the whole result, not only the page), read through the browse's
// own view and rows, written with the list's column headings and each value as its column
// shows it. The file is UTF-8 with a byte-order mark, so that spreadsheet programs read
// accents right, written as runtime/text/csv.h says: quoted as RFC 4180 says, text that a
// spreadsheet would take for a formula guarded, numbers and dates left as numbers. Long exports show their progress and can be
// cancelled; a cancelled or failed export leaves no file behind and an existing file as it
// was. Afterwards the browse shows the same page as before.
#include <string>
#include <string_view>
#include <vector>

#include "runtime/gui/events.h"

namespace vesp {

class BrowseManager;

inline constexpr int kEventExportToCsv = vrt::kEventUser + 0x58;
inline constexpr const char* kExportItemName = "ExportToCsv";
inline constexpr const char* kExportItemText = "Export to CSV...";
inline constexpr const char* kExportProgressCaption = "Exporting to CSV";

// Asks for the file, writes it, and tells the user how it went.
void ExportToCsv(BrowseManager& browse);

}  // namespace vesp
