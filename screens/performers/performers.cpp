#include "screens/performers/performers.h"

#include "windows/procedures.h"

namespace vesp {

void RegisterPerformers() {
  RegisterProcedure("BrowsePerformers", BrowsePerformers);
  RegisterProcedure("UpdatePerformers", UpdatePerformers);
  RegisterProcedure("BrowsePerformerGroupHeader", BrowsePerformerGroupHeader);
  RegisterProcedure("UpdatePerformerGroupHeader", UpdatePerformerGroupHeader);
  RegisterProcedure("UpdatePerformerGroupDetail", UpdatePerformerGroupDetail);
}

}  // namespace vesp
