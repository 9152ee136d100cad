#include "querywizard/navigation_window.h"

#include <map>
#include <memory>

#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"

namespace qrywiz {

namespace {

using namespace vrt;

constexpr const char* kCaptions[] = {"Locating First Query Result...", "Locating Previous Query Result...",
                                     "Locating Next Query Result...", "Locating Last Query Result..."};

// Each thread searches on its own; its window lives until its search ends.
std::map<int, std::unique_ptr<Window>>& windows() {
  static std::map<int, std::unique_ptr<Window>> open;
  return open;
}

WindowSpec progressWindow() {
  WindowSpec design = windowSpec("Query Navigation in Progress...", std::string(kNavigationProcedure), WindowKind::Child);
  design.controls = {row({image("?Icon", "FIND.ICO"), progress("?Progress", 0, 100)}),
                     button("?CancelNavigation", "Cancel Navigation")};
  return design;
}

}  // namespace

int navigationPercent(std::int64_t read) {
  if (read < 40) return 0;
  return static_cast<int>((read % 500) * 100 / 500);
}

void openNavigationProgress(std::uint8_t direction) {
  if (ThreadNumber() == 0) return;
  auto window = std::make_unique<Window>(progressWindow());
  window->open();
  if (direction >= 1 && direction <= 4) window->setCaption(kCaptions[direction - 1]);
  window->setTimer(1);
  windows()[ThreadNumber()] = std::move(window);
}

bool tickNavigationProgress(std::int64_t read) {
  auto found = windows().find(ThreadNumber());
  if (found == windows().end()) return true;
  Window& window = *found->second;
  if (read >= 40) window.control("?Progress")->setValue(std::to_string(navigationPercent(read)));
  for (;;) {
    const Event e = window.accept();
    if (e.event == kEventTimer) return true;
    if (e.event == kEventCloseWindow || e.event == kEventCloseDown) return false;
    if (e.event == kEventAccepted && e.control == window.number("?CancelNavigation")) return false;
  }
}

void closeNavigationProgress() { windows().erase(ThreadNumber()); }

}  // namespace qrywiz
