#include "windows/form_screen.h"

#include <ranges>

#include "records/thread_dictionary.h"
#include "runtime/gui/control.h"
#include "runtime/gui/events.h"
#include "runtime/text/picture.h"
#include "windows/accessible_names.h"
#include "windows/child_browse.h"
#include "windows/control_names.h"
#include "windows/screen_conventions.h"

namespace vesp {

using namespace vrt;

namespace {

// Every item of the form, tab after tab, in declaration order.
auto itemsOf(const FormDecl& decl) {
  return decl.tabs | std::views::transform([](const FormTab& t) -> const std::vector<FormItem>& { return t.items; }) |
         std::views::join;
}

}  // namespace

FormScreen::FormScreen(const FormDecl& decl) : decl_(decl) {}

FormScreen::~FormScreen() { FormScreen::Shutdown(); }

vrt::RecordBuffer& FormScreen::Record() const { return Buffer(*decl_.primary); }

// ---------------------------------------------------------------- the window's design

vrt::Binding FormScreen::bindingFor(const FieldRef& ref) {
  if (ref.table) {
    const auto& fields = TableFile(*ref.table).schema().fields;
    return bind(Buffer(*ref.table), fields[static_cast<std::size_t>(ref.field)]);
  }
  if (ref.local.empty()) return {};
  return ref.numeric ? bind(LocalNumber(ref.local)) : bind(LocalText(ref.local));
}

// A text's picture is as wide as its field: what is stored is shown whole (a save that
// changed nothing cannot shorten it), and typing stops where the field ends.
std::string FormScreen::pictureFor(const FormItem& item) const {
  if (!item.field.table) return item.picture;
  const FieldDesc& f = TableFile(*item.field.table).schema().fields[static_cast<std::size_t>(item.field.field)];
  const std::string picture = item.picture.empty() ? f.picture : item.picture;
  if (f.type != FieldType::String && f.type != FieldType::CString) return picture;
  const auto parsed = Picture::parse(picture);
  const int capacity = static_cast<int>(f.type == FieldType::CString ? f.size - 1 : f.size);
  if (!parsed || parsed->kind() != Picture::Kind::Text || parsed->width() == capacity) return picture;
  return "@s" + std::to_string(capacity);
}

void FormScreen::addItemControls(const FormItem& item, std::vector<ControlSpec>& into) {
  auto fieldEntry = [&] {
    ControlSpec e = entry(item.use, pictureFor(item), bindingFor(item.field));
    if (item.readOnly) e.readOnly = true;
    if (!item.tip.empty()) e.tipText = item.tip;
    return e;
  };
  switch (item.kind) {
    case FormItem::Kind::Field: {
      into.push_back(prompt(item.prompt));
      into.push_back(fieldEntry());
      break;
    }
    case FormItem::Kind::Lookup: {
      const LookupDecl& l = *item.lookup;
      std::vector<ControlSpec> line = {prompt(item.prompt), fieldEntry(),
                                       button(l.button, "...").tip("Look up " + SpokenName(item.prompt))};
      if (!l.display.empty())
        line.push_back(entry(l.display, "@s40", bind(LocalText(l.display))).makeReadOnly());
      into.push_back(row(std::move(line)));
      break;
    }
    case FormItem::Kind::Date:
      into.push_back(row({prompt(item.prompt), fieldEntry(),
                          button(item.calendarButton, {}).icon("CAL4.ICO").tip("Calendar")}));
      break;
    case FormItem::Kind::ChildList:
      for (ControlSpec& c : ChildListControls(*item.child)) into.push_back(std::move(c));
      break;
    case FormItem::Kind::Control:
      into.push_back(*item.control);
      break;
    case FormItem::Kind::TextBox:
      into.push_back(prompt(item.prompt));
      into.push_back(textBox(item.use, bindingFor(item.field), item.lines));
      break;
    case FormItem::Kind::DropList:
      into.push_back(prompt(item.prompt));
      into.push_back(dropList(item.use, item.choices, bindingFor(item.field), static_cast<int>(item.choices.size())));
      break;
    case FormItem::Kind::Check:
      into.push_back(check(item.use, item.prompt, bindingFor(item.field)));
      break;
    case FormItem::Kind::File:
      into.push_back(row({prompt(item.prompt), entry(item.use, pictureFor(item), bindingFor(item.field)),
                          button(item.pickButton, "...").tip("Pick " + SpokenName(item.prompt)),
                          button(item.viewButton, {}).icon("EDIT.ICO").tip("Open " + SpokenName(item.prompt))}));
      break;
  }
}

vrt::WindowSpec FormScreen::BuildWindowSpec() {
  WindowSpec design = windowSpec(CaptionFor(decl_.captions, REQUEST(), decl_.caption), decl_.procedure);
  std::vector<ControlSpec> tabs;
  for (const FormTab& t : decl_.tabs) {
    std::vector<ControlSpec> children;
    for (const FormItem& item : t.items) addItemControls(item, children);
    tabs.push_back(tab(t.caption, std::move(children)));
  }
  std::vector<ControlSpec> buttons = {button(kOkUse, decl_.okText).makeDefault(), button(kCancelUse, decl_.cancelText),
                                      button(kHelpUse, decl_.helpText)};
  for (const ControlSpec& b : decl_.extraButtons) buttons.push_back(b);
  for (ControlSpec& b : buttons)
    if (const auto tip = decl_.buttonTips.find(b.use); tip != decl_.buttonTips.end()) b.tipText = tip->second;
  design.controls = {sheet(kSheetUse, std::move(tabs)), row(std::move(buttons))};
  design.alertKeys = {kF6Key, kEscKey};
  return design;
}

// The displays beside number look-ups are named after their entries.
void FormScreen::nameControlsForAssistiveTechnology() {
  NameControlsForAssistiveTechnology(*MYWINDOW());
  for (const FormItem& item : itemsOf(decl_))
    if (item.lookup && !item.lookup->display.empty())
      if (Control* d = MYWINDOW()->control(item.lookup->display); d && d->hasOwnWidget())
        d->setAccessibleName(SpokenName(item.prompt) + " text");
}

// The first item that takes input: where the form opens and where a failed save returns.
int FormScreen::firstEntry() const {
  for (const FormItem& item : itemsOf(decl_))
    if (const int number = window_->number(item.use);
        number && item.kind != FormItem::Kind::ChildList && item.kind != FormItem::Kind::Control)
      return number;
  return 0;
}

void FormScreen::attachHistoryAndLookups() {
  for (const FormItem& item : itemsOf(decl_)) {
    const int number = MYWINDOW()->number(item.use);
    if (!number) continue;
    if (item.history && item.field.table == decl_.primary && item.field.field >= 0)
      AddHistoryField(number, item.field.field, item.field.field);
    if (item.lookup) {
      Control& entryControl = *MYWINDOW()->control(number);
      std::string* display = item.lookup->display.empty() ? nullptr : &LocalText(item.lookup->display);
      lookups_.emplace_back(*this, *item.lookup, entryControl, display);
    }
  }
}

// Every file field gets its picker; the manager exists when the form has a hyperlink.
void FormScreen::attachFilesAndHyperlinks() {
  for (const FormItem& item : itemsOf(decl_)) {
    Control* list = item.child && item.child->hyperlinkColumn ? MYWINDOW()->control(item.child->list) : nullptr;
    Control* view = item.kind == FormItem::Kind::File ? MYWINDOW()->control(item.viewButton) : nullptr;
    if (item.kind == FormItem::Kind::File) {
      pickers_.emplace_back();
      pickers_.back().AddMask("All Files", "*.*");
    }
    if (!list && !view) continue;
    if (!links_) links_ = std::make_unique<HyperlinkManager>(*MYWINDOW());
    if (list) links_->AddColumn(*list, item.child->hyperlinkColumn);
    if (view) links_->AddText(*view, {});
  }
}

EventResult FormScreen::onFileButton(int control) {
  std::size_t picker = 0;
  for (const FormItem& item : itemsOf(decl_)) {
    if (item.kind != FormItem::Kind::File) continue;
    Control* entryControl = MYWINDOW()->control(item.use);
    if (entryControl && control == MYWINDOW()->number(item.pickButton)) {
      pickers_[picker].PickInto(*entryControl);
      return EventResult::Consumed;
    }
    if (entryControl && links_ && control == MYWINDOW()->number(item.viewButton)) {
      links_->OpenField(*MYWINDOW()->control(control), *entryControl);
      return EventResult::Consumed;
    }
    ++picker;
  }
  return EventResult::Continue;
}

// ---------------------------------------------------------------- life cycle

bool FormScreen::Setup() {
  if (!WindowController::Setup()) return false;
  RelationManager& primary = Relate(*decl_.primary);
  Configure({.PRIMARY = &primary});
  if (primary.Open() != Level::Benign) return false;
  primaryOpened_ = true;
  for (const FormItem& item : itemsOf(decl_))
    if (item.lookup && item.lookup->table) {
      FileManager& f = Access(*item.lookup->table);
      if (f.Open() == Level::Benign) opened_.push_back(&f);
    }
  window_ = std::make_unique<Window>(BuildWindowSpec());
  UseWindow(window_.get());
  // Viewing, OK only closes: nothing is primed, saved or asked.
  const bool viewing = REQUEST() == Request::View;
  Configure({.CANCELACTION = viewing ? 0 : decl_.cancelAction,
             .CHANGEACTION = viewing ? 1 : 2,
             .DELETEACTION = viewing ? 1 : 2,
             .INSERTACTION = viewing ? 1 : 2,
             .FIRSTFIELD = firstEntry(),
             .HISTORYKEY = decl_.historyKey,
             .OKCONTROL = viewing ? 0 : window_->number(kOkUse),
             .PRIMARY = &primary});
  attachHistoryAndLookups();
  attachFilesAndHyperlinks();
  if (!viewing && !PrepareRequest()) return false;
  for (const FormItem& item : itemsOf(decl_))
    if (item.child && item.child->table) {
      children_.push_back(std::make_unique<ChildBrowse>(*this, *item.child));
      children_.back()->Attach(*MYWINDOW(), REQUEST() == Request::View);
    }
  AddItem(MYWINDOW()->number(kCancelUse), Response::Cancelled);
  AddItem(toolbar_);
  target_.HELPBUTTON = MYWINDOW()->number(kHelpUse);
  AddItem(target_);
  nameControlsForAssistiveTechnology();
  for (LookupField& l : lookups_) l.RefreshDisplay();
  if (decl_.opened) decl_.opened(*this);
  OpenWindow(*MYWINDOW());
  PlaceScreenWindow(decl_.procedure, *MYWINDOW(), decl_.rememberPlace);
  return true;
}

void FormScreen::Shutdown() {
  if (window_ && OPENED()) SaveScreenPlacement(decl_.procedure, *window_, decl_.rememberPlace);
  WindowController::Shutdown();
  children_.clear();
  lookups_.clear();
  links_.reset();
  pickers_.clear();
  for (FileManager* f : opened_) static_cast<void>(f->Close());
  opened_.clear();
  if (std::exchange(primaryOpened_, false)) static_cast<void>(PRIMARY()->Close());
  UseWindow(nullptr);
  window_.reset();
}

void FormScreen::PrimeNewRecord() {
  if (decl_.prime) decl_.prime(*this);
  newParents_.clear();
  // Only a number reserved for this record is sure to have no children of another.
  if (!PRIMARY() || !PRIMARY()->Me()->AUTOINCDONE()) return;
  for (const FormItem& item : itemsOf(decl_))
    if (item.child && item.child->table && item.child->parent.table) {
      const FieldRef& p = item.child->parent;
      newParents_.emplace_back(&*item.child, TableFile(*p.table).layout().componentValue(p.field, Buffer(*p.table)));
    }
}

Response FormScreen::RunProcedure(const Procedure& procedure, Request request) {
  const Response response = WindowController::RunProcedure(procedure, request);
  // A form of one list may change what another shows (an element deleted takes its files
  // off the service's list).
  for (auto& child : children_) child->MarkStale();
  return response;
}

// ---------------------------------------------------------------- events

EventResult FormScreen::OnEvent() {
  const Event& e = CurrentEvent();
  if (links_ && links_->TakeEvent(e)) return EventResult::Consumed;
  if (e.event == kEventAlertKey && e.key == kEscKey) {
    MYWINDOW()->post(kEventAccepted, MYWINDOW()->number(kCancelUse));
    return EventResult::Consumed;
  }
  return WindowController::OnEvent();
}

EventResult FormScreen::onChildListButton(int control) {
  for (const FormItem& item : itemsOf(decl_)) {
    if (!item.child || item.child->table) continue;  // a table's list has its own browse
    const ChildListDecl& c = *item.child;
    const Request request = control == MYWINDOW()->number(c.insert)   ? Request::Insert
                            : control == MYWINDOW()->number(c.change) ? Request::Change
                            : control == MYWINDOW()->number(c.remove) ? Request::Delete
                                                                    : Request::None;
    if (request != Request::None) {
      static_cast<void>(RunProcedure(c.form, request));  // the list is refilled either way
      return EventResult::Consumed;
    }
  }
  return EventResult::Continue;
}

EventResult FormScreen::OnAccepted() {
  if (const EventResult rc = WindowController::OnAccepted(); Handled(rc)) return rc;
  const int control = CurrentEvent().control;
  if (REQUEST() == Request::View && control == MYWINDOW()->number(kOkUse)) {
    MYWINDOW()->post(kEventCloseWindow);
    return EventResult::Consumed;
  }
  for (LookupField& l : lookups_) {
    if (control == MYWINDOW()->number(l.decl().button)) return l.OnButton();
    // A view form looks nothing up: it could only clear what it shows.
    if (control == l.entryNumber()) return REQUEST() == Request::View ? EventResult::Continue : l.OnEntryAccepted();
  }
  for (const FormItem& item : itemsOf(decl_))
    if (item.kind == FormItem::Kind::Date && control == MYWINDOW()->number(item.calendarButton)) {
      if (Control* entryControl = MYWINDOW()->control(item.use))
        PickDateInto(*MYWINDOW(), *entryControl, MYWINDOW()->control(control));
      return EventResult::Consumed;
    }
  if (const EventResult rc = onChildListButton(control); Handled(rc)) return rc;
  if (const EventResult rc = onFileButton(control); Handled(rc)) return rc;
  if (decl_.onButton) return decl_.onButton(*this, control);
  return EventResult::Continue;
}

// A name typed where a look-up wants a number is looked up by that name.
EventResult FormScreen::OnRejected() {
  const int control = CurrentEvent().control;
  if (REQUEST() != Request::View)
    for (LookupField& l : lookups_)
      if (control == l.entryNumber())
        if (const EventResult rc = l.OnEntryRejected(); Handled(rc)) return rc;
  return WindowController::OnRejected();
}

EventResult FormScreen::OnCloseRequest() {
  const EventResult rc = WindowController::OnCloseRequest();
  if (rc == EventResult::Continue && REQUEST() == Request::Insert && RESPONSE() == Response::Cancelled && !RECORDSAVED())
    for (const auto& [list, parent] : newParents_) DeleteChildRecords(*list, parent);
  return rc;
}

EventResult FormScreen::OnCompleted() {
  const bool saving = REQUEST() == Request::Insert || REQUEST() == Request::Change;
  if (decl_.stamp && saving) decl_.stamp(*this);
  if (decl_.validate && saving && !decl_.validate(*this)) {
    if (VCRREQUEST()) *VCRREQUEST() = 0;  // a refused save navigates nowhere
    return EventResult::Continue;
  }
  return WindowController::OnCompleted();
}

}  // namespace vesp
