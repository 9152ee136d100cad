// The prayer journal's browses and forms as the frame opens them: their words, their
// buttons and the one category list they share.
#include <QDir>
#include <gtest/gtest.h>

#include "prayer_fixture.h"
#include "runtime/gui/message_box.h"
#include "runtime/settings/settings_file.h"
#include "screens/prayer/offered_fields.h"
#include "windows/procedures.h"
#include "windows/thread_globals.h"

using namespace vesp;
using namespace vesp::testing;
using namespace vrt;

namespace {

using Texts = std::vector<std::string>;

class JournalScreensTest : public PrayerTest {
 protected:
  Texts headers(std::string_view window) {
    Texts out;
    PagedList* l = robot.control(window, "?Browse:1").list();
    for (int c = 1; c <= l->columnCount(); ++c) out.push_back(l->headerAt(c));
    return out;
  }
};

TEST_F(JournalScreensTest, TheFramesButtonsOpenTheRealBrowses) {
  robot.pressToolbar("Prayer Requests");
  ASSERT_NE(robot.findWindow(kRequests), nullptr);
  EXPECT_EQ(text(kRequests, "?ListTitle"), "Browsing the PrayerRequest file");
  EXPECT_EQ(headers(kRequests),
            (Texts{"Request #", "Prayer Request", "Category", "Date Started", "Date Answered", "Answer", "Days"}));
  robot.pressToolbar("Blessings");
  ASSERT_NE(robot.findWindow("Browse the Blessings File"), nullptr);
  robot.pressToolbar("Praises");
  ASSERT_NE(robot.findWindow("Browse the Praises File"), nullptr);
  robot.pressToolbar("Journal");
  EXPECT_EQ(robot.messageBox(), nullptr);
  ASSERT_NE(robot.findWindow("Browse the Journal File"), nullptr);
  EXPECT_EQ(robot.window("Browse the Journal File").procedure(), "BrowseJournal");
  robot.closeWindow("Browse the Journal File");
  // The menu reaches every journal browse, each on a thread of its own.
  for (auto [item, caption] : {std::pair{"Browse the Journal file", "Browse the Journal File"},
                               {"Browse the Prayer Category file", kPrayerCategories},
                               {"Browse the Journal Category file", kJournalCategories}}) {
    robot.chooseMenu(std::string("&Browse|") + item);
    ASSERT_NE(robot.findWindow(caption), nullptr) << item;
    EXPECT_NE(robot.window(caption).thread(), robot.window(kRequests).thread());
  }
  EXPECT_TRUE(robot.control(kPrayerCategories, "?Select").hidden()) << "not a look-up from the menu";
}

TEST_F(JournalScreensTest, EveryBrowseButtonSaysWhatItDoes) {
  openBrowse("BrowsePrayerRequest");
  const std::pair<const char*, const char*> tips[] = {
      {"?View", "View Record"},          {"?Insert", "Insert a Record"}, {"?Change", "Change the Record"},
      {"?Delete", "Delete the Record"}, {"?Close", "Close Window"},     {"?Help", "See Help Window"}};
  for (auto [use, tip] : tips) EXPECT_EQ(robot.control(kRequests, use).tip(), tip) << use;
  for (auto [use, caption] : {std::pair{"?PrintRequests", "Print &Requests"},
                              {"?PrintAnswered", "Print &Answered Requests"}, {"?PrintAll", "&Print All"},
                              {"?PrintQuery", "Print &Query"}, {"?Close", "&Close"}, {"?Help", "&Help"}})
    EXPECT_EQ(text(kRequests, use), caption) << use;
}

TEST_F(JournalScreensTest, BlessingsAndPraisesReadAlikeAndTheJournalHasItsCategory) {
  openBrowse("BrowseBlessings");
  const char* blessings = "Browse the Blessings File";
  EXPECT_EQ(text(blessings, "?ListTitle"), "Browsing the Blessings file");
  EXPECT_EQ(headers(blessings), (Texts{"Blessing #", "Blessing", "Blessing Date "}));
  robot.press(blessings, "?Insert");
  ASSERT_NE(robot.findWindow("Record Will Be Added"), nullptr);
  EXPECT_EQ(robot.window("Record Will Be Added").procedure(), "UpdateBlessings");
  EXPECT_EQ(text("Record Will Be Added", "?Date"), date(kToday));
  robot.type("Record Will Be Added", "?Text", "A new job for Tom");
  robot.press("Record Will Be Added", "?OK");
  EXPECT_EQ(column(blessings, 2), (Texts{"A new job for Tom"}));

  openBrowse("BrowsePraises");
  const char* praises = "Browse the Praises File";
  EXPECT_EQ(text(praises, "?ListTitle"), "Browsing the Blessings file");
  EXPECT_EQ(headers(praises), (Texts{"Praise #", "Praise", "Praise Date"}));
  robot.press(praises, "?Insert");
  EXPECT_EQ(robot.window("Record Will Be Added").procedure(), "UpdatePraises");
  robot.press("Record Will Be Added", "?Cancel");

  openBrowse("BrowseJournal");
  const char* journal = "Browse the Journal File";
  EXPECT_EQ(headers(journal), (Texts{"Journal #", "Journal Entry", "Date"}));
  robot.press(journal, "?Insert");
  robot.type("Record Will Be Added", "?Text", "Quiet morning");
  robot.type("Record Will Be Added", "?Category", "Gratitude");
  ASSERT_NE(robot.findWindow(kJournalCategories), nullptr) << "an unknown category is looked up";
  robot.press(kJournalCategories, "?Close");
  EXPECT_EQ(text("Record Will Be Added", "?Category"), "");
  robot.press("Record Will Be Added", "?OK");
  robot.chooseRow(journal, "?Browse:1", 1);
  robot.press(journal, "?View");
  ASSERT_NE(robot.findWindow("View Record"), nullptr);
  EXPECT_TRUE(robot.control("View Record", "?Date").readOnly());
  EXPECT_TRUE(robot.control("View Record", "?Category").readOnly());
  EXPECT_TRUE(robot.control("View Record", "?G_CALBUTTON").disabled());
  EXPECT_TRUE(robot.control("View Record", "?CALLLOOKUP").disabled());
  EXPECT_FALSE(robot.control("View Record", "?Text").readOnly());
  robot.press("View Record", "?OK");
}

TEST_F(JournalScreensTest, ACategoryAddedForTheJournalIsOfferedForPrayerRequests) {
  openBrowse("BrowseJournalCategory");
  EXPECT_EQ(text(kJournalCategories, "?ListTitle"), "Browsing Records");
  robot.press(kJournalCategories, "?Insert");
  ASSERT_NE(robot.findWindow("Record Will Be Added"), nullptr);
  EXPECT_EQ(robot.window("Record Will Be Added").procedure(), "UpdateCategory");
  robot.type("Record Will Be Added", "?LOO:LOOKUPTYPE", "Gratitude");
  robot.press("Record Will Be Added", "?OK");
  robot.press(kJournalCategories, "?Close");
  openBrowse("BrowsePrayerRequestCategory");
  EXPECT_EQ(headers(kPrayerCategories), (Texts{"Prayer Category"}));
  EXPECT_EQ(column(kPrayerCategories, 1), (Texts{"Gratitude", "Family", "Healing", "Missions"}));
  // The same text again, in other letters, is the same category.
  robot.press(kPrayerCategories, "?Insert");
  robot.type("Record Will Be Added", "?LOO:LOOKUPTYPE", "GRATITUDE");
  robot.press("Record Will Be Added", "?OK");
  ASSERT_NE(robot.messageBox(), nullptr) << "a duplicate category is refused";
  robot.pressMessageButton("Ok");
  robot.press("Record Will Be Added", "?Cancel");
  if (robot.messageBox()) robot.pressMessageButton("No");
  EXPECT_EQ(column(kPrayerCategories, 1).size(), 4u);
}

TEST_F(JournalScreensTest, NoWindowRemembersItsPlaceButEachOpensCentredInTheFrame) {
  settingsFile().Update("BrowsePrayerRequest", "XPos", "333");  // left by an older version
  openBrowse("BrowsePrayerRequest");
  Window& browse = robot.window(kRequests);
  const FrameGeometry& frame = frameGeometry();
  EXPECT_EQ(browse.position().x(), std::max(0, (frame.AppFrameWidth - browse.position().width()) / 2 - 2));
  robot.press(kRequests, "?Insert");
  robot.press("Record Will Be Added", "?Cancel");
  robot.press(kRequests, "?Close");
  openBrowse("BrowseBlessings");
  robot.press("Browse the Blessings File", "?Close");
  for (const char* procedure : {"BrowsePrayerRequest", "UpdatePrayerRequest", "BrowseBlessings"}) {
    EXPECT_EQ(settingsFile().Fetch(procedure, "Width", "none"), "none") << procedure;
    EXPECT_EQ(settingsFile().Fetch(procedure, "YPos", "none"), "none") << procedure;
  }
  EXPECT_EQ(settingsFile().Fetch("BrowsePrayerRequest", "XPos"), "333") << "nothing is written over it";
}

TEST_F(JournalScreensTest, PrintButtonsStartTheirReportsByName) {
  std::vector<std::string> started;
  for (const char* r : {"ReportPrayerRequest", "ReportPrayerRequestAnswered", "ReportPrayerRequestAll", "ReportBlessings"})
    RegisterProcedure(r, [r, &started] { started.push_back(r); });
  openBrowse("BrowsePrayerRequest");
  robot.press(kRequests, "?PrintRequests");
  robot.press(kRequests, "?PrintAnswered");
  robot.press(kRequests, "?PrintAll");
  openBrowse("BrowseBlessings");
  robot.press("Browse the Blessings File", "?Print");
  EXPECT_EQ(started, (Texts{"ReportPrayerRequest", "ReportPrayerRequestAnswered", "ReportPrayerRequestAll",
                            "ReportBlessings"}));
}

TEST_F(JournalScreensTest, ABrowseWhoseSavedQueriesCannotBeReadStillListsItsRequests) {
  addRequests({{"Healing for Ann", "Healing", kToday - 30, 0}});
  QDir().mkdir("QUERIES.TPS");  // not a file the wizard can open
  openBrowse("BrowsePrayerRequest");
  for (int i = 0; i < 5 && robot.messageBox(); ++i) robot.pressMessageButton("Ok");
  ASSERT_NE(robot.findWindow(kRequests), nullptr);
  EXPECT_EQ(column(kRequests, 2), (Texts{"Healing for Ann"}));
  robot.chooseItem(kRequests, "?SavedQueries", "All Records");
  EXPECT_EQ(column(kRequests, 2), (Texts{"Healing for Ann"}));
}

TEST_F(JournalScreensTest, FieldsTheWizardRefusesAreReportedAndNoneIsOffered) {
  qrywiz::XBQW_FIELDSQUEUE fields = {{}};
  int error = 0;
  onThread([&] { error = RegisterPrayerRequestFields(fields, PrayerRequestFieldsText().substr(0, 30)); });
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Query Wizard Error# -2");
  EXPECT_EQ(text(kMessageBoxProcedure, kMessageTextUse), "An error has prevented the Query Wizard from initializing.");
  robot.pressMessageButton("Ok");
  EXPECT_EQ(error, -2);
  EXPECT_TRUE(fields.empty());
}

}  // namespace
