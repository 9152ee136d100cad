// Reports whose lines are computed rather than read from a table: they run behind the same
// progress window into the same preview, and a failure or an empty result is told, not shown.
#include <gtest/gtest.h>

#include "report_fixture.h"
#include "runtime/print/page_store.h"
#include "windows/report_rows.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

const ReportDeclaration kComputed = {"ReportComputedStandIn", "", "Computed Lines", nullptr, {}, {}, "",
                                     "Computed Report"};

class ComputedRowsTest : public ReportTest {
 protected:
  void runWith(ComputeLines compute, bool emptyWithoutDetails) {
    onThread([compute, emptyWithoutDetails] {
      ReportRun run;
      run.rows = [compute, emptyWithoutDetails] { return ComputedRows(compute, emptyWithoutDetails); };
      RunReport(kComputed, std::move(run));
    });
    EXPECT_EQ(robot.findWindow("Select the Order"), nullptr) << "nothing to choose";
    for (int i = 0; i < 20 && robot.findWindow("Computed Report"); ++i) robot.fireTimer("Computed Report");
  }
};

}  // namespace

TEST_F(ComputedRowsTest, ComputedLinesPrintIntoThePreviewInTheirOrder) {
  runWith(
      [](std::vector<ReportLine>& lines, std::string&) {
        lines.push_back(ReportLine::field("Range:", "Advent"));
        lines.push_back(ReportLine::section("Songs", {{"Title", 3}, {"Uses", 1}}));
        for (const char* t : {"Req Gamma", "Req Alpha", "Req Beta"}) lines.push_back(ReportLine::detail({t, "1"}));
        lines.push_back(ReportLine::total({"Total", "3"}));
        return true;
      },
      true);
  ASSERT_NE(robot.findWindow("Report Preview"), nullptr);
  EXPECT_EQ(requestsPrinted(), (std::vector<std::string>{"Req Gamma", "Req Alpha", "Req Beta"}));
  const std::string text = allText();
  for (const char* t : {"Computed Lines", "Range:", "Advent", "Songs", "Title", "Uses", "Total", "Page   1"})
    EXPECT_NE(text.find(t), std::string::npos) << t;
  EXPECT_EQ(ReportOutcomes().back().records, 3);
  closePreview();
}

TEST_F(ComputedRowsTest, AFailureIsToldAndNoPreviewOpens) {
  runWith(
      [](std::vector<ReportLine>& lines, std::string& error) {
        lines.push_back(ReportLine::detail({"Req Never"}));
        error = "The Service file could not be opened.";
        return false;
      },
      true);
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Report Output Error");
  EXPECT_NE(robot.control(robot.messageBox()->caption(), "?MessageText").text().find("could not be opened"),
            std::string::npos);
  robot.pressMessageButton("Ok");
  EXPECT_EQ(robot.findWindow("Report Preview"), nullptr);
  EXPECT_TRUE(vrt::PageStore::liveFolders().empty());
}

TEST_F(ComputedRowsTest, NothingToReportIsToldWhenTheReportSaysSo) {
  const ComputeLines headingOnly = [](std::vector<ReportLine>& lines, std::string&) {
    lines.push_back(ReportLine::field("Range:", "1990"));
    return true;
  };
  runWith(headingOnly, true);
  ASSERT_NE(robot.messageBox(), nullptr);
  robot.pressMessageButton("Ok");
  EXPECT_EQ(robot.findWindow("Report Preview"), nullptr);
  EXPECT_TRUE(ReportOutcomes().back().noRecords);
  // A report whose heading is worth printing on its own shows it.
  runWith(headingOnly, false);
  ASSERT_NE(robot.findWindow("Report Preview"), nullptr);
  EXPECT_NE(allText().find("1990"), std::string::npos);
  closePreview();
}
