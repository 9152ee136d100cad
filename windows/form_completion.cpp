// The record side of the window controller: preparing the request, saving, deleting, the
// questions asked when a changed record is left, and the history (ditto) of field values.
#include <cstring>

#include "records/naming.h"
#include "records/relation_manager.h"
#include "runtime/gui/control.h"
#include "runtime/gui/threads.h"
#include "windows/feedback.h"
#include "windows/validation.h"
#include "windows/window_controller.h"

namespace vesp {

using namespace vrt;

namespace {
constexpr int kYesNoCancel = Button::Yes | Button::No | Button::Cancel;

// Deletes the primary record, asking first when `ask`: a record that others name says where,
// with No as the answer a stray Enter gives; any other gets the standard question.
Level deleteRecord(RelationManager& primary, bool ask) {
  if (!ask) return primary.Delete(false);
  const std::string named = NamedElsewhereQuestion(*primary.Me());
  if (named.empty()) return primary.Delete(true);
  errorManager().NoteMessageText(named);
  if (AskMessage(Msg::ConfirmDeleteNamed, Button::Yes | Button::No, Button::No) != Button::Yes) return Level::Cancel;
  return primary.Delete(false);
}

// Text typed into the field last focused is the user's, though the field was never left:
// the close box, File > Exit and the desktop's end take no focus from it. Taken into its
// variable; true when it does not fit there, which is a change all the same.
bool takeTypedText(Window* window, int control) {
  Control* c = window ? window->control(control) : nullptr;
  return c && c->modified() && !c->update();
}
}  // namespace

// ---------------------------------------------------------------- change detection

void WindowController::takeSnapshot() {
  releaseSnapshot();
  if (!settings_.PRIMARY || !settings_.PRIMARY->Me() || !settings_.PRIMARY->Me()->BUFFER()) return;
  saved_ = static_cast<std::uint16_t>(settings_.PRIMARY->Me()->PushBufferCopy());
  snapshot_ = *settings_.PRIMARY->Me()->BUFFER();
}

void WindowController::releaseSnapshot() {
  if (saved_ && settings_.PRIMARY && settings_.PRIMARY->Me()) {
    int id = saved_;
    settings_.PRIMARY->Me()->PopBufferCopy(id, false);
  }
  saved_ = 0;
  snapshot_.reset();
}

bool WindowController::RecordChanged() const {
  return snapshot_ && settings_.PRIMARY && settings_.PRIMARY->Me() && settings_.PRIMARY->Me()->BUFFER() && !(*settings_.PRIMARY->Me()->BUFFER() == *snapshot_);
}

// ---------------------------------------------------------------- before the loop

bool WindowController::PrepareRequest() {
  switch (request_) {
    case Request::Insert:
      if (settings_.INSERTACTION) {
        response_ = Response::Completed;
        PrimeNewRecord();
        if (response_ != Response::Completed) {
          // A refused priming must not leave the record that reserved its number behind.
          response_ = Response::Cancelled;
          closeAfterCancelledInsert();
          return false;
        }
        response_ = Response::Cancelled;
      }
      break;
    case Request::Delete:
      if (settings_.DELETEACTION == 2 || settings_.DELETEACTION == 4) {
        const Level rc = settings_.PRIMARY ? deleteRecord(*settings_.PRIMARY, settings_.DELETEACTION == 2) : Level::Program;
        response_ = rc == Level::Benign ? Response::Completed : Response::Cancelled;
        return false;
      }
      break;
    default: break;
  }
  takeSnapshot();
  return true;
}

// ---------------------------------------------------------------- saving

void WindowController::firstFieldAfterFailure() {
  if (vcrRequest_) *vcrRequest_ = 0;  // a refused save navigates nowhere
  if (myWindow_ && settings_.FIRSTFIELD) myWindow_->select(settings_.FIRSTFIELD);
}

EventResult WindowController::OnCompleted() {
  saveHistory();
  switch (request_) {
    case Request::Insert: CompleteInsert(); break;
    case Request::Change: CompleteChange(); break;
    case Request::Delete: CompleteDelete(); break;
    default: break;
  }
  return EventResult::Continue;
}

void WindowController::CompleteInsert() {
  if (!settings_.PRIMARY) return;
  if (settings_.PRIMARY->Insert() != Level::Benign) {
    firstFieldAfterFailure();
    return;
  }
  recordSaved_ = true;
  if (settings_.INSERTACTION == 2) CloseWithResponse(Response::Completed);
}

void WindowController::CompleteChange() {
  if (!settings_.PRIMARY) return;
  for (;;) {
    response_ = Response::Cancelled;
    const bool changed = RecordChanged();
    if (changed) {
      const Level rc = settings_.PRIMARY->Update(true);
      if (rc == Level::Ask) {
        const int answer = AskMessage(Msg::RetryUpdate, kYesNoCancel, Button::Yes);
        if (answer == Button::Yes) continue;
        if (answer == Button::No) {
          discardOnClose_ = true;  // asked already: closing asks nothing more
          CloseWithResponse(Response::Cancelled);
        } else {
          firstFieldAfterFailure();
        }
        return;
      }
      if (rc != Level::Benign) {
        // The stored record is in the buffer now (another station changed it): it is the
        // new reference, and the user's own values are in the history.
        if (rc == Level::Notify) takeSnapshot();
        if (myWindow_) myWindow_->display();
        firstFieldAfterFailure();
        return;
      }
      recordSaved_ = true;
      takeSnapshot();
    }
    const bool vcrPending = vcrRequest_ && *vcrRequest_ != 0;
    if (changed || !vcrPending) response_ = Response::Completed;
    if (settings_.CHANGEACTION == 2 && myWindow_) myWindow_->post(kEventCloseWindow);
    return;
  }
}

void WindowController::CompleteDelete() {
  if (!settings_.PRIMARY) return;
  response_ = Response::Cancelled;
  // The relation manager asks whether to try again itself.
  const Level rc = deleteRecord(*settings_.PRIMARY, settings_.DELETEACTION == 2);
  if (rc == Level::Benign) CloseWithResponse(Response::Completed);
  else if (rc != Level::Cancel) CloseWithResponse(Response::Cancelled);
  // The user declined the deletion: back to the form, nothing was deleted.
}

void WindowController::SaveChangeAndStay() {
  if (!settings_.PRIMARY || !myWindow_ || ValidateAllControls(*myWindow_) != 0) return;
  saveHistory();
  if (RecordChanged() && settings_.PRIMARY->Update(true) != Level::Benign) {
    myWindow_->display();
    firstFieldAfterFailure();
    return;
  }
  response_ = Response::Completed;
  takeSnapshot();
}

void WindowController::SaveInsertAndStay() {
  if (!settings_.PRIMARY || !myWindow_ || ValidateAllControls(*myWindow_) != 0) return;
  saveHistory();
  FileManager& file = *settings_.PRIMARY->Me();
  if (settings_.PRIMARY->Insert() != Level::Benign) {
    firstFieldAfterFailure();
    return;
  }
  response_ = Response::Completed;
  lastInsertedPosition_ = file.Position();
  static_cast<void>(file.ClearForInsert());
  PrimeNewRecord();
  takeSnapshot();
  myWindow_->display();
  if (settings_.FIRSTFIELD) myWindow_->select(settings_.FIRSTFIELD);
}

// ---------------------------------------------------------------- leaving

EventResult WindowController::saveForUser() {
  if (myWindow_ && ValidateAllControls(*myWindow_) != 0) return EventResult::Consumed;
  static_cast<void>(OnCompleted());  // a save that fails leaves the window open: consumed either way
  return EventResult::Consumed;
}

bool WindowController::closeAfterCancelledInsert() {
  if (!settings_.PRIMARY || !settings_.PRIMARY->Me() || !settings_.PRIMARY->Me()->AUTOINCDONE()) return true;
  if (settings_.PRIMARY->Delete(false) != Level::Benign) return false;
  settings_.PRIMARY->Me()->GiveUpReservedNumber();
  return true;
}

EventResult WindowController::OnCloseRequest() {
  if (response_ == Response::Completed || !settings_.PRIMARY) return EventResult::Continue;
  const bool editing = request_ == Request::Insert || request_ == Request::Change;
  // Closed down, nothing can be asked any more; a new record still gives back its number
  // below rather than stay behind empty.
  const bool closingDown = event_.event == kEventCloseDown || ClosingDown();
  const bool refusedText = editing && !closingDown && takeTypedText(myWindow_, lastFocused_);
  if (settings_.CANCELACTION && editing && !discardOnClose_ && !closingDown && (refusedText || RecordChanged())) {
    const bool saves = settings_.CANCELACTION & kCancelSaves;
    const bool asks = settings_.CANCELACTION & kCancelAsks;
    if (saves && !asks) return saveForUser();
    if (saves) {
      const int answer = AskMessage(Msg::ConfirmSave, kYesNoCancel, Button::Yes);
      if (answer == Button::Yes) return saveForUser();
      if (answer != Button::No) return EventResult::Consumed;
    } else if (errors_->Raise(Msg::ConfirmCancel) != Level::Benign) {
      return EventResult::Consumed;
    }
  }
  if (request_ == Request::Insert && response_ != Response::Completed) {
    response_ = Response::Cancelled;
    if (!closeAfterCancelledInsert()) return EventResult::Consumed;
  }
  if (!lastInsertedPosition_.empty()) {
    response_ = Response::Completed;
    static_cast<void>(settings_.PRIMARY->Me()->RereadAt(lastInsertedPosition_));
  }
  return EventResult::Continue;
}

// ---------------------------------------------------------------- history

void WindowController::saveHistory() {
  for (auto& [table, buffer] : historyBuffers_) *buffer = *table->BUFFER();
  historySaved_ = !historyBuffers_.empty();
}

void WindowController::RecallHistory(int control) {
  if (!historySaved_ || !myWindow_) return;
  for (const HistoryEntry& h : history_) {
    if (h.control != control) continue;
    const auto& fields = h.table->FILE()->schema().fields;
    const FieldDesc& from = fields[static_cast<std::size_t>(h.historyField)];
    const FieldDesc& to = fields[static_cast<std::size_t>(h.liveField)];
    std::memcpy(h.live->data() + to.offset, h.history->data() + from.offset, std::min(from.size, to.size));
    if (Control* c = myWindow_->control(control)) c->display();
    return;
  }
}

}  // namespace vesp
