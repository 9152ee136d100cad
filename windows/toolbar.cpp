#include "windows/toolbar.h"

#include <algorithm>

#include "runtime/gui/control.h"
#include "runtime/gui/frame_host.h"
#include "runtime/gui/navigation_buttons.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"
#include "windows/toolbar_tips.h"
#include "windows/window_controller.h"

namespace vesp {

using namespace vrt;

// ---------------------------------------------------------------- the buttons

vrt::Window* ToolbarButtons::window() { return FrameHost::frame(); }

void ToolbarButtons::SetEnabled(ToolbarAction button, bool enabled) { SetEnabled(button, button, enabled); }

void ToolbarButtons::SetEnabled(ToolbarAction first, ToolbarAction last, bool enabled) {
  Window* w = window();
  if (!w) return;
  for (int b = toolbarControl(first); b <= toolbarControl(last); ++b)
    if (Control* c = w->control(b)) c->setDisabled(!enabled);
}

void ToolbarButtons::SetTip(ToolbarAction button, const std::string& tip) {
  if (Window* w = window())
    if (Control* c = w->control(toolbarControl(button))) c->setTip(tip);
}

void ToolbarButtons::ApplyTips(const std::string& packed) {
  for (const ToolbarTip& t : UnpackTips(packed)) SetTip(t.button, t.text);
}

void ToolbarButtons::Restore() {
  for (const NavigationButton& b : kNavigationButtons) {
    SetEnabled(b.action, true);
    SetTip(b.action, b.tip);
  }
}

// ---------------------------------------------------------------- any target

bool ToolbarTarget::OnActiveWindow() const {
  const Window* active = FrameHost::activeChild();
  return !active || !WINDOW || !WINDOW->MYWINDOW() || active == WINDOW->MYWINDOW();
}

void ToolbarTarget::DisplayButtons() {}
void ToolbarTarget::SetTips() {}
bool ToolbarTarget::TryTakeToolbar() { return false; }
void ToolbarTarget::TakeToolbar(ToolbarAction action) { routeRecordButton(action); }

bool ToolbarTarget::ownButtonUsable(int control) const {
  if (!control || !WINDOW || !WINDOW->MYWINDOW()) return false;
  const Control* c = WINDOW->MYWINDOW()->control(control);
  return c && !c->disabled() && !c->hidden();
}

void ToolbarTarget::pressOwnButton(int control) {
  if (ownButtonUsable(control)) WINDOW->MYWINDOW()->post(kEventAccepted, control);
}

void ToolbarTarget::routeRecordButton(ToolbarAction action) {
  if (!WINDOW || !WINDOW->MYWINDOW()) return;
  switch (action) {
    case ToolbarAction::Insert: pressOwnButton(INSERTBUTTON); break;
    case ToolbarAction::Change: pressOwnButton(CHANGEBUTTON); break;
    case ToolbarAction::Delete: pressOwnButton(DELETEBUTTON); break;
    case ToolbarAction::Help:
      PostEvent(Event{kEventAlertKey, WINDOW->MYWINDOW()->focusedControl(), WINDOW->MYWINDOW()->id(), kF1Key, 0},
                WINDOW->MYWINDOW()->thread());
      break;
    default: break;
  }
}

// ---------------------------------------------------------------- a browse's list

namespace {

constexpr struct {
  ToolbarAction action;
  int event;
} kBrowseScrolls[] = {
    {ToolbarAction::Bottom, kEventScrollBottom}, {ToolbarAction::Top, kEventScrollTop},
    {ToolbarAction::PageDown, kEventPageDown},   {ToolbarAction::PageUp, kEventPageUp},
    {ToolbarAction::Down, kEventScrollDown},     {ToolbarAction::Up, kEventScrollUp},
    {ToolbarAction::Locate, kEventLocate},
};

const std::vector<ToolbarTip> kBrowseTips = {
    {ToolbarAction::Down, "Go to the Next Record"}, {ToolbarAction::Bottom, "Go to the Last Page"},
    {ToolbarAction::Top, "Go to the First Page"},   {ToolbarAction::PageDown, "Go to the Next Page"},
    {ToolbarAction::PageUp, "Go to the Prior Page"}, {ToolbarAction::Up, "Go to the Prior Record"},
    {ToolbarAction::Insert, "Insert a new Record"},
};

const std::vector<ToolbarTip> kInsertFormTips = {
    {ToolbarAction::Insert, "Save record and add another"},
    {ToolbarAction::Down, "Save record and add another"},
};

const std::vector<ToolbarTip> kChangeFormTips = {
    {ToolbarAction::Bottom, "Save changes and go to last record"},
    {ToolbarAction::Top, "Save changes and go to first record"},
    {ToolbarAction::PageDown, "Save changes and page down to record"},
    {ToolbarAction::PageUp, "Save changes and page up to record"},
    {ToolbarAction::Down, "Save changes and go to next record"},
    {ToolbarAction::Up, "Save changes and go to previous record"},
    {ToolbarAction::Insert, "Save this record and add a new one"},
};

}  // namespace

void BrowseToolbarTarget::DisplayButtons() {
  ToolbarButtons::SetEnabled(ToolbarAction::History, false);
  ToolbarButtons::SetEnabled(ToolbarAction::Bottom, ToolbarAction::Locate, true);
  ToolbarButtons::SetEnabled(ToolbarAction::Select, ownButtonUsable(SELECTBUTTON));
  ToolbarButtons::SetEnabled(ToolbarAction::Delete, ownButtonUsable(DELETEBUTTON));
  ToolbarButtons::SetEnabled(ToolbarAction::Change, ownButtonUsable(CHANGEBUTTON));
  ToolbarButtons::SetEnabled(ToolbarAction::Insert, ownButtonUsable(INSERTBUTTON));
  ToolbarButtons::SetEnabled(ToolbarAction::Help, ownButtonUsable(HELPBUTTON));
  ToolbarButtons::SetEnabled(ToolbarAction::Locate, ownButtonUsable(LOCATEBUTTON));
}

void BrowseToolbarTarget::SetTips() { ToolbarButtons::ApplyTips(PackTips(kBrowseTips)); }

bool BrowseToolbarTarget::TryTakeToolbar() {
  const Control* list = WINDOW && WINDOW->MYWINDOW() ? WINDOW->MYWINDOW()->control(CONTROL) : nullptr;
  if (!list || !list->shown()) return false;
  SetTips();
  return true;
}

void BrowseToolbarTarget::TakeToolbar(ToolbarAction action) {
  if (!WINDOW || !WINDOW->MYWINDOW()) return;
  if (action == ToolbarAction::Select) {
    WINDOW->CloseWithResponse(Response::Completed);
    return;
  }
  for (const auto& s : kBrowseScrolls)
    if (s.action == action) {
      WINDOW->MYWINDOW()->post(s.event, CONTROL);
      return;
    }
  routeRecordButton(action);
}

// ---------------------------------------------------------------- a form

void FormToolbarTarget::DisplayButtons() {
  switch (REQUEST) {
    case Request::Insert:
      ToolbarButtons::SetEnabled(ToolbarAction::Change, ToolbarAction::Up, false);
      ToolbarButtons::SetEnabled(ToolbarAction::Locate, false);
      ToolbarButtons::SetEnabled(ToolbarAction::Down, true);
      ToolbarButtons::SetEnabled(ToolbarAction::Insert, true);
      break;
    case Request::Change:
      ToolbarButtons::SetEnabled(ToolbarAction::Bottom, ToolbarAction::Up, true);
      ToolbarButtons::SetEnabled(ToolbarAction::Insert, true);
      ToolbarButtons::SetEnabled(ToolbarAction::Change, ToolbarAction::Select, false);
      // Locating belongs to a list; a form has nothing to locate in.
      ToolbarButtons::SetEnabled(ToolbarAction::Locate, false);
      break;
    default:
      ToolbarButtons::SetEnabled(ToolbarAction::FirstButton, ToolbarAction::History, false);
      break;
  }
  ToolbarButtons::SetEnabled(ToolbarAction::Help, ownButtonUsable(HELPBUTTON));
  ToolbarButtons::SetEnabled(ToolbarAction::History, HISTORY);
}

void FormToolbarTarget::SetTips() {
  if (REQUEST == Request::Insert) ToolbarButtons::ApplyTips(PackTips(kInsertFormTips));
  else if (REQUEST == Request::Change) ToolbarButtons::ApplyTips(PackTips(kChangeFormTips));
}

bool FormToolbarTarget::TryTakeToolbar() {
  SetTips();
  return true;
}

void FormToolbarTarget::TakeToolbar(ToolbarAction action) {
  const bool navigates = action == ToolbarAction::Insert || (action >= ToolbarAction::Bottom && action <= ToolbarAction::Up);
  if (!navigates) {
    routeRecordButton(action);
    return;
  }
  if (!WINDOW) return;
  if (std::int32_t* vcr = WINDOW->VCRREQUEST()) *vcr = toolbarControl(action);  // the caller reads it back as an action
  WINDOW->PostCompleted();
}

// ---------------------------------------------------------------- the toolbar

void Toolbar::Init() {
  LIST.clear();
  CURRENT = nullptr;
}

void Toolbar::Kill() {
  const bool shown = CURRENT && CURRENT->OnActiveWindow();
  LIST.clear();
  CURRENT = nullptr;
  if (std::exchange(touched_, false) && shown) ToolbarButtons::Restore();
}

void Toolbar::AddTarget(ToolbarTarget& target, int id) {
  auto it = std::find_if(LIST.begin(), LIST.end(), [id](const Entry& e) { return e.id == id; });
  if (it != LIST.end()) {
    if (CURRENT == it->target) CURRENT = &target;
    it->target = &target;
    return;
  }
  LIST.push_back({id, &target});
  std::sort(LIST.begin(), LIST.end(), [](const Entry& a, const Entry& b) { return a.id < b.id; });
}

ToolbarTarget* Toolbar::Target(int id) const {
  for (const Entry& e : LIST)
    if (e.id == id) return e.target;
  return nullptr;
}

void Toolbar::SetTarget(int id) {
  if (id != 0) {
    if (ToolbarTarget* t = Target(id)) {
      CURRENT = t;
      touched_ = true;
      t->SetTips();
    }
    return;
  }
  ToolbarTarget* willing = nullptr;
  for (const Entry& e : LIST)
    if (e.target->TryTakeToolbar()) willing = e.target;
  if (willing) {
    CURRENT = willing;
    touched_ = true;
  }
}

void Toolbar::DisplayButtons() {
  if (!CURRENT || !CURRENT->OnActiveWindow()) return;
  touched_ = true;
  // Another window may have changed the tips meanwhile (the frame's buttons are shared).
  CURRENT->SetTips();
  CURRENT->DisplayButtons();
}

bool Toolbar::TakeEvent(ToolbarAction action) {
  if (!CURRENT || action < ToolbarAction::FirstButton || action > ToolbarAction::LastButton) return false;
  CURRENT->TakeToolbar(action);
  return true;
}

}  // namespace vesp
