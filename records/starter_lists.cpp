#include "records/starter_lists.h"

#include <filesystem>
#include <optional>
#include <vector>

#include "records/data_backup.h"
#include "dictionary/tables.h"
#include "records/levels.h"
#include "records/thread_dictionary.h"
#include "runtime/store/data_location.h"
#include "runtime/store/transaction.h"

namespace vesp {

namespace {

// Roles hold at most 20 characters, the other lists 30.
constexpr const char* kElementTypes[] = {
    "Song",          "Hymn",        "Scripture Reading", "Prayer",          "Sermon",
    "Offering",      "Announcements", "Video",           "Special Music",   "Communion",
    "Baptism",       "Benediction", "Call to Worship",   "Welcome",         "Responsive Reading",
    "Creed",         "Testimony",   "Children's Message", "Drama",          "Prelude",
    "Postlude",
};
constexpr const char* kRoles[] = {
    "Pastor", "Worship Leader", "Vocals", "Guitar", "Keys",    "Drums",  "Bass",   "Sound",   "Lights",
    "Video",  "Slides",         "Speaker", "Reader", "Choir",  "Piano",  "Organ",  "Camera",  "Livestream",
};
constexpr const char* kBibles[] = {
    "NIV", "ESV", "KJV", "NKJV", "NLT", "NASB", "CSB", "The Message", "NRSV", "AMP",
};
constexpr const char* kStatisticTypes[] = {
    "Attendance", "Offering", "First-time Guests", "Decisions", "Baptisms",
};
// The church year first, then the days of the civil calendar that services keep.
constexpr const char* kHolidays[] = {
    "Advent",          "Christmas Eve",  "Christmas Day", "Epiphany",    "Ash Wednesday",  "Lent",
    "Palm Sunday",     "Maundy Thursday", "Good Friday",  "Easter Sunday", "Ascension Day", "Pentecost",
    "Trinity Sunday",  "Reformation Sunday", "All Saints' Day", "Christ the King", "New Year's Day",
    "Mother's Day",    "Father's Day",   "Thanksgiving",
};
constexpr const char* kSpecialEvents[] = {
    "Baptism Service", "Communion Sunday", "Guest Speaker", "Missions Sunday",    "Youth Sunday",
    "Children's Program", "Concert",       "Revival",       "Church Anniversary", "Baby Dedication",
    "Ordination",      "Wedding",          "Funeral",       "Fellowship Meal",    "Vacation Bible School",
};
constexpr const char* kWeather[] = {
    "Sunny", "Partly Cloudy", "Cloudy", "Rain", "Heavy Rain", "Thunderstorms", "Snow", "Ice", "Fog", "Hot", "Cold",
    "Windy",
};
constexpr const char* kKeyWords[] = {
    "Grace",   "Faith",      "Hope",       "Love",    "Salvation", "Forgiveness", "Prayer",     "Worship",
    "Discipleship", "Holy Spirit", "Cross", "Resurrection", "Family", "Service",  "Mission",    "Generosity",
    "Peace",   "Joy",
};
// Prayer requests and journal entries share one category list.
constexpr const char* kCategories[] = {
    "Family",   "Friends",  "Health",   "Salvation",   "Church",     "Missions",  "Work",
    "Finances", "Guidance", "Praise",   "Thanksgiving", "Devotional", "Sermon Notes", "Reflection",
};

const StarterList kStarterLists[] = {
    {tables::ElementType, dict::idx::ELT::ELEMENTTYPE, kElementTypes},
    {tables::Role, dict::idx::ROL::ROLE, kRoles},
    {tables::BibleDefault, dict::idx::BID::BIBLE, kBibles},
    {tables::StatisticType, dict::idx::STT::STATISTICTYPE, kStatisticTypes},
    {tables::HolidayDefault, dict::idx::HOL::HOLIDAY, kHolidays},
    {tables::SpecialEventDefault, dict::idx::SPE::SPECIALEVENT, kSpecialEvents},
    {tables::WeatherDefault, dict::idx::WEA::WEATHER, kWeather},
    {tables::KeyWordsDefault, dict::idx::KWF::KEYWORD, kKeyWords},
    {tables::Lookups, dict::idx::LOO::LOOKUPTYPE, kCategories},
};

// Opens every list on this thread for the length of the fill, and closes them again.
class OpenLists {
 public:
  ~OpenLists() {
    for (auto it = opened_.rbegin(); it != opened_.rend(); ++it) static_cast<void>((*it)->Close());
  }
  [[nodiscard]] Level open(FileManager& list) {
    if (const Level rc = list.Open(); rc != Level::Benign) return rc;
    opened_.push_back(&list);
    return list.Use();
  }

 private:
  std::vector<FileManager*> opened_;
};

Level add(FileManager& list, const StarterList& values) {
  const vrt::FieldDesc& text = list.FILE()->schema().fields[static_cast<std::size_t>(values.textField)];
  for (const char* value : values.values) {
    if (const Level rc = list.ClearForInsert(); rc != Level::Benign) return rc;
    list.BUFFER()->setText(text, value);
    if (const Level rc = list.Insert(false); rc != Level::Benign) return rc;
  }
  return Level::Benign;
}

}  // namespace

std::span<const StarterList> starterLists() { return kStarterLists; }

Level FillStarterLists() {
  OpenLists lists;
  std::vector<std::pair<FileManager*, const StarterList*>> empty;
  for (const StarterList& list : kStarterLists) {
    FileManager& access = Access(list.table);
    if (const Level rc = lists.open(access); rc != Level::Benign) return rc;
    if (access.FILE()->records() == 0) empty.emplace_back(&access, &list);
  }
  if (empty.empty()) return Level::Benign;
  std::vector<vrt::DataFile*> files;
  for (const auto& [access, list] : empty) files.push_back(access->FILE());
  vrt::Transaction txn(files, 2);
  if (!txn.begin()) return Level::Program;
  for (const auto& [access, list] : empty)
    if (const Level rc = add(*access, *list); rc != Level::Benign) return rc;  // rolled back
  return txn.commit() ? Level::Benign : Level::Program;
}

bool IsNewDataFolder(const std::string& folder) {
  std::error_code ec;
  for (const std::string& name : backup::dataFileNames())
    if (std::filesystem::exists(std::filesystem::path(folder) / name, ec) || ec) return false;
  return true;
}

bool IsNewData(const std::string& folder) {
  const vrt::store::DataLocation& at = vrt::store::currentDataLocation();
  if (!at.onServer()) return IsNewDataFolder(folder);
  const vrt::store::ConnectionCheck check = vrt::store::testConnection(at);
  return check.ok && check.empty;
}

}  // namespace vesp
