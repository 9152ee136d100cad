// Start-up's part in where the data lives: the server reached, or the user's say on what
// to do instead. Nothing here opens a table.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "records/data_backup.h"
#include "runtime/gui/frame_host.h"
#include "runtime/gui/look.h"
#include "runtime/gui/window.h"
#include "runtime/text/dates.h"
#include "shell/data_location.h"
#include "shell/server_password.h"

namespace vesp {

namespace {

namespace fs = std::filesystem;
using namespace vrt;

constexpr const char* kUnreachableProcedure = "DataLocationUnreachable";
constexpr const char* kCaption = "Data Location";

enum class Instead { Retry, Files, End };

bool folderHoldsData() {
  for (const std::string& name : backup::dataFileNames()) {
    std::error_code ec;
    if (name != backup::kSettingsFile && fs::exists(name, ec)) return true;
  }
  return false;
}

// Tells what went wrong and asks what to do: try the server again (when there is one to
// try), open the files in this folder, or end the program.
Instead askWhatInstead(const std::string& what, bool mayRetry) {
  const std::string files = DataLocation::files().describe();
  const std::string filesNote = folderHoldsData()
                                    ? "Your data files in this folder are those of this computer alone."
                                    : "This folder holds no data files: Vespera would start with no data.";
  WindowSpec design = windowSpec(kCaption, kUnreachableProcedure);
  std::vector<ControlSpec> buttons;
  if (mayRetry) buttons.push_back(button("?Retry", "&Retry").makeDefault());
  buttons.push_back(button("?Files", "Open the &Files in This Folder"));
  buttons.push_back(button("?End", "&End Vespera").makeCancel());
  design.controls = {
      row({image({}, std::string(kIconExclamation)), prompt(what, "?What")}),
      prompt(files + ". " + filesNote, "?FilesNote"),
      row(std::move(buttons)),
  };
  Window window(design);
  window.open();
  for (;;) {
    const Event e = window.accept();
    if (e.event == kEventCloseWindow || e.event == kEventCloseDown) return Instead::End;
    if (e.event != kEventAccepted) continue;
    if (e.control == window.number("?Retry")) return Instead::Retry;
    if (e.control == window.number("?Files")) return Instead::Files;
    if (e.control == window.number("?End")) return Instead::End;
  }
}

// The server reached and made where the data lives, with its password asked when it
// wants one; false when the user chose the files or the end instead (`files` says which).
// A retry asks the password again, since the one typed may be what the server refused.
bool reachServer(const DataLocation& server, bool& files, bool& holdsNoData) {
  std::string password, why;
  for (;;) {
    vrt::store::ConnectionCheck check = vrt::store::testConnection(server, password);
    if (check.ok) {
      holdsNoData = check.empty;
      if (!password.empty()) vrt::store::setSessionPassword(password);
      check = vrt::store::openData(server);
      if (check.ok) return true;
    }
    why = check.error;
    if (check.needsPassword) {
      if (const auto typed = AskServerPassword(server, password.empty() ? std::string() : why)) {
        password = *typed;
        continue;
      }
      why = "No password was given.";
    }
    const std::string what = "Vespera cannot reach your data: " + server.describe() + ".|" + why;
    switch (askWhatInstead(what, true)) {
      case Instead::Retry:
        password.clear();
        vrt::store::forgetSessionPassword();
        continue;
      case Instead::Files:
        files = true;
        return false;
      case Instead::End:
        files = false;
        return false;
    }
  }
}

}  // namespace

bool OpenDataLocation(bool& newData) {
  const location::ReadResult recorded = location::readLocation(".");
  if (!recorded.error.empty())
    return askWhatInstead("Vespera cannot tell where your data lives.|" + recorded.error, false) == Instead::Files;
  if (!recorded.location.onServer()) return true;
  bool files = false, serverHoldsNoData = false;
  if (reachServer(recorded.location, files, serverHoldsNoData)) {
    newData = serverHoldsNoData;
    return true;
  }
  return files;
}

std::string DataLocationText() { return "Data: " + vrt::store::currentDataLocation().describe(); }

void FollowServerInStatusBar(vrt::store::TableChangeHearing& hearing, int zone) {
  hearing.start([zone](const std::string& heard) {
    const bool away = heard == vrt::store::kServerAway;
    if (!away && !heard.empty()) return;  // one table's change: its lists see to it
    vrt::Window* frame = vrt::FrameHost::frame();
    if (!frame) return;
    // The program's own clock, which the test kit can hold still.
    const vrt::Hms clock = vrt::hmsFromTime(vrt::clockNow()).value_or(vrt::Hms{});
    char now[8];
    std::snprintf(now, sizeof now, "%02d:%02d", clock.hour, clock.minute);
    // First, so that a narrow zone still shows it.
    frame->setStatusText(zone, (away ? "Server away since " : "Server back at ") + std::string(now) + " - " + DataLocationText());
  });
}

}  // namespace vesp
