#include "screens/services/services.h"

#include "windows/procedures.h"

namespace vesp {

void RegisterServices() {
  RegisterProcedure("BrowseService", BrowseService);
  RegisterProcedure("UpdateService", UpdateService);
  RegisterProcedure("UpdateBibleRef", UpdateBibleRef);
  RegisterProcedure("UpdateKeyWords", UpdateKeyWords);
  RegisterProcedure("UpdateStatistics", UpdateStatistics);
}

}  // namespace vesp
