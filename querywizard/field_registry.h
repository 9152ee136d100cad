#pragma once
// Registering a caller's offered fields: each keeps one persistent number across runs,
// because saved queries refer to fields by it.
#include <cstdint>
#include <string_view>

#include "querywizard/lists.h"

namespace qrywiz {

// Ranks the list by upper-cased description, gives every record its persistent number
// (new fields the lowest free one), and marks the saved queries of the class that used a
// field which is gone as invalid. The list is left sorted by QWFLDQPOINTER.
void XB_INITFIELDSQUEUE(XBQW_FIELDSQUEUE& fields, std::string_view className);

// Appends the records of the packed text (values closed by 0xA6, records by 0xAB). Does
// nothing when `error` is non-zero on entry; on return 0, -1 (a record without exactly nine
// values) or -2 (the text does not end with 0xAB), and on an error the list is empty.
void XB_ADDFIELDSQUEUEDATA(XBQW_FIELDSQUEUE& fields, std::int32_t& error, std::string_view data);

}  // namespace qrywiz
