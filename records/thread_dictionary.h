#pragma once
// Each thread's copy of the dictionary: every table with its record buffer, its file manager
// and its relation manager, created by one set-up call and destroyed, in reverse order, by
// one kill call. Two threads never share a record buffer.
#include "dictionary/declare.h"
#include "records/file_manager.h"
#include "records/relation_manager.h"

namespace vesp {

// Creates this thread's copy (does nothing when it exists).
void SetupDictionaryForThread();
// Kills the relation managers, then the file managers, then releases the tables.
void KillDictionaryForThread();
bool DictionaryIsSetUp();

// This thread's managers and buffer of a table (the dictionary must be set up).
FileManager& Access(const dict::TableDecl& table);
RelationManager& Relate(const dict::TableDecl& table);
vrt::RecordBuffer& Buffer(const dict::TableDecl& table);
vrt::DataFile& TableFile(const dict::TableDecl& table);
// The same by table label, any case.
FileManager& Access(std::string_view label);
RelationManager& Relate(std::string_view label);

}  // namespace vesp
