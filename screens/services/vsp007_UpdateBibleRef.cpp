#include "dictionary/tables.h"
#include "screens/services/services.h"
#include "screens/services/text_lookup.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

namespace BIB = dict::idx::BIB;
namespace BID = dict::idx::BID;

const NamedProcedure kBrowseBibleDefault{"BrowseBibleDefault"};

const FormDecl& bibleRefForm() {
  static const FormDecl form = [] {
    const auto& t = tables::BibleRef;
    FormDecl f("UpdateBibleRef", "Update the BibleRef File", t, "Bible Reference");
    f.tabs = {{"General",
               {TextLookup("Bible Version:", "?BIB:BIBLEVERSION", {t, BIB::BIBLEVERSION}, tables::BibleDefault,
                           BID::keys::BibleKey, BID::BIBLE, kBrowseBibleDefault),
                field("Book:", "?BIB:BOOK", {t, BIB::BOOK}, "@s30"),
                field("Start Chapter:", "?BIB:STARTCHAPTER", {t, BIB::STARTCHAPTER}, "@n-14"),
                field("Start Verse:", "?BIB:STARTVERSE", {t, BIB::STARTVERSE}, "@n-14"),
                field("End Chapter:", "?BIB:ENDCHAPTER", {t, BIB::ENDCHAPTER}, "@n-14"),
                field("End Verse:", "?BIB:ENDVERSE", {t, BIB::ENDVERSE}, "@n-14")}}};
    return f;
  }();
  return form;
}

}  // namespace

void UpdateBibleRef() { RunForm(bibleRefForm()); }

}  // namespace vesp
