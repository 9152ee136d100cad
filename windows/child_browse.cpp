#include "windows/child_browse.h"

#include <algorithm>
#include <utility>

#include "records/thread_dictionary.h"
#include "runtime/gui/control.h"
#include "runtime/gui/paged_list.h"
#include "runtime/text/utf8.h"
#include "windows/sibling_order.h"

namespace vesp {

namespace {
// Alt+U and Alt+D already belong to "Song &Usage..." and "&Delete" beside these lists.
constexpr const char* kMoveUpText = "&Move Up";
constexpr const char* kMoveDownText = "Move Dow&n";
}  // namespace

class ChildBrowse::Manager : public BrowseManager {
 public:
  Manager(ListCells& cells, const ChildListDecl& decl) : cells_(cells), decl_(decl) {}

  void StoreRow(ListRow& row) override {
    cells_.ComputeRow();
    BrowseManager::StoreRow(row);
  }
  bool ResetRequired() override { return BrowseManager::ResetRequired() || stale_; }
  void Reset(bool force) override { ChooseOrderAndFill(std::exchange(stale_, false) || force); }
  void MarkStale() { stale_ = true; }
  // A child needs a parent: with none highlighted (an empty list) nothing is added that
  // would belong to no record.
  Response RunForm(Request request) override {
    const vrt::expr::Value parent = parent_.read();
    const bool none = parent.isNumber() ? parent.toNumber() == 0 : vrt::clip(parent.toText()).empty();
    if (request == Request::Insert && none) return Response::Cancelled;
    return BrowseManager::RunForm(request);
  }
  ValueRef parent_;
  bool moves_ = false;  // the rows can be moved: the list's records have an order field

  void FillPage(int mode) override {
    BrowseManager::FillPage(mode);
    if (decl_.refilled && LOADED() && !LOADPENDING() && window()) decl_.refilled(*window());
  }
  void ArmKeys() override {
    BrowseManager::ArmKeys();
    vrt::Window* w = window();
    if (!moves_ || !w) return;
    if (vrt::Control* list = w->control(ILC()->Control())) {
      list->alert(int{vrt::kCtrl} | vrt::kUpKey);
      list->alert(int{vrt::kCtrl} | vrt::kDownKey);
      if (vrt::PagedList* rows = list->list()) rows->setRowDragging(true);
    }
    if (!SETTINGS().USEPOPUP) return;
    POPUP().AddSeparator();
    POPUP().AddItemMimic("MoveUp", w->number(decl_.moveUp), kMoveUpText);
    POPUP().AddItemMimic("MoveDown", w->number(decl_.moveDown), kMoveDownText);
  }
  void RefreshControls() override {
    BrowseManager::RefreshControls();
    vrt::Window* w = window();
    if (!moves_ || !w) return;
    for (const std::string& use : {decl_.moveUp, decl_.moveDown})
      if (vrt::Control* c = w->control(use)) c->setDisabled(LISTQUEUE()->Records() < 2);
  }
  EventResult OnEvent() override {
    if (moves_ && WINDOW()) {
      const vrt::Event& e = WINDOW()->CurrentEvent();
      vrt::Window* w = window();
      const bool onList = e.control && e.control == ILC()->Control();
      if (e.event == vrt::kEventAccepted && e.control && w && e.control == w->number(decl_.moveUp))
        return move(SiblingMove::Up);
      if (e.event == vrt::kEventAccepted && e.control && w && e.control == w->number(decl_.moveDown))
        return move(SiblingMove::Down);
      if (onList && e.event == vrt::kEventAlertKey && e.key == (int{vrt::kCtrl} | vrt::kUpKey)) return move(SiblingMove::Up);
      if (onList && e.event == vrt::kEventAlertKey && e.key == (int{vrt::kCtrl} | vrt::kDownKey))
        return move(SiblingMove::Down);
      if (onList && e.event == vrt::kEventRowDropped) return move(SiblingMove::Onto);
    }
    return BrowseManager::OnEvent();
  }

