#include "records/location_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "runtime/settings/ini_file.h"

namespace vesp::location {

namespace fs = std::filesystem;

namespace {

constexpr const char* kStore = "Store";
constexpr const char* kHost = "Host";
constexpr const char* kPort = "Port";
constexpr const char* kDatabase = "Database";
constexpr const char* kUser = "User";
constexpr const char* kTlsMode = "TLSMode";
constexpr const char* kFilesValue = "Files";
constexpr const char* kServerValue = "Server";
// The longest name the server keeps for a database or a role.
constexpr std::size_t kNameLimit = 63;

bool hasControlCharacter(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

bool hasBlank(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
}

bool equalsIgnoringCase(const std::string& a, const char* b) {
  const std::string other(b);
  return a.size() == other.size() && std::equal(a.begin(), a.end(), other.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string path(const std::string& folder) { return (fs::path(folder) / kLocationFile).string(); }

}  // namespace

bool samePlace(const DataLocation& a, const DataLocation& b) {
  if (a.kind != b.kind) return false;
  if (!a.onServer()) return fs::weakly_canonical(a.folder) == fs::weakly_canonical(b.folder);
  return a.host == b.host && a.port == b.port && a.database == b.database && a.user == b.user && a.tls == b.tls;
}

std::string problemWith(const DataLocation& l) {
  if (!l.onServer()) return {};
  if (hasControlCharacter(l.host) || hasBlank(l.host)) return "The server's name holds blanks or control characters.";
  if (l.port < 1 || l.port > 65535) return "The port must be a number from 1 to 65535.";
  if (l.database.empty()) return "The database's name is missing.";
  if (hasControlCharacter(l.database) || l.database.size() > kNameLimit)
    return "The database's name must be at most 63 bytes without control characters.";
  if (hasControlCharacter(l.user) || l.user.size() > kNameLimit)
    return "The user's name must be at most 63 bytes without control characters.";
  return l.problem();
}

ReadResult readLocation(const std::string& folder) {
  ReadResult r;
  r.location = DataLocation::files(folder);
  const std::string file = path(folder);
  std::error_code ec;
  if (!fs::exists(file, ec)) return r;
  r.recorded = true;
  vrt::IniFile ini;
  if (!ini.Load(file)) {
    r.error = "The file " + file + " cannot be read.";
    return r;
  }
  auto get = [&](const char* name) { return ini.Get(kSection, name).value_or(""); };
  const std::string store = get(kStore);
  const bool server = equalsIgnoringCase(store, kServerValue);
  if (!server && !store.empty() && !equalsIgnoringCase(store, kFilesValue)) {
    r.error = "In " + file + ", \"" + kStore + "=" + store + "\" names neither Files nor Server.";
    return r;
  }
  DataLocation& l = r.location;
  l.host = get(kHost);
  l.database = get(kDatabase);
  l.user = get(kUser);
  if (const std::string tls = get(kTlsMode); !tls.empty()) {
    if (const auto mode = vrt::store::tlsModeFromName(tls)) l.tls = *mode;
    else if (server) r.error = "In " + file + ": the TLS mode must be one of disable, allow, prefer, require, verify-ca or verify-full.";
  }
  if (const std::string port = get(kPort); !port.empty()) {
    const bool digits = port.size() <= 5 && port.find_first_not_of("0123456789") == std::string::npos;
    l.port = digits ? std::stoi(port) : -1;
  }
  if (server) {
    l.kind = DataLocation::Kind::Server;
    l.folder.clear();
    if (r.error.empty())
      if (const std::string bad = problemWith(l); !bad.empty()) r.error = "In " + file + ": " + bad;
  }
  return r;
}

std::string writeLocation(const std::string& folder, const DataLocation& l) {
  if (std::string bad = problemWith(l); !bad.empty()) return bad;
  const std::string file = path(folder);
  vrt::IniFile ini;
  if (!ini.Load(file)) return "The file " + file + " cannot be read.";
  const bool set = ini.Set(kSection, kStore, l.onServer() ? kServerValue : kFilesValue) &&
                   ini.Set(kSection, kHost, l.host) && ini.Set(kSection, kPort, std::to_string(l.port)) &&
                   ini.Set(kSection, kDatabase, l.database) && ini.Set(kSection, kUser, l.user) &&
                   ini.Set(kSection, kTlsMode, vrt::store::tlsModeName(l.tls));
  if (!set) return "The server's fields cannot be written to " + file + ".";
  if (!ini.Save(file)) return "The file " + file + " cannot be written.";
  return {};
}

}  // namespace vesp::location
