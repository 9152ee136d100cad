#pragma once
// Positions: where a record stands in an order, as a string of at most 1,024 bytes that
// callers keep and hand back. It holds the record's file position and the values of the
// order's columns, so that a position stays meaningful after its record has gone.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/store/table_layout.h"

namespace vrt::store {

inline constexpr std::size_t kMaxPositionBytes = 1024;

std::string encodePosition(std::int64_t rowid, const std::vector<KeyValue>& values);

struct DecodedPosition {
  std::int64_t rowid = 0;
  std::vector<KeyValue> values;  // as many as fitted
  bool whole = false;             // every value fitted uncut
};
std::optional<DecodedPosition> decodePosition(const std::string& position);

}  // namespace vrt::store
