#include "runtime/gui/list_window.h"

#include "runtime/gui/paged_list.h"
#include "runtime/gui/window.h"

namespace vrt {

int ShowListWindow(const ListWindowSpec& spec) {
  WindowSpec box = windowSpec(spec.caption, std::string(kListWindowProcedure));
  box.controls = {
      list(std::string(kListWindowListUse), spec.columns, spec.visibleRows).scrolling(),
      buttonRow(spec.buttons, spec.defaultButton),
  };
  Window window(std::move(box));
  Control* rows = window.control(kListWindowListUse);
  rows->list()->setRows(spec.rows);
  rows->setSelected(spec.rows.empty() ? 0 : 1);
  return waitForButton(window, spec.buttons, spec.defaultButton);
}

}  // namespace vrt
