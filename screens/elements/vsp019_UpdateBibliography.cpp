// vsp019: one bibliography entry, with the files of its words, music and video.
#include "dictionary/tables.h"
#include "screens/elements/elements.h"
#include "windows/form_declaration.h"

namespace vesp {

namespace {

namespace BBL = dict::idx::BBL;

FieldRef bbl(int field) { return {tables::Bibliography, field}; }

const FormDecl& form() {
  static const FormDecl f = [] {
    FormDecl d("UpdateBibliography", "Update the Bibliography File", tables::Bibliography, "Bibliography");
    d.tabs = {{"General",
               {field("Title:", "?BBL:TITLE", bbl(BBL::TITLE)),
                textBoxField("Description:", "?BBL:DESCRIPTION", bbl(BBL::DESCRIPTION)),
                field("Written By:", "?BBL:WRITTENBY", bbl(BBL::WRITTENBY)),
                field("Music By:", "?BBL:MUSICBY", bbl(BBL::MUSICBY)),
                field("Duration:", "?BBL:DURATION", bbl(BBL::DURATION)),
                field("Publisher:", "?BBL:PUBLISHER", bbl(BBL::PUBLISHER)),
                field("Published Year:", "?BBL:PUBLISHEDYEAR", bbl(BBL::PUBLISHEDYEAR)),
                field("City:", "?BBL:PUBLISHERCITY", bbl(BBL::PUBLISHERCITY)),
                field("State:", "?BBL:PUBLISHERSTATE", bbl(BBL::PUBLISHERSTATE)),
                field("Publisher Country:", "?BBL:PUBLISHERCOUNTRY", bbl(BBL::PUBLISHERCOUNTRY)),
                field("CCLI:", "?BBL:CCLI", bbl(BBL::CCLI)),
                field("ISBN:", "?BBL:ISBN", bbl(BBL::ISBN)),
                fileField("Words:", "?BBL:WORDS", bbl(BBL::WORDS), "?LOOKUPFILE", "?VIEWWORDS"),
                fileField("Music:", "?BBL:MUSIC", bbl(BBL::MUSIC), "?LOOKUPFILE:2", "?VIEWMUSIC"),
                fileField("Video:", "?BBL:VIDEO", bbl(BBL::VIDEO), "?LOOKUPFILE:3", "?VIEWVIDEO"),
                // Worked out from the services that use the entry, so shown, not typed.
                shownField("First Used:", "?BBL:FIRSTUSED_DATE", bbl(BBL::FIRSTUSED_DATE), "@d17"),
                shownField("Last Used:", "?BBL:LASTUSED_DATE", bbl(BBL::LASTUSED_DATE), "@d17")}}};
    return d;
  }();
  return f;
}

}  // namespace

void UpdateBibliography() { RunForm(form()); }

}  // namespace vesp
