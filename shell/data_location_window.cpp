// File > "Data Location...": where the data lives from the next start on.
#include <string>

#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/window.h"
#include "shell/data_location.h"
#include "shell/server_password.h"
#include "windows/window_placement.h"

namespace vesp {

namespace {

using namespace vrt;

constexpr const char* kCaption = "Data Location";
constexpr const char* kProcedure = "DataLocation";
constexpr const char* kFilesValue = "Files";
constexpr const char* kServerValue = "Server";
constexpr const char* kServerFields[] = {"?Host", "?Port", "?Database", "?User", "?TLSMode", "?Test"};

// The window's variables: the choice as the user types it.
struct Typed {
  std::string store, host, port, database, user, tlsMode;

  explicit Typed(const DataLocation& l)
      : store(l.onServer() ? kServerValue : kFilesValue), host(l.host), port(std::to_string(l.port)),
        database(l.database), user(l.user), tlsMode(vrt::store::tlsModeName(l.tls)) {}

  // The location typed, and in `problem` why it cannot be recorded ("" when it can).
  DataLocation location(std::string& problem) const {
    DataLocation l = DataLocation::files();
    l.host = trimmed(host);
    l.database = trimmed(database);
    l.user = trimmed(user);
    l.tls = vrt::store::tlsModeFromName(tlsMode).value_or(vrt::store::TlsMode::Prefer);
    const std::string p = trimmed(port);
    l.port = p.empty() ? location::kDefaultPort : -1;
    if (!p.empty() && p.size() <= 5 && p.find_first_not_of("0123456789") == std::string::npos) l.port = std::stoi(p);
    if (store == kServerValue) {
      l.kind = DataLocation::Kind::Server;
      l.folder.clear();
    }
    problem = location::problemWith(l);
    return l;
  }

  static std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : s.substr(first, s.find_last_not_of(' ') - first + 1);
  }
};

std::vector<std::string> tlsModeNames() {
  std::vector<std::string> names;
  for (auto mode : {vrt::store::TlsMode::Disable, vrt::store::TlsMode::Allow, vrt::store::TlsMode::Prefer,
                    vrt::store::TlsMode::Require, vrt::store::TlsMode::VerifyCa, vrt::store::TlsMode::VerifyFull})
    names.push_back(vrt::store::tlsModeName(mode));
  return names;
}

WindowSpec design(Typed& typed) {
  WindowSpec d = windowSpec(kCaption, kProcedure);
  d.controls = {
      optionGroup("?Store", "Where your data lives", bind(typed.store),
                  {radio("&Files in this folder", kFilesValue, "?Files"),
                   radio("A &server", kServerValue, "?Server")}),
      prompt(DataLocation::files().describe(), "?Folder"),
      grid(2, {prompt("&Host:"), entry("?Host", "@s60", bind(typed.host)).help("The server's name or address"),
               prompt("Po&rt:"), entry("?Port", "@s5", bind(typed.port)).help("The server's port, most often 5432"),
               prompt("&Database:"), entry("?Database", "@s63", bind(typed.database)),
               prompt("&User:"), entry("?User", "@s63", bind(typed.user)).help("Empty: your login name"),
               prompt("T&LS mode:"), dropList("?TLSMode", tlsModeNames(), bind(typed.tlsMode))}),
      prompt("Vespera never writes a password: it reads it from your PostgreSQL password file, or asks for it "
             "at start-up."),
      row({button("?Test", "&Test Connection").help("Connect to the server and tell how it went"),
           button("?OK", "&OK").icon("SOK.ICO").makeDefault(),
           button("?Cancel", "&Cancel").icon("SCANCEL.ICO").makeCancel()}),
  };
  return d;
}

void showServerFields(Window& window, bool server) {
  for (const char* use : kServerFields) window.control(use)->setDisabled(!server);
}

// Connects as start-up would, asking the password when the server wants one. The answer
// is a sentence for the user.
std::string testConnection(const DataLocation& server, std::string& password, bool& reached) {
  for (;;) {
    const vrt::store::ConnectionCheck check = vrt::store::testConnection(server, password);
    reached = check.ok;
    if (check.ok)
      return "Vespera reached " + server.describe() + " (" + check.server + ")." +
             (check.empty ? "|It holds no data yet: move your data there with vesp-data copy --to-server." : "");
    if (!check.needsPassword) return "Vespera cannot reach " + server.describe() + ".|" + check.error;
    const auto typed = AskServerPassword(server, password.empty() ? std::string() : check.error);
    if (!typed) return "Vespera cannot reach " + server.describe() + " without its password.";
    password = *typed;
  }
}

}  // namespace

void ChooseDataLocation() {
  const location::ReadResult recorded = location::readLocation(".");
  Typed typed(recorded.error.empty() ? recorded.location : vrt::store::currentDataLocation());
  Window window(design(typed));
  const int store = window.number("?Store"), test = window.number("?Test"), ok = window.number("?OK"),
            cancel = window.number("?Cancel");
  RestoreWindowPlacement(kProcedure, window);
  window.open();
  showServerFields(window, typed.store == kServerValue);
  if (!recorded.error.empty()) Message(recorded.error + "|Choose again and press OK to put it right.", kCaption, kIconExclamation);
  std::string password;  // for the tests of this window only, as start-up asks its own
  for (;;) {
    const Event e = window.accept();
    if (e.event == kEventCloseWindow || e.event == kEventCloseDown) break;
    if (e.event != kEventAccepted) continue;
    if (e.control == store) showServerFields(window, typed.store == kServerValue);
    if (e.control == cancel) break;
    if (e.control != test && e.control != ok) continue;
    window.updateAll();
    std::string problem;
    const DataLocation chosen = typed.location(problem);
    if (!problem.empty()) {
      Message(problem, kCaption, kIconExclamation);
      continue;
    }
    if (e.control == test) {
      bool reached = false;
      const std::string told = testConnection(chosen, password, reached);
      Message(told, kCaption, reached ? kIconInformation : kIconExclamation);
      continue;
    }
    if (chosen.onServer()) {
      bool reached = false;
      const std::string told = testConnection(chosen, password, reached);
      if (!reached && Message(told + "||Record this server all the same?", kCaption, kIconQuestion,
                              kButtonYes | kButtonNo, kButtonNo) != kButtonYes)
        continue;
    }
    if (const std::string failed = location::writeLocation(".", chosen); !failed.empty()) {
      Message("Where your data lives was not recorded.|" + failed, kCaption, kIconExclamation);
      continue;
    }
    if (!location::samePlace(chosen, vrt::store::currentDataLocation()))
      Message("From its next start Vespera works with|" + chosen.describe() +
                  ".|Close Vespera and start it again to work with that data.",
              kCaption, kIconInformation);
    break;
  }
  SaveWindowPlacement(kProcedure, window);
}

}  // namespace vesp
