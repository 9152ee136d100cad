#pragma once
// Where this station's data lives, kept in "DataLocation.ini" in the program's folder: the
// files in that folder (also when the file is missing, so that a station never set up
// notices nothing), or a PostgreSQL server. The file never holds a password: one comes
// from the standard PostgreSQL password file, or is asked at start-up and kept in memory.
//
// The file is the station's own, like its window positions, but it is not a data file:
// backup sets leave it out, so restoring a set never moves the data somewhere else.
#include <cstdint>
#include <string>
#include <vector>

namespace vesp::location {

inline constexpr const char* kLocationFile = "DataLocation.ini";
inline constexpr const char* kSection = "DataLocation";
inline constexpr std::int32_t kDefaultPort = 5432;
inline constexpr const char* kDefaultTlsMode = "prefer";

enum class Store { Files, Server };

// libpq's TLS modes (its "sslmode"), the weakest first.
const std::vector<std::string>& tlsModes();

// The choice as the user made it. Set by readLocation() or the Data Location window; the
// server's fields are kept while the files are chosen, so that switching back finds them.
struct Choice {
  Store store = Store::Files;
  std::string host;      // a name, an address, or a folder holding the server's socket
  std::int32_t port = kDefaultPort;
  std::string database;
  std::string user;      // empty: the login name of whoever runs the program
  std::string tlsMode = kDefaultTlsMode;

  bool onServer() const { return store == Store::Server; }
  bool operator==(const Choice&) const = default;
};

// Why the server's fields cannot be used, as a sentence for the user, or "" when they can
// (always "" while the files are chosen).
std::string problemWith(const Choice& choice);

struct ReadResult {
  Choice choice;
  bool recorded = false;  // the file was there
  std::string error;      // the file cannot be read or names a server that cannot be used
};

// The choice recorded in `folder`. A missing file reads as the files in the folder; a file
// that is there but unreadable or wrong gives an error and is never taken as the files.
ReadResult readLocation(const std::string& folder);
// Records `choice` in `folder`, keeping whatever else the file holds; "" or what went
// wrong. Refuses a server choice that problemWith() finds fault with.
std::string writeLocation(const std::string& folder, const Choice& choice);

// Where the data lives, in a few words for the status bar and messages: "Files in
// /home/office/vespera" or "Server: vespera on office-pc:5432 as pastor".
std::string describe(const Choice& choice, const std::string& folder);

}  // namespace vesp::location
