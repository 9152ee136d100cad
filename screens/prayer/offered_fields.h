#pragma once
// The prayer-request fields the query wizard offers, registered under one class name by
// every caller (the browse and the report that prints its query) so that saved queries
// number their fields alike.
#include <string>
#include <string_view>

#include "querywizard/lists.h"

namespace vesp {

inline constexpr const char* kPrayerRequestClass = "PrayerRequest";

// The fields as the wizard reads them: nine values a record, each closed by 0xA6, every
// record closed by 0xAB.
const std::string& PrayerRequestFieldsText();

// Empties the list and registers the fields. When the text is refused the user is told
// ("Query Wizard Error# " and the code) and the list stays empty; returns that code, 0
// when the fields are in.
int RegisterPrayerRequestFields(qrywiz::XBQW_FIELDSQUEUE& fields);
// The same with another packed text (a damaged one, say).
int RegisterPrayerRequestFields(qrywiz::XBQW_FIELDSQUEUE& fields, std::string_view packed);

}  // namespace vesp
