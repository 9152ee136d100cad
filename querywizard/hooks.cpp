#include "querywizard/hooks.h"


#include "runtime/gui/buttons.h"
#include "runtime/gui/message_box.h"

namespace qrywiz {

namespace {

Hooks defaults() {
  Hooks h;
  h.message = [](std::string_view text, std::string_view caption, int buttons, int defaultButton) {
    return vrt::Message(text, caption, {}, buttons ? buttons : vrt::kButtonOk, defaultButton);
  };
  h.busyBegin = [](std::string_view) {};
  h.busyEnd = [] {};
  h.describe = [](DescriptionRequest, std::string_view) -> std::optional<std::string> { return std::nullopt; };
  h.wizard = [](WizardSession&) { return false; };
  h.queryOption = [] { return std::uint8_t{0}; };
  h.buildExpression = [](const std::string&, const XBQW_FIELDSQUEUE&, bool) -> std::optional<std::string> {
    return std::nullopt;
  };
  h.dropCalendar = [](std::int32_t date, std::int32_t) { return date; };
  h.navigationBegin = [](std::uint8_t) {};
  h.navigationTick = [](std::int64_t) { return true; };
  h.navigationEnd = [] {};
  return h;
}

}  // namespace

Hooks& hooks() {
  static Hooks h = defaults();
  return h;
}

void resetHooks() { hooks() = defaults(); }

int showMessage(std::string_view text, std::string_view caption, int buttons, int defaultButton) {
  return hooks().message(text, caption, buttons ? buttons : vrt::kButtonOk, defaultButton);
}

BusyWindow::BusyWindow(std::string_view text) { hooks().busyBegin(text); }
BusyWindow::~BusyWindow() { hooks().busyEnd(); }

}  // namespace qrywiz
