#pragma once
// Planning a service from another one: the copy gets the original's elements (with their
// performers, durations and notes), Bible passages and key words, all written in one
// transaction. Its statistics and files are not copied, and it has dates of creation of
// its own: it is a new plan, not a record of what happened.
#include <cstdint>
#include <string>

#include "runtime/text/dates.h"

namespace vesp {

class BrowseScreen;

struct ServiceCopy {
  bool ok = false;
  std::string error;        // why not, for the user, when not ok
  std::int32_t number = 0;  // the new service's
  int elements = 0, passages = 0, keyWords = 0;
};

// Copies service `from` as a service titled `title` for the week of `weekOf`, on this
// thread. All or nothing: on failure nothing was written. The buffers of the tables it
// writes are left as the copy's last records.
ServiceCopy CopyService(std::int32_t from, vrt::DayNumber weekOf, const std::string& title);

// The service browse's "Copy Service...": asks for the copy's week-of date and title,
// copies the service the browse's Service buffer holds and opens the copy in the change
// form. Cancelling the form deletes the copy and all that was copied with it; the program
// ending meanwhile keeps it. The browse then shows the copy highlighted, or the row it
// stood on.
void CopyServiceFromBrowse(BrowseScreen& browse);

}  // namespace vesp
