#include "windows/hyperlink_manager.h"

#include "runtime/gui/paged_list.h"
#include "runtime/os/desktop_opener.h"
#include "windows/hyperlink_address.h"
#include "windows/shell_error.h"

namespace vesp {

HyperlinkManager::HyperlinkManager(vrt::Window& window)
    : window_(window), watch_(std::make_unique<vrt::PointerWatch>([this](int control, bool entered) {
        // The item the mouse entered last; the timer tick draws it.
        if (entered) pointed_ = control;
        else if (pointed_ == control) pointed_ = 0;
      })) {
  vrt::DesktopOpener& opener = vrt::desktopOpener();
  browserCommand_ = opener.browserCommand();
  mailCommand_ = opener.mailCommand();
  window_.setTimer(kHoverHundredths);
}

HyperlinkManager::~HyperlinkManager() = default;

void HyperlinkManager::AddText(vrt::Control& control, std::string_view address, HyperlinkStyle style) {
  items_.push_back({control.number(), std::string(address), 0, style, control.cursor()});
  watch(control);
}

void HyperlinkManager::AddColumn(vrt::Control& list, int column, HyperlinkStyle style) {
  items_.push_back({list.number(), {}, column, style, list.cursor()});
  list.alert(vrt::kMouseLeft);
  watch(list);
}

void HyperlinkManager::watch(vrt::Control& control) {
  watch_->watch(control);
  redraw();
}

void HyperlinkManager::SetAddress(vrt::Control& control, std::string_view address) {
  if (Item* item = find(control.number())) item->address = std::string(address);
}

HyperlinkManager::Item* HyperlinkManager::find(int control) {
  for (Item& item : items_) {
    if (item.control == control) return &item;
  }
  return nullptr;
}

bool HyperlinkManager::TakeEvent(const vrt::Event& event) {
  if (event.event == vrt::kEventTimer) {
    redraw();
    return false;
  }
  if (event.event != vrt::kEventAlertKey || event.key != vrt::kMouseLeft) return false;
  Item* item = find(event.control);
  vrt::Control* control = window_.control(event.control);
  vrt::PagedList* list = control ? control->list() : nullptr;
  if (!item || item->column == 0 || !list) return false;
  const vrt::ListClick& click = list->lastClick();
  if (click.header || click.row < 1 || click.column != item->column) return false;
  RunAddress(list->cellText(click.row, click.column));
  return true;
}

void HyperlinkManager::Run(vrt::Control& control) {
  Item* item = find(control.number());
  if (!item) return;
  if (item->column == 0) {
    RunAddress(item->address);
  } else if (vrt::PagedList* list = control.list(); list && list->selectedRow() >= 1) {
    RunAddress(list->cellText(list->selectedRow(), item->column));
  }
}

void HyperlinkManager::OpenField(vrt::Control& button, const vrt::Control& field) {
  SetAddress(button, field.text());
  Run(button);
}

bool HyperlinkManager::RunAddress(std::string_view address) {
  vrt::DesktopOpener& opener = vrt::desktopOpener();
  AddressRules rules;
  rules.emailSafe = emailSafe_;
  rules.lengthLimit = lengthLimit_ < 0 ? opener.commandLengthLimit() : lengthLimit_;
  rules.mailCommandLength = mailCommand_.size();
  AddressPlan plan = planAddress(address, rules);
  if (plan.kind == AddressPlan::Kind::Nothing) return true;
  if (plan.kind == AddressPlan::Kind::Refused) {
    ShowRefusedAddress(plan.address);
    return false;
  }
  const int result = opener.open(plan.target);
  if (result > 32) return true;
  ShowShellError(result, plan.address);
  return false;
}

void HyperlinkManager::redraw() {
  for (Item& item : items_) {
    vrt::Control* control = window_.control(item.control);
    if (!control) continue;
    const bool pointed = item.control == pointed_ && !control->disabled();
    int color = item.style.normal;
    if (control->disabled() && item.style.inactive != vrt::kNoColor) color = item.style.inactive;
    if (pointed) color = item.style.hover;
    // A list's colour is every cell's: only the cursor tells its hyperlink column.
    if (item.column == 0) {
      if (control->color() != color) control->setColor(color);
      if (control->underline() != item.style.underline) control->setUnderline(item.style.underline);
    }
    vrt::CursorKind cursor = pointed ? vrt::CursorKind::Hand : item.ownCursor;
    if (control->cursor() != cursor) control->setCursor(cursor);
  }
}

}  // namespace vesp
