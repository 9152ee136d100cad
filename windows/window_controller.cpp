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

void WindowController::AddItem(WindowComponent& component) { CL.push_back({0, &component, nullptr}); }
void WindowController::AddItem(FileComponent& component) { CL.push_back({1, nullptr, &component}); }

void WindowController::AddItem(Toolbar& toolbar) {
  TOOLBAR = &toolbar;
  toolbar.Init();
}

void WindowController::AddItem(FormToolbarTarget& target) {
  target.REQUEST = ORIGINALREQUEST;
  target.HISTORY = HISTORYKEY != 0 && !HISTORY.empty();
  target.WINDOW = this;
  formTarget_ = &target;
  if (!TOOLBAR) return;
  TOOLBAR->AddTarget(target, -1);
  TOOLBAR->SetTarget(-1);
}

void WindowController::AddItem(int control, Response response) { BUTTONS.push_back({control, response}); }

void WindowController::AddUpdateFile(FileManager& file) { FILES.push_back({&file, 0}); }

void WindowController::AddHistoryField(int control, int liveField, int historyField) {
  if (!PRIMARY || !PRIMARY->Me) return;
  FileManager& table = *PRIMARY->Me;
  HISTORY.push_back({&historyBufferFor(table), historyField, table.BUFFER, liveField, control, &table});
}

vrt::RecordBuffer& WindowController::historyBufferFor(FileManager& table) {
  for (auto& [file, buffer] : historyBuffers_)
    if (file == &table) return *buffer;
  historyBuffers_.emplace_back(&table, std::make_unique<vrt::RecordBuffer>(*table.BUFFER));
  return *historyBuffers_.back().second;
}

// ---------------------------------------------------------------- life cycle

bool WindowController::Setup() {
  ThreadGlobals& globals = threadGlobals();
  REQUEST = globals.GlobalRequest;
  ORIGINALREQUEST = REQUEST;
  BUTTONS.clear();
  CL.clear();
  INSERTACTION = 2;
  DELETEACTION = 2;
  CHANGEACTION = 2;
  CANCELACTION = kCancelSaves | kCancelAsks;
  AUTOTOOLBAR = true;
  AUTOREFRESH = true;
  ERRORS = &errorManager();
  VCRREQUEST = &globals.VCRRequest;
  RESPONSE = Response::None;
  setUp_ = true;
  shutDown_ = false;
  return true;
}

void WindowController::Shutdown() {
  if (!setUp_ || shutDown_) return;
  shutDown_ = true;
  for (const ComponentEntry& c : CL)
    if (c.window) c.window->Shutdown();
  CL.clear();
  BUTTONS.clear();
  for (FileEntry& f : FILES) f.file->PopBufferCopy(f.saved, false);
  FILES.clear();
  releaseSnapshot();
  if (TOOLBAR) TOOLBAR->Kill();
  TOOLBAR = nullptr;
  HISTORY.clear();
  historyBuffers_.clear();
}

Response WindowController::Execute() {
  if (Setup()) RunEventLoop();
  Shutdown();
  if (RESPONSE == Response::None) RESPONSE = Response::Cancelled;
  threadGlobals().GlobalResponse = RESPONSE;
  return RESPONSE;
}

void WindowController::OpenWindow(vrt::Window& window) {
  MYWINDOW = &window;
  ArmKeys();
  window.open();
  OPENED = true;
}

void WindowController::OnFirstShow() {
  // The toolbar drives the window from the moment it shows, not only after a tab change.
  if (TOOLBAR && !TOOLBAR->CURRENT) TOOLBAR->SetTarget(0);
  Refresh();
  INITED |= 1;
}

void WindowController::RunEventLoop() {
  if (!MYWINDOW) return;
  LASTINSERTEDPOSITION.clear();
  ExitListener exit(*MYWINDOW, PRIMARY != nullptr);
  for (;;) {
    event_ = MYWINDOW->accept();
    if (event_.event == kEventSelected) lastFocused_ = event_.control;
    if (event_.event == kEventExitSettled) {
      exit.Stays();
      continue;
    }
    // Leaving the program closes the window the way the user's close does: the same
    // questions, the same answers.
    const bool exitRequest = event_.event == kEventExitRequest;
    if (exitRequest) {
      ExitListener::BringToFront(*MYWINDOW);
      event_ = Event{kEventCloseWindow, 0, MYWINDOW->id(), 0, 0};
    }
    const EventResult rc = OnEvent();
    // Staying, unless what the answer set off (a save) closes the window: the events that
    // do that come before this note.
    if (exitRequest && rc == EventResult::Consumed) MYWINDOW->post(kEventExitSettled);
    if (rc == EventResult::EndLoop || event_.event == kEventCloseDown) break;
    if (event_.event == kEventCloseWindow && rc != EventResult::Consumed) break;
  }
}

void WindowController::PrimeNewRecord() {}

void WindowController::Refresh(bool force) {
  if (ValidatingAllControls()) return;
  for (const ComponentEntry& c : CL)
    if (c.window) c.window->Reset(force || FORCEDRESET);
  for (const ComponentEntry& c : CL)
    if (c.file && c.file->Changed()) c.file->Reread();
  for (const ComponentEntry& c : CL)
    if (c.window) c.window->RefreshControls();
  if (MYWINDOW) MYWINDOW->display();
  if (TOOLBAR) TOOLBAR->DisplayButtons();
  FORCEDRESET = false;
}

Response WindowController::RunProcedure(const Procedure& procedure, Request request) {
  return CallProcedure(request, procedure);
}

