#include "windows/tab_orders.h"

#include "runtime/gui/control.h"

namespace vesp {

int SortOrderForTab(vrt::Window& window, std::string_view sheetUse, const std::vector<TabOrder>& tabs) {
  if (tabs.empty()) return 1;
  const vrt::Control* sheet = window.control(sheetUse);
  const int shown = sheet ? sheet->selected() : 0;
  const std::size_t chosen = shown >= 1 && static_cast<std::size_t>(shown) <= tabs.size() ? shown - 1 : 0;
  for (std::size_t i = 0; i < tabs.size(); ++i)
    if (vrt::Control* locator = window.control(tabs[i].locator)) locator->setHidden(i != chosen);
  return tabs[chosen].order;
}

}  // namespace vesp