 private:
  vrt::Window* window() const { return WINDOW() ? WINDOW()->MYWINDOW() : nullptr; }

  // The row id of the record a row of the page shows; 0 when it is gone.
  std::int64_t rowidOf(int row) {
    if (row < 1 || row > LISTQUEUE()->Records()) return 0;
    const std::string& position = LISTQUEUE()->GetViewPosition(row);
    if (!VIEW()->resetTo(position) || ReadNext() != ReadResult::Ok || VIEW()->position() != position) return 0;
    return PRIMARY()->Me()->FILE()->currentRowid();
  }

  // Moves the highlighted record (or the dragged one) and refills the page with it
  // highlighted where it went.
  EventResult move(SiblingMove how) {
    if (LISTQUEUE()->Records() == 0) return EventResult::Consumed;
    vrt::Window* w = window();
    vrt::Control* list = w ? w->control(ILC()->Control()) : nullptr;
    const vrt::ListDrop drop = list && list->list() ? list->list()->lastDrop() : vrt::ListDrop{};
    if (how == SiblingMove::Onto) HighlightRow(drop.from);
    else if (ILC()->Choice() > 0) HighlightRow(ILC()->Choice());
    FileManager& f = *PRIMARY()->Me();
    const std::int64_t moving = rowidOf(CURRENTCHOICE());
    const std::int64_t target = how == SiblingMove::Onto ? rowidOf(drop.to) : 0;
    if (moving == 0 || (how == SiblingMove::Onto && target == 0)) {
      ReportVanishedRecord();
      FillPage(kFromHighlight);
      RefreshControls();
      return EventResult::Consumed;
    }
    f.FILE()->getByRowid(moving);
    const auto& components = f.FILE()->schema().keys[static_cast<std::size_t>(decl_.key)].components;
    const vrt::store::KeyValue parent = f.FILE()->layout().componentValue(components.front(), *f.BUFFER());
    const MoveResult result = MoveSibling(f, decl_.key, decl_.orderField, parent, moving, how, target);
    if (result == MoveResult::Moved) {
      int row = CURRENTCHOICE();
      if (how == SiblingMove::Up) row = std::max(1, row - 1);
      if (how == SiblingMove::Down) row = std::min(std::max(1, ILC()->Items()), row + 1);
      if (how == SiblingMove::Onto) row = drop.to;
      f.FILE()->getByRowid(moving);  // at its new place
      HighlightRow(row);
      if (!VIEW()->resetToBuffer()) Reposition();
      FillPage(kFromView);
    } else {
      FillPage(kFromHighlight);
    }
    RefreshControls();
    LoadRowIntoRecord();
    return EventResult::Consumed;
  }

