// How every report runs: straight to the printer, a progress window that waits before it
// shows, a report that outlives the thread that started it, and more than one output.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QProcess>

#include "report_fixture.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/threads.h"
#include "runtime/print/printer.h"
#include "windows/preview_dialogs.h"
#include "windows/report_outputs.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

class RunnerTest : public ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    addRequests({{"Req One", 1, 0}, {"Req Two", 2, 3}, {"Req Three", 3, 0}});
  }
  void TearDown() override {
    UnregisterOutputGenerator("Text");
    vrt::sharedPrinter().setOutputFileName({});
    ReportTest::TearDown();
  }
};

int pdfPages(const std::string& path) {
  QProcess p;
  p.start("pdfinfo", {QString::fromStdString(path)});
  p.waitForFinished(60000);
  for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
    if (line.startsWith("Pages:")) return line.mid(6).trimmed().toInt();
  return -1;
}

}  // namespace

TEST_F(RunnerTest, SkippingThePreviewPrintsEveryPageAtOnce) {
  ReportSettings s = CurrentReportSettings();
  s.SKIPPREVIEW = true;
  SetReportSettings(s);
  const std::string path = dir.file("direct.pdf");
  vrt::sharedPrinter().setOutputFormat(QPrinter::PdfFormat);
  vrt::sharedPrinter().setOutputFileName(QString::fromStdString(path));
  startReport("ReportPrayerRequestAll");
  acceptOrderAndRun();
  EXPECT_EQ(robot.findWindow("Report Preview"), nullptr);
  EXPECT_EQ(pdfPages(path), 1);
  EXPECT_TRUE(vrt::PageStore::liveFolders().empty());
}

TEST_F(RunnerTest, ADeferredProgressWindowShowsOnceItsTimeHasPassed) {
  ReportSettings s = CurrentReportSettings();
  // Every look at the clock costs 60 hundredths: one record per timer event.
  auto now = std::make_shared<long>(0);
  s.clock = [now] { return *now += 60; };
  s.DEFERTIME = 100;
  SetReportSettings(s);
  startReport("ReportPrayerRequestAll");
  robot.press("Select the Order", "?OK");
  vrt::Window& progress = robot.window("Report Prayer Request");
  EXPECT_FALSE(progress.widget()->isVisible());
  robot.fireTimer("Report Prayer Request");
  ASSERT_NE(robot.findWindow("Report Prayer Request"), nullptr);
  EXPECT_FALSE(progress.widget()->isVisible());
  *now += 100 * 100;  // the hundred seconds have passed; two more records (the batch doubled)
  robot.fireTimer("Report Prayer Request");
  ASSERT_NE(robot.findWindow("Report Prayer Request"), nullptr);
  EXPECT_TRUE(progress.widget()->isVisible());
  EXPECT_EQ(robot.control("Report Prayer Request", "?Progress:PctText").text(), "100% Complete");
  for (int i = 0; i < 10 && robot.findWindow("Report Prayer Request"); ++i) robot.fireTimer("Report Prayer Request");
  ASSERT_NE(robot.findWindow("Report Preview"), nullptr);
  robot.chooseMenu("Report Preview", "&File|E&xit");
}

