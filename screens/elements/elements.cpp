#include "screens/elements/elements.h"

#include "worship/song_rotation.h"
#include "dictionary/tables.h"
#include "windows/lookup_field.h"
#include "windows/procedures.h"

namespace vesp {

void RegisterElements() {
  RegisterSongRotation();
  RegisterProcedure("UpdateServiceElement", UpdateServiceElement);
  RegisterProcedure("UpdateAssociatedFiles", UpdateAssociatedFiles);
  RegisterProcedure("BrowseBibliography", BrowseBibliography);
  RegisterProcedure("UpdateBibliography", UpdateBibliography);
  // A song is typed by any word of its title, writer or CCLI; the browse lists by title.
  namespace BBL = dict::idx::BBL;
  DeclareLookupByName({&tables::Bibliography, BBL::keys::TitleKey, BBL::TITLE, true});
}

}  // namespace vesp
