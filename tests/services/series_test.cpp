// Sermon series and their publicity, driven as a user would.
#include <gtest/gtest.h>

#include "runtime/text/dates.h"
#include "services_fixture.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

constexpr const char* kBrowse = "Browse the Sermon Series File";
constexpr const char* kChange = "Changing a Sermon Series Record";

class SeriesTest : public ServicesTest {
 protected:
  void SetUp() override {
    ServicesTest::SetUp();
    grace = addRecord(tables::Topic, [](vrt::RecordRef r) { r.set(TOP_TOPIC, "Grace"); });
    advent = addRecord(tables::SermonSeries, [this](vrt::RecordRef r) {
      r.set(SSE_NAME, "Advent");
      r.set(SSE_DESCRIPTION, "Waiting well");
      r.set(SSE_STARTDATE_DATE, vrt::dateFromYmd(2026, 11, 29));
      r.set(SSE_TOPIC, static_cast<double>(grace));
      r.set(SSE_POSTERIMAGE, "/media/posters/advent.png");
    });
    addRecord(tables::SermonSeries, [](vrt::RecordRef r) {
      r.set(SSE_NAME, "Exodus");
      r.set(SSE_STARTDATE_DATE, vrt::dateFromYmd(2026, 1, 4));
      r.set(SSE_TOPIC, 999.0);  // no such topic
    });
    for (const char* kind : {"Banner", "Bulletin insert", "Radio spot"})
      addRecord(tables::Publicity, [kind](vrt::RecordRef r) { r.set(PUL_PUBLICITYDESCRIPTION, kind); });
    addRecord(tables::SeriesPublicity, [this](vrt::RecordRef r) {
      r.set(SEP_SERIESNUMBER, static_cast<double>(advent));
      r.set(SEP_PUBLICITYDESCRIPTION, "Banner");
    });
  }
  std::int64_t grace = 0, advent = 0;
};

}  // namespace

TEST_F(SeriesTest, TheBrowseListsSeriesByDateOrNameAndItsPosterCellOpensTheFile) {
  open("BrowseSermonSeries");
  EXPECT_EQ(column(kBrowse, "?Browse:1"), (std::vector<std::string>{"Exodus", "Advent"}));
  EXPECT_EQ(text(kBrowse, "?ListTitle"), "Browsing Records");
  robot.chooseTab(kBrowse, "?CurrentTab", "Series Name");
  EXPECT_EQ(column(kBrowse, "?Browse:1"), (std::vector<std::string>{"Advent", "Exodus"}));
  robot.clickCell(kBrowse, "?Browse:1", 1, 1);  // an ordinary column opens nothing
  EXPECT_TRUE(opener->opened.empty());
  robot.clickCell(kBrowse, "?Browse:1", 1, 5);
  EXPECT_EQ(opener->opened, std::vector<std::string>{"/media/posters/advent.png"});
  robot.press(kBrowse, "?Close");
  EXPECT_EQ(robot.findWindow(kBrowse), nullptr);
}

TEST_F(SeriesTest, TheFormShowsTheTopicTextAndAnUnknownTopicShowsNone) {
  open("BrowseSermonSeries");
  robot.chooseRow(kBrowse, "?Browse:1", 2);  // Advent
  robot.press(kBrowse, "?Change");
  EXPECT_EQ(text(kChange, "?SSE:NAME"), "Advent");
  EXPECT_EQ(text(kChange, "?LOC:Topic"), "Grace");
  robot.press(kChange, "?Cancel");
  robot.chooseRow(kBrowse, "?Browse:1", 1);  // Exodus, topic 999
  robot.press(kBrowse, "?Change");
  EXPECT_EQ(text(kChange, "?SSE:NAME"), "Exodus");
  EXPECT_EQ(text(kChange, "?LOC:Topic"), "");
}

TEST_F(SeriesTest, TheViewButtonsOpenWhatTheirFieldsShowAndAnEmptyOneOpensNothing) {
  open("UpdateSermonSeries", Request::Change, &tables::SermonSeries, advent);
  robot.press(kChange, "?VIEWWEB");  // empty
  EXPECT_TRUE(opener->opened.empty());
  robot.press(kChange, "?VIEWPOSTER");
  EXPECT_EQ(opener->opened, std::vector<std::string>{"/media/posters/advent.png"});
}

