// vsp050, vsp051, vsp052, vsp055, vsp058, vsp063, vsp065: the prayer-journal reports, one
// table row per report.
#include "screens/reports/prayer_reports.h"

#include <algorithm>

#include "dictionary/tables.h"
#include "runtime/text/utf8.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

namespace PRA = dict::idx::PRA;
namespace BLE = dict::idx::BLE;
namespace PRS = dict::idx::PRS;
namespace JOU = dict::idx::JOU;

// A request shows its category beside it; its comments (how the prayer was answered)
// print under its line.
const std::vector<ReportColumnDecl> kRequestColumns = {
    {"Request #", PRA::REQUESTNUMBER, "@n9", 9, true},
    {"Prayer Request", PRA::REQUEST, "", 34, false, PRA::REQUESTCATEGORY},
    {"Date Started", PRA::DATESTARTED, "@d2-b", 12},
    {"Date Answered", PRA::DATEANSWERED, "@d2-b", 13},
    {"Number Days", PRA::NUMBERDAYS, "", 10},
    {"Answer", PRA::ANSWER, "", 14},
};

const ReportOrderDecl kStarted = {"Date Started", "+PRA:DateStarted,+PRA:RequestNumber"};
const ReportOrderDecl kAnswered = {"Date Answered", "+PRA:DateAnswered,+PRA:RequestNumber"};
const ReportOrderDecl kNumber = {"Request Number", "+PRA:RequestNumber"};

ReportDeclaration requestReport(const char* procedure, const char* module, const char* title,
                                std::vector<ReportOrderDecl> orders, const char* filter = "") {
  ReportDeclaration r{procedure, module, title, &tables::PrayerRequest, kRequestColumns, std::move(orders), filter};
  r.note = PRA::COMMENTS;
  r.noteLabel = "Comments:";
  r.noteColumn = 1;  // under the request
  return r;
}

const ReportDeclaration kReports[] = {
    requestReport("ReportPrayerRequestAll", "vsp050", "Prayer Requests All", {kStarted, kAnswered, kNumber}),
    requestReport("ReportPrayerRequest", "vsp051", "Prayer Requests", {kStarted, kAnswered, kNumber},
                  "PRA:DateAnswered = 0"),
    requestReport("ReportPrayerRequestAnswered", "vsp052", "Answered Prayer Requests", {kAnswered, kStarted, kNumber},
                  "PRA:DateAnswered <> 0"),
    requestReport("ReportPrayerRequestQuery", "vsp065", "Prayer Requests All", {kStarted, kAnswered, kNumber}),
    {"ReportBlessings", "vsp055", "Blessings", &tables::Blessings,
     {{"Blessing #", BLE::BLESSINGNUMBER, "@n9", 10, true},
      {"Blessing", BLE::BLESSING, "", 70},
      {"Date", BLE::BLESSINGDATE, "@d2-b", 14}},
     {{"Blessing Date", "+BLE:BlessingDate,+BLE:BlessingNumber"}, {"Blessing Number", "+BLE:BlessingNumber"}}},
    {"ReportPraises", "vsp058", "Praises", &tables::Praises,
     {{"Praise #", PRS::PRAISENUMBER, "@n9", 10, true},
      {"Praise", PRS::PRAISE, "", 70},
      {"Date", PRS::PRAISEDATE, "@d2-", 14}},
     // The praise report's number order keeps the name the blessing report gave it.
     {{"Praise Date", "+PRS:PraiseDate,+PRS:PraiseNumber"}, {"Blessing Number", "+PRS:PraiseNumber"}}},
    {"ReportJournal", "vsp063", "Journal", &tables::Journal,
     {{"Journal #", JOU::JOURNALNUMBER, "@n9", 10, true},
      {"Journal Entry", JOU::JOURNALENTRY, "", 70},
      {"Date", JOU::JOURNALDATE, "@d2-b", 14}},
     {{"Journal Date", "+JOU:JournalDate,+JOU:JournalNumber"}, {"Journal Number", "+JOU:JournalNumber"}}},
};

void run(const char* name) { RunReport(*prayerReport(name)); }

}  // namespace

std::span<const ReportDeclaration> prayerReports() { return kReports; }

const ReportDeclaration* prayerReport(std::string_view name) {
  for (const ReportDeclaration& r : kReports)
    if (vrt::upperCase(r.procedure) == vrt::upperCase(name)) return &r;
  return nullptr;
}

void ReportPrayerRequestAll() { run("ReportPrayerRequestAll"); }
void ReportPrayerRequest() { run("ReportPrayerRequest"); }
void ReportPrayerRequestAnswered() { run("ReportPrayerRequestAnswered"); }
void ReportBlessings() { run("ReportBlessings"); }
void ReportPraises() { run("ReportPraises"); }
void ReportJournal() { run("ReportJournal"); }

void RegisterReports() {
  RegisterProcedure("ReportPrayerRequestAll", ReportPrayerRequestAll);
  RegisterProcedure("ReportPrayerRequest", ReportPrayerRequest);
  RegisterProcedure("ReportPrayerRequestAnswered", ReportPrayerRequestAnswered);
  RegisterProcedure("ReportPrayerRequestQuery", ReportPrayerRequestQuery);
  RegisterProcedure("ReportBlessings", ReportBlessings);
  RegisterProcedure("ReportPraises", ReportPraises);
  RegisterProcedure("ReportJournal", ReportJournal);
}

}  // namespace vesp