Response WindowController::CallProcedure(Request request, const Procedure& procedure) {
  if (REQUEST == Request::View || !procedure) return Response::Cancelled;  // a list with no form calls nothing
  ThreadGlobals& globals = threadGlobals();
  globals.GlobalRequest = request;
  globals.GlobalResponse = Response::None;
  globals.VCRRequest = 0;
  procedure();
  // The called form leaves the toolbar action it was closed with in the thread's value; a
  // caller that watches its own (a browse running its form) gets it there.
  if (VCRREQUEST && VCRREQUEST != &globals.VCRRequest) *VCRREQUEST = globals.VCRRequest;
  return globals.GlobalResponse;
}

void WindowController::ArmKeys() {
  if (MYWINDOW && !MYWINDOW->alerted(kF6Key)) MYWINDOW->alert(kF6Key);  // the calendar, in every window
  for (const ComponentEntry& c : CL)
    if (c.window) c.window->ArmKeys();
  if (!HISTORYKEY || !MYWINDOW) return;
  for (const HistoryEntry& h : HISTORY)
    if (Control* c = MYWINDOW->control(h.control)) c->alert(HISTORYKEY);
}

void WindowController::CloseWithResponse(Response response) {
  RESPONSE = response;
  if (response == Response::Cancelled && VCRREQUEST) *VCRREQUEST = 0;
  if (MYWINDOW) MYWINDOW->post(kEventCloseWindow);
}

void WindowController::SaveControls() {
  for (const ComponentEntry& c : CL)
    if (c.window) c.window->SaveControls();
}

void WindowController::SetControlDisabled(int control, bool disabled) {
  if (Control* c = MYWINDOW ? MYWINDOW->control(control) : nullptr) c->setDisabled(disabled);
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
        OnCalendarKey(e.control ? e.control : (MYWINDOW ? MYWINDOW->focusedControl() : 0));
        rc = EventResult::Consumed;
      } else if (e.key == kF1Key) {
        // The toolbar's Help, and F1 where the window alerts it.
        ShowHelpForWindow(MYWINDOW ? MYWINDOW->procedure() : std::string());
        rc = EventResult::Consumed;
      } else if (HISTORYKEY && e.key == HISTORYKEY) {
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
  for (const ComponentEntry& c : CL)
    if (c.window && Handled(c.window->TakeEvent())) break;
  if (AUTOREFRESH) {
    for (const ComponentEntry& c : CL)
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
      if (!(INITED & 1)) OnFirstShow();
      if (FIRSTFIELD && MYWINDOW) MYWINDOW->select(FIRSTFIELD);
      return EventResult::Continue;
    case kEventGainFocus:
      if (!(INITED & 1)) OnFirstShow();
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
      const int focused = MYWINDOW ? MYWINDOW->focusedControl() : 0;
      RecallHistory(focused ? focused : lastFocused_);
      return EventResult::Consumed;
    }
    if (TOOLBAR && TOOLBAR->TakeEvent(*action)) return EventResult::Consumed;
  }
  if (MYWINDOW && control == MYWINDOW->number(kHelpUse)) {
    ShowHelpForWindow(MYWINDOW->procedure());
    return EventResult::Consumed;
  }
  for (const ButtonEntry& b : BUTTONS)
    if (b.control == control) {
      CloseWithResponse(b.response);
      return EventResult::Consumed;
    }
  if (OKCONTROL && control == OKCONTROL) {
    PostCompleted();
  } else if (SAVECONTROL && control == SAVECONTROL) {
    if (REQUEST == Request::Insert) SaveInsertAndStay();
    else if (REQUEST == Request::Change) SaveChangeAndStay();
  }
  return EventResult::Continue;
}

void WindowController::PostCompleted() {
  if (!MYWINDOW) return;
  if (REQUEST == Request::Insert || REQUEST == Request::Change) {
    if (ValidateAllControls(*MYWINDOW) != 0) {
      // A refused save navigates nowhere.
      if (VCRREQUEST) *VCRREQUEST = 0;
      return;
    }
  }
  MYWINDOW->post(kEventCompleted);
}

EventResult WindowController::OnSelectionChanged() {
  const Control* c = MYWINDOW ? MYWINDOW->control(event_.control) : nullptr;
  if (!c || c->kind() != ControlKind::Sheet) return EventResult::Continue;
  Refresh();
  if (AUTOTOOLBAR && TOOLBAR) TOOLBAR->SetTarget(0);
  return EventResult::Continue;
}

EventResult WindowController::OnRejected() {
  Beep(150, 16);
  // The typed text stays: showing the variable again would silently put back the old value.
  if (Control* c = MYWINDOW ? MYWINDOW->control(event_.control) : nullptr) showRefusedInput(*MYWINDOW, *c);
  return EventResult::Consumed;
}

void WindowController::OnCalendarKey(int control) {
  Control* c = MYWINDOW ? MYWINDOW->control(control) : nullptr;
  if (!c || c->readOnly() || c->disabled()) return;  // a read-only date is only shown
  const ControlKind kind = c->kind();
  if (kind == ControlKind::Entry || kind == ControlKind::Combo || kind == ControlKind::Spin) PickDateInto(*MYWINDOW, *c);
}

EventResult WindowController::OnFieldEvent() { return EventResult::Continue; }
EventResult WindowController::OnNotify() { return EventResult::Continue; }
EventResult WindowController::OnSelected() { return EventResult::Continue; }

}  // namespace vesp
