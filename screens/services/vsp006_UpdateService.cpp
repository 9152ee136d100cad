#include "dictionary/tables.h"
#include "records/thread_dictionary.h"
#include "runtime/text/dates.h"
#include "screens/services/display_names.h"
#include "screens/services/element_columns.h"
#include "screens/services/running_time.h"
#include "screens/services/service_reports.h"
#include "screens/services/services.h"
#include "windows/form_declaration.h"
#include "windows/form_screen.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

namespace SER = dict::idx::SER;
namespace BIB = dict::idx::BIB;
namespace KWD = dict::idx::KWD;
namespace ASF = dict::idx::ASF;
namespace STA = dict::idx::STA;

const dict::TableDecl& kService = tables::Service;
constexpr const char* kPrintOrderUse = "?PrintOrder";

// The people of a service: prompt, field and the local showing the name.
struct Person {
  const char* prompt;
  const char* use;
  int field;
  const char* local;
};
constexpr Person kPeople[] = {
    {"Speaker:", "?SER:SPEAKER", SER::SPEAKER, "?LOC:SpeakerName"},
    {"Worship Leader:", "?SER:WORSHIPLEADER", SER::WORSHIPLEADER, "?LOC:WorshipLeaderName"},
    {"Sound Engineer:", "?SER:SOUNDTECH", SER::SOUNDTECH, "?LOC:SoundTechName"},
    {"Producer:", "?SER:PRODUCER", SER::PRODUCER, "?LOC:ProducerName"},
    {"Video Tech:", "?SER:VIDEOTECH", SER::VIDEOTECH, "?LOC:VideoTech"},
    {"Light Tech:", "?SER:LIGHTTECH", SER::LIGHTTECH, "?LOC:LightTech"},
    {"Computer Tech:", "?SER:COMPUTERTECH", SER::COMPUTERTECH, "?LOC:ComputerTech"},
};
constexpr Person kTopics[] = {
    {"Topic 1:", "?SER:TOPIC1", SER::TOPIC1, "?LOC:Topic1"},
    {"Topic 2:", "?SER:TOPIC2", SER::TOPIC2, "?LOC:Topic2"},
    {"Topic 3:", "?SER:TOPIC3", SER::TOPIC3, "?LOC:Topic3"},
};

const NamedProcedure kBrowsePerformers{"BrowsePerformers"};
const NamedProcedure kBrowseTopic{"BrowseTopic"};
const NamedProcedure kBrowseSermonSeries{"BrowseSermonSeries"};

// Every person looks up in the performers, every topic in the topics; each button has its
// own use name.
FormItem personLookup(const Person& p, int button) {
  LookupDecl l = lookupInto("?CALLLOOKUP:" + std::to_string(button), kBrowsePerformers, tables::Performers, dict::idx::PER::keys::PerformersNumberKey, dict::idx::PER::PERFORMERSNUMBER);
  l.textField = dict::idx::PER::LASTNAME;
  l.text = PerformerDisplayName;
  l.display = p.local;
  return lookupField(p.prompt, p.use, {kService, p.field}, l, "@n-14");
}

FormItem topicLookup(const Person& p, int button) {
  LookupDecl l = lookupInto("?CALLLOOKUP:" + std::to_string(button), kBrowseTopic, tables::Topic, dict::idx::TOP::keys::TopicNumberKey, dict::idx::TOP::TOPICNUMBER);
  l.textField = dict::idx::TOP::TOPIC;
  l.display = p.local;
  return lookupField(p.prompt, p.use, {kService, p.field}, l, "@n-14");
}

FormItem seriesLookup() {
  LookupDecl l = lookupInto("?CALLLOOKUP:1", kBrowseSermonSeries, tables::SermonSeries, dict::idx::SSE::keys::SeriesNumberKey, dict::idx::SSE::SERIESNUMBER);
  l.textField = dict::idx::SSE::NAME;
  l.display = "?SSE:NAME";
  return lookupField("Sermon Series:", "?SER:SERMONSERIES", {kService, SER::SERMONSERIES}, l, "@n-14");
}

std::vector<FormItem> generalInfo() {
  std::vector<FormItem> items = {field("Title:", "?SER:TITLE", {kService, SER::TITLE}, "@s75"), seriesLookup(),
                                 dateField("Week Of Date:", "?SER:WEEKOFDATE_DATE", {kService, SER::WEEKOFDATE_DATE},
                                           "@d17")};
  int button = 2;
  for (const Person& p : kPeople) items.push_back(personLookup(p, button++));
  items.push_back(fileField("Flyer:", "?SER:FLYER", {kService, SER::FLYER}, "?LOOKUPFILE", "?VIEWFLYER", "@s100"));
  items.push_back(field("Tape Number:", "?SER:TAPENUMBER", {kService, SER::TAPENUMBER}, "@s20"));
  for (const Person& t : kTopics) items.push_back(topicLookup(t, button++));
  items.push_back(shownField("Employee Created:", "?SER:EMPCREATED", {kService, SER::EMPCREATED}, "@n-14"));
  items.push_back(
      shownField("Employee Last Updated:", "?SER:EMPLASTUPDATED", {kService, SER::EMPLASTUPDATED}, "@n-14"));
  items.push_back(shownField("Date Created:", "?SER:DATECREATED_DATE", {kService, SER::DATECREATED_DATE}, "@d17"));
  items.push_back(shownField("Last Updated:", "?SER:LASTUPDATED_DATE", {kService, SER::LASTUPDATED_DATE}, "@d17"));
  return items;
}

