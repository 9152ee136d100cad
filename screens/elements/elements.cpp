#include "screens/elements/elements.h"

#include "windows/procedures.h"

namespace vesp {

void RegisterElements() {
  RegisterProcedure("BrowseBibliography", BrowseBibliography);
  RegisterProcedure("UpdateBibliography", UpdateBibliography);
}

}  // namespace vesp
