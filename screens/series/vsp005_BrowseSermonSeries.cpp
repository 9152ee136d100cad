#include "dictionary/tables.h"
#include "screens/series/series.h"
#include "windows/browse_declaration.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

namespace SSE = dict::idx::SSE;

const BrowseDecl& seriesBrowse() {
  static const BrowseDecl browse = [] {
    BrowseDecl b("BrowseSermonSeries", "Browse the Sermon Series File", tables::SermonSeries);
    const auto& t = tables::SermonSeries;
    b.listTitle = "Browsing Records";
    b.columns = {{"Name", 30, "@s75", {t, SSE::NAME}},
                 {"Description", 40, "@s255", {t, SSE::DESCRIPTION}},
                 {"Start Date", 10, "@d17", {t, SSE::STARTDATE_DATE}},
                 {"End Date", 10, "@d17", {t, SSE::ENDDATE_DATE}},
                 {"Poster Image", 30, "@s100", {t, SSE::POSTERIMAGE}, false, true},
                 {"Web Graphic", 30, "@s100", {t, SSE::WEBGRAPHIC}, false, true}};
    b.hiddenFields = {{t, SSE::SERIESNUMBER}};
    b.tabs = {{"Series Date", SSE::keys::StartDateKey, BrowseTab::Locator::Entry, "Date:", ThumbStep::kDigits, true},
              {"Series Name", SSE::keys::NameKey, BrowseTab::Locator::Entry, "Name:", ThumbStep::kLetters}};
    b.form = UpdateSermonSeries;
    return b;
  }();
  return browse;
}

}  // namespace

void BrowseSermonSeries() { RunBrowse(seriesBrowse()); }

}  // namespace vesp
