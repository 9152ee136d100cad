#include "dictionary/tables.h"
#include "screens/series/series.h"
#include "windows/form_declaration.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

namespace SEP = dict::idx::SEP;
namespace PUL = dict::idx::PUL;

const NamedProcedure kBrowsePublicity{"BrowsePublicity"};

const FormDecl& publicityForm() {
  static const FormDecl form = [] {
    const auto& t = tables::SeriesPublicity;
    FormDecl f("UpdateSeriesPublicity", "Update the SeriesPublicity File", t, "Series Publicity");
    // The look-up copies the chosen text: later changes of the kind leave the row alone.
    LookupDecl kind = lookupInto(kLookupButtonUse, kBrowsePublicity, tables::Publicity, PUL::keys::PublicityKey, PUL::PUBLICITYDESCRIPTION);
    f.tabs = {{"General",
               {lookupField("Publicity Description:", "?SEP:PUBLICITYDESCRIPTION", {t, SEP::PUBLICITYDESCRIPTION},
                            kind)}}};
    return f;
  }();
  return form;
}

}  // namespace

void UpdateSeriesPublicity() { RunForm(publicityForm()); }
}  // namespace vesp
