// vsp011, vsp012, vsp016, vsp017, vsp020, vsp021, vsp028, vsp029, vsp034 to vsp043: the pick
// lists, one table row per list.
#include "screens/lookups/picklists.h"

#include <string>

#include "dictionary/tables.h"
#include "records/thread_dictionary.h"
#include "runtime/text/utf8.h"
#include "windows/browse_declaration.h"
#include "windows/form_declaration.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

// A list of one text: its table, the text field and its key, and the words the screens use.
struct OneTextList {
  PickList names;
  const dict::TableDecl& table;
  int textField;
  int textKey;
  int numberField;
  const char* file;     // "ElementType": "Browse the ElementType File"
  const char* heading;  // the column and tab: "Element Type"
  const char* prompt;   // "Element Type:"
  const char* words;    // "Element Type": "Adding a Element Type Record"
  const char* browseFile = nullptr;  // the browse caption's file words when they differ
  int width = 30;                    // the text's characters
  const char* column = nullptr;      // the column's heading when it differs from the tab's
  const char* locator = nullptr;     // an entry locator's prompt; none: a step locator
};

const OneTextList kLists[] = {
    {{"BrowseRole", "vsp016", "UpdateRole", "vsp017"}, tables::Role, dict::idx::ROL::ROLE, dict::idx::ROL::keys::RoleKey,
     dict::idx::ROL::ROLENUMBER, "Role", "Role", "Role:", "Role", nullptr, 20},
    {{"BrowseElementType", "vsp020", "UpdateElementType", "vsp021"}, tables::ElementType, dict::idx::ELT::ELEMENTTYPE,
     dict::idx::ELT::keys::ElementTypeKey, dict::idx::ELT::ELEMENTTYPENUMBER, "ElementType", "Element Type",
     "Element Type:", "Element Type"},
    {{"BrowseKeyWordsDefault", "vsp028", "UpdateKeyWordsDefault", "vsp029"}, tables::KeyWordsDefault,
     dict::idx::KWF::KEYWORD, dict::idx::KWF::keys::KeyWordkey, dict::idx::KWF::KEYWORDDEFAULTNUMBER, "KeyWordsDefault",
     "Key Word", "Key Word:", "Key Words Default", "Key Words Default"},
    {{"BrowseStatisticType", "vsp034", "UpdateStatisticType", "vsp035"}, tables::StatisticType,
     dict::idx::STT::STATISTICTYPE, dict::idx::STT::keys::StatisticTypeKey, dict::idx::STT::STATISTICTYPENUMBER,
     "StatisticType", "Statistic Type", "Statistic Type:", "Statistic Type", "Statistic Type"},
    {{"BrowseBibleDefault", "vsp036", "UpdateBibleDefault", "vsp037"}, tables::BibleDefault, dict::idx::BID::BIBLE,
     dict::idx::BID::keys::BibleKey, dict::idx::BID::BIBLEDEFAULTNUMBER, "BibleDefault", "Bible", "Bible:",
     "Bible Default", "Bible Default"},
    {{"BrowseHolidayDefault", "vsp038", "UpdateHolidayDefault", "vsp039"}, tables::HolidayDefault,
     dict::idx::HOL::HOLIDAY, dict::idx::HOL::keys::HolidayKey, dict::idx::HOL::HOLIDAYDEFAULTNUMBER, "HolidayDefault",
     "Holiday", "Holiday:", "Holiday Default", "Holiday Default"},
    {{"BrowseSpecialEventDefault", "vsp040", "UpdateSpecialEventDefault", "vsp041"}, tables::SpecialEventDefault,
     dict::idx::SPE::SPECIALEVENT, dict::idx::SPE::keys::SpecialEventKey, dict::idx::SPE::SPECIALEVENTDEFAULTNUMBER,
     "SpecialEventDefault", "Special Event", "Special Event:", "Special Event Default", "Special Event Default"},
    {{"BrowseWeatherDefault", "vsp042", "UpdateWeatherDefault", "vsp043"}, tables::WeatherDefault,
     dict::idx::WEA::WEATHER, dict::idx::WEA::keys::WeatherKey, dict::idx::WEA::WEATHERDEFAULTNUMBER, "WeatherDefault",
     "Weather", "Weather:", "Weather Default", "Weather Default"},
    // The tab's caption is spelled as the screen has always shown it.
    {{"BrowsePublicity", "vsp022", "UpdatePublicity", "vsp023"}, tables::Publicity,
     dict::idx::PUL::PUBLICITYDESCRIPTION, dict::idx::PUL::keys::PublicityKey, dict::idx::PUL::PUBLICITYNUMBER,
     "Publicity", "Publicty", "Description:", "Publicity", nullptr, 30, "Publicity Description", "Description:"},
};

