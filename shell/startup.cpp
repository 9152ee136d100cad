#include "shell/startup.h"

#include <QDateTime>

#include <algorithm>
#include <iostream>
#include <string>

#include "dictionary/upgrade_registration.h"
#include "querywizard/library_windows.h"
#include "records/data_backup.h"
#include "records/data_restore.h"
#include "records/error_manager.h"
#include "records/levels.h"
#include "records/starter_lists.h"
#include "records/thread_dictionary.h"
#include "runtime/gui/calendar.h"
#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/threads.h"
#include "runtime/os/desktop_settings.h"
#include "runtime/settings/ini_file.h"
#include "runtime/settings/settings_file.h"
#include "screens/screens.h"
#include "shell/browse_menu.h"
#include "shell/data_location.h"
#include "shell/main_frame.h"
#include "shell/query_wizard_texts.h"
#include "shell/text_matcher.h"
#include "shell/thread_globals.h"
#include "shell/welcome.h"
#include "windows/message_windows.h"

namespace vesp {

namespace {

// The calendar's defaults: a colour scheme and a calendar type, and an empty "Options" for
// each of its ten calendars in its own settings file. With no path that file lies in the
// program's folder, not at the root of the drive, where a user may not write.
void setCalendarDefaults() {
  vrt::CalendarSettings& calendar = vrt::calendarSettings();
  if (calendar.colourScheme.empty()) calendar.colourScheme = "1";
  if (calendar.calendarType == 0) calendar.calendarType = 1;
  const std::string file = calendar.path.empty() ? kCalendarSettingsFile : calendar.path + "/" + kCalendarSettingsFile;
  vrt::IniFile ini;
  if (!ini.Load(file)) return;  // nothing at start-up checks these writes
  for (int n = 1; n <= 10; ++n) ini.Set("CAL" + std::to_string(n), "Options", "");
  ini.Save(file);
}

// The day's backup, taken before any table is opened, and one before any structure
// conversion. A failed backup is told once; the program starts all the same.
void backUpData() {
  backup::BackUpBeforeUpgrades(".");
  const backup::Outcome done = backup::StartupBackup(".", QDateTime::currentDateTime());
  if (!done.ok)
    vrt::Message("The automatic backup of your data did not succeed.|" + done.error, "Backup", vrt::kIconExclamation);
}

// The data folder, held for the program's life so that no other process restores over it,
// with a restore that was cut off finished or undone before the settings or any table is read.
class HeldDataFolder {
 public:
  ~HeldDataFolder() {
    if (backup::sessionLock() == &lock_) backup::setSessionLock(nullptr);
  }
  bool take() {
    const backup::TakenFolder taken = backup::TakeDataFolder(".", lock_);
    if (!taken.recovered.empty()) {
      std::string text = taken.recovered;
      std::replace(text.begin(), text.end(), '\n', '|');
      vrt::Message(text, "Restore Data", vrt::kIconInformation);
    }
    if (!taken.ok) {
      vrt::Message("Vespera cannot open your data.|" + taken.error, "Restore Data", vrt::kIconExclamation);
      return false;
    }
    backup::setSessionLock(&lock_);
    return true;
  }

 private:
  backup::DataFolderLock lock_{"."};
};

// The first start in an empty folder: the pick lists get their starting values, and the
// frame will greet the newcomer.
void startNewFolder() {
  if (FillStarterLists() != Level::Benign)
    vrt::Message("Vespera could not fill its pick lists with their starting values.|"
                 "The lists are empty; you can fill them from Browse > Lists.",
                 "Starting Lists", vrt::kIconExclamation);
  ShowWelcomeAtStart(true);
}

// Thread 1: the program's start-up, its frame, and its shutdown, in this order.
void program() {
  clearThreadGlobals();
  ErrorManager& errors = errorManager();
  errors.Setup();
  errors.SetDisplay(&windowMessageDisplay());

  TextMatcher& matcher = textMatcher();
  matcher.Init();
  TextMatcher::makeCurrent(&matcher);
  matcher.SetOption(1, 1);
  matcher.SetOption(2, 0);

  HeldDataFolder data;
  if (!data.take()) {
    matcher.Kill();
    return;
  }
  // Asked before any table is opened, since opening one makes its file.
  bool newFolder = IsNewDataFolder();
  vrt::SettingsFile& settings = vrt::settingsFile();
  settings.Open(kSettingsFileName, vrt::SettingsFile::Ini);
  // Before any table is opened: a server that cannot be reached never leaves the program
  // making empty tables anywhere the user did not choose.
  if (!OpenDataLocation(newFolder)) {
    settings.Close();
    matcher.Kill();
    return;
  }

  SetupDictionaryForThread();
  setCalendarDefaults();
  dict::registerTablesForUpgrade();
  // The wizard's wording and windows, before any browse can open it. Its saved queries
  // stay where the library keeps them by default: in the data folder.
  GiveQueryWizardItsTexts();
  qrywiz::useLibraryWindows();
  backUpData();
  RegisterScreens();
  for (const std::string& name : MissingProcedures()) std::cerr << "vesp: no procedure is registered as " << name << '\n';
  if (newFolder) startNewFolder();

  vrt::DesktopSettings& desktop = vrt::desktopSettings();
  const bool dragFullWindows = desktop.dragFullWindows();
  if (dragFullWindows) desktop.setDragFullWindows(false);

  Main();

  if (dragFullWindows) desktop.setDragFullWindows(true);
  settings.Close();
  matcher.Kill();
}

bool hooksInstalled = false;

}  // namespace

std::vector<std::string> MissingProcedures() {
  for (std::span<const BrowseEntry> entries : {browseEntries(), listEntries()})
    for (const BrowseEntry& entry : entries) NoteProcedureName(entry.procedure);
  return UnresolvedProcedureNames();
}

void StartProgram() {
  if (!hooksInstalled) {
    hooksInstalled = true;
    // Every thread starts with its codes cleared and, but for thread 1 (which sets up its
    // own during start-up), its own copy of the dictionary; ending, it releases the copy.
    vrt::AddThreadStartHook([] {
      clearThreadGlobals();
      if (vrt::ThreadNumber() != 1) SetupDictionaryForThread();
    });
    vrt::AddThreadEndHook([] { KillDictionaryForThread(); });
  }
  vrt::StartThread(program, 50'000, "Main");
}

int RunProgram() {
  StartProgram();
  vrt::RunThreads();
  return 0;
}

}  // namespace vesp
