#include "windows/browse_screen.h"

#include <utility>

#include "records/error_manager.h"
#include "records/thread_dictionary.h"
#include "runtime/gui/control.h"
#include "runtime/gui/paged_list.h"
#include "windows/child_browse.h"
#include "windows/control_names.h"
#include "windows/screen_conventions.h"
#include "windows/tab_orders.h"

namespace vesp {

using namespace vrt;

namespace {

std::string locatorUse(std::size_t tab) { return "?Locator:" + std::to_string(tab + 1); }

// A locator over dates takes a date as the list shows it (and the calendar gives one);
// any other takes text.
std::string locatorPicture(const dict::TableDecl& table, int key) {
  const TableSchema& schema = TableFile(table).schema();
  if (key < 0 || key >= static_cast<int>(schema.keys.size()) || schema.keys[static_cast<std::size_t>(key)].components.empty())
    return "@s40";
  const FieldDesc& field = schema.fields[static_cast<std::size_t>(schema.keys[static_cast<std::size_t>(key)].components.front())];
  const auto picture = Picture::parse(field.picture);
  return picture && picture->kind() == Picture::Kind::Date ? field.picture : "@s40";
}

// A browse whose tabs choose its sort order.
class DeclaredBrowse : public BrowseManager {
 public:
  DeclaredBrowse(const BrowseDecl& decl, WindowController& window, ListCells& cells)
      : decl_(decl), window_(window), cells_(cells) {}
  void StoreRow(ListRow& row) override {
    cells_.ComputeRow();
    BrowseManager::StoreRow(row);
  }
  using BrowseManager::ChooseOrderAndFill;
  bool ChooseOrderAndFill(bool force) override {
    std::vector<TabOrder> tabs;
    for (std::size_t i = 0; i < decl_.tabs.size(); ++i)
      tabs.push_back({static_cast<int>(i) + 1,
                      decl_.tabs[i].locator == BrowseTab::Locator::Entry ? locatorUse(i) : std::string()});
    const bool first = !LOADED();
    const bool filled = ChooseOrderAndFill(SortOrderForTab(*window_.MYWINDOW(), decl_.sheetUse, tabs), force);
    if (!first || !LOADED() || SETTINGS().SELECTING || !decl_.openAt || CurrentOrderNumber() != 1) return filled;
    decl_.openAt();
    HighlightRow(1);
    RefreshAtKeyValue();
    return true;
  }
  void ArmKeys() override {
    BrowseManager::ArmKeys();
    if (decl_.popupButtons.empty() || !window_.MYWINDOW()) return;
    POPUP().AddSeparator();
    for (const std::string& use : decl_.popupButtons)
      if (const int control = window_.MYWINDOW()->number(use))
        POPUP().AddItemMimic(POPUP().NameFor(window_.MYWINDOW()->control(control)->text()), control, "!");
  }

