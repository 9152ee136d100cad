// The prayer-journal reports, started by name as the browses' print buttons start them.
#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>

#include "querywizard/qrywiz.h"
#include "records/error_manager.h"
#include "report_fixture.h"
#include "runtime/gui/paged_list.h"
#include "runtime/gui/threads.h"
#include "screens/prayer/journal_handover.h"
#include "screens/prayer/offered_fields.h"
#include "screens/reports/prayer_reports.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

class PrayerReportTest : public ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    addRequests({{"Req Alpha", 30, 40, "Health"},
                 {"Req Bravo", 10, 0, "Family"},
                 {"Req Charlie", 20, 25, "Health"},
                 {"Req Delta", 5, 0, "Work"}});
  }
};

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

TEST_F(PrayerReportTest, EverySevenReportsIsRegisteredByName) {
  for (const char* name : {"ReportPrayerRequestAll", "ReportPrayerRequest", "ReportPrayerRequestAnswered",
                           "ReportPrayerRequestQuery", "ReportBlessings", "ReportPraises", "ReportJournal"})
    EXPECT_TRUE(FindProcedure(name)) << name;
  const ReportDeclaration* praises = prayerReport("ReportPraises");
  ASSERT_NE(praises, nullptr);
  EXPECT_STREQ(praises->orders[1].name, "Blessing Number");
  EXPECT_STREQ(praises->orders[1].order, "+PRS:PraiseNumber");
}

TEST_F(PrayerReportTest, AllRequestsInDateStartedOrderWithTheFooter) {
  startReport("ReportPrayerRequestAll");
  EXPECT_EQ(orderNames(), (std::vector<std::string>{"Date Started", "Date Answered", "Request Number"}));
  acceptOrderAndRun();
  ASSERT_NE(robot.findWindow("Report Preview"), nullptr);
  EXPECT_EQ(requestsPrinted(), (std::vector<std::string>{"Req Delta", "Req Bravo", "Req Charlie", "Req Alpha"}));
  const std::string text = allText();
  EXPECT_TRUE(contains(text, "Prayer Requests All"));
  for (const char* title : {"Request #", "Prayer Request", "Date Started", "Date Answered", "Number Days", "Answer"})
    EXPECT_TRUE(contains(text, title)) << title;
  EXPECT_TRUE(contains(text, "Date: " + vrt::formatPicture(double(vrt::today()), "@d17")));
  EXPECT_TRUE(contains(text, "Time: "));
  EXPECT_TRUE(contains(text, "Page   1"));
  EXPECT_TRUE(contains(text, "02-10-2026"));  // Alpha answered, picture d2-b
  closePreview();
  EXPECT_TRUE(vrt::PageStore::liveFolders().empty());
}

TEST_F(PrayerReportTest, OpenRequestsReportOnAnAnsweredJournalSaysNoRecords) {
  // Answer the two open requests too: the report's filter then lets no record through.
  onThread([] {
    FileManager& f = Access(tables::PrayerRequest);
    static_cast<void>(f.Open());
    for (int n : {2, 4}) {
      f.BUFFER()->setNumber(f.FILE()->schema().fields[0], n);
      ASSERT_EQ(f.Fetch(0), Level::Benign);
      vrt::RecordRef(*f.BUFFER()).set(PRA_DATEANSWERED, vrt::dateFromYmd(2026, 3, 1));
      ASSERT_EQ(Relate(tables::PrayerRequest).Update(), Level::Benign);
    }
    static_cast<void>(f.Close());
  });
  startReport("ReportPrayerRequest");
  robot.press("Select the Order", "?OK");
  robot.fireTimer("Report Prayer Request");
  // As an empty table does: message 25, and no preview of a page without a request.
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "No Records");
  robot.pressMessageButton("Ok");
  EXPECT_EQ(robot.findWindow("Report Preview"), nullptr);
  EXPECT_EQ(ReportOutcomes().back().records, 0);
  EXPECT_TRUE(ReportOutcomes().back().noRecords);
  EXPECT_TRUE(vrt::PageStore::liveFolders().empty());
  // The answered-requests report over the same journal still prints them all.
  startReport("ReportPrayerRequestAnswered");
  acceptOrderAndRun();
  EXPECT_EQ(requestsPrinted().size(), 4u);
  closePreview();
}

