#include "shell/browse_menu.h"

#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/threads.h"
#include "runtime/text/utf8.h"

namespace vesp {

namespace {

constexpr std::size_t kJournalStack = 25'000, kPlanningStack = 50'000;

constexpr BrowseEntry kBrowses[] = {
    {"?BrowsePrayerRequest", "Browse the &Prayer Request file", "Brower Prayer Requests", "Browse the Prayer Request File",
     "BrowsePrayerRequest", kJournalStack},
    {"?BrowseBlessings", "Browse the &Blessings file", "Browse Blessings", "Browse the Blessings File", "BrowseBlessings",
     kJournalStack},
    {"?BrowsePraises", "Browse the P&raises file", "Browse Praises", "Browse the Praises File", "BrowsePraises",
     kJournalStack},
    {"?BrowsePrayerCategory", "Browse the Prayer &Category file", "Browse the Prayer Catetory file",
     "Browse the Prayer Category File", "BrowsePrayerRequestCategory", kJournalStack},
    {"?BrowseJournal", "Browse the &Journal file", "Browse Jounal Entries", "Browse the Journal File", "BrowseJournal",
     kJournalStack},
    {"?BrowseJournalCategory", "Browse the Journal Ca&tegory file", "Browse Journal Categories",
     "Browse the Journal Category File", "BrowseJournalCategory", kJournalStack},
    {"?BrowseService", "Browse the &Services file", "Browse Services", "Browse the Service File", "BrowseService",
     kPlanningStack},
    {"?BrowseSermonSeries", "Browse the Ser&mon Series file", "", "Browse the Sermon Series File", "BrowseSermonSeries",
     kPlanningStack},
    {"?BrowsePerformers", "Browse the Per&formers file", "", "Browse the Performers File", "BrowsePerformers",
     kPlanningStack},
    {"?BrowsePerformerGroup", "Browse the Performer &Groups file", "", "Browse the Performer Group File",
     "BrowsePerformerGroupHeader", kPlanningStack},
    {"?BrowseBibliography", "Browse the B&ibliography file", "Browse the song library", "Browse the Bibliography File",
     "BrowseBibliography", kPlanningStack},
};

// The pick lists, each opened for editing; the forms that look them up open them too.
constexpr BrowseEntry kLists[] = {
    {"?ListTopic", "&Topics", "Edit the list of topics", "Browse the Topic File", "BrowseTopic", kPlanningStack},
    {"?ListElementType", "&Element Types", "Edit the list of element types", "Browse the ElementType File",
     "BrowseElementType", kPlanningStack},
    {"?ListRole", "&Roles", "Edit the list of roles", "Browse the Role File", "BrowseRole", kPlanningStack},
    {"?ListBibleDefault", "&Bible Versions", "Edit the list of Bible versions", "Browse the Bible Default File",
     "BrowseBibleDefault", kPlanningStack},
    {"?ListKeyWordsDefault", "&Key Words", "Edit the list of key words", "Browse the Key Words Default File",
     "BrowseKeyWordsDefault", kPlanningStack},
    {"?ListStatisticType", "&Statistic Types", "Edit the list of statistic types", "Browse the Statistic Type File",
     "BrowseStatisticType", kPlanningStack},
    {"?ListHolidayDefault", "&Holidays", "Edit the list of holidays", "Browse the Holiday Default File",
     "BrowseHolidayDefault", kPlanningStack},
    {"?ListSpecialEventDefault", "Special E&vents", "Edit the list of special events",
     "Browse the Special Event Default File", "BrowseSpecialEventDefault", kPlanningStack},
    {"?ListWeatherDefault", "&Weather", "Edit the list of kinds of weather", "Browse the Weather Default File",
     "BrowseWeatherDefault", kPlanningStack},
    {"?ListPublicity", "&Publicity", "Edit the list of kinds of publicity", "Browse the Publicity File",
     "BrowsePublicity", kPlanningStack},
};

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
  Procedure procedure = FindProcedure(entry.procedure);
  if (!procedure) {
    // Start-up has reported the name already; the user hears why nothing opens.
    vrt::Message(std::string(entry.procedure) + " is not part of this program yet.", "Not Available",
                 vrt::kIconExclamation);
    return 0;
  }
  return vrt::StartThread(std::move(procedure), entry.stackSize, entry.procedure);
}

}  // namespace vesp
