// vsp044: the performer groups by name; "C&lear" empties the look-up's record.
#include "dictionary/tables.h"
#include "screens/performers/performers.h"
#include "windows/browse_declaration.h"

namespace vesp {

namespace {

namespace PGH = dict::idx::PGH;

const BrowseDecl& browse() {
  static const BrowseDecl b = [] {
    BrowseDecl d("BrowsePerformerGroupHeader", "Browse the Performer Group File", tables::PerformerGroupHeader);
    d.listTitle = "Browsing Records";
    d.columns = {{"Description", 40, "@s50", {tables::PerformerGroupHeader, PGH::DESCRIPTION}}};
    d.hiddenFields = {{tables::PerformerGroupHeader, PGH::PERFORMERGROUPNUMBER}};
    d.tabs = {{"Group", PGH::keys::DescriptionKey}};
    d.clear = true;
    d.form = UpdatePerformerGroupHeader;
    return d;
  }();
  return b;
}

}  // namespace

void BrowsePerformerGroupHeader() { RunBrowse(browse()); }

}  // namespace vesp
