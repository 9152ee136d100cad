// vsp065: the report of the prayer requests the browse's current query selects.
#include <string>

#include "runtime/expr/bindings.h"
#include "runtime/text/utf8.h"
#include "screens/prayer/journal_handover.h"
#include "screens/prayer/offered_fields.h"
#include "screens/reports/prayer_reports.h"

namespace vesp {

namespace {

constexpr std::size_t kTitleWidth = 80;

}  // namespace

std::string QueryReportTitle(std::string_view filter, std::string_view description, std::string_view category) {
  std::string title;
  if (vrt::clip(filter).empty()) title = "Prayer Requests All";
  else if (vrt::upperCase(vrt::clip(description)) == "SELECT CATEGORY")
    title = "Prayer Requests For Query - " + std::string(vrt::clip(category));
  else
    title = "Prayer Requests For Query - " + std::string(vrt::clip(description));
  return std::string(vrt::utf8Truncate(title, kTitleWidth));
}

void ReportPrayerRequestQuery() {
  // The query is the report's own from the start: nothing a browse hands over while the
  // order window is open changes what this report prints or how it is titled.
  const QueryHandover query = TakeQueryHandover();
  ReportRun run;
  run.title = QueryReportTitle(query.filter, query.description, query.category);
  run.queryFilter = query.filter;
  run.afterOrder = [](ReportRun&) {
    qrywiz::XBQW_FIELDSQUEUE fields;
    RegisterPrayerRequestFields(fields);
  };
  // A "SELECT CATEGORY" query names the category the browse ran it with.
  vrt::expr::BindingScope names;
  vrt::expr::bindName("RUNTIMECATEGORY", [category = query.category] { return vrt::expr::Value::text(category); });
  RunReport(*prayerReport("ReportPrayerRequestQuery"), std::move(run));
}

}  // namespace vesp
