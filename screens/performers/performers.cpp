#include "screens/performers/performers.h"

#include "dictionary/tables.h"
#include "windows/lookup_field.h"
#include "windows/procedures.h"

namespace vesp {

void RegisterPerformers() {
  RegisterProcedure("BrowsePerformers", BrowsePerformers);
  RegisterProcedure("UpdatePerformers", UpdatePerformers);
  RegisterProcedure("BrowsePerformerGroupHeader", BrowsePerformerGroupHeader);
  RegisterProcedure("UpdatePerformerGroupHeader", UpdatePerformerGroupHeader);
  RegisterProcedure("UpdatePerformerGroupDetail", UpdatePerformerGroupDetail);
  // A person is typed by last name, a group by its name, in the orders their browses open in.
  namespace PER = dict::idx::PER;
  namespace PGH = dict::idx::PGH;
  DeclareLookupByName({&tables::Performers, PER::keys::LastNameKey, PER::LASTNAME});
  DeclareLookupByName({&tables::PerformerGroupHeader, PGH::keys::DescriptionKey, PGH::DESCRIPTION});
}

}  // namespace vesp
