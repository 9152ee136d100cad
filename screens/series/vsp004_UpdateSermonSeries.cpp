#include "dictionary/tables.h"
#include "screens/series/series.h"
#include "windows/form_declaration.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

namespace SSE = dict::idx::SSE;
namespace SEP = dict::idx::SEP;
namespace TOP = dict::idx::TOP;

const NamedProcedure kBrowseTopic{"BrowseTopic"};

ChildListDecl publicityList() {
  ChildListDecl c;
  c.list = "?List:Publicity";
  c.title = "Browsing Records";
  c.table = &tables::SeriesPublicity;
  c.key = SEP::keys::SeriesNumberKey;
  c.parent = {tables::SermonSeries, SSE::SERIESNUMBER};
  c.cells = {{"Description", 30, "@s30", {tables::SeriesPublicity, SEP::PUBLICITYDESCRIPTION}}};
  c.hidden = {{tables::SeriesPublicity, SEP::PUBLICITYNUMBER}};
  c.insert = "?Insert:2";
  c.change = "?Change:2";
  c.remove = "?Delete:2";
  c.form = UpdateSeriesPublicity;
  return c;
}

const FormDecl& seriesForm() {
  static const FormDecl form = [] {
    const auto& t = tables::SermonSeries;
    FormDecl f("UpdateSermonSeries", "Update the SermonSeries File", t, "Sermon Series");
    LookupDecl topic = lookupInto(kLookupButtonUse, kBrowseTopic, tables::Topic, TOP::keys::TopicNumberKey, TOP::TOPICNUMBER);
    topic.textField = TOP::TOPIC;
    topic.display = "?LOC:Topic";
    f.tabs = {{"General",
               {field("Name:", "?SSE:NAME", {t, SSE::NAME}),
                field("Description:", "?SSE:DESCRIPTION", {t, SSE::DESCRIPTION}),
                lookupField("Topic:", "?SSE:TOPIC", {t, SSE::TOPIC}, topic, "@n-14"),
                dateField("Start Date:", "?SSE:STARTDATE_DATE", {t, SSE::STARTDATE_DATE}, {}, "?CALSTART"),
                dateField("End Date:", "?SSE:ENDDATE_DATE", {t, SSE::ENDDATE_DATE}, {}, "?CALEND"),
                fileField("Poster Image:", "?SSE:POSTERIMAGE", {t, SSE::POSTERIMAGE}, "?LOOKUPPOSTER", "?VIEWPOSTER",
                          "@s100"),
                fileField("Web Graphic:", "?SSE:WEBGRAPHIC", {t, SSE::WEBGRAPHIC}, "?LOOKUPWEB", "?VIEWWEB", "@s100")}},
              {"Publicity", {childList(publicityList())}}};
    return f;
  }();
  return form;
}

}  // namespace

void UpdateSermonSeries() { RunForm(seriesForm()); }

}  // namespace vesp
