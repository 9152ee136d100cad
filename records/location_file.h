#pragma once
// Where this station's data lives, kept in "DataLocation.ini" in the program's folder: the
// files in that folder (also when the file is missing, so that a station never set up
// notices nothing), or a PostgreSQL server. The file never holds a password: one comes
// from the standard PostgreSQL password file, or is asked at start-up and kept in memory.
//
// The file is the station's own, like its window positions, but it is not a data file:
// backup sets leave it out, so restoring a set never moves the data somewhere else.
#include <string>

#include "runtime/store/data_location.h"

namespace vesp::location {

using vrt::store::DataLocation;

inline constexpr const char* kLocationFile = "DataLocation.ini";
inline constexpr const char* kSection = "DataLocation";
inline constexpr int kDefaultPort = 5432;

// Whether both put the data in the same place (the server's fields that a choice of the
// files keeps for later do not count).
bool samePlace(const DataLocation& a, const DataLocation& b);

// Why a server location cannot be recorded, as a sentence for the user, or "" when it can
// (always "" for the files). Stricter than the store: no blanks in the host, names the
// server can keep.
std::string problemWith(const DataLocation& location);

struct ReadResult {
  // The files of the folder, keeping the server's fields the file holds; or the server.
  DataLocation location;
  bool recorded = false;  // the file was there
  std::string error;      // the file cannot be read or names a server that cannot be used
};

// The location recorded in `folder`. A missing file reads as the files in the folder; a
// file that is there but unreadable or wrong gives an error and is never taken as the files.
ReadResult readLocation(const std::string& folder);
// Records `location` in `folder`, keeping whatever else the file holds; "" or what went
// wrong. Refuses a server location that problemWith() finds fault with.
std::string writeLocation(const std::string& folder, const DataLocation& location);

}  // namespace vesp::location
