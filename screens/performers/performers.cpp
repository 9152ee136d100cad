#include "screens/performers/performers.h"

#include "windows/procedures.h"

namespace vesp {

void RegisterPerformers() {
  RegisterProcedure("BrowsePerformers", BrowsePerformers);
  RegisterProcedure("UpdatePerformers", UpdatePerformers);
}

}  // namespace vesp
