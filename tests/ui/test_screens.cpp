#include "test_screens.h"

#include "dictionary/tables.h"
#include "windows/procedures.h"
#include "windows/thread_globals.h"
#include "windows/window_controller.h"

namespace vesp::testing {

namespace ROL = dict::idx::ROL;
namespace ELT = dict::idx::ELT;
namespace ASF = dict::idx::ASF;

const NamedProcedure kBrowseElementType{kSelectElementType};

const FormDecl& RoleForm() {
  static const FormDecl form = [] {
    FormDecl f(kRoleForm, "Update the Role File", tables::Role, "Role");
    f.tabs = {{"&General", {field("&Role:", "?ROL:Role", {tables::Role, ROL::ROLE})}}};
    f.historyKey = vrt::kCtrlH;
    return f;
  }();
  return form;
}

const FormDecl& FileForm() {
  static const FormDecl form = [] {
    FormDecl f(kFileForm, "Update the Associated Files File", tables::AssociatedFiles, "File");
    LookupDecl type = lookupInto("?CALLLOOKUP", kBrowseElementType, tables::ElementType, ELT::keys::ElementTypeKey, ELT::ELEMENTTYPE);
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
          field("&Description:", "?ASF:Description", {tables::AssociatedFiles, ASF::DESCRIPTION})}},
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

}  // namespace vesp::testing
