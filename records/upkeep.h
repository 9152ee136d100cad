#pragma once
// Upkeep: work that keeps fields of other tables in step with one table's records (a total,
// a first or last date). The relation manager runs a table's upkeep after each insert,
// change and delete of its records, the table's own and those a cascade reaches, inside the
// same transaction as the write and over the files the upkeep names, framed with it. When
// the upkeep fails, the write is undone with it.
//
// Contract for `apply`: `before` is the record as stored before the write (nullptr for an
// insert), `after` the record as written (nullptr for a delete). It may read and write the
// files it names through this thread's file managers (they are open, and any of them may
// be the table being written); it leaves every file's cursor and buffer as it found them, and
// does not write the records the write itself changes (they would then look changed by
// another station when the write goes on).
// It returns false, with the thread's error state set, when it could not do its work.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/text/record.h"

namespace vesp {

struct Upkeep {
  std::string name;                 // registering the same name again replaces it
  std::vector<std::string> tables;  // labels of the files it reads or writes
  std::function<bool(const vrt::RecordBuffer* before, const vrt::RecordBuffer* after)> apply;
};

// Process-wide; registered at start-up, before any thread writes.
void RegisterUpkeep(std::string_view table, Upkeep upkeep);
// The upkeep registered for a table (by label, any case); empty when none.
const std::vector<Upkeep>& UpkeepOf(std::string_view table);

}  // namespace vesp
