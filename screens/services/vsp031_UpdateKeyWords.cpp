#include "dictionary/tables.h"
#include "screens/services/services.h"
#include "screens/services/text_lookup.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

const NamedProcedure kBrowseKeyWordsDefault{"BrowseKeyWordsDefault"};

const FormDecl& keyWordsForm() {
  static const FormDecl form = [] {
    const auto& t = tables::KeyWords;
    FormDecl f("UpdateKeyWords", "Update the KeyWords File", t, "Key Words");
    f.tabs = {{"General",
               {TextLookup("Key Word:", "?KWD:KEYWORD", {t, dict::idx::KWD::KEYWORD}, tables::KeyWordsDefault,
                           dict::idx::KWF::keys::KeyWordkey, dict::idx::KWF::KEYWORD, kBrowseKeyWordsDefault)}}};
    return f;
  }();
  return form;
}

}  // namespace

void UpdateKeyWords() { RunForm(keyWordsForm()); }

}  // namespace vesp
