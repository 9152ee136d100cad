#include "shell/browse_menu.h"

#include "records/error_manager.h"
#include "records/thread_dictionary.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"
#include "runtime/store/data_file.h"
#include "runtime/text/utf8.h"

namespace vesp {

namespace {

constexpr std::size_t kJournalStack = 25'000, kPlanningStack = 50'000;

constexpr BrowseEntry kBrowses[] = {
    {"?BrowsePrayerRequest", "Browse the &Prayer Request file", "Brower Prayer Requests", "Browse the Prayer Request File",
     "BrowsePrayerRequest", "vsp$vsp047", "PrayerRequest", kJournalStack},
    {"?BrowseBlessings", "Browse the &Blessings file", "Browse Blessings", "Browse the Blessings File", "BrowseBlessings",
     "vsp$vsp053", "Blessings", kJournalStack},
    {"?BrowsePraises", "Browse the P&raises file", "Browse Praises", "Browse the Praises File", "BrowsePraises",
     "vsp$vsp056", "Praises", kJournalStack},
    {"?BrowsePrayerCategory", "Browse the Prayer &Category file", "Browse the Prayer Catetory file",
     "Browse the Prayer Category File", "BrowsePrayerRequestCategory", "vsp$vsp064", "Lookups", kJournalStack},
    {"?BrowseJournal", "Browse the &Journal file", "Browse Jounal Entries", "Browse the Journal File", "BrowseJournal",
     "vsp$vsp061", "Journal", kJournalStack},
    {"?BrowseJournalCategory", "Browse the Journal Ca&tegory file", "Browse Journal Categories",
     "Browse the Journal Category File", "BrowseJournalCategory", "vsp$vsp059", "Lookups", kJournalStack},
    {"?BrowseService", "Browse the &Services file", "Browse Services", "Browse the Service File", "BrowseService",
     "vsp$vsp008", "Service", kPlanningStack},
    {"?BrowseSermonSeries", "Browse the Ser&mon Series file", "", "Browse the Sermon Series File", "BrowseSermonSeries",
     "vsp$vsp005", "SermonSeries", kPlanningStack},
    {"?BrowsePerformers", "Browse the Per&formers file", "", "Browse the Performers File", "BrowsePerformers",
     "vsp$vsp014", "Performers", kPlanningStack},
    {"?BrowsePerformerGroup", "Browse the Performer &Groups file", "", "Browse the Performer Group File",
     "BrowsePerformerGroupHeader", "vsp$vsp044", "PerformerGroupHeader", kPlanningStack},
    {"?BrowseBibliography", "Browse the B&ibliography file", "Browse the song library", "Browse the Bibliography File",
     "BrowseBibliography", "vsp$vsp018", "Bibliography", kPlanningStack},
};

// The pick lists, each opened for editing; the forms that look them up open them too.
constexpr BrowseEntry kLists[] = {
    {"?ListTopic", "&Topics", "Edit the list of topics", "Browse the Topic File", "BrowseTopic", "vsp$vsp011", "Topic",
     kPlanningStack},
    {"?ListElementType", "&Element Types", "Edit the list of element types", "Browse the ElementType File",
     "BrowseElementType", "vsp$vsp020", "ElementType", kPlanningStack},
    {"?ListRole", "&Roles", "Edit the list of roles", "Browse the Role File", "BrowseRole", "vsp$vsp016", "Role",
     kPlanningStack},
    {"?ListBibleDefault", "&Bible Versions", "Edit the list of Bible versions", "Browse the Bible Default File",
     "BrowseBibleDefault", "vsp$vsp036", "BibleDefault", kPlanningStack},
    {"?ListKeyWordsDefault", "&Key Words", "Edit the list of key words", "Browse the Key Words Default File",
     "BrowseKeyWordsDefault", "vsp$vsp028", "KeyWordsDefault", kPlanningStack},
    {"?ListStatisticType", "&Statistic Types", "Edit the list of statistic types", "Browse the Statistic Type File",
     "BrowseStatisticType", "vsp$vsp034", "StatisticType", kPlanningStack},
    {"?ListHolidayDefault", "&Holidays", "Edit the list of holidays", "Browse the Holiday Default File",
     "BrowseHolidayDefault", "vsp$vsp038", "HolidayDefault", kPlanningStack},
    {"?ListSpecialEventDefault", "Special E&vents", "Edit the list of special events",
     "Browse the Special Event Default File", "BrowseSpecialEventDefault", "vsp$vsp040", "SpecialEventDefault",
     kPlanningStack},
    {"?ListWeatherDefault", "&Weather", "Edit the list of kinds of weather", "Browse the Weather Default File",
     "BrowseWeatherDefault", "vsp$vsp042", "WeatherDefault", kPlanningStack},
    {"?ListPublicity", "&Publicity", "Edit the list of kinds of publicity", "Browse the Publicity File",
     "BrowsePublicity", "vsp$vsp022", "Publicity", kPlanningStack},
};

// Until a browse screen is registered: its window, over the thread's own copy of its table.
void plainBrowse(const BrowseEntry& entry) {
  ProcedureScope procedure(entry.procedure);
  RelationManager& relate = Relate(entry.table);
  relate.Open();
  relate.Me->Use();
  const std::int64_t count = relate.Me->USED ? relate.Me->FILE->records() : 0;
  vrt::WindowSpec design = vrt::windowSpec(entry.caption, entry.procedure, vrt::WindowKind::Child);
  design.controls = {
      vrt::prompt(std::to_string(count) + (count == 1 ? " record in " : " records in ") + entry.table, "?Records"),
      vrt::row({vrt::button("?Close", "&Close")}),
  };
  vrt::Window window(std::move(design));
  window.open();
  for (;;) {
    const vrt::Event e = window.accept();
    if (e.event == vrt::kEventCloseWindow || e.event == vrt::kEventCloseDown) break;
    if (e.event == vrt::kEventAccepted && e.control == window.number("?Close")) break;
  }
  relate.Close();
}

}  // namespace

std::span<const BrowseEntry> browseEntries() { return kBrowses; }
std::span<const BrowseEntry> listEntries() { return kLists; }

const BrowseEntry* browseEntry(std::string_view procedure) {
  for (std::span<const BrowseEntry> entries : {browseEntries(), listEntries()})
    for (const BrowseEntry& e : entries)
      if (vrt::equalTextNoCase(e.procedure, procedure)) return &e;
  return nullptr;
}

int StartBrowse(const BrowseEntry& entry) {
  std::function<void()> procedure = FindProcedure(entry.procedure);
  if (!procedure) procedure = [&entry] { plainBrowse(entry); };
  return vrt::StartThread(std::move(procedure), entry.stackSize, entry.procedure);
}

}  // namespace vesp
