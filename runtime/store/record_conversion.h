#pragma once
// Carrying records from the structure a table is stored in to the one declared for it, the
// same way on every engine: each stored field of the new structure takes the value of the
// old field of the same name (text cut on a character boundary when it became shorter,
// numbers carried across a change of type); a field the old structure lacks starts blank or
// zero.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/data/schema.h"
#include "runtime/text/record.h"

namespace vrt::store {

// Told how far a conversion has come: the table's label, the records carried so far and the
// records in all. Called on the converting thread at the start, every few hundred records,
// and at the end.
using ConvertProgress = std::function<void(const std::string& label, std::int64_t done, std::int64_t total)>;
// A caller's own step after each record is carried: `dst` holds the record in the new
// structure, `src` the stored one in `from`.
using RecordAdjust = std::function<void(const TableSchema& from, const RecordRef& src, RecordBuffer& dst)>;

class RecordConversion {
 public:
  // Both schemas must outlive the conversion.
  RecordConversion(const TableSchema& from, const TableSchema& to);
  // Clears `dst` and fills it from `src`.
  void apply(const RecordRef& src, RecordBuffer& dst) const;

 private:
  const TableSchema& from_;
  const TableSchema& to_;
  std::vector<std::pair<int, int>> pairs_;  // (old field, new field) for every stored new field
};

}  // namespace vrt::store
