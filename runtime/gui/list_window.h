#pragma once
// A window showing a list of rows with standard buttons, such as the error manager's
// "Errors History". Like a message box it belongs to the calling thread, which waits
// for a button by taking events.
#include <string>
#include <vector>

#include "runtime/gui/buttons.h"
#include "runtime/gui/window_design.h"

namespace vrt {

inline constexpr std::string_view kListWindowProcedure = "ListWindow";
inline constexpr std::string_view kListWindowListUse = "?List";

struct ListWindowSpec {
  std::string caption;
  std::vector<ListColumn> columns;
  std::vector<std::vector<std::string>> rows;
  int buttons = kButtonOk;
  int defaultButton = 0;
  int visibleRows = 10;
};

// Shows the rows (the list scrolls them itself) and returns the button pressed.
int ShowListWindow(const ListWindowSpec& design);

}  // namespace vrt
