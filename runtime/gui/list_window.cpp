#include "runtime/gui/list_window.h"

#include "runtime/gui/paged_list.h"
#include "runtime/gui/window.h"

namespace vrt {

int ShowListWindow(const ListWindowSpec& design) {
  WindowSpec box = windowSpec(design.caption, std::string(kListWindowProcedure));
  box.controls = {
      list(std::string(kListWindowListUse), design.columns, design.visibleRows).scrolling(),
      buttonRow(design.buttons, design.defaultButton),
  };
  Window window(std::move(box));
  Control* rows = window.control(kListWindowListUse);
  rows->list()->setRows(design.rows);
  rows->setSelected(design.rows.empty() ? 0 : 1);
  return waitForButton(window, design.buttons, design.defaultButton);
}

}  // namespace vrt
