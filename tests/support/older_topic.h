#pragma once
// The Topic table as an older version declared it: one more text field, since dropped, and
// version 0, so that the program of today converts it when it opens it.
#include "dictionary/dictionary.h"
#include "runtime/data/schema.h"

namespace vtest {

inline vrt::TableSchema olderTopicSchema() {
  vrt::TableSchema old = *vesp::dict::table("Topic");
  vrt::FieldDesc gone;
  gone.name = "OLDNOTE";
  gone.label = old.prefix + ":OLDNOTE";
  gone.type = vrt::FieldType::String;
  gone.size = 12;
  gone.offset = old.recordSize;
  old.fields.push_back(gone);
  old.recordSize += gone.size;
  old.version = 0;
  return old;
}

}  // namespace vtest
