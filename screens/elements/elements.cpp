#include "screens/elements/elements.h"

#include "windows/procedures.h"

namespace vesp {

void RegisterElements() {
  RegisterProcedure("UpdateServiceElement", UpdateServiceElement);
  RegisterProcedure("UpdateAssociatedFiles", UpdateAssociatedFiles);
  RegisterProcedure("BrowseBibliography", BrowseBibliography);
  RegisterProcedure("UpdateBibliography", UpdateBibliography);
}

}  // namespace vesp
