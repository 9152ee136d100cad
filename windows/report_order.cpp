#include "windows/report_order.h"

#include "runtime/gui/paged_list.h"
#include "runtime/gui/window.h"
#include "windows/window_room.h"

namespace vesp {

using namespace vrt;

OrderChoice AskReportOrder(const std::vector<std::string>& names) {
  WindowSpec design = windowSpec("Select the Order", "SelectReportOrder");
  design.controls = {
      prompt("Select the order to process the data."),
      list("?OrderList", {column("Order", 30)}, 6).scrolling(),
      row({button("?OK", "OK").icon("SOK.ICO").help("Accept data and close the window").makeDefault(),
           button("?Cancel", "&Cancel").icon("SCANCEL.ICO").help("Cancel operation").makeCancel()}),
  };
  Window window(design);
  PagedList* list = window.control("?OrderList")->list();
  std::vector<std::vector<std::string>> rows;
  for (const std::string& n : names) rows.push_back({n});
  list->setRows(rows);
  if (!rows.empty()) list->setSelectedRow(1);
  const int ok = window.number("?OK"), cancel = window.number("?Cancel"), listNumber = window.number("?OrderList");
  window.open();
  CentreOverOwner(window);
  for (;;) {
    const Event e = window.accept();
    if (e.event == kEventCloseWindow || e.event == kEventCloseDown) break;
    if (e.event != kEventAccepted) continue;
    if (e.control == cancel) break;
    if (e.control == ok || e.control == listNumber) {
      const int row = list->selectedRow();
      if (row < 1 || row > list->rowCount()) continue;
      return {list->rowAt(row).at(0), false};
    }
  }
  return {{}, true};
}

}  // namespace vesp
