#include "querywizard/busy_window.h"

#include <QApplication>
#include <QCursor>
#include <map>
#include <memory>
#include <vector>

#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"

namespace qrywiz {

namespace {

// Per thread, innermost last: a conversion may run inside another one's window.
std::map<int, std::vector<std::unique_ptr<vrt::Window>>>& windows() {
  static std::map<int, std::vector<std::unique_ptr<vrt::Window>>> open;
  return open;
}

}  // namespace

void openBusyWindow(std::string_view text) {
  if (vrt::ThreadNumber() == 0) return;
  vrt::WindowSpec design = vrt::windowSpec(std::string(text), std::string(kBusyProcedure));
  design.controls = {vrt::prompt(std::string(text), "?Message")};
  auto window = std::make_unique<vrt::Window>(std::move(design));
  window->open();
  QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  windows()[vrt::ThreadNumber()].push_back(std::move(window));
}

void closeBusyWindow() {
  auto found = windows().find(vrt::ThreadNumber());
  if (found == windows().end() || found->second.empty()) return;
  found->second.pop_back();
  if (found->second.empty()) windows().erase(found);
  QApplication::restoreOverrideCursor();
}

}  // namespace qrywiz
