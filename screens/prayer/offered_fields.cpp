#include "screens/prayer/offered_fields.h"

#include "querywizard/field_registry.h"
#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"

namespace vesp {

namespace {

struct OfferedField {
  const char *description, *name, *picture, *length, *dataType, *control, *options;
};

// Every field is a table field (type 0) without a look-up. The number of days is stored
// as text but offered as a number, so that it is compared by value ("10" is more than "5").
constexpr OfferedField kFields[] = {
    {"PRA:Request Number", "PRA:RequestNumber", "@n-14", "4", "2", "1", ""},
    {"PRA:Request", "PRA:Request", "@s255", "5000", "1", "1", ""},
    {"PRA:Date Started", "PRA:DateStarted", "@d2-", "4", "4", "1", ""},
    {"PRA:Date Answered", "PRA:DateAnswered", "@d2-", "4", "4", "1", ""},
    {"PRA:Number of Days", "PRA:NumberDays", "@n-10", "10", "2", "1", ""},
    {"PRA:Answer", "PRA:Answer", "@s20", "20", "1", "3", " |Yes|No|Other"},
    {"PRA:Comments", "PRA:Comments", "@s255", "5000", "1", "1", ""},
    {"PRA:Category", "PRA:RequestCategory", "@s30", "30", "1", "1", ""},
};

constexpr char kValueEnd = '\xA6', kRecordEnd = '\xAB';

}  // namespace

const std::string& PrayerRequestFieldsText() {
  static const std::string text = [] {
    std::string s;
    for (const OfferedField& f : kFields) {
      for (const char* v : {f.description, "0", f.name, f.picture, f.length, f.dataType, f.control, "", f.options})
        (s += v) += kValueEnd;
      s += kRecordEnd;
    }
    return s;
  }();
  return text;
}

int RegisterPrayerRequestFields(qrywiz::XBQW_FIELDSQUEUE& fields) {
  return RegisterPrayerRequestFields(fields, PrayerRequestFieldsText());
}

int RegisterPrayerRequestFields(qrywiz::XBQW_FIELDSQUEUE& fields, std::string_view packed) {
  fields.clear();
  std::int32_t error = 0;
  qrywiz::XB_ADDFIELDSQUEUEDATA(fields, error, packed);
  if (error != 0)
    vrt::Message("An error has prevented the Query Wizard from initializing.",
                 "Query Wizard Error# " + std::to_string(error), vrt::kIconExclamation);
  qrywiz::XB_INITFIELDSQUEUE(fields, kPrayerRequestClass);
  return error;
}

}  // namespace vesp
