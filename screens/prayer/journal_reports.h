#pragma once
// Print buttons start their report by name on a thread of its own, which outlives the
// browse that started it.
#include "windows/procedures.h"

namespace vesp {

struct QueryHandover;

void StartJournalReport(const NamedProcedure& report);
// The query report, with the query it is to print bound to its thread before it runs.
void StartQueryReport(const QueryHandover& handover);

}  // namespace vesp
