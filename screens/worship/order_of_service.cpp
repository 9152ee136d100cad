// The order of service: one service's heading (title, date, series, the people serving),
// its elements in their order with the total of their durations, then its Bible passages
// and key words.
#include <QStringList>
#include <functional>

#include "dictionary/tables.h"
#include "records/thread_dictionary.h"
#include "runtime/data/errors.h"
#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"
#include "runtime/store/view.h"
#include "runtime/text/picture.h"
#include "runtime/text/utf8.h"
#include "screens/services/display_names.h"
#include "worship/durations.h"
#include "screens/worship/open_tables.h"
#include "screens/worship/worship.h"
#include "windows/report_manager.h"

namespace vesp {

namespace {

const ReportDeclaration kOrderOfServiceReport = {
    kOrderOfServiceProcedure, "OrderOfService", "Order of Service", nullptr, {}, {}, "", "Order of Service Report",
    "OrderOfService Report", 8};

// The people a service names, in the order its form lists them.
struct Role {
  const char* label;
  vrt::LongField field;
};
const Role kRoles[] = {{"Speaker:", SER_SPEAKER},           {"Worship Leader:", SER_WORSHIPLEADER},
                       {"Sound Engineer:", SER_SOUNDTECH},  {"Producer:", SER_PRODUCER},
                       {"Video Tech:", SER_VIDEOTECH},      {"Light Tech:", SER_LIGHTTECH},
                       {"Computer Tech:", SER_COMPUTERTECH}};

QString q(const std::string& s) { return QString::fromStdString(s); }

// Reads the records of `table` whose `numberField` holds the service, in `order`.
bool readOf(const dict::TableDecl& table, const char* order, const char* numberLabel, std::int32_t service,
            const std::function<void(vrt::RecordRef)>& each, std::string& error) {
  vrt::DataFile& file = TableFile(table);
  vrt::View view(file);
  if (!view.setOrder(order) || !view.setFilter(std::string(numberLabel) + " = " + std::to_string(service)) ||
      !view.open()) {
    error = "The " + std::string(table.label) + " file could not be read: " + vrt::errorMessage();
    return false;
  }
  vrt::RecordRef r = file.buffer();
  while (view.next()) each(r);
  const bool ended = vrt::errorCode() == vrt::kRecordNotAvailable;
  view.close();
  if (!ended) error = "The " + std::string(table.label) + " file could not be read: " + vrt::errorMessage();
  return ended;
}

QString passage(vrt::RecordRef r) {
  const auto part = [](std::int32_t chapter, std::int32_t verse) {
    QString t = chapter ? QString::number(chapter) : QString();
    if (verse) t += (t.isEmpty() ? "" : ":") + QString::number(verse);
    return t;
  };
  const QString start = part(r.get(BIB_STARTCHAPTER), r.get(BIB_STARTVERSE));
  // An end in the same chapter names the verse only: "3:16-18".
  const std::int32_t endChapter = r.get(BIB_ENDCHAPTER) == r.get(BIB_STARTCHAPTER) ? 0 : r.get(BIB_ENDCHAPTER);
  const QString end = part(endChapter, r.get(BIB_ENDVERSE));
  return end.isEmpty() || end == start ? start : start + "-" + end;
}

QString performing(vrt::RecordRef e) {
  const QString performer = q(PerformerName(e.get(SEL_PERFORMER)));
  const QString group = q(PerformerGroupName(e.get(SEL_PERFORMERGROUP)));
  if (performer.isEmpty()) return group;
  return group.isEmpty() ? performer : performer + " / " + group;
}

bool serviceLines(const vrt::RecordBuffer& service, std::vector<ReportLine>& lines, std::string& error) {
  OpenTables open({&tables::ServiceElement, &tables::BibleRef, &tables::KeyWords, &tables::Performers,
                   &tables::PerformerGroupHeader, &tables::SermonSeries, &tables::Topic});
  if (!open.failed().empty()) {
    error = "The " + open.failed() + " file could not be opened.";
    return false;
  }
  const std::int32_t number = service.get(SER_SERVICENUMBER);
  lines.push_back(ReportLine::field("Service:", q(service.get(SER_TITLE))));
  const vrt::DayNumber week = service.get(SER_WEEKOFDATE_DATE);
  lines.push_back(ReportLine::field("Week Of:", week ? q(vrt::formatPicture(double(week), "@d18")) : QString()));
  lines.push_back(ReportLine::field("Series:", q(SeriesName(service.get(SER_SERMONSERIES)))));
  for (const Role& role : kRoles)
    if (const std::int32_t person = service.get(role.field))
      lines.push_back(ReportLine::field(role.label, q(PerformerName(person))));
  QStringList topics;
  for (vrt::LongField topic : {SER_TOPIC1, SER_TOPIC2, SER_TOPIC3})
    if (const QString t = q(TopicText(service.get(topic))); !t.isEmpty()) topics << t;
  if (!topics.isEmpty()) lines.push_back(ReportLine::field("Topics:", topics.join(", ")));

  // In points of the 540 between a letter page's margins.
  lines.push_back(ReportLine::section("Service Elements", {{"Type", 50},
                                                           {"Title", 110},
                                                           {"Performer or Group", 80},
                                                           {"Duration", 40, Qt::AlignRight},
                                                           {"Pre-Service", 38, Qt::AlignHCenter},
                                                           {"Tempo", 50},
                                                           {"Lights", 86},
                                                           {"Instrumentation", 86}}));
  std::vector<std::string> durations;
  const bool elementsRead = readOf(
      tables::ServiceElement, "+SEL:ServiceNumber,+SEL:ElementOrder", "SEL:ServiceNumber", number,
      [&](vrt::RecordRef e) {
        durations.push_back(e.get(SEL_DURATION));
        const bool before = vrt::equalTextNoCase(e.get(SEL_PRESERVICE), "Y");
        lines.push_back(ReportLine::detail({q(e.get(SEL_TYPE)), q(e.get(SEL_TITLE)), performing(e),
                                            q(e.get(SEL_DURATION)), before ? "Yes" : "", q(e.get(SEL_TEMPO)),
                                            q(e.get(SEL_LIGHTS)), q(e.get(SEL_SOUND))}));
      },
      error);
  if (!elementsRead) return false;
  const DurationTotal total = TotalDurations(durations);
  lines.push_back(ReportLine::total({"Total", {}, {}, q(DurationText(total.seconds))}));
  if (total.skipped)
    lines.push_back(ReportLine::field("Left out:", q(DurationsNotRead(total.skipped))));

  std::vector<ReportLine> passages;
  if (!readOf(tables::BibleRef, "+BIB:ServiceNumber,+BIB:ReferenceNumber", "BIB:ServiceNumber", number,
              [&](vrt::RecordRef r) {
                passages.push_back(
                    ReportLine::detail({q(r.get(BIB_BIBLEVERSION)), q(r.get(BIB_BOOK)), passage(r)}));
              },
              error))
    return false;
  if (!passages.empty()) {
    lines.push_back(ReportLine::section("Bible Passages", {{"Version", 90}, {"Book", 150}, {"Passage", 300}}));
    for (ReportLine& l : passages) lines.push_back(std::move(l));
  }
  std::vector<ReportLine> words;
  if (!readOf(tables::KeyWords, "+KWD:ServiceNumber,+KWD:KeyWord", "KWD:ServiceNumber", number,
              [&](vrt::RecordRef r) { words.push_back(ReportLine::detail({q(r.get(KWD_KEYWORD))})); }, error))
    return false;
  if (!words.empty()) {
    lines.push_back(ReportLine::section("Key Words", {{"Key Word", 1}}));
    for (ReportLine& l : words) lines.push_back(std::move(l));
  }
  return true;
}

}  // namespace

void ReportOrderOfService() {
  // The caller's copy of the record: what its form shows, saved or not.
  const vrt::RecordBuffer service = Buffer(tables::Service);
  if (service.get(SER_SERVICENUMBER) == 0) {
    vrt::Message("There is no service to print.", "Order of Service", vrt::kIconExclamation);
    return;
  }
  ReportRun run;
  run.title = "Order of Service";
  run.rows = [service] {
    return ComputedRows([service](std::vector<ReportLine>& lines,
                                  std::string& error) { return serviceLines(service, lines, error); },
                        false);
  };
  RunReport(kOrderOfServiceReport, std::move(run));
}

}  // namespace vesp