  ListCells& cells_;
  const ChildListDecl& decl_;
  bool stale_ = false;  // a form may have changed the children
};

namespace {

// Lists declared with plain fields feed them to their columns in order.
std::vector<BrowseColumn> cellsOf(const ChildListDecl& decl) {
  if (!decl.cells.empty()) return decl.cells;
  std::vector<BrowseColumn> out;
  for (const FieldRef& f : decl.fields) out.push_back(BrowseColumn{{}, 0, {}, f});
  return out;
}

}  // namespace

ChildBrowse::ChildBrowse(WindowController& owner, const ChildListDecl& decl)
    : owner_(owner), decl_(decl), cells_(cellsOf(decl), decl.hidden, decl.lookupTables) {}

ChildBrowse::~ChildBrowse() = default;

BrowseManager& ChildBrowse::Browse() { return *browse_; }

void ChildBrowse::MarkStale() {
  if (browse_) browse_->MarkStale();
}

void ChildBrowse::Attach(vrt::Window& window, bool viewOnly) {
  const std::size_t shown = decl_.cells.empty() ? decl_.columns.size() : cells_.ShownValues();
  list_ = std::make_unique<PagedListControl>(window, window.number(decl_.list), shown);
  view_ = std::make_unique<vrt::View>(TableFile(*decl_.table));
  browse_ = std::make_unique<Manager>(cells_, decl_);
  Manager& b = *browse_;
  // A list that only shows has no form, no record buttons and no record items on its menu.
  const bool edits = !decl_.readOnly && !viewOnly;
  b.Configure({.ASKPROCEDURE = edits ? decl_.form : Procedure{},
               .CHANGECONTROL = edits ? window.number(decl_.change) : 0,
               .DELETECONTROL = edits ? window.number(decl_.remove) : 0,
               .INSERTCONTROL = edits ? window.number(decl_.insert) : 0,
               .HIDESELECT = true,
               .USEPOPUP = edits,
               .EDITVIAPOPUP = edits,
               .HASTHUMB = false,
               .FIELDS = cells_.Pairs()});
  b.Setup(*list_, *view_, queue_, Relate(*decl_.table), &owner_);
  b.AddKeyOrder(nullptr, decl_.key);
  b.SelectOrder(1);
  const auto& key = TableFile(*decl_.table).schema().keys[static_cast<std::size_t>(decl_.key)];
  b.LimitBy(key.components.front(), ValueOf(decl_.parent));
  b.parent_ = ValueOf(decl_.parent);
  if (edits) {
    b.moves_ = decl_.orderField >= 0;
  } else {
    if (!decl_.readOnly)
      for (const std::string& use : {decl_.insert, decl_.change, decl_.remove, decl_.moveUp, decl_.moveDown})
        if (vrt::Control* c = window.control(use)) c->setDisabled(true);
  }
  owner_.AddItem(static_cast<WindowComponent&>(b));
}

void DeleteChildRecords(const ChildListDecl& decl, const vrt::store::KeyValue& parent) {
  if (!decl.table) return;
  RelationManager& children = Relate(*decl.table);
  FileManager& f = *children.Me();
  if (children.Open() != Level::Benign) return;
  if (f.Use() != Level::Benign) {
    static_cast<void>(children.Close());
    return;
  }
  int saved = f.SaveState();
  const auto& layout = f.FILE()->layout();
  const auto& components = f.FILE()->schema().keys[static_cast<std::size_t>(decl.key)].components;
  for (;;) {
    f.BUFFER()->clearAll(f.FILE()->schema().fields);
    layout.setComponentValue(components.front(), parent, *f.BUFFER());
    for (std::size_t i = 1; i < components.size(); ++i)
      layout.setComponentValue(components[i], layout.lowestValue(components[i]), *f.BUFFER());
    f.FILE()->setToValue(decl.key);
    if (f.Next(false) != Level::Benign || layout.componentValue(components.front(), *f.BUFFER()) != parent) break;
    if (children.Delete(false) != Level::Benign) break;
  }
  f.RestoreState(saved);
  static_cast<void>(children.Close());
}

std::vector<vrt::ControlSpec> ChildListControls(const ChildListDecl& decl) {
  std::vector<vrt::ControlSpec> out;
  if (!decl.title.empty()) out.push_back(vrt::prompt(decl.title));
  out.push_back(vrt::list(decl.list, decl.cells.empty() ? decl.columns : ListColumnsOf(decl.cells), decl.rows));
  if (!decl.readOnly) {
    std::vector<vrt::ControlSpec> buttons = {vrt::button(decl.insert, "&Insert"), vrt::button(decl.change, "&Change"),
                                             vrt::button(decl.remove, "&Delete")};
    if (decl.orderField >= 0) {
      buttons.push_back(vrt::button(decl.moveUp, kMoveUpText).tip("Move the highlighted record up (Ctrl+Up)"));
      buttons.push_back(vrt::button(decl.moveDown, kMoveDownText).tip("Move the highlighted record down (Ctrl+Down)"));
    }
    out.push_back(vrt::row(std::move(buttons)));
  }
  return out;
}

}  // namespace vesp
