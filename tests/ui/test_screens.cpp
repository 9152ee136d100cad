#include "test_screens.h"

#include "dictionary/tables.h"
#include "records/thread_dictionary.h"
#include "runtime/gui/control.h"
#include "runtime/gui/paged_list.h"
#include "windows/thread_globals.h"
#include "windows/window_controller.h"

namespace vesp::testing {

namespace ROL = dict::idx::ROL;
namespace ELT = dict::idx::ELT;
namespace ASF = dict::idx::ASF;

const FormDecl& RoleForm() {
  static const FormDecl form = [] {
    FormDecl f(kRoleForm, "Update the Role File", tables::Role, "Role");
    f.tabs = {
        {"&General", {field("&Role:", "?ROL:Role", {tables::Role, ROL::ROLE})}},
        {"&Dates", {dateField("&Answered:", "?LOC:Answered", FieldRef::Local("LOC:Answered", true), "@d2-")}},
    };
    f.historyKey = vrt::kCtrlH;
    return f;
  }();
  return form;
}

const FormDecl& FileForm() {
  static const FormDecl form = [] {
    FormDecl f(kFileForm, "Update the Associated Files File", tables::AssociatedFiles, "File");
    LookupDecl type = lookupInto("?CALLLOOKUP", SelectElementTypeTest, tables::ElementType, ELT::keys::ElementTypeKey, ELT::ELEMENTTYPE);
    LookupDecl role = lookupInto("?CALLLOOKUP:2", SelectRoleTest, tables::Role, ROL::keys::RoleNumberKey, ROL::ROLENUMBER);
    role.textField = ROL::ROLE;
    role.display = "?LOC:RoleText";
    ChildListDecl children;
    children.list = "?List:Children";
    children.columns = {{"Child", 20}};
    // The child list's form is a stand-in: it notes the request it was called with.
    children.form = [] {
      ChildFormCalls().push_back(threadGlobals().GlobalRequest);
      threadGlobals().GlobalResponse = Response::Cancelled;
    };
    f.tabs = {
        {"&General",
         {lookupField("&Type:", "?ASF:Type", {tables::AssociatedFiles, ASF::TYPE}, type),
          field("&Description:", "?ASF:Description", {tables::AssociatedFiles, ASF::DESCRIPTION}),
          lookupField("R&ole number:", "?LOC:RoleNumber", FieldRef::Local("LOC:RoleNumber", true), role, "@n-14")}},
        {"&Children", {childList(children)}},
    };
    return f;
  }();
  return form;
}

void UpdateRoleTest() { RunForm(RoleForm()); }
void UpdateFileTest() { RunForm(FileForm()); }

std::vector<Request>& ChildFormCalls() {
  static std::vector<Request> calls;
  return calls;
}

namespace {

// A look-up browse stand-in on the window controller: every record of a table in key
// order; Select loads the highlighted one into the record buffer.
class SelectList : public WindowController {
 public:
  SelectList(const char* procedure, const dict::TableDecl& table, int key, int textField)
      : procedure_(procedure), table_(table), key_(key), textField_(textField) {}

  bool Setup() override {
    static_cast<void>(WindowController::Setup());
    FileManager& file = Access(table_);
    file.Open();
    vrt::WindowSpec design = vrt::windowSpec(procedure_, procedure_);
    design.controls = {vrt::list("?List", {{"Text", 20}}, 8).scrolling(),
                       vrt::row({vrt::button("?Select", "&Select").makeDefault(), vrt::button("?Cancel", "Cancel")})};
    window_ = std::make_unique<vrt::Window>(std::move(design));
    AddItem(window_->number("?Cancel"), Response::Cancelled);
    saved_ = file.SaveState();
    std::vector<std::vector<std::string>> rows;
    const auto& fields = file.FILE->schema().fields;
    file.FILE->setToStart(key_);
    while (file.Next(false) == Level::Benign) {
      positions_.push_back(file.Position());
      rows.push_back({file.BUFFER->text(fields[static_cast<std::size_t>(textField_)])});
    }
    file.RestoreState(saved_);
    OpenWindow(*window_);
    window_->control("?List")->list()->setRows(rows);
    return true;
  }
  EventResult OnAccepted() override {
    if (const EventResult rc = WindowController::OnAccepted(); Handled(rc)) return rc;
    if (CurrentEvent().control != MYWINDOW->number("?Select")) return EventResult::Continue;
    const int row = MYWINDOW->control("?List")->list()->selectedRow();
    if (row < 1) return EventResult::Consumed;
    Access(table_).RereadAt(positions_[static_cast<std::size_t>(row - 1)]);
    CloseWithResponse(Response::Completed);
    return EventResult::Consumed;
  }
  void Shutdown() override {
    WindowController::Shutdown();
    if (window_) Access(table_).Close();
    window_.reset();
    MYWINDOW = nullptr;
  }
  ~SelectList() override { SelectList::Shutdown(); }

 private:
  const char* procedure_;
  const dict::TableDecl& table_;
  int key_;
  int textField_;
  int saved_ = 0;
  std::vector<std::string> positions_;
  std::unique_ptr<vrt::Window> window_;
};

}  // namespace

void SelectElementTypeTest() {
  ProcedureScope name(kSelectElementType);
  static_cast<void>(SelectList(kSelectElementType, tables::ElementType, ELT::keys::ElementTypeKey, ELT::ELEMENTTYPE).Execute());
}

void SelectRoleTest() {
  ProcedureScope name(kSelectRole);
  static_cast<void>(SelectList(kSelectRole, tables::Role, ROL::keys::RoleKey, ROL::ROLE).Execute());
}

}  // namespace vesp::testing
