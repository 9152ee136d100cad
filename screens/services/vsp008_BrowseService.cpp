#include "dictionary/tables.h"
#include "records/thread_dictionary.h"
#include "runtime/text/dates.h"
#include "screens/services/copy_service.h"
#include "screens/services/display_names.h"
#include "screens/services/element_columns.h"
#include "screens/services/service_reports.h"
#include "screens/services/services.h"
#include "windows/browse_declaration.h"
#include "windows/browse_screen.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

constexpr const char* kSongUsageUse = "?SongUsage";
constexpr const char* kOrderOfServiceUse = "?OrderOfService";
constexpr const char* kCopyServiceUse = "?CopyService";
constexpr const char* kStatisticsChartUse = "?StatisticsChart";

namespace SER = dict::idx::SER;
namespace SEL = dict::idx::SEL;

// A column of a service's person or topic, worked out from the number the row stores.
BrowseColumn named(const char* header, int width, const char* picture, const char* local, int field,
                   std::string (*text)(double)) {
  return localColumn(header, width, picture, local, [field, text] { return text(NumberIn(tables::Service, field)); });
}

std::vector<BrowseColumn> serviceColumns() {
  const auto& t = tables::Service;
  BrowseColumn title{"Title", 40, "@s75", {t, SER::TITLE}};
  title.secondHeader = "Series";
  title.secondWidth = 40;
  title.secondField = FieldRef::Local("LOC:SeriesName");
  title.secondCompute = [] { return SeriesName(NumberIn(tables::Service, SER::SERMONSERIES)); };
  return {title,
          {"Week Of", 12, "@d17b", {t, SER::WEEKOFDATE_DATE}, true},
          named("Speaker", 20, "@s50", "LOC:SpeakerName", SER::SPEAKER, PerformerName),
          named("Worship Leader", 20, "@s50", "LOC:WorshipLeaderName", SER::WORSHIPLEADER, PerformerName),
          named("Sound Engineer", 20, "@s50", "LOC:SoundTechName", SER::SOUNDTECH, PerformerName),
          named("Topic 1", 20, "@s100", "LOC:Topic1", SER::TOPIC1, TopicText),
          named("Topic 2", 20, "@s100", "LOC:Topic2", SER::TOPIC2, TopicText),
          named("Topic 3", 20, "@s100", "LOC:Topic3", SER::TOPIC3, TopicText)};
}

// The element list adds the performer group to the columns the service form shows.
ChildListDecl elementList() {
  ChildListDecl c = ElementList("?LIST");
  c.cells.push_back(localColumn("Performer Group", 25, "@s50", "LOC:PerformerGroupName", [] {
    return PerformerGroupName(NumberIn(tables::ServiceElement, SEL::PERFORMERGROUP));
  }));
  c.lookupTables.push_back(&tables::PerformerGroupHeader);
  c.insert = "?Insert:2";
  c.change = "?Change:2";
  c.remove = "?Delete:2";
  return c;
}

const BrowseDecl& serviceBrowse() {
  static const BrowseDecl browse = [] {
    BrowseDecl b("BrowseService", "Browse the Service File", tables::Service);
    b.listUse = "?BROWSE:1";
    b.columns = serviceColumns();
    b.hiddenFields = {{tables::Service, SER::SERVICENUMBER}};
    b.tabs = {{"Service Date", SER::keys::WeekOfDateKey, BrowseTab::Locator::Entry, "Date:", ThumbStep::kDigits, true},
              {"Service Title", SER::keys::TitleKey, BrowseTab::Locator::Entry, "Title:", ThumbStep::kLetters}};
    b.select = false;
    b.form = UpdateService;
    b.lookupTables = {&tables::Performers, &tables::Topic, &tables::SermonSeries};
    b.children = {elementList()};
    b.openAt = [] { Buffer(tables::Service).set(SER_WEEKOFDATE_DATE, vrt::today()); };  // this week's service
    b.extraButtons = {vrt::button(kSongUsageUse, "Song &Usage..."), vrt::button(kOrderOfServiceUse, "&Order of Service...")};
    b.popupButtons = {kSongUsageUse, kOrderOfServiceUse};
    // Above the list: the row of buttons under it has no room left on a small screen.
    b.extraControls.push_back(
        vrt::row({vrt::button(kCopyServiceUse, "Co&py Service...").help("Plan a new service from this one"),
                  vrt::button(kStatisticsChartUse, "Statistics Char&t...").help("Chart a statistic over time")}));
    b.popupButtons.push_back(kCopyServiceUse);
    b.popupButtons.push_back(kStatisticsChartUse);
    b.onButton = [](BrowseScreen& screen, int control) {
      const bool onRow = screen.Browse().LISTQUEUE()->Records() > 0;
      if (control == screen.MYWINDOW()->number(kCopyServiceUse)) {
        if (onRow && screen.Browse().RereadHighlighted()) CopyServiceFromBrowse(screen);
        return EventResult::Consumed;
      }
      if (control == screen.MYWINDOW()->number(kSongUsageUse)) StartSongUsage();
      else if (control == screen.MYWINDOW()->number(kStatisticsChartUse)) StartStatisticsChart();
      else if (control != screen.MYWINDOW()->number(kOrderOfServiceUse)) return EventResult::Continue;
      else if (screen.Browse().LISTQUEUE()->Records() > 0 && screen.Browse().RereadHighlighted()) StartOrderOfService();
      return EventResult::Consumed;
    };
    return b;
  }();
  return browse;
}

}  // namespace

void BrowseService() { RunBrowse(serviceBrowse()); }

}  // namespace vesp
