#include "windows/child_browse.h"

#include <utility>

#include "records/thread_dictionary.h"
#include "runtime/gui/control.h"
#include "runtime/text/utf8.h"

namespace vesp {

class ChildBrowse::Manager : public BrowseManager {
 public:
  explicit Manager(ListCells& cells) : cells_(cells) {}

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

 private:
  ListCells& cells_;
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
  browse_ = std::make_unique<Manager>(cells_);
  Manager& b = *browse_;
  b.Setup(*list_, *view_, queue_, Relate(*decl_.table), &owner_);
  cells_.AddPairs(b.FIELDS);
  b.AddKeyOrder(nullptr, decl_.key);
  b.SelectOrder(1);
  const auto& key = TableFile(*decl_.table).schema().keys[static_cast<std::size_t>(decl_.key)];
  b.LimitBy(key.components.front(), ValueOf(decl_.parent));
  b.parent_ = ValueOf(decl_.parent);
  b.HASTHUMB = false;
  b.HIDESELECT = true;
  if (!decl_.readOnly && !viewOnly) {
    b.ASKPROCEDURE = decl_.form;
    b.INSERTCONTROL = window.number(decl_.insert);
    b.CHANGECONTROL = window.number(decl_.change);
    b.DELETECONTROL = window.number(decl_.remove);
  } else {
    b.USEPOPUP = b.EDITVIAPOPUP = false;
    if (!decl_.readOnly)
      for (const std::string& use : {decl_.insert, decl_.change, decl_.remove})
        if (vrt::Control* c = window.control(use)) c->setDisabled(true);
  }
  owner_.AddItem(static_cast<WindowComponent&>(b));
}

void DeleteChildRecords(const ChildListDecl& decl, const vrt::store::KeyValue& parent) {
  if (!decl.table) return;
  RelationManager& children = Relate(*decl.table);
  FileManager& f = *children.Me;
  if (children.Open() != Level::Benign) return;
  if (f.Use() != Level::Benign) {
    children.Close();
    return;
  }
  int saved = f.SaveState();
  const auto& layout = f.FILE->layout();
  const auto& components = f.FILE->schema().keys[static_cast<std::size_t>(decl.key)].components;
  for (;;) {
    f.BUFFER->clearAll(f.FILE->schema().fields);
    layout.setComponentValue(components.front(), parent, *f.BUFFER);
    for (std::size_t i = 1; i < components.size(); ++i)
      layout.setComponentValue(components[i], layout.lowestValue(components[i]), *f.BUFFER);
    f.FILE->setToValue(decl.key);
    if (f.Next(false) != Level::Benign || layout.componentValue(components.front(), *f.BUFFER) != parent) break;
    if (children.Delete(false) != Level::Benign) break;
  }
  f.RestoreState(saved);
  children.Close();
}

std::vector<vrt::ControlSpec> ChildListControls(const ChildListDecl& decl) {
  std::vector<vrt::ControlSpec> out;
  if (!decl.title.empty()) out.push_back(vrt::prompt(decl.title));
  out.push_back(vrt::list(decl.list, decl.cells.empty() ? decl.columns : ListColumnsOf(decl.cells), decl.rows));
  if (!decl.readOnly)
    out.push_back(vrt::row({vrt::button(decl.insert, "&Insert"), vrt::button(decl.change, "&Change"),
                            vrt::button(decl.remove, "&Delete")}));
  return out;
}

}  // namespace vesp
