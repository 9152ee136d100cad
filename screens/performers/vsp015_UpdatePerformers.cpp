// vsp015: one performer; the role is looked up in the role list and copied as text.
#include "dictionary/tables.h"
#include "screens/performers/performers.h"
#include "windows/form_declaration.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

namespace PER = dict::idx::PER;
namespace ROL = dict::idx::ROL;

const NamedProcedure kBrowseRole{"BrowseRole"};

const FormDecl& form() {
  static const FormDecl f = [] {
    FormDecl d("UpdatePerformers", "Update the Performers File", tables::Performers, "Performers");
    LookupDecl role = lookupInto(kLookupButtonUse, kBrowseRole, tables::Role, ROL::keys::RoleKey, ROL::ROLE);
    d.tabs = {{"General",
               {field("First Name:", "?PER:FIRSTNAME", {tables::Performers, PER::FIRSTNAME}),
                field("Last Name:", "?PER:LASTNAME", {tables::Performers, PER::LASTNAME}),
                field("Title:", "?PER:TITLE", {tables::Performers, PER::TITLE}),
                lookupField("Role:", "?PER:ROLE", {tables::Performers, PER::ROLE}, role),
                field("Email:", "?PER:EMAIL", {tables::Performers, PER::EMAIL})}}};
    return d;
  }();
  return f;
}

}  // namespace

void UpdatePerformers() { RunForm(form()); }

}  // namespace vesp