TEST_F(PrayerReportTest, OpenRequestsReportPrintsOnlyTheOpenOnes) {
  startReport("ReportPrayerRequest");
  acceptOrderAndRun(3);  // Request Number
  EXPECT_EQ(requestsPrinted(), (std::vector<std::string>{"Req Bravo", "Req Delta"}));
  closePreview();
}

TEST_F(PrayerReportTest, AnsweredReportOffersDateAnsweredFirstAndSortsByIt) {
  startReport("ReportPrayerRequestAnswered");
  EXPECT_EQ(orderNames(), (std::vector<std::string>{"Date Answered", "Date Started", "Request Number"}));
  acceptOrderAndRun();
  EXPECT_EQ(requestsPrinted(), (std::vector<std::string>{"Req Charlie", "Req Alpha"}));
  EXPECT_TRUE(contains(allText(), "Answered Prayer Requests"));
  closePreview();
}

TEST_F(PrayerReportTest, QueryReportWithoutAQueryPrintsEveryRequest) {
  SetHandedFilter("");
  SetHandedDescription("");
  startReport("ReportPrayerRequestQuery");
  acceptOrderAndRun(3);
  EXPECT_TRUE(contains(allText(), "Prayer Requests All"));
  EXPECT_EQ(requestsPrinted(), (std::vector<std::string>{"Req Alpha", "Req Bravo", "Req Charlie", "Req Delta"}));
  closePreview();
}

TEST_F(PrayerReportTest, SelectCategoryQueryIsTitledByTheRunTimeCategory) {
  SetHandedFilter("UPPER(PRA:RequestCategory) = UPPER(RUNTIMECATEGORY)");
  SetHandedDescription("Select Category");
  SetRuntimeCategory("Health");
  startReport("ReportPrayerRequestQuery");
  acceptOrderAndRun(3);
  EXPECT_TRUE(contains(allText(), "Prayer Requests For Query - Health"));
  EXPECT_EQ(requestsPrinted(), (std::vector<std::string>{"Req Alpha", "Req Charlie"}));
  // The hand-over is used once: a later report starts clean.
  EXPECT_EQ(HandedFilter(), "");
  closePreview();
}

TEST_F(PrayerReportTest, AnAnsweredRequestsStoryPrintsUnderItWithItsCategoryBeside) {
  // Many answered requests with long stories: some run over a page's foot.
  std::string story;
  for (int w = 0; story.size() < 600; ++w) story += "word" + std::to_string(w) + " ";
  onThread([story] {
    FileManager& f = Access(tables::PrayerRequest);
    static_cast<void>(f.Open());
    for (int i = 0; i < 30; ++i) {
      static_cast<void>(f.ClearForInsert());
      vrt::RecordRef rec = *f.BUFFER();
      rec.set(PRA_REQUEST, "Req Story " + std::to_string(i));
      rec.set(PRA_DATESTARTED, vrt::dateFromYmd(2026, 2, 1));
      rec.set(PRA_REQUESTCATEGORY, "Missions");
      rec.set(PRA_COMMENTS, "Story " + std::to_string(i) + ": " + story);
      ASSERT_EQ(f.Insert(), Level::Benign);
    }
    static_cast<void>(f.Close());
  });
  startReport("ReportPrayerRequestAll");
  acceptOrderAndRun(3);  // Request Number
  const auto printedPages = pages();
  ASSERT_GT(printedPages.size(), 2u);
  std::string flat;  // every text in printing order, without the blanks the lines broke at
  int labels = 0;
  for (const auto& p : printedPages)
    for (const auto& i : p.items)
      if (i.kind == vrt::PageItem::Text) {
        flat += i.text.toStdString();
        labels += i.text.startsWith("Comments: Story");
      }
  flat.erase(std::remove(flat.begin(), flat.end(), ' '), flat.end());
  EXPECT_EQ(labels, 30) << "a label only where there is a story";
  std::string squeezed = story;
  squeezed.erase(std::remove(squeezed.begin(), squeezed.end(), ' '), squeezed.end());
  for (int i = 0; i < 30; ++i) {
    const std::string row = "ReqStory" + std::to_string(i) + "(Missions)";
    const std::string told = "Story" + std::to_string(i) + ":" + squeezed;
    const auto at = flat.find(row);
    ASSERT_NE(at, std::string::npos) << row;
    EXPECT_NE(flat.find(told, at), std::string::npos) << "the whole story under request " << i;
  }
  EXPECT_NE(flat.find("ReqAlpha(Health)"), std::string::npos);
  EXPECT_EQ(requestsPrinted().size(), 34u);
  closePreview();
}

