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
int deleteRecord(RelationManager& primary, bool ask) {
  if (!ask) return primary.Delete(false);
  const std::string named = NamedElsewhereQuestion(*primary.Me);
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
  if (!PRIMARY || !PRIMARY->Me || !PRIMARY->Me->BUFFER) return;
  SAVED = static_cast<std::uint16_t>(PRIMARY->Me->PushBufferCopy());
  snapshot_ = *PRIMARY->Me->BUFFER;
}

void WindowController::releaseSnapshot() {
  if (SAVED && PRIMARY && PRIMARY->Me) {
    int id = SAVED;
    PRIMARY->Me->PopBufferCopy(id, false);
  }
  SAVED = 0;
  snapshot_.reset();
}

bool WindowController::RecordChanged() const {
  return snapshot_ && PRIMARY && PRIMARY->Me && PRIMARY->Me->BUFFER && !(*PRIMARY->Me->BUFFER == *snapshot_);
}

// ---------------------------------------------------------------- before the loop

bool WindowController::PrepareRequest() {
  for (FileEntry& f : FILES) f.saved = f.file->PushBufferCopy();
  switch (REQUEST) {
    case Request::Insert:
      if (INSERTACTION) {
        RESPONSE = Response::Completed;
        PrimeNewRecord();
        if (RESPONSE != Response::Completed) {
          // A refused priming must not leave the record that reserved its number behind.
          RESPONSE = Response::Cancelled;
          closeAfterCancelledInsert();
          return false;
        }
        RESPONSE = Response::Cancelled;
      }
      break;
    case Request::Delete:
      if (DELETEACTION == 2 || DELETEACTION == 4) {
        const int rc = PRIMARY ? deleteRecord(*PRIMARY, DELETEACTION == 2) : Level::Program;
        RESPONSE = rc == Level::Benign ? Response::Completed : Response::Cancelled;
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
  if (VCRREQUEST) *VCRREQUEST = 0;  // a refused save navigates nowhere
  if (MYWINDOW && FIRSTFIELD) MYWINDOW->select(FIRSTFIELD);
}

EventResult WindowController::OnCompleted() {
  saveHistory();
  switch (REQUEST) {
    case Request::Insert: CompleteInsert(); break;
    case Request::Change: CompleteChange(); break;
    case Request::Delete: CompleteDelete(); break;
    default: break;
  }
  return EventResult::Continue;
}

void WindowController::CompleteInsert() {
  if (!PRIMARY) return;
  if (PRIMARY->Insert() != Level::Benign) {
    firstFieldAfterFailure();
    return;
  }
  RECORDSAVED = true;
  if (INSERTACTION == 2) CloseWithResponse(Response::Completed);
}

void WindowController::CompleteChange() {
  if (!PRIMARY) return;
  for (;;) {
    RESPONSE = Response::Cancelled;
    const bool changed = RecordChanged();
    if (changed) {
      const int rc = PRIMARY->Update(true);
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
        if (MYWINDOW) MYWINDOW->display();
        firstFieldAfterFailure();
        return;
      }
      RECORDSAVED = true;
      takeSnapshot();
    }
    const bool vcrPending = VCRREQUEST && *VCRREQUEST != 0;
    if (changed || !vcrPending) RESPONSE = Response::Completed;
    if (CHANGEACTION == 2 && MYWINDOW) MYWINDOW->post(kEventCloseWindow);
    return;
  }
}

void WindowController::CompleteDelete() {
  if (!PRIMARY) return;
  RESPONSE = Response::Cancelled;
  // The relation manager asks whether to try again itself.
  const int rc = deleteRecord(*PRIMARY, DELETEACTION == 2);
  if (rc == Level::Benign) CloseWithResponse(Response::Completed);
  else if (rc != Level::Cancel) CloseWithResponse(Response::Cancelled);
  // The user declined the deletion: back to the form, nothing was deleted.
}

void WindowController::SaveChangeAndStay() {
  if (!PRIMARY || !MYWINDOW || ValidateAllControls(*MYWINDOW) != 0) return;
  saveHistory();
  if (RecordChanged() && PRIMARY->Update(true) != Level::Benign) {
    MYWINDOW->display();
    firstFieldAfterFailure();
    return;
  }
  RESPONSE = Response::Completed;
  takeSnapshot();
}

void WindowController::SaveInsertAndStay() {
  if (!PRIMARY || !MYWINDOW || ValidateAllControls(*MYWINDOW) != 0) return;
  saveHistory();
  FileManager& file = *PRIMARY->Me;
  if (PRIMARY->Insert() != Level::Benign) {
    firstFieldAfterFailure();
    return;
  }
  RESPONSE = Response::Completed;
  LASTINSERTEDPOSITION = file.Position();
  file.ClearForInsert();
  PrimeNewRecord();
  takeSnapshot();
  MYWINDOW->display();
  if (FIRSTFIELD) MYWINDOW->select(FIRSTFIELD);
}

// ---------------------------------------------------------------- leaving

EventResult WindowController::saveForUser() {
  if (MYWINDOW && ValidateAllControls(*MYWINDOW) != 0) return EventResult::Consumed;
  static_cast<void>(OnCompleted());  // a save that fails leaves the window open: consumed either way
  return EventResult::Consumed;
}

bool WindowController::closeAfterCancelledInsert() {
  if (!PRIMARY || !PRIMARY->Me || !PRIMARY->Me->AUTOINCDONE) return true;
  if (PRIMARY->Delete(false) != Level::Benign) return false;
  PRIMARY->Me->AUTOINCDONE = false;
  return true;
}

EventResult WindowController::OnCloseRequest() {
  if (RESPONSE == Response::Completed || !PRIMARY) return EventResult::Continue;
  const bool editing = REQUEST == Request::Insert || REQUEST == Request::Change;
  // Closed down, nothing can be asked any more; a new record still gives back its number
  // below rather than stay behind empty.
  const bool closingDown = event_.event == kEventCloseDown || ClosingDown();
  const bool refusedText = editing && !closingDown && takeTypedText(MYWINDOW, lastFocused_);
  if (CANCELACTION && editing && !discardOnClose_ && !closingDown && (refusedText || RecordChanged())) {
    const bool saves = CANCELACTION & kCancelSaves;
    const bool asks = CANCELACTION & kCancelAsks;
    if (saves && !asks) return saveForUser();
    if (saves) {
      const int answer = AskMessage(Msg::ConfirmSave, kYesNoCancel, Button::Yes);
      if (answer == Button::Yes) return saveForUser();
      if (answer != Button::No) return EventResult::Consumed;
    } else if (ERRORS->Raise(Msg::ConfirmCancel) != Level::Benign) {
      return EventResult::Consumed;
    }
  }
  if (REQUEST == Request::Insert && RESPONSE != Response::Completed) {
    RESPONSE = Response::Cancelled;
    if (!closeAfterCancelledInsert()) return EventResult::Consumed;
  }
  if (!LASTINSERTEDPOSITION.empty()) {
    RESPONSE = Response::Completed;
    PRIMARY->Me->RereadAt(LASTINSERTEDPOSITION);
  }
  return EventResult::Continue;
}

// ---------------------------------------------------------------- history

void WindowController::saveHistory() {
  for (auto& [table, buffer] : historyBuffers_) *buffer = *table->BUFFER;
  historySaved_ = !historyBuffers_.empty();
}

void WindowController::RecallHistory(int control) {
  if (!historySaved_ || !MYWINDOW) return;
  for (const HistoryEntry& h : HISTORY) {
    if (h.control != control) continue;
    const auto& fields = h.table->FILE->schema().fields;
    const FieldDesc& from = fields[static_cast<std::size_t>(h.historyField)];
    const FieldDesc& to = fields[static_cast<std::size_t>(h.liveField)];
    std::memcpy(h.live->data() + to.offset, h.history->data() + from.offset, std::min(from.size, to.size));
    if (Control* c = MYWINDOW->control(control)) c->display();
    return;
  }
}

}  // namespace vesp
