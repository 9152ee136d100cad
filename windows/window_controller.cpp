#include "windows/window_controller.h"

#include "runtime/gui/control.h"
#include "runtime/gui/refused_input.h"
#include "runtime/gui/threads.h"
#include "runtime/help/help_window.h"
#include "windows/exit_requests.h"
#include "windows/feedback.h"
#include "windows/control_names.h"
#include "windows/screen_conventions.h"
#include "windows/thread_globals.h"
#include "windows/validation.h"

namespace vesp {

using namespace vrt;

WindowController::WindowController() = default;
WindowController::~WindowController() { Shutdown(); }

// ---------------------------------------------------------------- registration

void WindowController::AddItem(WindowComponent& component) { components_.push_back({0, &component, nullptr}); }
void WindowController::AddItem(FileComponent& component) { components_.push_back({1, nullptr, &component}); }

void WindowController::AddItem(Toolbar& toolbar) {
  toolbar_ = &toolbar;
  toolbar.Init();
}

void WindowController::AddItem(FormToolbarTarget& target) {
  target.REQUEST = originalRequest_;
  target.HISTORY = settings_.HISTORYKEY != 0 && !history_.empty();
  target.WINDOW = this;
  formTarget_ = &target;
  if (!toolbar_) return;
  toolbar_->AddTarget(target, -1);
  toolbar_->SetTarget(-1);
}

void WindowController::AddItem(int control, Response response) { buttons_.push_back({control, response}); }

void WindowController::AddHistoryField(int control, int liveField, int historyField) {
  if (!settings_.PRIMARY || !settings_.PRIMARY->Me()) return;
  FileManager& table = *settings_.PRIMARY->Me();
  history_.push_back({&historyBufferFor(table), historyField, table.BUFFER(), liveField, control, &table});
}

vrt::RecordBuffer& WindowController::historyBufferFor(FileManager& table) {
  for (auto& [file, buffer] : historyBuffers_)
    if (file == &table) return *buffer;
  historyBuffers_.emplace_back(&table, std::make_unique<vrt::RecordBuffer>(*table.BUFFER()));
  return *historyBuffers_.back().second;
}

// ---------------------------------------------------------------- life cycle

bool WindowController::Setup() {
  ThreadGlobals& globals = threadGlobals();
  request_ = globals.GlobalRequest;
  originalRequest_ = request_;
  buttons_.clear();
  components_.clear();
  errors_ = &errorManager();
  vcrRequest_ = &globals.VCRRequest;
  response_ = Response::None;
  setUp_ = true;
  shutDown_ = false;
  return true;
}

void WindowController::Shutdown() {
  if (!setUp_ || shutDown_) return;
  shutDown_ = true;
  for (const ComponentEntry& c : components_)
    if (c.window) c.window->Shutdown();
  components_.clear();
  buttons_.clear();
  releaseSnapshot();
  if (toolbar_) toolbar_->Kill();
  toolbar_ = nullptr;
  history_.clear();
  historyBuffers_.clear();
}

Response WindowController::Execute() {
  if (Setup()) RunEventLoop();
  Shutdown();
  if (response_ == Response::None) response_ = Response::Cancelled;
  threadGlobals().GlobalResponse = response_;
  return response_;
}

void WindowController::UseWindow(vrt::Window* window) {
  myWindow_ = window;
  if (!window) opened_ = false;
}

void WindowController::OpenWindow(vrt::Window& window) {
  myWindow_ = &window;
  ArmKeys();
  window.open();
  opened_ = true;
}

void WindowController::OnFirstShow() {
  // The toolbar drives the window from the moment it shows, not only after a tab change.
  if (toolbar_ && !toolbar_->CURRENT) toolbar_->SetTarget(0);
  Refresh();
  shown_ = true;
}

void WindowController::RunEventLoop() {
  if (!myWindow_) return;
  lastInsertedPosition_.clear();
  ExitListener exit(*myWindow_, settings_.PRIMARY != nullptr);
  for (;;) {
    event_ = myWindow_->accept();
    if (event_.event == kEventSelected) lastFocused_ = event_.control;
    if (event_.event == kEventExitSettled) {
      exit.Stays();
      continue;
    }
    // Leaving the program closes the window the way the user's close does: the same
    // questions, the same answers.
    const bool exitRequest = event_.event == kEventExitRequest;
    if (exitRequest) {
      ExitListener::BringToFront(*myWindow_);
      event_ = Event{kEventCloseWindow, 0, myWindow_->id(), 0, 0};
    }
    const EventResult rc = OnEvent();
    // Staying, unless what the answer set off (a save) closes the window: the events that
    // do that come before this note.
    if (exitRequest && rc == EventResult::Consumed) myWindow_->post(kEventExitSettled);
    if (rc == EventResult::EndLoop || event_.event == kEventCloseDown) break;
    if (event_.event == kEventCloseWindow && rc != EventResult::Consumed) break;
  }
}

void WindowController::PrimeNewRecord() {}

void WindowController::Refresh(bool force) {
  if (ValidatingAllControls()) return;
  for (const ComponentEntry& c : components_)
    if (c.window) c.window->Reset(force);
  for (const ComponentEntry& c : components_)
    if (c.file && c.file->Changed()) c.file->Reread();
  for (const ComponentEntry& c : components_)
    if (c.window) c.window->RefreshControls();
  if (myWindow_) myWindow_->display();
  if (toolbar_) toolbar_->DisplayButtons();
}

Response WindowController::RunProcedure(const Procedure& procedure, Request request) {
  return CallProcedure(request, procedure);
}

Response WindowController::CallProcedure(Request request, const Procedure& procedure) {
  if (request_ == Request::View || !procedure) return Response::Cancelled;  // a list with no form calls nothing
  ThreadGlobals& globals = threadGlobals();
  globals.GlobalRequest = request;
  globals.GlobalResponse = Response::None;
  globals.VCRRequest = 0;
  procedure();
  // The called form leaves the toolbar action it was closed with in the thread's value; a
  // caller that watches its own (a browse running its form) gets it there.
  if (vcrRequest_ && vcrRequest_ != &globals.VCRRequest) *vcrRequest_ = globals.VCRRequest;
  return globals.GlobalResponse;
}

void WindowController::ArmKeys() {
  if (myWindow_ && !myWindow_->alerted(kF6Key)) myWindow_->alert(kF6Key);  // the calendar, in every window
  for (const ComponentEntry& c : components_)
    if (c.window) c.window->ArmKeys();
  if (!settings_.HISTORYKEY || !myWindow_) return;
  for (const HistoryEntry& h : history_)
    if (Control* c = myWindow_->control(h.control)) c->alert(settings_.HISTORYKEY);
}

void WindowController::CloseWithResponse(Response response) {
  response_ = response;
  if (response == Response::Cancelled && vcrRequest_) *vcrRequest_ = 0;
  if (myWindow_) myWindow_->post(kEventCloseWindow);
}

void WindowController::SaveControls() {
  for (const ComponentEntry& c : components_)
    if (c.window) c.window->SaveControls();
}

void WindowController::SetControlDisabled(int control, bool disabled) {
  if (Control* c = myWindow_ ? myWindow_->control(control) : nullptr) c->setDisabled(disabled);
}

// ---------------------------------------------------------------- events

EventResult WindowController::OnEvent() {
  const Event& e = event_;
  if (e.control == 0) {
    if (const EventResult rc = OnWindowEvent(); Handled(rc)) return rc;
  }
  EventResult rc = EventResult::Continue;
  switch (e.event) {
    case kEventAccepted: rc = OnAccepted(); break;
    case kEventNewSelection: rc = OnSelectionChanged(); break;
    case kEventRejected: rc = OnRejected(); break;
    case kEventSelected: rc = OnSelected(); break;
    case kEventAlertKey:
      if (e.key == kF6Key) {
        OnCalendarKey(e.control ? e.control : (myWindow_ ? myWindow_->focusedControl() : 0));
        rc = EventResult::Consumed;
      } else if (e.key == kF1Key) {
        // The toolbar's Help, and F1 where the window alerts it.
        ShowHelpForWindow(myWindow_ ? myWindow_->procedure() : std::string());
        rc = EventResult::Consumed;
      } else if (settings_.HISTORYKEY && e.key == settings_.HISTORYKEY) {
        RecallHistory(e.control ? e.control : lastFocused_);
        rc = EventResult::Consumed;
      }
      break;
    default: break;
  }
  if (Handled(rc)) return rc;
  if (e.control != 0) {
    if (const EventResult field = OnFieldEvent(); Handled(field)) return field;
  }
  for (const ComponentEntry& c : components_)
    if (c.window && Handled(c.window->TakeEvent())) break;
  if (settings_.AUTOREFRESH) {
    for (const ComponentEntry& c : components_)
      if (c.window && c.window->ResetRequired()) {
        Refresh();
        break;
      }
  }
  return EventResult::Continue;
}

EventResult WindowController::OnWindowEvent() {
  switch (event_.event) {
    case kEventCloseWindow:
    case kEventCloseDown:
      return OnCloseRequest();
    case kEventOpenWindow:
      if (!shown_) OnFirstShow();
      if (settings_.FIRSTFIELD && myWindow_) myWindow_->select(settings_.FIRSTFIELD);
      return EventResult::Continue;
    case kEventGainFocus:
      if (!shown_) OnFirstShow();
      else Refresh();
      return EventResult::Continue;
    case kEventNotify: return OnNotify();
    case kEventCompleted: return OnCompleted();
    default: return EventResult::Continue;
  }
}

EventResult WindowController::OnAccepted() {
  const int control = event_.control;
  if (const std::optional<ToolbarAction> action = toolbarAction(control)) {
    if (*action == ToolbarAction::History) {
      const int focused = myWindow_ ? myWindow_->focusedControl() : 0;
      RecallHistory(focused ? focused : lastFocused_);
      return EventResult::Consumed;
    }
    if (toolbar_ && toolbar_->TakeEvent(*action)) return EventResult::Consumed;
  }
  if (myWindow_ && control == myWindow_->number(kHelpUse)) {
    ShowHelpForWindow(myWindow_->procedure());
    return EventResult::Consumed;
  }
  for (const ButtonEntry& b : buttons_)
    if (b.control == control) {
      CloseWithResponse(b.response);
      return EventResult::Consumed;
    }
  if (settings_.OKCONTROL && control == settings_.OKCONTROL) {
    PostCompleted();
  } else if (settings_.SAVECONTROL && control == settings_.SAVECONTROL) {
    if (request_ == Request::Insert) SaveInsertAndStay();
    else if (request_ == Request::Change) SaveChangeAndStay();
  }
  return EventResult::Continue;
}

void WindowController::PostCompleted() {
  if (!myWindow_) return;
  if (request_ == Request::Insert || request_ == Request::Change) {
    if (ValidateAllControls(*myWindow_) != 0) {
      // A refused save navigates nowhere.
      if (vcrRequest_) *vcrRequest_ = 0;
      return;
    }
  }
  myWindow_->post(kEventCompleted);
}

EventResult WindowController::OnSelectionChanged() {
  const Control* c = myWindow_ ? myWindow_->control(event_.control) : nullptr;
  if (!c || c->kind() != ControlKind::Sheet) return EventResult::Continue;
  Refresh();
  if (settings_.AUTOTOOLBAR && toolbar_) toolbar_->SetTarget(0);
  return EventResult::Continue;
}

EventResult WindowController::OnRejected() {
  Beep(150, 16);
  // The typed text stays: showing the variable again would silently put back the old value.
  if (Control* c = myWindow_ ? myWindow_->control(event_.control) : nullptr) showRefusedInput(*myWindow_, *c);
  return EventResult::Consumed;
}

void WindowController::OnCalendarKey(int control) {
  Control* c = myWindow_ ? myWindow_->control(control) : nullptr;
  if (!c || c->readOnly() || c->disabled()) return;  // a read-only date is only shown
  const ControlKind kind = c->kind();
  if (kind == ControlKind::Entry || kind == ControlKind::Combo || kind == ControlKind::Spin) PickDateInto(*myWindow_, *c);
}

EventResult WindowController::OnFieldEvent() { return EventResult::Continue; }
EventResult WindowController::OnNotify() { return EventResult::Continue; }
EventResult WindowController::OnSelected() { return EventResult::Continue; }

}  // namespace vesp