TEST_F(PrayerReportTest, QueryTitleRules) {
  EXPECT_EQ(QueryReportTitle("", "Anything", "Health"), "Prayer Requests All");
  EXPECT_EQ(QueryReportTitle("PRA:RequestNumber > 1", "select category", "Health   "),
            "Prayer Requests For Query - Health");
  EXPECT_EQ(QueryReportTitle("PRA:RequestNumber > 1", "Recent ones   ", "Health"),
            "Prayer Requests For Query - Recent ones");
  EXPECT_LE(QueryReportTitle("x", std::string(100, 'q'), "").size(), 80u);
}

TEST_F(PrayerReportTest, AQueryThatCannotBeEvaluatedStopsTheReport) {
  SetHandedFilter("UPPER(PRA:RequestCategory) = 'HEALTH' AND");
  SetHandedDescription("Broken");
  startReport("ReportPrayerRequestQuery");
  robot.chooseRow("Select the Order", "?OrderList", 1);
  robot.press("Select the Order", "?OK");
  for (int i = 0; i < 100 && robot.findWindow("Report Prayer Request"); ++i) robot.fireTimer("Report Prayer Request");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_NE(robot.control(robot.messageBox()->caption(), "?MessageText").text().find("The query cannot be printed"),
            std::string::npos);
  robot.pressMessageButton("Ok");
  EXPECT_EQ(robot.findWindow("Report Preview"), nullptr) << "never every request under the query's title";
  EXPECT_EQ(ReportOutcomes().back().records, 0);
}

TEST_F(PrayerReportTest, QueryReportRegistersTheBrowsesOfferedFields) {
  qrywiz::XBQW_FIELDSQUEUE fields;
  std::int32_t error = 0;
  qrywiz::XB_ADDFIELDSQUEUEDATA(fields, error, PrayerRequestFieldsText());
  ASSERT_EQ(error, 0);
  ASSERT_EQ(fields.size(), 8u);
  EXPECT_EQ(fields[0].QWFLDDESC, "PRA:Request Number");
  EXPECT_EQ(fields[5].QWFLDCONTROL, 3);
  EXPECT_EQ(fields[5].QWFLDOPTIONS, " |Yes|No|Other");
  EXPECT_EQ(fields[7].QWFLDNAME, "PRA:RequestCategory");
}

TEST_F(PrayerReportTest, ACancelledOrderWindowLeavesNothingBehind) {
  startReport("ReportPrayerRequestAll");
  ASSERT_NE(robot.findWindow("Select the Order"), nullptr);
  robot.press("Select the Order", "?Cancel");
  EXPECT_EQ(robot.findWindow("Select the Order"), nullptr);
  EXPECT_EQ(robot.findWindow("Report Prayer Request"), nullptr);
  EXPECT_EQ(robot.findWindow("Report Preview"), nullptr);
  EXPECT_TRUE(vrt::PageStore::liveFolders().empty());
  EXPECT_TRUE(ReportOutcomes().back().cancelled);
  EXPECT_EQ(vrt::LiveThreads().size(), 1u);  // only the frame's
}

