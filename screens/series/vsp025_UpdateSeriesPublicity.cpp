#include "dictionary/tables.h"
#include "screens/series/series.h"
#include "windows/form_declaration.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

namespace SEP = dict::idx::SEP;
namespace PUL = dict::idx::PUL;

const FormDecl& publicityForm() {
  static const FormDecl form = [] {
    const auto& t = tables::SeriesPublicity;
    FormDecl f("UpdateSeriesPublicity", "Update the SeriesPublicity File", t, "Series Publicity");
    // The look-up copies the chosen text: later changes of the kind leave the row alone.
    LookupDecl kind = lookupInto("?CALLLOOKUP", 1, tables::Publicity, PUL::keys::PublicityKey, PUL::PUBLICITYDESCRIPTION);
    f.tabs = {{"General",
               {lookupField("Publicity Description:", "?SEP:PUBLICITYDESCRIPTION", {t, SEP::PUBLICITYDESCRIPTION},
                            kind)}}};
    f.calls = {{1, ProcedureNamed("BrowsePublicity")}};
    return f;
  }();
  return form;
}

}  // namespace

void UpdateSeriesPublicity() { RunForm(publicityForm()); }
}  // namespace vesp
