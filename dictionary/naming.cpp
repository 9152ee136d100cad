#include "dictionary/naming.h"

#include "runtime/text/utf8.h"

namespace vesp::dict {

namespace {

constexpr const char* kPeopleInServices[] = {"SER:SPEAKER",   "SER:WORSHIPLEADER", "SER:SOUNDTECH",   "SER:PRODUCER",
                                             "SER:VIDEOTECH", "SER:LIGHTTECH",     "SER:COMPUTERTECH"};
constexpr const char* kPerformerOfElement[] = {"SEL:PERFORMER"};
constexpr const char* kGroupMember[] = {"PGD:PERFORMERNUMBER"};
constexpr NamedByDecl kPerformerNamedBy[] = {
    {"Service", kPeopleInServices, nullptr, "service", "services"},
    {"ServiceElement", kPerformerOfElement, nullptr, "service element", "service elements"},
    {"PerformerGroupDetail", kGroupMember, "PGD:PERFORMERGROUPNUMBER", "group", "groups"},
};

constexpr const char* kEntryOfElement[] = {"SEL:BIBLIOGRAPHYNUMBER"};
constexpr NamedByDecl kEntryNamedBy[] = {
    {"ServiceElement", kEntryOfElement, nullptr, "service element", "service elements"},
};

constexpr const char* kTopicsOfService[] = {"SER:TOPIC1", "SER:TOPIC2", "SER:TOPIC3"};
constexpr const char* kTopicOfSeries[] = {"SSE:TOPIC"};
constexpr NamedByDecl kTopicNamedBy[] = {
    {"Service", kTopicsOfService, nullptr, "service", "services"},
    {"SermonSeries", kTopicOfSeries, nullptr, "sermon series", "sermon series"},
};

constexpr const char* kPerformerRole[] = {"PER:ROLE"};
constexpr const char* kMemberRole[] = {"PGD:ROLE"};
constexpr NamedByDecl kRoleNamedBy[] = {
    {"Performers", kPerformerRole, nullptr, "performer", "performers"},
    {"PerformerGroupDetail", kMemberRole, nullptr, "group member", "group members"},
};

constexpr const char* kElementType[] = {"SEL:TYPE"};
constexpr const char* kFileType[] = {"ASF:TYPE"};
constexpr NamedByDecl kElementTypeNamedBy[] = {
    {"ServiceElement", kElementType, nullptr, "service element", "service elements"},
    {"AssociatedFiles", kFileType, nullptr, "associated file", "associated files"},
};

constexpr const char* kKeyWord[] = {"KWD:KEYWORD"};
constexpr NamedByDecl kKeyWordNamedBy[] = {{"KeyWords", kKeyWord, nullptr, "service's key word", "services' key words"}};

constexpr const char* kBibleVersion[] = {"BIB:BIBLEVERSION"};
constexpr NamedByDecl kBibleNamedBy[] = {{"BibleRef", kBibleVersion, nullptr, "key passage", "key passages"}};

constexpr const char* kPublicity[] = {"SEP:PUBLICITYDESCRIPTION"};
constexpr NamedByDecl kPublicityNamedBy[] = {
    {"SeriesPublicity", kPublicity, nullptr, "sermon series' publicity", "sermon series' publicity"}};

constexpr const char* kStatisticType[] = {"STA:TYPE"};
constexpr const char* kHoliday[] = {"STA:HOLIDAY"};
constexpr const char* kSpecialEvent[] = {"STA:SPECIALEVENT"};
constexpr const char* kWeather[] = {"STA:WEATHER"};
constexpr NamedByDecl kStatisticTypeNamedBy[] = {{"Statistics", kStatisticType, nullptr, "statistic", "statistics"}};
constexpr NamedByDecl kHolidayNamedBy[] = {{"Statistics", kHoliday, nullptr, "statistic", "statistics"}};
constexpr NamedByDecl kSpecialEventNamedBy[] = {{"Statistics", kSpecialEvent, nullptr, "statistic", "statistics"}};
constexpr NamedByDecl kWeatherNamedBy[] = {{"Statistics", kWeather, nullptr, "statistic", "statistics"}};

constexpr const char* kPerformerName[] = {"PER:FIRSTNAME", "PER:LASTNAME"};
constexpr const char* kEntryName[] = {"BBL:TITLE"};
constexpr const char* kTopicName[] = {"TOP:TOPIC"};
constexpr const char* kRoleName[] = {"ROL:ROLE"};
constexpr const char* kElementTypeName[] = {"ELT:ELEMENTTYPE"};
constexpr const char* kKeyWordName[] = {"KWF:KEYWORD"};
constexpr const char* kBibleName[] = {"BID:BIBLE"};
constexpr const char* kPublicityName[] = {"PUL:PUBLICITYDESCRIPTION"};
constexpr const char* kStatisticTypeName[] = {"STT:STATISTICTYPE"};
constexpr const char* kHolidayName[] = {"HOL:HOLIDAY"};
constexpr const char* kSpecialEventName[] = {"SPE:SPECIALEVENT"};
constexpr const char* kWeatherName[] = {"WEA:WEATHER"};

// Pick lists are named by their text: the records copy it, not the list's number.
constexpr NamedRecordDecl kNamedRecords[] = {
    {"Performers", "PER:PERFORMERSNUMBER", kPerformerName, kPerformerNamedBy},
    {"Bibliography", "BBL:BIBLIOGRAPHYNUMBER", kEntryName, kEntryNamedBy},
    {"Topic", "TOP:TOPICNUMBER", kTopicName, kTopicNamedBy},
    {"Role", "ROL:ROLE", kRoleName, kRoleNamedBy},
    {"ElementType", "ELT:ELEMENTTYPE", kElementTypeName, kElementTypeNamedBy},
    {"KeyWordsDefault", "KWF:KEYWORD", kKeyWordName, kKeyWordNamedBy},
    {"BibleDefault", "BID:BIBLE", kBibleName, kBibleNamedBy},
    {"Publicity", "PUL:PUBLICITYDESCRIPTION", kPublicityName, kPublicityNamedBy},
    {"StatisticType", "STT:STATISTICTYPE", kStatisticTypeName, kStatisticTypeNamedBy},
    {"HolidayDefault", "HOL:HOLIDAY", kHolidayName, kHolidayNamedBy},
    {"SpecialEventDefault", "SPE:SPECIALEVENT", kSpecialEventName, kSpecialEventNamedBy},
    {"WeatherDefault", "WEA:WEATHER", kWeatherName, kWeatherNamedBy},
};

}  // namespace

std::span<const NamedRecordDecl> namedRecords() { return kNamedRecords; }

const NamedRecordDecl* namedRecord(std::string_view table) {
  for (const NamedRecordDecl& n : kNamedRecords)
    if (vrt::equalTextNoCase(n.table, table)) return &n;
  return nullptr;
}

}  // namespace vesp::dict