TEST_F(RunnerTest, AReportOutlivesTheThreadThatStartedIt) {
  // A print button's thread starts the report on a thread of its own and goes on.
  vrt::StartThread([] { vrt::StartThread(FindProcedure("ReportPrayerRequest"), 25'000, "ReportPrayerRequest"); },
                   25'000, "BrowseStandIn");
  robot.settle();
  ASSERT_NE(robot.findWindow("Select the Order"), nullptr);
  EXPECT_EQ(vrt::LiveThreads().size(), 2u);  // the frame's and the report's
  acceptOrderAndRun();
  EXPECT_EQ(requestsPrinted(), (std::vector<std::string>{"Req One", "Req Three"}));
  robot.chooseMenu("Report Preview", "&File|E&xit");
}

TEST_F(RunnerTest, WithTwoGeneratorsSaveAsAsksWhichOutput) {
  std::vector<int> written;
  RegisterOutputGenerator({"Text", "EXP_TXT.ICO", "txt",
                           [&written](const vrt::PageStore&, const std::vector<int>& pages, const std::string&,
                                      const vrt::OutputProgress&) {
                             written = pages;
                             return vrt::OutputResult{};
                           }});
  startReport("ReportPrayerRequestAll");
  acceptOrderAndRun();
  EXPECT_EQ(robot.control("Report Preview", "?SaveAs").text(), "&Save As...");
  robot.chooseMenu("Report Preview", "&File|&Save As...");
  ASSERT_NE(robot.findWindow("Select an Output"), nullptr);
  robot.chooseRadio("Select an Output", "?Outputs", "Text");
  robot.press("Select an Output", "?OK");
  robot.chooseFile(dir.file("out.txt"));
  EXPECT_EQ(written, (std::vector<int>{1}));
  // Cancelling the chooser writes nothing.
  written.clear();
  robot.chooseMenu("Report Preview", "&File|&Save As...");
  robot.press("Select an Output", "?Cancel");
  EXPECT_TRUE(written.empty());
  EXPECT_NE(robot.findWindow("Report Preview"), nullptr);
  robot.chooseMenu("Report Preview", "&File|E&xit");
}

TEST_F(RunnerTest, TheOutputChooserOffersPrintFirst) {
  int chosen = -1;
  onThread([&chosen] { chosen = ChooseOutput(true, {"PDF"}); });
  ASSERT_NE(robot.findWindow("Select an Output"), nullptr);
  robot.press("Select an Output", "?OK");
  EXPECT_EQ(chosen, 1);
  onThread([&chosen] { chosen = ChooseOutput(true, {"PDF"}); });
  robot.chooseRadio("Select an Output", "?Outputs", "PDF");
  robot.press("Select an Output", "?OK");
  EXPECT_EQ(chosen, 2);
  onThread([&chosen] { chosen = ChooseOutput(false, {}); });
  EXPECT_EQ(chosen, 0);  // nothing to offer: no window
  EXPECT_EQ(robot.findWindow("Select an Output"), nullptr);
}

TEST_F(RunnerTest, TheExportProgressWindowCountsThePages) {
  std::string before, after;
  bool open = false;
  onThread([&] {
    ExportProgress progress("/tmp/report.pdf", 5);
    before = progress.pageText();
    progress.pageDone(3);
    after = progress.pageText();
    open = robot.findWindow("Progress...") != nullptr;
  });
  EXPECT_TRUE(open);
  EXPECT_EQ(before, "Page 0 of 5");
  EXPECT_EQ(after, "Page 3 of 5");
  EXPECT_EQ(robot.findWindow("Progress..."), nullptr);
}

TEST_F(RunnerTest, PagesThatCannotBeWrittenAreReportedAndNoPreviewOpens) {
  ReportSettings s = CurrentReportSettings();
  auto now = std::make_shared<long>(0);
  s.clock = [now] { return *now += 60; };  // one record per event
  SetReportSettings(s);
  startReport("ReportPrayerRequestAll");
  robot.press("Select the Order", "?OK");
  robot.fireTimer("Report Prayer Request");
  // The page folder disappears under the report, as on a disk that failed.
  ASSERT_EQ(vrt::PageStore::liveFolders().size(), 1u);
  ASSERT_TRUE(QDir(vrt::PageStore::liveFolders().front()).removeRecursively());
  for (int i = 0; i < 10 && robot.findWindow("Report Prayer Request"); ++i) robot.fireTimer("Report Prayer Request");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Report Output Error");
  robot.pressMessageButton("Ok");
  EXPECT_EQ(robot.findWindow("Report Preview"), nullptr);
  EXPECT_TRUE(vrt::PageStore::liveFolders().empty());
}

TEST_F(RunnerTest, ARecordThatCannotBeReadPartWayStopsTheReportAndSaysSo) {
  ReportSettings s = CurrentReportSettings();
  auto now = std::make_shared<long>(0);
  s.clock = [now] { return *now += 60; };  // one record per event
  SetReportSettings(s);
  startReport("ReportPrayerRequestAll");
  robot.press("Select the Order", "?OK");
  robot.fireTimer("Report Prayer Request");
  ASSERT_NE(robot.findWindow("Report Prayer Request"), nullptr);
  // The data file is damaged under the report, as by a disk that failed.
  {
    QFile data("PrayerRequest.vdb");
    ASSERT_TRUE(data.open(QIODevice::ReadWrite));
    ASSERT_EQ(data.write(QByteArray(static_cast<int>(data.size()), 'x')), data.size());
  }
  for (int i = 0; i < 10 && !robot.messageBox(); ++i) robot.fireTimer("Report Prayer Request");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Record Retrieval Error");
  robot.pressMessageButton("Ok");
  // Then what that means for the report: it did not end as if complete.
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Report Output Error");
  const std::string said = robot.messageBox()->control(vrt::kMessageTextUse)->text();
  EXPECT_NE(said.find("stopped after 1 record because the next one could not be read"), std::string::npos) << said;
  robot.pressMessageButton("Ok");
  EXPECT_EQ(robot.findWindow("Report Preview"), nullptr);
  EXPECT_EQ(robot.findWindow("Report Prayer Request"), nullptr);
  EXPECT_FALSE(ReportOutcomes().back().noRecords);
  EXPECT_EQ(ReportOutcomes().back().records, 1);
  EXPECT_TRUE(vrt::PageStore::liveFolders().empty());
}
