// vsp045: one performer group with the list of its members.
#include "dictionary/tables.h"
#include "screens/performers/performers.h"
#include "windows/form_declaration.h"

namespace vesp {

namespace {

namespace PGH = dict::idx::PGH;
namespace PGD = dict::idx::PGD;

ChildListDecl members() {
  ChildListDecl c;
  c.list = "?List:Members";
  c.columns = {vrt::column("Last Name", 15, "@s50"), vrt::column("First Name", 15, "@s50"),
               vrt::column("Role", 12, "@s30"), vrt::column("Leader", 7, "@n3", vrt::ColumnAlign::Right)};
  c.form = UpdatePerformerGroupDetail;
  c.table = &tables::PerformerGroupDetail;
  c.key = PGD::keys::PerformerGroupKey;
  c.parent = {tables::PerformerGroupHeader, PGH::PERFORMERGROUPNUMBER};
  c.fields = {{tables::PerformerGroupDetail, PGD::LASTNAME},
              {tables::PerformerGroupDetail, PGD::FIRSTNAME},
              {tables::PerformerGroupDetail, PGD::ROLE},
              {tables::PerformerGroupDetail, PGD::LEADER}};
  return c;
}

const FormDecl& form() {
  static const FormDecl f = [] {
    FormDecl d("UpdatePerformerGroupHeader", "Update the PerformerGroupHeader File", tables::PerformerGroupHeader,
               "Performer Group");
    d.tabs = {{"General",
               {field("Description:", "?PGH:DESCRIPTION", {tables::PerformerGroupHeader, PGH::DESCRIPTION}),
                childList(members())}}};
    return d;
  }();
  return f;
}

}  // namespace

void UpdatePerformerGroupHeader() { RunForm(form()); }

}  // namespace vesp
