#pragma once
// Print buttons start their report by name on a thread of its own, which outlives the
// browse that started it.
namespace vesp {

void StartJournalReport(const char* procedure);

}  // namespace vesp
