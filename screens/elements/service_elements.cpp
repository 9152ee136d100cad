#include "screens/elements/service_elements.h"

#include <limits>

#include "dictionary/tables.h"
#include "records/levels.h"
#include "records/thread_dictionary.h"

namespace vesp {

void ForEachElementOf(std::int32_t service, const std::function<bool(vrt::RecordRef)>& each) {
  FileManager& f = Access(tables::ServiceElement);
  if (f.Use() != Level::Benign) return;
  int saved = f.SaveState();
  vrt::RecordRef e = *f.BUFFER();
  e.set(SEL_SERVICENUMBER, service);
  e.set(SEL_ELEMENTORDER, std::numeric_limits<std::int32_t>::min());
  f.FILE()->setToValue(dict::idx::SEL::keys::ServiceElementKey);
  while (f.FILE()->next() && e.get(SEL_SERVICENUMBER) == service && each(e)) {
  }
  f.RestoreState(saved);
}

}  // namespace vesp
