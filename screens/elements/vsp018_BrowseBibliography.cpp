// vsp018: the bibliography, by title, by number, or by when it was last used, with the
// number of services that used each entry.
#include "dictionary/tables.h"
#include "records/levels.h"
#include "records/thread_dictionary.h"
#include "screens/elements/elements.h"
#include "worship/song_rotation.h"
#include "windows/browse_declaration.h"

namespace vesp {

namespace {

namespace BBL = dict::idx::BBL;

BrowseColumn text(const char* header, int width, const char* picture, int field) {
  return {header, width, picture, {tables::Bibliography, field}};
}

// Counted per row shown, off the elements' side index by entry number.
std::string timesUsed() {
  if (Access(tables::ServiceElement).Use() != Level::Benign) return {};  // opened lazily
  const int count = TimesUsed(TableFile(tables::ServiceElement), Buffer(tables::Bibliography).get(BBL_BIBLIOGRAPHYNUMBER));
  return count < 0 ? std::string() : std::to_string(count);
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
                 text("Publisher City", 20, "@s50", BBL::PUBLISHERCITY),
                 text("Last Used", 10, "@d17b", BBL::LASTUSED_DATE),
                 localColumn("Times Used", 6, "@n6", "LOC:TimesUsed", timesUsed)};
    d.columns.front().align = vrt::ColumnAlign::Center;
    d.lookupTables = {&tables::ServiceElement};
    d.tabs = {{"Title", BBL::keys::TitleKey, BrowseTab::Locator::Entry, "Title:"},
              {"Bibliography #", BBL::keys::BibliographyNumberKey, BrowseTab::Locator::Entry, "Bibliography #:",
               ThumbStep::kDigits, true},
              // Most recent first, so the songs not sung for longest gather at the end with
              // those never used (no date) last of all: what a leader looks at to rotate.
              {"Last Used", BBL::keys::BibliographyNumberKey, BrowseTab::Locator::None, "", 0, false,
               "-BBL:LASTUSED_DATE"}};
    d.wordSearch = "Search:";  // any word of the title, writer, CCLI or ISBN, as it is typed
    d.form = UpdateBibliography;
    return d;
  }();
  return b;
}

}  // namespace

void BrowseBibliography() { RunBrowse(browse()); }

}  // namespace vesp
