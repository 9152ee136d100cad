#pragma once
// Where the program's data lives: the files of a folder (the embedded default, one SQLite
// file per table) or one PostgreSQL database on a server. Opening the data at a location
// makes every DataFile made afterwards in this process (and so every View and Transaction
// over them) work there; nothing above the store needs to know which one it is.
//
// A location never holds a password. A server's password comes from libpq's password file
// (~/.pgpass, or the file PGPASSFILE names) or from setSessionPassword(), which keeps it in
// this process's memory only.
#include <optional>
#include <string>
#include <string_view>

namespace vrt::store {

// How a connection to the server uses TLS; the words are libpq's "sslmode" values and pass
// through to it unchanged (certificate files come from libpq's own defaults and variables).
enum class TlsMode { Disable, Allow, Prefer, Require, VerifyCa, VerifyFull };
// "disable", "allow", "prefer", "require", "verify-ca", "verify-full".
const char* tlsModeName(TlsMode mode);
std::optional<TlsMode> tlsModeFromName(std::string_view name);

struct DataLocation {
  enum class Kind { Files, Server };
  Kind kind = Kind::Files;

  // Files: the data folder; "." is the program's current directory, as it always was.
  std::string folder = ".";

  // Server. `host` is a name, an address, or (starting with "/") the folder of the
  // server's Unix socket; empty means libpq's default. `port` 0 means libpq's default.
  std::string host;
  int port = 5432;
  std::string database;
  std::string user;
  TlsMode tls = TlsMode::Prefer;

  static DataLocation files(std::string folder = ".");
  static DataLocation server(std::string host, int port, std::string database, std::string user,
                             TlsMode tls = TlsMode::Prefer);

  bool onServer() const { return kind == Kind::Server; }
  // What makes the location unusable as given ("The database name is empty."), or "".
  std::string problem() const;
  // The libpq connection string: keyword = 'value' pairs, each value quoted and escaped, so
  // no text the user typed can add a keyword of its own. Never holds a password.
  std::string connectionString() const;
  // For the status bar and messages: "Files in /home/ann/data" or
  // "Database vesp on office-pc:5432 as ann".
  std::string describe() const;

  bool operator==(const DataLocation&) const = default;
};

// Reads a connection as a user or a script writes it: libpq's "host=… dbname=…" form or a
// "postgresql://user@host:port/db?sslmode=…" address. A password written in it is not kept
// in the location: it goes to `password` (when given) and nowhere else. On a bad text,
// nullopt and the reason in `error`.
std::optional<DataLocation> parseConnection(std::string_view text, std::string* error = nullptr,
                                            std::string* password = nullptr);

// The password for server connections of this process, typed by the user at start-up; kept
// in memory only and never written anywhere. Empty: libpq's password file applies.
void setSessionPassword(std::string password);
void forgetSessionPassword();
bool hasSessionPassword();

// The result of trying a location.
struct ConnectionCheck {
  bool ok = false;
  // The server wants a password that neither the password file nor the session gave, or
  // refused the one given: ask the user and try again.
  bool needsPassword = false;
  // For the user, whole sentences ("The server office-pc cannot be reached: …").
  std::string error;
  // When ok: "PostgreSQL 15.4" or "Files".
  std::string server;
  // When ok: whether the location holds none of the program's tables yet.
  bool empty = false;
};

// Tries the location without opening it: a folder that exists and can be written, or a
// server that accepts the connection (with `password` when given, else the session's or
// the password file's). Cheap: one connection, one query, then closed. A server is given
// a few seconds at most to answer.
ConnectionCheck testConnection(const DataLocation& location, const std::string& password = {});

// Makes `location` where this process's data lives, after checking it as testConnection
// does. On failure nothing changes and the data stays where it was. The program calls it
// at start-up, before any table is opened; tables already open stay where they are.
ConnectionCheck openData(const DataLocation& location);
// Where the data lives now; Files in "." until openData says otherwise.
const DataLocation& currentDataLocation();

}  // namespace vrt::store
