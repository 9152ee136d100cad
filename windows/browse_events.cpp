// The browse as a component of its window: its buttons, keys, popup menu and toolbar
// target, and the form it runs for insert, change, delete and view.
#include <algorithm>
#include <utility>

#include "records/levels.h"
#include "records/messages.h"
#include "runtime/gui/control.h"
#include "runtime/gui/paged_list.h"
#include "runtime/text/search_words.h"
#include "runtime/text/utf8.h"
#include "runtime/gui/events.h"
#include "runtime/gui/window.h"
#include "windows/browse_export.h"
#include "windows/browse_manager.h"
#include "windows/control_names.h"
#include "windows/screen_conventions.h"
#include "windows/window_controller.h"

namespace vesp {

using namespace vrt;

namespace {

struct PopupEntryDecl {
  const char* name;
  const char* text;
  int BrowseManager::Settings::*control;
  int key;
};
constexpr PopupEntryDecl kRecordEntries[] = {
    {"Insert", "!&Insert", &BrowseManager::Settings::INSERTCONTROL, kInsertKey},
    {"Change", "!&Change", &BrowseManager::Settings::CHANGECONTROL, kCtrlEnter},
    {"Delete", "!&Delete", &BrowseManager::Settings::DELETECONTROL, kDeleteKey},
    {"View", "!&View", &BrowseManager::Settings::VIEWCONTROL, kShiftEnter},
};

}  // namespace

static Window* browseWindow(const BrowseManager& b) { return b.WINDOW() ? b.WINDOW()->MYWINDOW() : nullptr; }

// Whether the list's last click hit its column headings rather than a row.
static bool clickedHeader(const BrowseManager& b) {
  Window* window = browseWindow(b);
  Control* c = window && b.ILC() ? window->control(b.ILC()->Control()) : nullptr;
  PagedList* list = c ? c->list() : nullptr;
  return list && list->lastClick().header;
}

void BrowseManager::AttachLocator(std::unique_ptr<Locator> locator) {
  if (locator) locator->Init(*this, locator->CONTROL, CurrentOrder().FREEELEMENT, locator->NOCASE);
  currentSort().LOCATOR = std::move(locator);
}

void BrowseManager::AttachToolbar(Toolbar& toolbar) {
  toolbarItem_.CONTROL = ilc_->Control();
  toolbarItem_.BROWSE = this;
  toolbarItem_.WINDOW = controller_;
  toolbarItem_.INSERTBUTTON = settings_.INSERTCONTROL;
  toolbarItem_.CHANGEBUTTON = settings_.CHANGECONTROL;
  toolbarItem_.DELETEBUTTON = settings_.DELETECONTROL;
  toolbarItem_.SELECTBUTTON = settings_.SELECTCONTROL;
  if (controller_ && controller_->MYWINDOW()) toolbarItem_.HELPBUTTON = controller_->MYWINDOW()->number(kHelpUse);
  toolbar.AddTarget(toolbarItem_, ilc_->Control());
}

void BrowseManager::Shutdown() {
  hearing_.stop();
  for (BrowseOrder& o : sorts_) {
    if (o.LOCATOR) o.LOCATOR->Destroy();
    o.LOCATOR.reset();
    o.THUMB.reset();
  }
  popup_.Kill();
  if (savedBuffer_) PRIMARY()->Me()->PopBufferCopy(savedBuffer_, false);
  ViewManager::Shutdown();
}

void BrowseManager::ArmKeys() {
  Window* window = browseWindow(*this);
  if (!window) return;
  Control* list = window->control(ilc_->Control());
  if (list) {
    for (int key : {kMouseLeft2, kMouseRight, kInsertKey, kDeleteKey, kCtrlEnter, kShiftEnter, kEnterKey}) list->alert(key);
    // Typed characters go to the locator; a range of key codes would also take the paging
    // and arrow keys, whose codes lie among the printable ones.
    list->alertCharacters(true);
  }
  // Enter in a locator's entry locates, and presses no default button (a look-up's Select).
  for (const BrowseOrder& o : sorts_)
    if (o.LOCATOR && o.LOCATOR->CONTROL)
      if (Control* entry = window->control(o.LOCATOR->CONTROL)) entry->alert(kEnterKey);
  popup_.Init(window);
  if (settings_.EDITVIAPOPUP)
    for (const PopupEntryDecl& e : kRecordEntries)
      if (settings_.*e.control) popup_.AddItemMimic(e.name, settings_.*e.control, e.text);
  if (settings_.SELECTING && settings_.SELECTCONTROL) popup_.AddItemMimic("Select", settings_.SELECTCONTROL, "!&Select");
  if (popup_.GetItems() > 0) popup_.AddSeparator();
  popup_.SetText(popup_.AddItemEvent(kExportItemName, kEventExportToCsv, ilc_->Control()), kExportItemText);
}

void BrowseManager::pressIfUsable(int control) {
  Window* window = browseWindow(*this);
  if (!window || !control) return;
  Control* c = window->control(control);
  if (c && !c->disabled() && !c->hidden()) window->post(kEventAccepted, control);
}

void BrowseManager::refreshButtons() {
  Window* window = browseWindow(*this);
  if (!window) return;
  const bool rows = listQueue_->Records() > 0;
  for (int control : {settings_.CHANGECONTROL, settings_.DELETECONTROL, settings_.VIEWCONTROL})
    if (Control* c = window->control(control)) c->setDisabled(!rows);
  if (Control* select = window->control(settings_.SELECTCONTROL)) {
    if (settings_.SELECTING) {
      select->setHidden(false);
      select->setDisabled(!(rows && controller_ && controller_->ORIGINALREQUEST() == Request::Select));
      select->setDefault(true);
    } else if (settings_.HIDESELECT) {
      select->setDisabled(true);
      select->setHidden(true);
    }
  }
  if (Locator* locator = currentSort().LOCATOR.get(); locator && locator->CONTROL)
    if (Control* entry = window->control(locator->CONTROL)) {
      entry->setText(locator->Display());
      entry->setDisabled(!rows);
    }
  if (Toolbar* toolbar = controller_ ? controller_->TOOLBAR() : nullptr; toolbar && toolbar->CURRENT == &toolbarItem_) toolbar->DisplayButtons();
}

// ---------------------------------------------------------------- filling by order

bool BrowseManager::ChooseOrderAndFill(int number, bool force) {
  // Another order starts at the highlighted record: read it whole while the old order still
  // knows where it is, so the new order can find it by all of its values.
  const bool toAnotherOrder = (number == 0 ? 1 : number) != CurrentOrderNumber();
  const bool keepHighlight = toAnotherOrder && filledOnce_ && !loadPending_ && OPENED() &&
                             listQueue_->Records() > 0 && RereadHighlighted();
  const bool sortChanged = SelectOrder(number);
  bool filled = false;
  if (RefreshLimits() || sortChanged || force || !loaded_ || loadPending_) {
    if (std::exchange(rangeMoved_, false)) {
      listQueue_->Free();
      currentChoice_ = 1;
    }
    if (!OPENED()) OpenView();
    else {
      PushOrder();
      PushFilter();
    }
    if (!settings_.SELECTING || filledOnce_) {
      if (listQueue_->Records() > 0 && !sortChanged) {
        FillPage(kFromHighlight);
      } else if (keepHighlight && sortChanged && VIEW()->resetToBuffer()) {
        FillPage(kFromView);
      } else {
        listQueue_->Free();
        FillPage(kFromHighlight);
      }
    } else {
      // A look-up opens on the record its caller read; or, when the caller named none that
      // exists, near the values it left in the buffer.
      if (!(startAtRead_ && VIEW()->resetToBuffer())) {
        componentsAfterFreeElementToStart();
        if (!VIEW()->resetToBuffer(true)) Reposition();
      }
      FillPage(kFromView);
    }
    if (!loadPending_) {
      filledOnce_ = true;
      stepLimitsSet_ = false;
      filled = true;
    }
  }
  LoadRowIntoRecord();
  if (filled) RefreshControls();
  return filled;
}

// ---------------------------------------------------------------- the form

bool BrowseManager::ReportVanishedRecord() {
  PRIMARY()->Me()->ERRORS()->NoteFile(PRIMARY()->Me()->FILENAMEVALUE());
  static_cast<void>(PRIMARY()->Me()->ERRORS()->Raise(Msg::RecordChangedOrDeleted));
  return true;
}

bool BrowseManager::RereadHighlighted() {
  if (listQueue_->Records() == 0) return false;
  if (ilc_->Choice() > 0) currentChoice_ = ilc_->Choice();
  const std::string& position = listQueue_->GetViewPosition(std::clamp(currentChoice_, 1, listQueue_->Records()));
  if (VIEW()->resetTo(position) && ReadNext() == ReadResult::Ok && VIEW()->position() == position) {
    PRIMARY()->Me()->FILE()->watch();
    return true;
  }
  needRefresh_ = ReportVanishedRecord();
  return false;
}

void BrowseManager::RefreshAtRecord() {
  if (!OPENED()) OpenView();
  if (!VIEW()->resetToBuffer()) Reposition();
  FillPage(kFromView);
}

Response BrowseManager::RunForm(Request request) {
  Response response = Response::Cancelled;
  std::int32_t vcr = 0;
  if (controller_) controller_->LeaveNavigationIn(&vcr);
  do {
    vcr = 0;
    if (!settings_.ASKPROCEDURE || !controller_) break;
    if (request == Request::Insert) {
      if (PrepareNewRecord() != Level::Benign) {
        response = Response::Cancelled;
        break;
      }
    } else if (!RereadHighlighted()) {
      FillPage(kFromHighlight);
      RefreshControls();
      break;
    }
    response = controller_->RunProcedure(settings_.ASKPROCEDURE, request);
    RefreshAfterForm(request, response);
    const std::optional<ToolbarAction> next = toolbarAction(vcr);
    if (next == ToolbarAction::Insert || (next == ToolbarAction::Down && request == Request::Insert))
      request = Request::Insert;
  } while (vcr != 0);
  if (controller_) controller_->LeaveNavigationIn(nullptr);
  return response;
}

void BrowseManager::RefreshAfterForm(Request request, Response response) {
  // The form's toolbar navigation, if it ended by one.
  const std::optional<ToolbarAction> vcr = toolbarAction(controller_ && controller_->VCRREQUEST() ? *controller_->VCRREQUEST() : 0);
  if (response == Response::Completed) {
    bool leaves = request == Request::Delete;
    if (!leaves && request == Request::Change) {
      // A change that takes the record out of the filter removes its row: reading from the
      // record's place then yields another record, or none.
      const std::int64_t changed = PRIMARY()->Me()->FILE()->currentRowid();
      SaveTableBuffers();
      leaves = !(VIEW()->resetToBuffer() && ReadNext() == ReadResult::Ok && PRIMARY()->Me()->FILE()->currentRowid() == changed);
      RestoreTableBuffers();
    }
    if (leaves) {
      if (listQueue_->Records() >= currentChoice_ && currentChoice_ > 0) listQueue_->Delete(currentChoice_);
      FillPage(kFromHighlight);
    } else {
      RefreshAtRecord();
    }
  } else {
    FillPage(kFromHighlight);
  }
  if (vcr == ToolbarAction::Insert || (vcr == ToolbarAction::Down && request == Request::Insert)) {
    PRIMARY()->Me()->BUFFER()->clearAll(PRIMARY()->Me()->FILE()->schema().fields);
  } else if (vcr) {
    OnToolbarScroll(*vcr);
    return;
  }
  RefreshControls();
  LoadRowIntoRecord();
  if (Window* window = browseWindow(*this)) window->select(ilc_->Control());
}

void BrowseManager::OnToolbarScroll(ToolbarAction action) {
  static constexpr std::pair<ToolbarAction, int> kScrolls[] = {
      {ToolbarAction::Bottom, kEventScrollBottom}, {ToolbarAction::Top, kEventScrollTop},
      {ToolbarAction::PageDown, kEventPageDown},   {ToolbarAction::PageUp, kEventPageUp},
      {ToolbarAction::Down, kEventScrollDown},     {ToolbarAction::Up, kEventScrollUp}};
  for (const auto& [a, e] : kScrolls)
    if (a == action) OnScroll(e);
}

// ---------------------------------------------------------------- events

void BrowseManager::locateAndRefill() {
  componentsAfterFreeElementToStart();
  if (!OPENED()) OpenView();
  if (!VIEW()->resetToBuffer(true)) Reposition();
  FillPage(kFromView);
  RefreshControls();
}

EventResult BrowseManager::OnKey(int key, int character) {
  const bool rows = listQueue_->Records() > 0;
  switch (key) {
    case kMouseRight:
      OnHighlightMoved();
      if (settings_.USEPOPUP) popup_.Ask();
      return EventResult::Consumed;
    case kMouseLeft2:
      if (rows && !clickedHeader(*this)) pressIfUsable(settings_.SELECTING ? settings_.SELECTCONTROL : settings_.CHANGECONTROL);
      return EventResult::Consumed;
    case kInsertKey: pressIfUsable(settings_.INSERTCONTROL); return EventResult::Consumed;
    case kCtrlEnter:
    case kEnterKey:
      if (rows) pressIfUsable(settings_.SELECTING && key == kEnterKey ? settings_.SELECTCONTROL : settings_.CHANGECONTROL);
      return EventResult::Consumed;
    case kDeleteKey:
      if (rows) pressIfUsable(settings_.DELETECONTROL);
      return EventResult::Consumed;
    case kShiftEnter:
      if (rows) pressIfUsable(settings_.VIEWCONTROL);
      return EventResult::Consumed;
    default: break;
  }
  Locator* locator = currentSort().LOCATOR.get();
  const char32_t typed = character ? static_cast<char32_t>(character) : static_cast<char32_t>(key & 0xFF);
  if (!locator || typed < 0x20) return EventResult::Continue;
  if (locator->CONTROL) {
    // An entry locator takes the key in its own entry. A key typed on the list starts a new
    // search; keys typed before the focus got to the entry carry on the one just started.
    if (Window* window = browseWindow(*this)) {
      if (Control* entry = window->control(locator->CONTROL); entry && !entry->disabled()) {
        std::string text = window->focusedControl() == locator->CONTROL ? entry->text() : std::string();
        utf8Append(text, typed);
        locator->SetTypedText(text);
        entry->setText(locator->TypedText());
        entry->setTouched(true);  // Enter or Tab locates even when nothing more is typed
        window->select(locator->CONTROL);
      }
    }
    return EventResult::Consumed;
  }
  if (locator->TakeKey(typed)) locateAndRefill();
  else RefreshControls();
  return EventResult::Consumed;
}

void BrowseManager::SearchWords(const std::string& typed, const std::vector<std::string>& fields) {
  const std::string filter = matchWordsFilter(typed, fields);
  PutNamedFilterOnEveryOrder(filter, kWordFilter);
  if (!OPENED()) OpenView();
  else PushFilter();
  stepLimitsSet_ = false;
  listQueue_->Free();
  FillPage(kFromHighlight);
  RefreshControls();
}

void BrowseManager::OnLocatorAccepted(int control) {
  Locator* locator = currentSort().LOCATOR.get();
  Window* window = browseWindow(*this);
  if (!locator || !window || !locator->CONTROL || control != locator->CONTROL) return;
  Control* entry = window->control(control);
  if (!entry) return;
  // Taken now: leaving the entry for the list must not locate a second time.
  entry->markClean();
  if (locator->TakeAccepted(entry->text())) {
    locateAndRefill();
    window->select(ilc_->Control());
  }
}

void BrowseManager::OnHighlightMoved() {
  if (listQueue_->Records() == 0) return;
  if (ilc_->Choice() > 0) currentChoice_ = lastChoice_ = ilc_->Choice();
  LoadRowIntoRecord();
  RefreshControls();
}

void BrowseManager::OnSelectingClose(bool completed) {
  if (!settings_.SELECTING) return;
  if (completed) {
    if (savedBuffer_) PRIMARY()->Me()->PopBufferCopy(savedBuffer_, false);
    RereadHighlighted();
    LoadRowIntoRecord();
  } else if (savedBuffer_) {
    PRIMARY()->Me()->PopBufferCopy(savedBuffer_, true);
  }
  savedBuffer_ = 0;
}

EventResult BrowseManager::OnEvent() {
  if (!controller_) return EventResult::Continue;
  const Event& e = controller_->CurrentEvent();
  EventResult rc = EventResult::Continue;
  if (e.control && e.control == ilc_->Control()) {
    switch (e.event) {
      case kEventNewSelection: OnHighlightMoved(); break;
      case kEventScrollUp:
      case kEventScrollDown:
      case kEventPageUp:
      case kEventPageDown:
      case kEventScrollTop:
      case kEventScrollBottom:
        if (ilc_->Choice() > 0) currentChoice_ = ilc_->Choice();
        OnScroll(e.event);
        break;
      case kEventAlertKey: rc = OnKey(e.key, e.character); break;
      case kEventExportToCsv: ExportToCsv(*this); break;
      case kEventTablesChanged: needRefresh_ = true; break;
      case kEventAccepted:  // a double-click the list did not alert
        if (listQueue_->Records() > 0) pressIfUsable(settings_.SELECTING ? settings_.SELECTCONTROL : settings_.CHANGECONTROL);
        break;
      case kEventScrollDrag: {
        Window* window = browseWindow(*this);
        Control* list = window ? window->control(ilc_->Control()) : nullptr;
        const int position = list && list->list() ? list->list()->thumb() : 50;
        if (const int post = OnThumbDrag(position)) OnScroll(post);
        break;
      }
      default: break;
    }
  } else if (e.event == kEventAlertKey && e.key == kEnterKey && e.control) {
    OnLocatorAccepted(e.control);
    if (Locator* locator = currentSort().LOCATOR.get(); locator && locator->CONTROL == e.control)
      rc = EventResult::Consumed;
  } else if (e.event == kEventAccepted && e.control) {
    Request request = Request::None;
    if (e.control == settings_.DELETECONTROL) request = Request::Delete;
    else if (e.control == settings_.CHANGECONTROL) request = Request::Change;
    else if (e.control == settings_.INSERTCONTROL) request = Request::Insert;
    else if (e.control == settings_.VIEWCONTROL) request = Request::View;
    if (request != Request::None) {
      if (!needRefresh_) static_cast<void>(RunForm(request));  // the list shows what the form did
      rc = EventResult::Consumed;
    } else if (e.control == settings_.SELECTCONTROL && settings_.SELECTCONTROL) {
      controller_->CloseWithResponse(Response::Completed);
      rc = EventResult::Consumed;
    } else {
      OnLocatorAccepted(e.control);
    }
  }
  if (readFailed()) controller_->MYWINDOW()->post(kEventCloseWindow);
  if (needRefresh_) {
    needRefresh_ = false;
    FillPage(kFromHighlight);
    RefreshControls();
  }
  return rc;
}

}  // namespace vesp
