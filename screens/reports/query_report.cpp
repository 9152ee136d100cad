// vsp065: the report of the prayer requests the browse's current query selects.
#include <string>

#include "querywizard/qrywiz.h"
#include "runtime/expr/bindings.h"
#include "runtime/text/utf8.h"
#include "screens/prayer/journal_handover.h"
#include "screens/reports/prayer_reports.h"

namespace vesp {

namespace {

constexpr std::size_t kTitleWidth = 80;
constexpr std::size_t kQueryWidth = 1024;
constexpr const char* kQueryClass = "PrayerRequest";

// description, field type, field, picture, length, data type, control, lookup, options
struct OfferedField {
  const char* description;
  const char* field;
  const char* picture;
  int length, dataType, control;
  const char* options;
};

const OfferedField kOffered[] = {
    {"PRA:Request Number", "PRA:RequestNumber", "@n-14", 4, 2, 1, ""},
    {"PRA:Request", "PRA:Request", "@s255", 5000, 1, 1, ""},
    {"PRA:Date Started", "PRA:DateStarted", "@d2-", 4, 4, 1, ""},
    {"PRA:Date Answered", "PRA:DateAnswered", "@d2-", 4, 4, 1, ""},
    {"PRA:Number of Days", "PRA:NumberDays", "@s10", 10, 1, 1, ""},
    {"PRA:Answer", "PRA:Answer", "@s20", 20, 1, 3, " |Yes|No|Other"},
    {"PRA:Comments", "PRA:Comments", "@s255", 5000, 1, 1, ""},
    {"PRA:Category", "PRA:RequestCategory", "@s30", 30, 1, 1, ""},
};

}  // namespace

std::string QueryReportFieldData() {
  const char valueEnd = static_cast<char>(0xA6), recordEnd = static_cast<char>(0xAB);
  std::string data;
  for (const OfferedField& f : kOffered) {
    for (const std::string& v : {std::string(f.description), std::string("0"), std::string(f.field),
                                 std::string(f.picture), std::to_string(f.length), std::to_string(f.dataType),
                                 std::to_string(f.control), std::string(), std::string(f.options)})
      data += v + valueEnd;
    data += recordEnd;
  }
  return data;
}

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
  ReportRun run;
  run.title = QueryReportTitle(HandedFilter(), HandedDescription(), RuntimeCategory());
  run.afterOrder = [](ReportRun& r) {
    qrywiz::XBQW_FIELDSQUEUE fields;
    std::int32_t error = 0;
    qrywiz::XB_ADDFIELDSQUEUEDATA(fields, error, QueryReportFieldData());
    if (error == 0) qrywiz::XB_INITFIELDSQUEUE(fields, kQueryClass);
    r.queryFilter = std::string(vrt::utf8Truncate(TakeHandedFilter(), kQueryWidth));
  };
  // A "SELECT CATEGORY" query names the category the browse ran it with.
  vrt::expr::BindingScope names;
  vrt::expr::bindName("RUNTIMECATEGORY", [] { return vrt::expr::Value::text(RuntimeCategory()); });
  RunReport(*prayerReport("ReportPrayerRequestQuery"), std::move(run));
}

}  // namespace vesp
