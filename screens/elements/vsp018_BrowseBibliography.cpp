// vsp018: the bibliography, by title or by number.
#include "dictionary/tables.h"
#include "screens/elements/elements.h"
#include "windows/browse_declaration.h"

namespace vesp {

namespace {

namespace BBL = dict::idx::BBL;

BrowseColumn text(const char* header, int width, const char* picture, int field) {
  return {header, width, picture, {tables::Bibliography, field}};
}

const BrowseDecl& browse() {
  static const BrowseDecl b = [] {
    BrowseDecl d("BrowseBibliography", "Browse the Bibliography File", tables::Bibliography);
    d.listTitle = "Browsing Records";
    d.columns = {text("Bibliography #", 8, "@n-7", BBL::BIBLIOGRAPHYNUMBER),
                 text("Title", 30, "@s50", BBL::TITLE),
                 text("Description", 30, "@s255", BBL::DESCRIPTION),
                 text("Written By", 20, "@s50", BBL::WRITTENBY),
                 text("Music By", 20, "@s50", BBL::MUSICBY),
                 text("Duration", 10, "@s10", BBL::DURATION),
                 text("Publisher", 20, "@s50", BBL::PUBLISHER),
                 text("Published Year", 6, "@s4", BBL::PUBLISHEDYEAR),
                 text("Publisher City", 20, "@s50", BBL::PUBLISHERCITY)};
    d.columns.front().align = vrt::ColumnAlign::Center;
    d.tabs = {{"Title", BBL::keys::TitleKey, BrowseTab::Locator::Entry, "Title:"},
              {"Bibliography #", BBL::keys::BibliographyNumberKey, BrowseTab::Locator::Entry, "Bibliography #:",
               ThumbStep::kDigits, true}};
    d.wordSearch = "Search:";  // any word of the title, writer, CCLI or ISBN, as it is typed
    d.form = 1;
    d.calls = {{1, UpdateBibliography}};
    return d;
  }();
  return b;
}

}  // namespace

void BrowseBibliography() { RunBrowse(browse()); }

}  // namespace vesp
