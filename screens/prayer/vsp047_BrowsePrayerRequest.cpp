// vsp047 BrowsePrayerRequest: the prayer requests, the saved queries over them and the
// prayer-request reports.
#include "screens/prayer/prayer_request.h"

#include "dictionary/tables.h"
#include "screens/prayer/journal_conventions.h"
#include "screens/prayer/journal_reports.h"
#include "screens/prayer/query_binding.h"
#include "windows/browse_screen.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

namespace PRA = dict::idx::PRA;
using vrt::ColumnAlign;

const NamedProcedure kReportPrayerRequest{"ReportPrayerRequest"};
const NamedProcedure kReportPrayerRequestAnswered{"ReportPrayerRequestAnswered"};
const NamedProcedure kReportPrayerRequestAll{"ReportPrayerRequestAll"};

struct PrintButton {
  const char *use, *text;
  const NamedProcedure* report;
};
// "Print &Query" is the saved queries' own: it hands their filter over first.
constexpr PrintButton kPrintButtons[] = {
    {"?PrintRequests", "Print &Requests", &kReportPrayerRequest},
    {"?PrintAnswered", "Print &Answered Requests", &kReportPrayerRequestAnswered},
    {"?PrintAll", "&Print All", &kReportPrayerRequestAll},
};

BrowseColumn col(const char* heading, int width, const char* picture, int field, ColumnAlign align = ColumnAlign::Left) {
  BrowseColumn c{heading, width, picture, {tables::PrayerRequest, field}};
  c.align = align;
  return c;
}

const BrowseDecl& prayerRequestBrowse() {
  static const BrowseDecl browse = [] {
    BrowseDecl b("BrowsePrayerRequest", "Browse the Prayer Request File", tables::PrayerRequest);
    FollowJournalConventions(b);
    b.listTitle = "Browsing the PrayerRequest file";
    b.columns = {col("Request #", 10, "@n9", PRA::REQUESTNUMBER, ColumnAlign::Center),
                 col("Prayer Request", 36, "@s255", PRA::REQUEST),
                 col("Category", 12, "@s30", PRA::REQUESTCATEGORY),
                 col("Date Started", 12, "@d2-b", PRA::DATESTARTED, ColumnAlign::Center),
                 col("Date Answered", 14, "@d2-b", PRA::DATEANSWERED, ColumnAlign::Center),
                 col("Answer", 8, "@s20", PRA::ANSWER, ColumnAlign::Center),
                 col("Days", 5, "@s10", PRA::NUMBERDAYS, ColumnAlign::Center)};
    // Each order leads with a number (a day or the request's): the thumb maps onto it.
    for (auto [caption, key] : {std::pair{"Date Started", PRA::keys::DateStartedKey},
                                {"Date Answered", PRA::keys::DateAnsweredKey},
                                {"Request #", PRA::keys::RequestNumberKey}})
      b.tabs.push_back({caption, key, BrowseTab::Locator::None, {}, ThumbStep::kDigits, true});
    b.view = true;
    b.closeText = "&Close";
    b.helpText = "&Help";
    b.form = UpdatePrayerRequest;
    for (const PrintButton& p : kPrintButtons) b.extraButtons.push_back(vrt::button(p.use, p.text));
    b.extraButtons.push_back(vrt::button(kPrintQueryUse, "Print &Query"));
    b.onButton = [](BrowseScreen& screen, int control) {
      for (const PrintButton& p : kPrintButtons)
        if (control == screen.MYWINDOW()->number(p.use)) {
          StartJournalReport(*p.report);
          return EventResult::Consumed;
        }
      return EventResult::Continue;
    };
    b.extraControls = QueryBinding::Controls();
    b.attach = [](BrowseScreen& screen) -> std::unique_ptr<WindowComponent> {
      return std::make_unique<QueryBinding>(screen);
    };
    return b;
  }();
  return browse;
}

}  // namespace

void BrowsePrayerRequest() { RunBrowse(prayerRequestBrowse()); }

}  // namespace vesp