const PickList kTopic = {"BrowseTopic", "vsp011", "UpdateTopic", "vsp012"};

std::string fileWords(const OneTextList& l) { return l.browseFile ? l.browseFile : l.file; }

FormDecl formOf(const OneTextList& l) {
  FormDecl f(l.names.form, std::string("Update the ") + l.file + " File", l.table, l.words);
  const std::string use = std::string("?") + l.table.prefix + ":" + l.table.fields[static_cast<std::size_t>(l.textField)].name;
  f.tabs = {{"General", {field(l.prompt, use, {l.table, l.textField})}}};
  return f;
}

BrowseDecl browseOf(const OneTextList& l, std::function<void()> form) {
  BrowseDecl b(l.names.browse, "Browse the " + fileWords(l) + " File", l.table);
  b.listTitle = "Browsing Records";
  b.columns = {{l.column ? l.column : l.heading, l.width, "@s" + std::to_string(l.width), {l.table, l.textField}}};
  b.hiddenFields = {{l.table, l.numberField}};
  b.tabs = {{l.heading, l.textKey, l.locator ? BrowseTab::Locator::Entry : BrowseTab::Locator::Step,
             l.locator ? l.locator : "", ThumbStep::kLetters}};
  b.form = std::move(form);
  return b;
}

// Declarations live for the program's run; procedures refer to them.
const std::vector<FormDecl>& oneTextForms() {
  static const std::vector<FormDecl> forms = [] {
    std::vector<FormDecl> v;
    for (const OneTextList& l : kLists) v.push_back(formOf(l));
    return v;
  }();
  return forms;
}

const std::vector<BrowseDecl>& oneTextBrowses() {
  static const std::vector<BrowseDecl> browses = [] {
    std::vector<BrowseDecl> v;
    for (std::size_t i = 0; i < std::size(kLists); ++i)
      v.push_back(browseOf(kLists[i], [i] { RunForm(oneTextForms()[i]); }));
    return v;
  }();
  return browses;
}

const FormDecl& topicForm() {
  static const FormDecl form = [] {
    FormDecl f(kTopic.form, "Update the Topic File", tables::Topic, "Topic");
    f.tabs = {{"General",
               {field("Topic:", "?TOP:Topic", {tables::Topic, dict::idx::TOP::TOPIC}, "@s100"),
                field("Synonyms:", "?TOP:Synonyms", {tables::Topic, dict::idx::TOP::SYNONYMS})}}};
    return f;
  }();
  return form;
}

const BrowseDecl& topicBrowse() {
  static const BrowseDecl browse = [] {
    BrowseDecl b(kTopic.browse, "Browse the Topic File", tables::Topic);
    b.listTitle = "Browsing Records";
    b.columns = {{"Topic", 40, "@s100", {tables::Topic, dict::idx::TOP::TOPIC}},
                 {"Synonyms", 40, "@s255", {tables::Topic, dict::idx::TOP::SYNONYMS}}};
    b.hiddenFields = {{tables::Topic, dict::idx::TOP::TOPICNUMBER}};
    b.tabs = {{"Topic", dict::idx::TOP::keys::TopicKey, BrowseTab::Locator::Entry, "Topic:", ThumbStep::kLetters}};
    b.form = UpdateTopic;
    b.clear = true;
    return b;
  }();
  return browse;
}

}  // namespace

std::span<const PickList> pickLists() {
  static const std::vector<PickList> all = [] {
    std::vector<PickList> v{kTopic};
    for (const OneTextList& l : kLists) v.push_back(l.names);
    return v;
  }();
  return all;
}

void BrowseTopic() { RunBrowse(topicBrowse()); }
void UpdateTopic() { RunForm(topicForm()); }

std::function<void()> PickListProcedure(std::string_view name) {
  if (vrt::equalTextNoCase(name, kTopic.browse)) return BrowseTopic;
  if (vrt::equalTextNoCase(name, kTopic.form)) return UpdateTopic;
  for (std::size_t i = 0; i < std::size(kLists); ++i) {
    if (vrt::equalTextNoCase(name, kLists[i].names.form)) return [i] { RunForm(oneTextForms()[i]); };
    if (vrt::equalTextNoCase(name, kLists[i].names.browse)) return [i] { RunBrowse(oneTextBrowses()[i]); };
  }
  return {};
}

void RegisterPickLists() {
  for (const PickList& list : pickLists()) {
    RegisterProcedure(list.browse, PickListProcedure(list.browse));
    RegisterProcedure(list.form, PickListProcedure(list.form));
  }
}

}  // namespace vesp
