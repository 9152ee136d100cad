#include "screens/elements/elements.h"

#include "worship/song_rotation.h"
#include "windows/procedures.h"

namespace vesp {

void RegisterElements() {
  RegisterSongRotation();
  RegisterProcedure("UpdateServiceElement", UpdateServiceElement);
  RegisterProcedure("UpdateAssociatedFiles", UpdateAssociatedFiles);
  RegisterProcedure("BrowseBibliography", BrowseBibliography);
  RegisterProcedure("UpdateBibliography", UpdateBibliography);
}

}  // namespace vesp
