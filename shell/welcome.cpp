#include "shell/welcome.h"

#include <string>

#include "records/error_manager.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"
#include "runtime/settings/settings_file.h"
#include "shell/browse_menu.h"
#include "shell/help_link.h"
#include "windows/accessible_names.h"

namespace vesp {

namespace {

// The buttons that open the lists a newcomer fills first, and the browse each opens.
struct WelcomeButton {
  const char* use;
  const char* text;
  const char* procedure;
};
constexpr WelcomeButton kButtons[] = {
    {"?People", "&People", "BrowsePerformers"},
    {"?SongLibrary", "&Song Library", "BrowseBibliography"},
    {"?Services", "Ser&vices", "BrowseService"},
};

constexpr const char* kLines[] = {
    "Vespera keeps your services, your song library, the people who lead and serve, and a prayer journal.",
    "To get started:",
    "1.  Add the people who lead and serve: pastors, musicians, the sound and video team (People).",
    "2.  Add the songs, hymns and readings you use, with their CCLI numbers (Song Library).",
    "3.  Plan a service: its date, speaker and worship leader, then its elements in order (Services).",
    "The pick lists (element types, roles, Bible versions, holidays and more) already hold common values;",
    "change them under Browse > Lists. Every list window has Insert, Change and Delete, and Help.",
};

vrt::WindowSpec welcomeSpec(std::string& showAtStart) {
  vrt::WindowSpec design = vrt::windowSpec(kWelcomeCaption, "Welcome", vrt::WindowKind::Child);
  for (const char* line : kLines) design.controls.push_back(vrt::prompt(line));
  std::vector<vrt::ControlSpec> buttons;
  for (const WelcomeButton& b : kButtons) buttons.push_back(vrt::button(b.use, b.text));
  buttons.push_back(vrt::button("?FirstSteps", "&First Steps in the Help"));
  design.controls.push_back(vrt::row(std::move(buttons)));
  design.controls.push_back(
      vrt::check("?ShowAtStart", "S&how this welcome when Vespera starts", vrt::bind(showAtStart)));
  design.controls.push_back(vrt::row({vrt::button("?Close", "&Close").makeDefault().makeCancel()}));
  return design;
}

}  // namespace

void ShowWelcomeAtStart(bool show) { vrt::settingsFile().Update(kWelcomeSection, kWelcomeShowEntry, show ? "1" : "0"); }

bool WelcomeShowsAtStart() { return vrt::settingsFile().Fetch(kWelcomeSection, kWelcomeShowEntry, "0") == "1"; }

void StartWelcome() { vrt::StartThread(Welcome, 50'000, kWelcomeThread); }

void Welcome() {
  ProcedureScope procedure("Welcome");
  std::string showAtStart = "1";
  vrt::Window window(welcomeSpec(showAtStart));
  window.open();
  NameControlsForAssistiveTechnology(window);
  for (;;) {
    const vrt::Event e = window.accept();
    if (e.event == vrt::kEventCloseWindow || e.event == vrt::kEventCloseDown) break;
    if (e.event != vrt::kEventAccepted) continue;
    if (e.control == window.number("?Close")) break;
    if (e.control == window.number("?FirstSteps")) OpenFirstStepsHelp();
    for (const WelcomeButton& b : kButtons)
      if (e.control == window.number(b.use)) StartBrowse(*browseEntry(b.procedure));
  }
  window.updateAll();
  // Closed with the box unticked: for good.
  if (showAtStart != "1") ShowWelcomeAtStart(false);
}

}  // namespace vesp
