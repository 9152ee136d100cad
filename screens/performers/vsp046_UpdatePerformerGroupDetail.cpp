// vsp046: one member of a performer group. Choosing the performer copies the name and role
// into the member, who keeps them when the performer's own record changes later.
#include "dictionary/tables.h"
#include "records/thread_dictionary.h"
#include "screens/performers/performers.h"
#include "windows/form_declaration.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

namespace PGD = dict::idx::PGD;
namespace PER = dict::idx::PER;
namespace ROL = dict::idx::ROL;

FieldRef pgd(int field) { return {tables::PerformerGroupDetail, field}; }

const NamedProcedure kBrowseRole{"BrowseRole"};

LookupDecl performer() {
  LookupDecl l = lookupInto(kLookupButtonUse, BrowsePerformers, tables::Performers, PER::keys::PerformersNumberKey, PER::PERFORMERSNUMBER);
  l.assign = [] {
    vrt::RecordRef member = Buffer(tables::PerformerGroupDetail);
    const vrt::RecordRef person = Buffer(tables::Performers);
    member.set(PGD_FIRSTNAME, person.get(PER_FIRSTNAME));
    member.set(PGD_LASTNAME, person.get(PER_LASTNAME));
    member.set(PGD_ROLE, person.get(PER_ROLE));
  };
  l.unassign = [] {
    vrt::RecordRef member = Buffer(tables::PerformerGroupDetail);
    member.set(PGD_FIRSTNAME, "");
    member.set(PGD_LASTNAME, "");
    member.set(PGD_ROLE, "");
  };
  return l;
}

LookupDecl role() {
  LookupDecl l = lookupInto("?CALLLOOKUP:2", kBrowseRole, tables::Role, ROL::keys::RoleKey, ROL::ROLE);
  return l;
}

const FormDecl& form() {
  static const FormDecl f = [] {
    FormDecl d("UpdatePerformerGroupDetail", "Update the PerformerGroupDetail File", tables::PerformerGroupDetail,
               "Performer Group");
    d.tabs = {{"General",
               {lookupField("Performer:", "?PGD:PERFORMERNUMBER", pgd(PGD::PERFORMERNUMBER), performer()),
                field("First Name:", "?PGD:FIRSTNAME", pgd(PGD::FIRSTNAME)),
                field("Last Name:", "?PGD:LASTNAME", pgd(PGD::LASTNAME)),
                lookupField("Role:", "?PGD:ROLE", pgd(PGD::ROLE), role()),
                checkField("Leader:", "?PGD:LEADER", pgd(PGD::LEADER))}}};
    return d;
  }();
  return f;
}

}  // namespace

void UpdatePerformerGroupDetail() { RunForm(form()); }

}  // namespace vesp
