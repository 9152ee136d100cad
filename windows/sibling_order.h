#pragma once
// Moving one record among the records that share a parent (a service's elements) and
// numbering them all again in steps of 10, in one transaction: either every place changes
// or none, and no two of them are ever left with one place.
#include <cstdint>

#include "runtime/store/table_layout.h"

namespace vesp {

class FileManager;

enum class SiblingMove { Up, Down, Onto };
enum class MoveResult {
  Moved,
  Unchanged,  // already first (up) or last (down), or dropped onto itself
  Failed,     // the user was told why; nothing changed
};

// The records of `file` whose key `key` begins with `parent`, in key order, hold their
// place in `orderField` (the key's next component). Moves the record with row id `moving`
// one place up or down, or (Onto) to the place of the record with row id `target`, then
// numbers every one of them 10, 20, 30 ... in that order. The file's state (position and
// buffer) is as it was before the call.
MoveResult MoveSibling(FileManager& file, int key, int orderField, const vrt::store::KeyValue& parent,
                       std::int64_t moving, SiblingMove how, std::int64_t target = 0);

}  // namespace vesp