// A child list of this service's records of `table`, by `key` (which starts with the
// service number); its buttons, named after `buttons`, run `form`.
ChildListDecl childOf(const char* use, const dict::TableDecl& table, int key, int numberField,
                      std::vector<BrowseColumn> cells, Procedure form, int buttons) {
  ChildListDecl c;
  c.list = use;
  c.title = "Browsing Records";
  c.table = &table;
  c.key = key;
  c.parent = {kService, SER::SERVICENUMBER};
  c.cells = std::move(cells);
  c.hidden = {{table, numberField}};
  c.form = std::move(form);
  const std::string n = std::to_string(buttons);
  c.insert = "?Insert:" + n;
  c.change = "?Change:" + n;
  c.remove = "?Delete:" + n;
  return c;
}

ChildListDecl keyPassages() {
  const auto& t = tables::BibleRef;
  return childOf("?List:KeyPassages", t, BIB::keys::ServiceRefKey, BIB::REFERENCENUMBER,
                 {{"Version", 15, "@s30", {t, BIB::BIBLEVERSION}},
                  {"Book", 15, "@s30", {t, BIB::BOOK}},
                  {"Start Chapter", 6, "@n6", {t, BIB::STARTCHAPTER}},
                  {"Start Verse", 6, "@n6", {t, BIB::STARTVERSE}},
                  {"End Chapter", 6, "@n6", {t, BIB::ENDCHAPTER}},
                  {"End Verse", 6, "@n6", {t, BIB::ENDVERSE}}},
                 UpdateBibleRef, 12);
}

ChildListDecl keyWords() {
  const auto& t = tables::KeyWords;
  return childOf("?List:KeyWords", t, KWD::keys::ServiceNumberKey, KWD::KEYWORDNUMBER,
                 {{"Key Word", 30, "@s30", {t, KWD::KEYWORD}}}, UpdateKeyWords, 14);
}

ChildListDecl serviceElements() {
  ChildListDecl c = ElementList("?List:ServiceElements");
  c.insert = "?Insert:13";
  c.change = "?Change:13";
  c.remove = "?Delete:13";
  c.refilled = ShowRunningTime;  // an element added, changed, deleted or moved counts at once
  return c;
}

// Read-only: a click on a row's "File Location" opens the file.
ChildListDecl associatedFiles() {
  const auto& t = tables::AssociatedFiles;
  ChildListDecl c = childOf("?List:AssociatedFiles", t, ASF::keys::ServiceNumberKey,
                            ASF::ASSOCIATEDFILESNUMBER,
                            {{"Type", 15, "@s30", {t, ASF::TYPE}},
                             {"Description", 25, "@s50", {t, ASF::DESCRIPTION}},
                             {"File Location", 40, "@s100", {t, ASF::FILELOCATION}}},
                            nullptr, 0);
  c.readOnly = true;
  c.hyperlinkColumn = 3;
  return c;
}

ChildListDecl statistics() {
  const auto& t = tables::Statistics;
  auto amount = [&t](const char* header, int field) {
    BrowseColumn c{header, 12, "@n-12.2", {t, field}, true};
    return c;
  };
  auto count = [&t](const char* header, int field) {
    BrowseColumn c{header, 7, "@n-9", {t, field}};
    c.align = vrt::ColumnAlign::Center;
    return c;
  };
  return childOf("?List:Statistics", t, STA::keys::ServiceNumberKey, STA::STATISTICNUMBER,
                 {{"Type", 15, "@s30", {t, STA::TYPE}}, amount("Offering", STA::OFFERING),
                  amount("Budget Need", STA::BUDGETNEED), amount("Special Offering", STA::SPECIALOFFERING),
                  count("Adult", STA::ADULT), count("Adult Guests", STA::ADULTGUESTS), count("Youth", STA::YOUTH),
                  count("Youth Guests", STA::YOUTHGUESTS), count("Children", STA::CHILDREN),
                  count("Children Guests", STA::CHILDRENGUESTS)},
                 UpdateStatistics, 15);
}

void setNow(FormScreen& form, int dateField, int timeField) {
  const auto& fields = TableFile(kService).schema().fields;
  form.Record().setNumber(fields[static_cast<std::size_t>(dateField)], vrt::today());
  form.Record().setNumber(fields[static_cast<std::size_t>(timeField)], vrt::clockNow());
}

const FormDecl& serviceForm() {
  static const FormDecl form = [] {
    FormDecl f("UpdateService", "Update the Service File", kService, "Service");
    f.tabs = {{"General Info", generalInfo()},
              {"Key Passages", {childList(keyPassages())}},
              {"Key Words", {childList(keyWords())}},
              {"Service Elements",
               {childList(serviceElements()),
                controlItem(vrt::prompt(RunningTimeText({}), kRunningTimeUse)
                                .tip(std::string("Durations count when written as ") + kDurationForms))}},
              {"Associated Files", {childList(associatedFiles())}},
              {"Statistics", {childList(statistics())}}};
    f.prime = [](FormScreen& s) { setNow(s, SER::DATECREATED_DATE, SER::DATECREATED_TIME); };
    f.extraButtons = {vrt::button(kPrintOrderUse, "&Print...").help("Print the order of service")};
    f.onButton = [](FormScreen& s, int control) {
      if (control != s.MYWINDOW()->number(kPrintOrderUse)) return EventResult::Continue;
      s.MYWINDOW()->updateAll();  // what the user typed prints, saved or not
      StartOrderOfService();
      return EventResult::Consumed;
    };
    f.stamp = [](FormScreen& s) { setNow(s, SER::LASTUPDATED_DATE, SER::LASTUPDATED_TIME); };
    return f;
  }();
  return form;
}

}  // namespace

void UpdateService() { RunForm(serviceForm()); }

}  // namespace vesp
