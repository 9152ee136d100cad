// vsp014: the performers, by last name; "C&lear" empties the look-up's record.
#include "dictionary/tables.h"
#include "screens/performers/performers.h"
#include "windows/browse_declaration.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

namespace PER = dict::idx::PER;

const BrowseDecl& browse() {
  static const BrowseDecl b = [] {
    BrowseDecl d("BrowsePerformers", "Browse the Performers File", tables::Performers);
    d.listTitle = "Browsing Records";
    d.columns = {{"Last Name", 20, "@s50", {tables::Performers, PER::LASTNAME}},
                 {"First Name", 20, "@s50", {tables::Performers, PER::FIRSTNAME}},
                 {"Title", 20, "@s50", {tables::Performers, PER::TITLE}},
                 {"Role", 20, "@s20", {tables::Performers, PER::ROLE}},
                 {"Email", 30, "@s100", {tables::Performers, PER::EMAIL}}};
    d.columns.back().hyperlink = true;  // a click writes to the person
    d.hiddenFields = {{tables::Performers, PER::PERFORMERSNUMBER}};
    d.tabs = {{"Last Name", PER::keys::LastNameKey, BrowseTab::Locator::Entry, "Last Name:"}};
    d.clear = true;
    d.form = UpdatePerformers;
    return d;
  }();
  return b;
}

}  // namespace

void BrowsePerformers() { RunBrowse(browse()); }

}  // namespace vesp
