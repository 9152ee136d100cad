#pragma once
// The file-structure upgrader. Every physical open of a table passes through ds_FileOpen:
// a table whose stored structure or version differs from the one registered for it is
// converted in place first (fields copied by name, new fields blank or zero, keys
// rebuilt, record positions kept), inside one transaction, so a failed conversion leaves
// the old table exactly as it was. Files and a server's tables are converted alike.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/store/data_file.h"
#include "runtime/store/record_conversion.h"
#include "runtime/data/schema.h"

namespace vrt {

using UpgradeHandle = int;

// Starts (or joins) the upgrader for this process; the handle is kept for the whole run.
UpgradeHandle ds_PassHandleForUpgrading();
// Options: "BadFile" (1: a file that cannot be converted is renamed aside and created anew;
// 0: it is left alone and the open fails), "SPCreate" (1: a missing file may be created).
void ds_SetOption(std::string_view option, int value);
int ds_GetOption(std::string_view option);
// Drivers whose files the upgrader handles or ignores; recorded, for the file kinds in use.
void ds_AddDriver(std::string_view driver, const TableSchema& dummy, int value);
void ds_IgnoreDriver(std::string_view driver, int value);
// Registers a table's declared structure and version, by label.
void ds_UsingFile(std::string_view prefix, std::string_view label, const TableSchema& table, int version);
bool ds_IsRegistered(std::string_view label);
// Withdraws a table's registration: its files are opened as they stand from then on.
void ds_ForgetFile(std::string_view label);
// The labels registered, upper-cased, in order.
std::vector<std::string> ds_RegisteredFiles();
// The version registered for a table, or -1 when the table is not registered.
int ds_RegisteredVersion(std::string_view label);
// Called with a file's path ("" for a table on a server) before the upgrader converts it; a
// non-zero result (an error code, also in the thread's error state) stops the conversion
// and fails the open. Empty: tables are converted without a word.
void ds_SetBeforeConvert(std::function<int(const std::string& path)> hook);
// Told how far each conversion has come (runtime/store/record_conversion.h), on either
// engine. Empty: nothing is told.
void ds_SetConvertProgress(store::ConvertProgress hook);
// Converts the file when needed, then opens it. Returns 0 or the error code (also in the
// thread's error state).
int ds_FileOpen(DataFile& file, OpenAccess access);

// The conversion itself: brings the file at `path` holding `target.sqlTable()` to `target`.
// Returns 0 or the error code it recorded.
int convertFile(const std::string& path, const store::TableLayout& target, const store::ConvertProgress& progress = {});

// The structure `file`'s table is stored in, from its file or its server, labelled as
// `file`'s table; nullopt when there is none to read. Lets a copy or a backup take a table
// as it stands, before any conversion.
std::optional<TableSchema> storedSchema(const DataFile& file);

}  // namespace vrt
