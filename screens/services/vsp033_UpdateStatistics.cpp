#include "dictionary/tables.h"
#include "screens/services/services.h"
#include "screens/services/text_lookup.h"
#include "windows/procedures.h"

#include <span>

namespace vesp {

namespace {

namespace STA = dict::idx::STA;

struct Entry {
  const char* prompt;
  const char* use;
  int field;
  const char* picture;
};

constexpr const char* kAmount = "@n-12.2";
constexpr const char* kCount = "@n-14";

constexpr Entry kAmounts[] = {
    {"Offering:", "?STA:OFFERING", STA::OFFERING, kAmount},
    {"Budget Need:", "?STA:BUDGETNEED", STA::BUDGETNEED, kAmount},
    {"Special Offering:", "?STA:SPECIALOFFERING", STA::SPECIALOFFERING, kAmount},
    {"Adult:", "?STA:ADULT", STA::ADULT, kCount},
    {"Adult Guests:", "?STA:ADULTGUESTS", STA::ADULTGUESTS, kCount},
    {"Youth:", "?STA:YOUTH", STA::YOUTH, kCount},
    {"Youth Guests:", "?STA:YOUTHGUESTS", STA::YOUTHGUESTS, kCount},
    {"Children:", "?STA:CHILDREN", STA::CHILDREN, kCount},
    {"Children Guests:", "?STA:CHILDRENGUESTS", STA::CHILDRENGUESTS, kCount},
    {"Saved:", "?STA:SAVED", STA::SAVED, kCount},
    {"Baptized:", "?STA:BAPTIZED", STA::BAPTIZED, kCount},
    {"Prayed For:", "?STA:PRAYEDFOR", STA::PRAYEDFOR, kCount},
    {"Other Responses:", "?STA:OTHERRESPONSES", STA::OTHERRESPONSES, kCount},
    {"Joined:", "?STA:JOINED", STA::JOINED, kCount},
};

constexpr Entry kOthers[] = {
    {"Other Statistic 1:", "?STA:OTHERSTAT1", STA::OTHERSTAT1, kCount},
    {"Other Statistic 2:", "?STA:OTHERSTAT2", STA::OTHERSTAT2, kCount},
    {"Other Statistic 3:", "?STA:OTHERSTAT3", STA::OTHERSTAT3, kCount},
    {"Other Statistic 4:", "?STA:OTHERSTAT4", STA::OTHERSTAT4, kCount},
    {"Other Statistic 5:", "?STA:OTHERSTAT5", STA::OTHERSTAT5, kCount},
    {"Other Offering 1:", "?STA:OTHEROFFERING1", STA::OTHEROFFERING1, kAmount},
    {"Other Offering 2:", "?STA:OTHEROFFERING2", STA::OTHEROFFERING2, kAmount},
    {"Other Offering 3:", "?STA:OTHEROFFERING3", STA::OTHEROFFERING3, kAmount},
    {"Other Offering 4:", "?STA:OTHEROFFERING4", STA::OTHEROFFERING4, kAmount},
    {"Other Offering 5:", "?STA:OTHEROFFERING5", STA::OTHEROFFERING5, kAmount},
};

const NamedProcedure kBrowseStatisticType{"BrowseStatisticType"};
const NamedProcedure kBrowseWeatherDefault{"BrowseWeatherDefault"};
const NamedProcedure kBrowseHolidayDefault{"BrowseHolidayDefault"};
const NamedProcedure kBrowseSpecialEventDefault{"BrowseSpecialEventDefault"};

// The four look-ups copy the text chosen in their pick lists.
struct PickEntry {
  const char* prompt;
  const char* use;
  int field;
  const dict::TableDecl& list;
  int key;
  int text;
  const NamedProcedure& browse;
  const char* button;
};

const PickEntry kType = {"Type:", "?STA:TYPE", STA::TYPE, tables::StatisticType,
                         dict::idx::STT::keys::StatisticTypeKey, dict::idx::STT::STATISTICTYPE, kBrowseStatisticType, "?CALLLOOKUP:1"};
const PickEntry kDays[] = {
    {"Weather:", "?STA:WEATHER", STA::WEATHER, tables::WeatherDefault, dict::idx::WEA::keys::WeatherKey,
     dict::idx::WEA::WEATHER, kBrowseWeatherDefault, "?CALLLOOKUP:2"},
    {"Holiday:", "?STA:HOLIDAY", STA::HOLIDAY, tables::HolidayDefault, dict::idx::HOL::keys::HolidayKey,
     dict::idx::HOL::HOLIDAY, kBrowseHolidayDefault, "?CALLLOOKUP:3"},
    {"Special Event:", "?STA:SPECIALEVENT", STA::SPECIALEVENT, tables::SpecialEventDefault,
     dict::idx::SPE::keys::SpecialEventKey, dict::idx::SPE::SPECIALEVENT, kBrowseSpecialEventDefault, "?CALLLOOKUP:4"},
};

FormItem pick(const PickEntry& p) {
  return TextLookup(p.prompt, p.use, {tables::Statistics, p.field}, p.list, p.key, p.text, p.browse, p.button);
}

std::vector<FormItem> fields(std::span<const Entry> entries) {
  std::vector<FormItem> out;
  for (const Entry& e : entries) out.push_back(field(e.prompt, e.use, {tables::Statistics, e.field}, e.picture));
  return out;
}

const FormDecl& statisticsForm() {
  static const FormDecl form = [] {
    FormDecl f("UpdateStatistics", "Update the Statistics File", tables::Statistics, "Statistics");
    std::vector<FormItem> general = {pick(kType)};
    for (FormItem& i : fields(kAmounts)) general.push_back(std::move(i));
    for (const PickEntry& p : kDays) general.push_back(pick(p));
    f.tabs = {{"General", std::move(general)}, {"Other Stats", fields(kOthers)}};
    return f;
  }();
  return form;
}

}  // namespace

void UpdateStatistics() { RunForm(statisticsForm()); }

}  // namespace vesp