TEST_F(PrayerReportTest, CancelInTheProgressWindowEndsTheReport) {
  startReport("ReportPrayerRequestAll");
  robot.press("Select the Order", "?OK");
  ASSERT_NE(robot.findWindow("Report Prayer Request"), nullptr);
  EXPECT_EQ(robot.control("Report Prayer Request", "?Progress:PctText").text(), "0% Complete");
  EXPECT_FALSE(vrt::PageStore::liveFolders().empty());
  robot.press("Report Prayer Request", "?Progress:Cancel");
  EXPECT_EQ(robot.findWindow("Report Prayer Request"), nullptr);
  EXPECT_EQ(robot.findWindow("Report Preview"), nullptr);
  EXPECT_TRUE(vrt::PageStore::liveFolders().empty());
  EXPECT_TRUE(ReportOutcomes().back().cancelled);
}

TEST_F(PrayerReportTest, KillingTheReportThreadRemovesItsPages) {
  startReport("ReportPrayerRequestAll");
  acceptOrderAndRun();
  ASSERT_NE(robot.findWindow("Report Preview"), nullptr);
  ASSERT_FALSE(vrt::PageStore::liveFolders().empty());
  const QString folder = vrt::PageStore::liveFolders().front();
  vrt::EndAllThreads();
  EXPECT_TRUE(vrt::PageStore::liveFolders().empty());
  EXPECT_FALSE(QDir(folder).exists());
}

TEST_F(PrayerReportTest, ProgressIsCountedAndThePositionKeptUnderTheReportsName) {
  ReportSettings s = CurrentReportSettings();
  // One record per event: the clock jumps a whole slice each time it is read.
  auto now = std::make_shared<long>(0);
  s.clock = [now] { return *now += 100; };
  SetReportSettings(s);
  startReport("ReportPrayerRequestAll");
  robot.press("Select the Order", "?OK");
  robot.fireTimer("Report Prayer Request");
  EXPECT_EQ(robot.control("Report Prayer Request", "?Progress:PctText").text(), "25% Complete");
  EXPECT_EQ(robot.control("Report Prayer Request", "?Progress:Thermometer").value(), "25");
  robot.window("Report Prayer Request").setPosition(QRect(40, 50, 300, 140));
  const QRect placed = robot.window("Report Prayer Request").position();
  for (int i = 0; i < 10 && robot.findWindow("Report Prayer Request"); ++i) robot.fireTimer("Report Prayer Request");
  EXPECT_EQ(ReportOutcomes().back().records, 4);
  closePreview();
  startReport("ReportPrayerRequestAll");
  robot.press("Select the Order", "?OK");
  // Where the user left it (give or take the window frame's few pixels).
  const QRect restored = robot.window("Report Prayer Request").position();
  EXPECT_LE((restored.topLeft() - placed.topLeft()).manhattanLength(), 6);
  EXPECT_NE(restored.topLeft(), QPoint(0, 0));
  QFile ini("vsp.INI");
  ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
  EXPECT_TRUE(QString(ini.readAll()).contains("[ReportPrayerRequestAll]", Qt::CaseInsensitive));
  robot.press("Report Prayer Request", "?Progress:Cancel");
}

TEST_F(PrayerReportTest, OtherWindowsStayUsableWhileAReportRuns) {
  startReport("ReportPrayerRequestAll");
  robot.press("Select the Order", "?OK");
  ASSERT_NE(robot.findWindow("Report Prayer Request"), nullptr);
  // A second report on its own thread opens and is cancelled while the first one waits.
  startReport("ReportBlessings");
  ASSERT_NE(robot.findWindow("Select the Order"), nullptr);
  robot.press("Select the Order", "?Cancel");
  robot.fireTimer("Report Prayer Request");
  ASSERT_NE(robot.findWindow("Report Preview"), nullptr);
  closePreview();
}


namespace {
class EmptyJournalTest : public ReportTest {};
}  // namespace

TEST_F(EmptyJournalTest, AReportOnAnEmptyTableShowsNoRecords) {
  startReport("ReportBlessings");
  EXPECT_EQ(orderNames(), (std::vector<std::string>{"Blessing Date", "Blessing Number"}));
  robot.press("Select the Order", "?OK");
  robot.fireTimer("Report Prayer Request");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "No Records");
  robot.pressMessageButton("Ok");
  EXPECT_EQ(robot.findWindow("Report Preview"), nullptr);
  EXPECT_TRUE(ReportOutcomes().back().noRecords);
  EXPECT_TRUE(vrt::PageStore::liveFolders().empty());
}
