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

const std::vector<std::string>& tlsModes() {
  static const std::vector<std::string> modes = {"disable", "allow", "prefer", "require", "verify-ca", "verify-full"};
  return modes;
}

std::string problemWith(const Choice& c) {
  if (!c.onServer()) return {};
  if (c.host.empty()) return "The server's name or address is missing.";
  if (hasControlCharacter(c.host) || hasBlank(c.host)) return "The server's name holds blanks or control characters.";
  if (c.port < 1 || c.port > 65535) return "The port must be a number from 1 to 65535.";
  if (c.database.empty()) return "The database's name is missing.";
  if (hasControlCharacter(c.database) || c.database.size() > kNameLimit)
    return "The database's name must be at most 63 bytes without control characters.";
  if (hasControlCharacter(c.user) || c.user.size() > kNameLimit)
    return "The user's name must be at most 63 bytes without control characters.";
  const auto& modes = tlsModes();
  if (std::find(modes.begin(), modes.end(), c.tlsMode) == modes.end())
    return "The TLS mode must be one of disable, allow, prefer, require, verify-ca or verify-full.";
  return {};
}

ReadResult readLocation(const std::string& folder) {
  ReadResult r;
  const std::string file = path(folder);
  std::error_code ec;
  if (!fs::exists(file, ec)) return r;
  r.recorded = true;
  vrt::IniFile ini;
  if (!ini.Load(file)) {
    r.error = "The file " + file + " cannot be read.";
    return r;
  }
  const std::string store = ini.Get(kSection, kStore).value_or("");
  if (equalsIgnoringCase(store, kServerValue)) {
    r.choice.store = Store::Server;
  } else if (!store.empty() && !equalsIgnoringCase(store, kFilesValue)) {
    r.error = "In " + file + ", \"" + kStore + "=" + store + "\" names neither Files nor Server.";
    return r;
  }
  r.choice.host = ini.Get(kSection, kHost).value_or("");
  r.choice.database = ini.Get(kSection, kDatabase).value_or("");
  r.choice.user = ini.Get(kSection, kUser).value_or("");
  r.choice.tlsMode = ini.Get(kSection, kTlsMode).value_or(kDefaultTlsMode);
  if (const auto port = ini.Get(kSection, kPort); port && !port->empty()) {
    std::size_t used = 0;
    int value = 0;
    try {
      value = std::stoi(*port, &used);
    } catch (const std::exception&) {
      used = 0;
    }
    r.choice.port = used == port->size() ? value : 0;
  }
  if (const std::string bad = problemWith(r.choice); !bad.empty()) r.error = "In " + file + ": " + bad;
  return r;
}

std::string writeLocation(const std::string& folder, const Choice& c) {
  if (std::string bad = problemWith(c); !bad.empty()) return bad;
  const std::string file = path(folder);
  vrt::IniFile ini;
  if (!ini.Load(file)) return "The file " + file + " cannot be read.";
  const bool set = ini.Set(kSection, kStore, c.onServer() ? kServerValue : kFilesValue) &&
                   ini.Set(kSection, kHost, c.host) && ini.Set(kSection, kPort, std::to_string(c.port)) &&
                   ini.Set(kSection, kDatabase, c.database) && ini.Set(kSection, kUser, c.user) &&
                   ini.Set(kSection, kTlsMode, c.tlsMode);
  if (!set) return "The server's fields cannot be written to " + file + ".";
  if (!ini.Save(file)) return "The file " + file + " cannot be written.";
  return {};
}

std::string describe(const Choice& c, const std::string& folder) {
  if (!c.onServer()) {
    fs::path shown = fs::absolute(folder).lexically_normal();
    if (!shown.has_filename() && shown.has_parent_path()) shown = shown.parent_path();
    return "Files in " + shown.string();
  }
  std::string text = "Server: " + c.database + " on " + c.host;
  if (c.port != kDefaultPort) text += ":" + std::to_string(c.port);
  if (!c.user.empty()) text += " as " + c.user;
  return text;
}

}  // namespace vesp::location
