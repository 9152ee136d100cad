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

void ToolbarButtons::SetEnabled(int button, bool enabled) {
  if (Window* w = window())
    if (Control* c = w->control(button)) c->setDisabled(!enabled);
}

void ToolbarButtons::SetEnabled(int first, int last, bool enabled) {
  for (int b = first; b <= last; ++b) SetEnabled(b, enabled);
}

void ToolbarButtons::SetTip(int button, const std::string& tip) {
  if (Window* w = window())
    if (Control* c = w->control(button)) c->setTip(tip);
}

void ToolbarButtons::ApplyTips(const std::string& packed) {
  for (const ToolbarTip& t : UnpackTips(packed)) SetTip(t.button, t.text);
}

void ToolbarButtons::Restore() {
  for (const NavigationButton& b : kNavigationButtons) {
    SetEnabled(b.code, true);
    SetTip(b.code, b.tip);
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
void ToolbarTarget::TakeToolbar(int action) { routeRecordButton(action); }

bool ToolbarTarget::ownButtonUsable(int control) const {
  if (!control || !WINDOW || !WINDOW->MYWINDOW()) return false;
  const Control* c = WINDOW->MYWINDOW()->control(control);
  return c && !c->disabled() && !c->hidden();
}

void ToolbarTarget::pressOwnButton(int control) {
  if (ownButtonUsable(control)) WINDOW->MYWINDOW()->post(kEventAccepted, control);
}

void ToolbarTarget::routeRecordButton(int action) {
  if (!WINDOW || !WINDOW->MYWINDOW()) return;
  switch (action) {
    case kToolbarInsert: pressOwnButton(INSERTBUTTON); break;
    case kToolbarChange: pressOwnButton(CHANGEBUTTON); break;
    case kToolbarDelete: pressOwnButton(DELETEBUTTON); break;
    case kToolbarHelp:
      PostEvent(Event{kEventAlertKey, WINDOW->MYWINDOW()->focusedControl(), WINDOW->MYWINDOW()->id(), kF1Key, 0},
                WINDOW->MYWINDOW()->thread());
      break;
    default: break;
  }
}

// ---------------------------------------------------------------- a browse's list

namespace {

constexpr struct {
  int action;
  int event;
} kBrowseScrolls[] = {
    {kToolbarBottom, kEventScrollBottom}, {kToolbarTop, kEventScrollTop},   {kToolbarPageDown, kEventPageDown},
    {kToolbarPageUp, kEventPageUp},       {kToolbarDown, kEventScrollDown}, {kToolbarUp, kEventScrollUp},
    {kToolbarLocate, kEventLocate},
};

const std::vector<ToolbarTip> kBrowseTips = {
    {kToolbarDown, "Go to the Next Record"}, {kToolbarBottom, "Go to the Last Page"},
    {kToolbarTop, "Go to the First Page"},   {kToolbarPageDown, "Go to the Next Page"},
    {kToolbarPageUp, "Go to the Prior Page"}, {kToolbarUp, "Go to the Prior Record"},
    {kToolbarInsert, "Insert a new Record"},
};

const std::vector<ToolbarTip> kInsertFormTips = {
    {kToolbarInsert, "Save record and add another"},
    {kToolbarDown, "Save record and add another"},
};

const std::vector<ToolbarTip> kChangeFormTips = {
    {kToolbarBottom, "Save changes and go to last record"},
    {kToolbarTop, "Save changes and go to first record"},
    {kToolbarPageDown, "Save changes and page down to record"},
    {kToolbarPageUp, "Save changes and page up to record"},
    {kToolbarDown, "Save changes and go to next record"},
    {kToolbarUp, "Save changes and go to previous record"},
    {kToolbarInsert, "Save this record and add a new one"},
};

}  // namespace

void BrowseToolbarTarget::DisplayButtons() {
  ToolbarButtons::SetEnabled(kToolbarHistory, false);
  ToolbarButtons::SetEnabled(kToolbarBottom, kToolbarLocate, true);
  ToolbarButtons::SetEnabled(kToolbarSelect, ownButtonUsable(SELECTBUTTON));
  ToolbarButtons::SetEnabled(kToolbarDelete, ownButtonUsable(DELETEBUTTON));
  ToolbarButtons::SetEnabled(kToolbarChange, ownButtonUsable(CHANGEBUTTON));
  ToolbarButtons::SetEnabled(kToolbarInsert, ownButtonUsable(INSERTBUTTON));
  ToolbarButtons::SetEnabled(kToolbarHelp, ownButtonUsable(HELPBUTTON));
  ToolbarButtons::SetEnabled(kToolbarLocate, ownButtonUsable(LOCATEBUTTON));
}

void BrowseToolbarTarget::SetTips() { ToolbarButtons::ApplyTips(PackTips(kBrowseTips)); }

bool BrowseToolbarTarget::TryTakeToolbar() {
  const Control* list = WINDOW && WINDOW->MYWINDOW() ? WINDOW->MYWINDOW()->control(CONTROL) : nullptr;
  if (!list || !list->shown()) return false;
  SetTips();
  return true;
}

void BrowseToolbarTarget::TakeToolbar(int action) {
  if (!WINDOW || !WINDOW->MYWINDOW()) return;
  if (action == kToolbarSelect) {
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
      ToolbarButtons::SetEnabled(kToolbarChange, kToolbarUp, false);
      ToolbarButtons::SetEnabled(kToolbarLocate, false);
      ToolbarButtons::SetEnabled(kToolbarDown, true);
      ToolbarButtons::SetEnabled(kToolbarInsert, true);
      break;
    case Request::Change:
      ToolbarButtons::SetEnabled(kToolbarBottom, kToolbarUp, true);
      ToolbarButtons::SetEnabled(kToolbarInsert, true);
      ToolbarButtons::SetEnabled(kToolbarChange, kToolbarSelect, false);
      // Locating belongs to a list; a form has nothing to locate in.
      ToolbarButtons::SetEnabled(kToolbarLocate, false);
      break;
    default:
      ToolbarButtons::SetEnabled(kToolbarFirstButton, kToolbarHistory, false);
      break;
  }
  ToolbarButtons::SetEnabled(kToolbarHelp, ownButtonUsable(HELPBUTTON));
  ToolbarButtons::SetEnabled(kToolbarHistory, HISTORY);
}

void FormToolbarTarget::SetTips() {
  if (REQUEST == Request::Insert) ToolbarButtons::ApplyTips(PackTips(kInsertFormTips));
  else if (REQUEST == Request::Change) ToolbarButtons::ApplyTips(PackTips(kChangeFormTips));
}

bool FormToolbarTarget::TryTakeToolbar() {
  SetTips();
  return true;
}

void FormToolbarTarget::TakeToolbar(int action) {
  const bool navigates = action == kToolbarInsert || (action >= kToolbarBottom && action <= kToolbarUp);
  if (!navigates) {
    routeRecordButton(action);
    return;
  }
  if (!WINDOW) return;
  if (std::int32_t* vcr = WINDOW->VCRREQUEST()) *vcr = action;
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

bool Toolbar::TakeEvent(int action) {
  if (!CURRENT || action < kToolbarFirstButton || action > kToolbarLastButton) return false;
  CURRENT->TakeToolbar(action);
  return true;
}

}  // namespace vesp