TEST_F(SeriesTest, PublicityChosenInTheSeriesFormIsCopiedAndListedForThatSeriesOnly) {
  open("UpdateSermonSeries", Request::Change, &tables::SermonSeries, advent);
  robot.chooseTab(kChange, "?CurrentTab", "Publicity");
  EXPECT_EQ(column(kChange, "?List:Publicity"), std::vector<std::string>{"Banner"});
  robot.press(kChange, "?Insert:2");
  constexpr const char* kAdd = "Adding a Series Publicity Record";
  ASSERT_NE(robot.findWindow(kAdd), nullptr);
  // A text that is no kind of publicity opens the look-up; choosing there copies the kind.
  robot.type(kAdd, "?SEP:PUBLICITYDESCRIPTION", "Radio");
  ASSERT_NE(robot.findWindow("Browse the Publicity File"), nullptr);
  robot.doubleClickRow("Browse the Publicity File", "?Browse:1", 3);
  EXPECT_EQ(text(kAdd, "?SEP:PUBLICITYDESCRIPTION"), "Radio spot");
  robot.press(kAdd, "?OK");
  EXPECT_EQ(column(kChange, "?List:Publicity"), (std::vector<std::string>{"Banner", "Radio spot"}));
  robot.press(kChange, "?OK");
  EXPECT_EQ(records(tables::SeriesPublicity), 2);
  // The other series has none of them.
  open("BrowseSermonSeries");
  robot.chooseRow(kBrowse, "?Browse:1", 1);
  robot.press(kBrowse, "?Change");
  robot.chooseTab(kChange, "?CurrentTab", "Publicity");
  EXPECT_TRUE(column(kChange, "?List:Publicity").empty());
}

TEST_F(SeriesTest, ThePublicityBrowseHasItsOneTabAndADescriptionLocator) {
  open("BrowsePublicity");
  constexpr const char* kPublicity = "Browse the Publicity File";
  ASSERT_NE(robot.findWindow(kPublicity), nullptr);
  EXPECT_EQ(robot.control(kPublicity, "?Browse:1").list()->headerAt(1), "Publicity Description");
  robot.chooseTab(kPublicity, "?CurrentTab", "Publicty");  // spelled as the screen always was
  robot.type(kPublicity, "?Locator:1", "Bu");
  EXPECT_EQ(robot.control(kPublicity, "?Browse:1").list()->selectedRow(), 2);
  robot.press(kPublicity, "?Insert");
  ASSERT_NE(robot.findWindow("Adding a Publicity Record"), nullptr);
  robot.type("Adding a Publicity Record", "?PUL:PUBLICITYDESCRIPTION", "Web page");
  robot.press("Adding a Publicity Record", "?OK");
  EXPECT_EQ(column(kPublicity, "?Browse:1"),
            (std::vector<std::string>{"Banner", "Bulletin insert", "Radio spot", "Web page"}));
}

TEST_F(SeriesTest, DeletingASeriesTakesItsPublicityAndLeavesItsServices) {
  addRecord(tables::Service, [this](vrt::RecordRef r) {
    r.set(SER_TITLE, "Hope");
    r.set(SER_SERMONSERIES, static_cast<double>(advent));
  });
  open("BrowseSermonSeries");
  robot.chooseRow(kBrowse, "?Browse:1", 2);
  robot.press(kBrowse, "?Delete");
  robot.pressMessageButton("Yes");
  EXPECT_EQ(column(kBrowse, "?Browse:1"), std::vector<std::string>{"Exodus"});
  EXPECT_EQ(stored(tables::SermonSeries, advent, dict::idx::SSE::NAME), "<none>");
  EXPECT_EQ(records(tables::Service), 1);
  EXPECT_EQ(records(tables::SeriesPublicity), 0);
  // The next new series is numbered as the one deleted, and has no publicity.
  robot.press(kBrowse, "?Insert");
  robot.chooseTab("Adding a Sermon Series Record", "?CurrentTab", "Publicity");
  EXPECT_TRUE(column("Adding a Sermon Series Record", "?List:Publicity").empty());
}

TEST_F(SeriesTest, ANewSeriesGivenUpTakesItsPublicityAndTheNextOneStartsEmpty) {
  constexpr const char* kAdd = "Adding a Sermon Series Record";
  constexpr const char* kAddPublicity = "Adding a Series Publicity Record";
  open("UpdateSermonSeries", Request::Insert, &tables::SermonSeries);
  ASSERT_NE(robot.findWindow(kAdd), nullptr);
  robot.type(kAdd, "?SSE:NAME", "Harvest");
  robot.chooseTab(kAdd, "?CurrentTab", "Publicity");
  robot.press(kAdd, "?Insert:2");
  ASSERT_NE(robot.findWindow(kAddPublicity), nullptr);
  robot.type(kAddPublicity, "?SEP:PUBLICITYDESCRIPTION", "Banner");
  robot.press(kAddPublicity, "?OK");
  ASSERT_EQ(column(kAdd, "?List:Publicity"), std::vector<std::string>{"Banner"});
  ASSERT_EQ(records(tables::SeriesPublicity), 2);
  robot.press(kAdd, "?Cancel");
  while (robot.messageBox()) robot.pressMessageButton("No");
  EXPECT_EQ(robot.findWindow(kAdd), nullptr);
  EXPECT_EQ(records(tables::SeriesPublicity), 1);  // the other series' stays
  open("UpdateSermonSeries", Request::Insert, &tables::SermonSeries);
  robot.chooseTab(kAdd, "?CurrentTab", "Publicity");
  EXPECT_TRUE(column(kAdd, "?List:Publicity").empty());
}
