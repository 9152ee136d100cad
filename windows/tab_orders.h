#pragma once
// A browse's tabs are its sort orders: the tab shown picks the order the list reads in, and
// only that order's locator entry is shown.
#include <string>
#include <string_view>
#include <vector>

#include "runtime/gui/window.h"

namespace vesp {

struct TabOrder {
  int order;            // the browse's sort number for this tab (tabs in their sheet's order)
  std::string locator;  // the locator entry's use name, empty when the order has none
};

// The order of the sheet's shown tab (the first when the sheet is missing or shows none);
// shows that tab's locator and hides the others.
int SortOrderForTab(vrt::Window& window, std::string_view sheetUse, const std::vector<TabOrder>& tabs);

}  // namespace vesp
