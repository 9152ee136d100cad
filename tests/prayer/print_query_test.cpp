// "Print &Query" of the prayer-request browse: the report prints the very records its
// browse shows, under the query it was started with.
#include <QDir>
#include <gtest/gtest.h>

#include "prayer_fixture.h"
#include "runtime/print/page_store.h"
#include "runtime/print/recorded_page.h"
#include "windows/report_manager.h"

using namespace vesp;
using namespace vesp::testing;
using namespace vrt;

namespace {

using Texts = std::vector<std::string>;
constexpr const char* kOrder = "Select the Order";
constexpr const char* kProgress = "Report Prayer Request";
constexpr const char* kPreview = "Report Preview";

class PrintQueryTest : public PrayerTest {
 protected:
  void SetUp() override {
    PrayerTest::SetUp();
    ReportSettings s;
    s.clock = [] { return 1000L; };  // each timer event reads until the view runs out
    SetReportSettings(s);
    addRequests({{"Healing for Ann", "Healing", kToday - 30, 0},
                 {"Take care of the youth camp", "Missions", kToday - 20, kToday - 2},
                 {"Jobs for the Smiths", "Family", kToday - 10, 0},
                 {"Care for Dad after surgery", "Healing", kToday - 5, 0}});
    openBrowse("BrowsePrayerRequest");
  }
  void TearDown() override {
    SetReportSettings({});
    PrayerTest::TearDown();
  }

  // Accepts the newest order window on "Request Number" and runs its report to the preview;
  // the text of every page, then the preview is closed.
  std::string runNewestReport() {
    EXPECT_NE(robot.findWindow(kOrder), nullptr);
    if (!robot.findWindow(kOrder)) return {};
    robot.chooseRow(kOrder, "?OrderList", 3);
    robot.press(kOrder, "?OK");
    for (int i = 0; i < 100 && robot.findWindow(kProgress); ++i) robot.fireTimer(kProgress);
    EXPECT_EQ(robot.findWindow(kProgress), nullptr);
    if (!robot.findWindow(kPreview)) return "<no preview>";
    std::string text;
    const auto folders = PageStore::liveFolders();
    EXPECT_EQ(folders.size(), 1u);
    QDir dir(folders.front());
    for (const QString& name : dir.entryList({"*.vpg"}, QDir::Files, QDir::Name)) {
      RecordedPage p;
      EXPECT_TRUE(loadPage(dir.filePath(name), p));
      text += p.allText().toStdString() + "\n";
    }
    robot.chooseMenu(kPreview, "&File|E&xit");
    return text;
  }
  static Texts printed(const std::string& text, const Texts& candidates) {
    Texts out;
    for (const auto& c : candidates)
      if (text.find(c) != std::string::npos) out.push_back(c);
    return out;
  }
};

const Texts kAll = {"Healing for Ann", "Take care of the youth camp", "Jobs for the Smiths", "Care for Dad after surgery"};

TEST_F(PrintQueryTest, EachReportPrintsTheQueryItWasStartedWith) {
  saveContainsQuery("care", "Care");
  saveContainsQuery("jobs", "Jobs");
  robot.chooseItem(kRequests, "?SavedQueries", "Care");
  robot.press(kRequests, "?PrintQuery");
  ASSERT_NE(robot.findWindow(kOrder), nullptr);
  // While the first report's order window is open, the browse prints another query.
  robot.chooseItem(kRequests, "?SavedQueries", "Jobs");
  EXPECT_EQ(column(kRequests, 2), (Texts{"Jobs for the Smiths"}));
  robot.press(kRequests, "?PrintQuery");

  const std::string jobs = runNewestReport();
  EXPECT_NE(jobs.find("Prayer Requests For Query - Jobs"), std::string::npos);
  EXPECT_EQ(printed(jobs, kAll), (Texts{"Jobs for the Smiths"}));
  const std::string care = runNewestReport();
  EXPECT_NE(care.find("Prayer Requests For Query - Care"), std::string::npos);
  EXPECT_EQ(printed(care, kAll), (Texts{"Take care of the youth camp", "Care for Dad after surgery"}))
      << "the first report keeps its own query";
}

TEST_F(PrintQueryTest, AQueryOfMoreThanAThousandCharactersPrintsWhatTheBrowseShows) {
  std::string query = "PRA:RequestNumber > 0 AND ";
  while (query.size() < 950) query += "(PRA:DateStarted > 0 OR PRA:DateAnswered > 0) AND ";
  query += std::string(1000 - query.size(), ' ') + "PRA:RequestNumber = 3";
  ASSERT_GT(query.size(), 1000u);
  ASSERT_LE(query.size(), 1024u);
  robot.chooseItem(kRequests, "?SavedQueries", "Custom Query...");
  robot.press(kWizard, "?Manual");
  robot.type(kWizard, "?ManualText", query);
  finishWizard();
  EXPECT_EQ(column(kRequests, 2), (Texts{"Jobs for the Smiths"}));
  robot.press(kRequests, "?PrintQuery");
  const std::string text = runNewestReport();
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_EQ(printed(text, kAll), (Texts{"Jobs for the Smiths"}));
}

}  // namespace