 private:
  const BrowseDecl& decl_;
  WindowController& window_;
  ListCells& cells_;
};

}  // namespace

// ---------------------------------------------------------------- the list control

PagedListControl::PagedListControl(Window& window, int control, std::size_t columns)
    : window_(window), control_(control), columns_(columns) {}

static PagedList* pagedList(Window& window, int control) {
  vrt::Control* c = window.control(control);
  return c ? c->list() : nullptr;
}

int PagedListControl::Choice() const {
  PagedList* l = pagedList(window_, control_);
  return l ? l->selectedRow() : 0;
}
int PagedListControl::Items() const {
  PagedList* l = pagedList(window_, control_);
  return l ? l->visibleItems() : 0;
}
bool PagedListControl::Visible() const {
  vrt::Control* c = window_.control(control_);
  return c && window_.isOpen() && !c->hidden();
}
void PagedListControl::SetChoice(int row) {
  if (PagedList* l = pagedList(window_, control_)) l->setSelectedRow(row);
}

// The list formats each value through its column's picture.
void PagedListControl::Show(const std::vector<ListRow>& rows) {
  PagedList* l = pagedList(window_, control_);
  if (!l) return;
  std::vector<std::vector<std::string>> shown;
  for (const ListRow& row : rows)
    shown.emplace_back(row.columns.begin(), row.columns.begin() + std::min(row.columns.size(), columns_));
  l->setRows(shown);
}

void PagedListControl::SetThumb(int position, bool visible) {
  PagedList* l = pagedList(window_, control_);
  if (!l) return;
  l->setThumb(position);
  l->setThumbVisible(visible);
}

// ---------------------------------------------------------------- the screen

// A look-up opens over the form that asked for it: the list window's place, which counts
// from the frame's window area, is neither taken nor changed by it.
static bool remembersPlace(const BrowseDecl& decl, Request request) {
  return decl.rememberPlace && request != Request::Select;
}

BrowseScreen::BrowseScreen(const BrowseDecl& decl) : decl_(decl) {}
BrowseScreen::~BrowseScreen() { BrowseScreen::Shutdown(); }

BrowseManager& BrowseScreen::Browse() { return *browse_; }

WindowSpec BrowseScreen::BuildWindowSpec() const {
  const bool selecting = REQUEST() == Request::Select;
  WindowSpec design = windowSpec(decl_.caption, decl_.procedure, selecting ? WindowKind::Owned : WindowKind::Child);
  std::vector<ControlSpec> tabs;
  for (std::size_t i = 0; i < decl_.tabs.size(); ++i) {
    const BrowseTab& t = decl_.tabs[i];
    std::vector<ControlSpec> children;
    if (t.locator == BrowseTab::Locator::Entry)
      children.push_back(row({prompt(t.locatorPrompt), entry(locatorUse(i), locatorPicture(*decl_.primary, t.key), Binding())}));
    tabs.push_back(tab(t.caption, std::move(children)));
  }
  if (!tabs.empty()) design.controls.push_back(sheet(decl_.sheetUse, std::move(tabs)));
  for (const ControlSpec& c : decl_.extraControls) design.controls.push_back(c);
  if (!decl_.wordSearch.empty())
    design.controls.push_back(row({prompt(decl_.wordSearch), entry(kWordSearchUse, "@s60", Binding()).makeImmediate()}));
  if (!decl_.listTitle.empty()) design.controls.push_back(prompt(decl_.listTitle, kListTitleUse));
  design.controls.push_back(list(decl_.listUse, ListColumnsOf(decl_.columns), decl_.rows));
  std::vector<ControlSpec> buttons;
  if (decl_.select) buttons.push_back(button(kSelectUse, "&Select"));
  if (decl_.insert) buttons.push_back(button(kInsertUse, "&Insert"));
  if (decl_.change) buttons.push_back(button(kChangeUse, "&Change"));
  if (decl_.remove) buttons.push_back(button(kDeleteUse, "&Delete"));
  if (decl_.view) buttons.push_back(button(kViewUse, "&View"));
  if (decl_.clear) buttons.push_back(button(kClearUse, "C&lear"));
  for (const ControlSpec& b : decl_.extraButtons) buttons.push_back(b);
  buttons.push_back(button(kCloseUse, decl_.closeText));
  if (decl_.help) buttons.push_back(button(kHelpUse, decl_.helpText));
  for (ControlSpec& b : buttons)
    if (const auto tip = decl_.buttonTips.find(b.use); tip != decl_.buttonTips.end()) b.tipText = tip->second;
  design.controls.push_back(row(std::move(buttons)));
  for (const ChildListDecl& c : decl_.children)
    for (ControlSpec& control : ChildListControls(c)) design.controls.push_back(std::move(control));
  return design;
}

bool BrowseScreen::Setup() {
  if (!WindowController::Setup()) return false;
  RelationManager& relate = Relate(*decl_.primary);
  window_ = std::make_unique<Window>(BuildWindowSpec());
  UseWindow(window_.get());
  Configure({.FIRSTFIELD = window_->number(decl_.listUse)});  // arrows, paging and typing work at once
  cells_ = std::make_unique<ListCells>(decl_.columns, decl_.hiddenFields, decl_.lookupTables);
  list_ = std::make_unique<PagedListControl>(*window_, window_->number(decl_.listUse), cells_->ShownValues());
  view_ = std::make_unique<View>(TableFile(*decl_.primary));
  browse_ = std::make_unique<DeclaredBrowse>(decl_, *this, *cells_);
  BrowseManager& b = *browse_;
  b.Configure({.ASKPROCEDURE = decl_.form,
               .CHANGECONTROL = window_->number(kChangeUse),
               .DELETECONTROL = window_->number(kDeleteUse),
               .INSERTCONTROL = window_->number(kInsertUse),
               .SELECTCONTROL = window_->number(kSelectUse),
               .VIEWCONTROL = window_->number(kViewUse),
               .HIDESELECT = decl_.hideSelect,
               .SELECTING = REQUEST() == Request::Select,
               .RETAINROW = decl_.retainRow,
               .FIELDS = cells_->Pairs()});
  b.Setup(*list_, *view_, queue_, relate, this);
  for (std::size_t i = 0; i < decl_.tabs.size(); ++i) {
    const BrowseTab& t = decl_.tabs[i];
    std::unique_ptr<ThumbStep> step;
    if (t.step && t.numericStep) step = std::make_unique<NumberStep>(t.step);
    else if (t.step) step = std::make_unique<TextStep>(t.step);
    b.AddKeyOrder(std::move(step), t.key);
    if (!t.order.empty()) b.PutOrderText(t.order);
    std::unique_ptr<Locator> locator;
    if (t.locator == BrowseTab::Locator::Step) locator = std::make_unique<StepLocator>();
    if (t.locator == BrowseTab::Locator::Entry) {
      locator = std::make_unique<EntryLocator>();
      locator->CONTROL = window_->number(locatorUse(i));
    }
    if (locator) {
      locator->NOCASE = true;
      b.AttachLocator(std::move(locator));
    }
    if (!decl_.filter.empty()) b.PutNamedFilter(decl_.filter);  // each order has its own filters
  }
  b.SelectOrder(1);
  // Clear empties the field a look-up was called for; opened from the menu there is none.
  if (decl_.clear && REQUEST() != Request::Select)
    if (Control* clear = window_->control(kClearUse)) clear->setHidden(true);
  AddItem(static_cast<WindowComponent&>(b));
  AddItem(window_->number(kCloseUse), Response::Cancelled);
  AddItem(toolbar_);
  b.AttachToolbar(toolbar_);
  for (const ChildListDecl& c : decl_.children) {
    children_.push_back(std::make_unique<ChildBrowse>(*this, c));
    children_.back()->Attach(*window_);
  }
  // A look-up is for choosing: a click on an address there picks its row, opens nothing.
  for (std::size_t i = 0; i < decl_.columns.size() && REQUEST() != Request::Select; ++i) {
    if (!decl_.columns[i].hyperlink) continue;
    if (!links_) links_ = std::make_unique<HyperlinkManager>(*window_);
    links_->AddColumn(*window_->control(decl_.listUse), static_cast<int>(i) + 1);
  }
  if (decl_.attach && (attached_ = decl_.attach(*this))) AddItem(*attached_);
  primaryOpened_ = true;
  OpenWindow(*MYWINDOW());
  PlaceScreenWindow(decl_.procedure, *MYWINDOW(), remembersPlace(decl_, ORIGINALREQUEST()),
                    ORIGINALREQUEST() == Request::Select);
  return true;
}

void BrowseScreen::Shutdown() {
  if (window_ && OPENED()) SaveScreenPlacement(decl_.procedure, *window_, remembersPlace(decl_, ORIGINALREQUEST()));
  WindowController::Shutdown();
  // After the caller's record was put back on close: the emptied record is what it gets.
  if (std::exchange(cleared_, false)) Buffer(*decl_.primary).clearAll(TableFile(*decl_.primary).schema().fields);
  attached_.reset();
  links_.reset();
  children_.clear();
  browse_.reset();
  cells_.reset();
  view_.reset();
  list_.reset();
  UseWindow(nullptr);
  window_.reset();
}

Response BrowseScreen::RunProcedure(const Procedure& procedure, Request request) {
  const Response response = WindowController::RunProcedure(procedure, request);
  // A form of either list may change what the other shows.
  for (auto& child : children_) child->MarkStale();
  return response;
}

EventResult BrowseScreen::OnAccepted() {
  if (const EventResult rc = WindowController::OnAccepted(); Handled(rc)) return rc;
  if (decl_.clear && CurrentEvent().control == MYWINDOW()->number(kClearUse)) {
    SaveControls();
    cleared_ = true;
    MYWINDOW()->post(kEventCloseWindow);
    return EventResult::Consumed;
  }
  if (decl_.onButton) return decl_.onButton(*this, CurrentEvent().control);
  return EventResult::Continue;
}

EventResult BrowseScreen::OnEvent() {
  if (links_ && links_->TakeEvent(CurrentEvent())) return EventResult::Consumed;
  if (const Event& e = CurrentEvent(); !decl_.wordSearch.empty() && e.event == kEventNewSelection && MYWINDOW() &&
                                       e.control == MYWINDOW()->number(kWordSearchUse)) {
    std::vector<std::string> fields;
    const TableSchema& schema = TableFile(*decl_.primary).schema();
    for (int f : schema.searchFields) fields.push_back(schema.fields[static_cast<std::size_t>(f)].label);
    browse_->SearchWords(MYWINDOW()->control(e.control)->text(), fields);
    return EventResult::Consumed;
  }
  return WindowController::OnEvent();
}

EventResult BrowseScreen::OnCloseRequest() {
  if (browse_) browse_->OnSelectingClose(RESPONSE() == Response::Completed);
  return WindowController::OnCloseRequest();
}

void RunBrowse(const BrowseDecl& browse) {
  ProcedureScope name(browse.procedure);
  BrowseScreen screen(browse);
  static_cast<void>(screen.Execute());  // the caller reads the response from the thread's globals
}

}  // namespace vesp
