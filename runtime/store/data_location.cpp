#include "runtime/store/data_location.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "runtime/store/pg_db.h"

namespace vrt::store {

namespace {

constexpr const char* kTlsNames[] = {"disable", "allow", "prefer", "require", "verify-ca", "verify-full"};

DataLocation& current() {
  static DataLocation location;
  return location;
}

std::string& password() {
  static std::string text;
  return text;
}

// A value for a libpq connection string: quoted, with quotes and backslashes escaped.
std::string conninfoValue(const std::string& v) {
  std::string out = "'";
  for (char c : v) {
    if (c == '\'' || c == '\\') out += '\\';
    out += c;
  }
  return out + "'";
}

}  // namespace

const char* tlsModeName(TlsMode mode) { return kTlsNames[static_cast<int>(mode)]; }

std::optional<TlsMode> tlsModeFromName(std::string_view name) {
  for (int i = 0; i < 6; ++i)
    if (name == kTlsNames[i]) return static_cast<TlsMode>(i);
  return std::nullopt;
}

DataLocation DataLocation::files(std::string folder) {
  DataLocation l;
  l.folder = folder.empty() ? "." : std::move(folder);
  return l;
}

DataLocation DataLocation::server(std::string host, int port, std::string database, std::string user, TlsMode tls) {
  DataLocation l;
  l.kind = Kind::Server;
  l.folder.clear();
  l.host = std::move(host);
  l.port = port;
  l.database = std::move(database);
  l.user = std::move(user);
  l.tls = tls;
  return l;
}

std::string DataLocation::problem() const {
  if (!onServer()) return folder.empty() ? "The data folder is not named." : "";
  if (database.empty()) return "The database name is empty.";
  if (port < 0 || port > 65535) return "The port must be a number from 1 to 65535.";
  for (const std::string* s : {&host, &database, &user})
    if (s->find('\0') != std::string::npos) return "A connection setting holds a character that cannot be used.";
  return "";
}

std::string DataLocation::connectionString() const {
  if (!onServer()) return "";
  std::string out;
  auto add = [&](const char* key, const std::string& value) {
    if (value.empty()) return;
    out += (out.empty() ? "" : " ") + std::string(key) + "=" + conninfoValue(value);
  };
  add("host", host);
  if (port > 0) add("port", std::to_string(port));
  add("dbname", database);
  add("user", user);
  add("sslmode", tlsModeName(tls));
  return out;
}

std::string DataLocation::describe() const {
  if (!onServer()) {
    std::error_code ec;
    const auto path = std::filesystem::absolute(folder.empty() ? "." : folder, ec).lexically_normal().string();
    return "Files in " + (ec ? folder : path);
  }
  std::string where = host.empty() ? "this computer" : host;
  if (port > 0 && port != 5432) where += ":" + std::to_string(port);
  return "Database " + database + " on " + where + (user.empty() ? "" : " as " + user);
}

std::optional<DataLocation> parseConnection(std::string_view text, std::string* error, std::string* pass) {
  char* message = nullptr;
  std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)> options(
      PQconninfoParse(std::string(text).c_str(), &message), &PQconninfoFree);
  if (!options) {
    if (error) *error = std::string("The connection text is not valid: ") + (message ? message : "out of memory");
    if (message) PQfreemem(message);
    return std::nullopt;
  }
  DataLocation l = DataLocation::server("", 5432, "", "");
  for (PQconninfoOption* o = options.get(); o->keyword; ++o) {
    if (!o->val) continue;
    const std::string key = o->keyword, value = o->val;
    if (key == "host" || key == "hostaddr") l.host = value;
    else if (key == "port") l.port = std::atoi(value.c_str());
    else if (key == "dbname") l.database = value;
    else if (key == "user") l.user = value;
    else if (key == "password" && pass) *pass = value;
    else if (key == "sslmode") {
      const auto mode = tlsModeFromName(value);
      if (!mode) {
        if (error) *error = "The TLS mode \"" + value + "\" is not one the server knows.";
        return std::nullopt;
      }
      l.tls = *mode;
    }
  }
  if (const std::string bad = l.problem(); !bad.empty()) {
    if (error) *error = bad;
    return std::nullopt;
  }
  return l;
}

void setSessionPassword(std::string text) { password() = std::move(text); }
void forgetSessionPassword() {
  std::fill(password().begin(), password().end(), '\0');
  password().clear();
}
bool hasSessionPassword() { return !password().empty(); }

ConnectionCheck testConnection(const DataLocation& location, const std::string& given) {
  ConnectionCheck check;
  if (const std::string bad = location.problem(); !bad.empty()) {
    check.error = bad;
    return check;
  }
  if (!location.onServer()) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(location.folder, ec)) {
      check.error = "The folder " + location.folder + " does not exist.";
      return check;
    }
    if (::access(location.folder.c_str(), W_OK) != 0) {
      check.error = "The folder " + location.folder + " cannot be written to.";
      return check;
    }
    check.ok = true;
    check.server = "Files";
    check.empty = true;
    for (const auto& entry : fs::directory_iterator(location.folder, ec))
      if (entry.path().extension() == ".vdb") check.empty = false;
    return check;
  }
  pg::Connection c;
  if (!c.open(location, given.empty() ? password() : given, check)) return check;
  const pg::Result r = c.exec(
      "SELECT current_setting('server_version'), to_regclass('_vesp_meta') IS NULL");
  if (!r.ok() || r.rows() != 1) {
    check.ok = false;
    check.error = "The server answered, but not as a PostgreSQL database: " + r.error() + ".";
    return check;
  }
  check.server = "PostgreSQL " + std::string(r.text(0, 0));
  check.empty = r.text(0, 1) == "t";
  return check;
}

ConnectionCheck openData(const DataLocation& location) {
  ConnectionCheck check = testConnection(location);
  if (check.ok) current() = location;
  return check;
}

const DataLocation& currentDataLocation() { return current(); }

}  // namespace vrt::store

namespace vrt::pg {

const std::string& sessionPassword() { return vrt::store::password(); }

}  // namespace vrt::pg
