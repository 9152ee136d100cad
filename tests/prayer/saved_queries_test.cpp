// The saved queries of the prayer-request browse, built and chosen as a user would.
#include <gtest/gtest.h>

#include "prayer_fixture.h"
#include "querywizard/qrywiz.h"
#include "screens/prayer/journal_handover.h"
#include "windows/procedures.h"

using namespace vesp;
using namespace vesp::testing;
using namespace vrt;

namespace {

using Texts = std::vector<std::string>;

class SavedQueriesTest : public PrayerTest {
 protected:
  void SetUp() override {
    PrayerTest::SetUp();
    addRequests({{"Healing for Ann", "Healing", kToday - 30, 0},
                 {"Take care of the youth camp", "Missions", kToday - 20, kToday - 2},
                 {"Jobs for the Smiths", "Family", kToday - 10, 0},
                 {"Care for Dad after surgery", "Healing", kToday - 5, 0}});
    openBrowse("BrowsePrayerRequest");
  }
  Texts requests() { return column(kRequests, 2); }
  bool changeEnabled() { return !robot.control(kRequests, "?QueryChange").disabled(); }
  bool deleteEnabled() { return !robot.control(kRequests, "?QueryDelete").disabled(); }
};

const Texts kAll = {"Healing for Ann", "Take care of the youth camp", "Jobs for the Smiths", "Care for Dad after surgery"};
const Texts kCare = {"Take care of the youth camp", "Care for Dad after surgery"};

TEST_F(SavedQueriesTest, TheBrowseOpensOnAllRecordsWithChangeAndDeleteOff) {
  EXPECT_EQ(savedQueries(), (Texts{"All Records", "Custom Query..."}));
  EXPECT_EQ(savedQuery(), 1);
  EXPECT_FALSE(changeEnabled());
  EXPECT_FALSE(deleteEnabled());
  EXPECT_EQ(requests(), kAll);
}

TEST_F(SavedQueriesTest, AnUnsavedCustomQueryFiltersUnderCustomQueryAndChoosingItAgainStartsAfresh) {
  robot.chooseItem(kRequests, "?SavedQueries", "Custom Query...");
  ASSERT_NE(robot.findWindow(kWizard), nullptr);
  addElement("PRA:Request", kContains, "care");
  finishWizard();
  EXPECT_EQ(robot.findWindow(kWizard), nullptr);
  EXPECT_EQ(requests(), kCare);
  EXPECT_EQ(savedQuery(), 2);
  EXPECT_EQ(robot.control(kRequests, "?SavedQueries").text(), "Custom Query...");
  EXPECT_FALSE(changeEnabled());

  robot.chooseItem(kRequests, "?SavedQueries", "Custom Query...");
  ASSERT_NE(robot.findWindow(kWizard), nullptr);
  EXPECT_EQ(robot.control(kWizard, "?Pages").selected(), 1) << "a fresh query starts on the field page";
  robot.press(kWizard, "?Cancel");
  if (robot.messageBox()) robot.pressMessageButton("Yes");
  EXPECT_EQ(robot.findWindow(kWizard), nullptr);
  EXPECT_EQ(savedQuery(), 1) << "a cancelled custom query is all records";
  EXPECT_EQ(requests(), kAll);
}

TEST_F(SavedQueriesTest, SavedQueriesAreListedAfterCustomQueryInDescriptionOrderAndSelected) {
  saveContainsQuery("care", "Care");
  EXPECT_EQ(savedQueries(), (Texts{"All Records", "Custom Query...", "Care"}));
  EXPECT_EQ(savedQuery(), 3);
  EXPECT_TRUE(changeEnabled());
  EXPECT_TRUE(deleteEnabled());
  EXPECT_EQ(requests(), kCare);
  saveContainsQuery("for", "Asking for");
  EXPECT_EQ(savedQueries(), (Texts{"All Records", "Custom Query...", "Asking for", "Care"}));
  EXPECT_EQ(savedQuery(), 3);
  EXPECT_EQ(requests(), (Texts{"Healing for Ann", "Jobs for the Smiths", "Care for Dad after surgery"}));

  // Choosing moves between them; "All Records" turns Change and Delete off again.
  robot.chooseItem(kRequests, "?SavedQueries", "Care");
  EXPECT_EQ(requests(), kCare);
  robot.chooseItem(kRequests, "?SavedQueries", "All Records");
  EXPECT_EQ(requests(), kAll);
  EXPECT_FALSE(changeEnabled());

  // Another browse opened later reads them from the file, in the same order.
  robot.press(kRequests, "?Close");
  openBrowse("BrowsePrayerRequest");
  EXPECT_EQ(savedQueries(), (Texts{"All Records", "Custom Query...", "Asking for", "Care"}));
}

TEST_F(SavedQueriesTest, ARewrittenQueryTakesItsNewDescriptionsPlaceAndStaysSelected) {
  saveContainsQuery("care", "Care");
  saveContainsQuery("jobs", "Jobs");
  ASSERT_EQ(savedQuery(), 4);
  robot.press(kRequests, "?QueryChange");
  ASSERT_EQ(robot.window(kWizard).caption(), "Jobs");
  robot.press(kWizard, "?Finish");
  robot.pressMessageButton("Yes");  // save it
  robot.pressMessageButton("Yes");  // over the loaded one
  robot.type(kQueryDescription, "?Description", "Asking for jobs");
  robot.press(kQueryDescription, "?OK");
  EXPECT_EQ(savedQueries(), (Texts{"All Records", "Custom Query...", "Asking for jobs", "Care"}));
  EXPECT_EQ(savedQuery(), 3);
  EXPECT_EQ(requests(), (Texts{"Jobs for the Smiths"}));
  EXPECT_TRUE(changeEnabled());
}

TEST_F(SavedQueriesTest, AChangedQuerySavedAsANewOneIsAddedBesideTheOld) {
  saveContainsQuery("care", "Care");
  robot.press(kRequests, "?QueryChange");
  robot.press(kWizard, "?Finish");
  robot.pressMessageButton("Yes");  // save it
  robot.pressMessageButton("No");   // as a new query
  robot.type(kQueryDescription, "?Description", "Care too");
  robot.press(kQueryDescription, "?OK");
  EXPECT_EQ(savedQueries(), (Texts{"All Records", "Custom Query...", "Care", "Care too"}));
  EXPECT_EQ(savedQuery(), 4);
}

TEST_F(SavedQueriesTest, DeletingTheSelectedQueryReturnsToAllRecords) {
  saveContainsQuery("care", "Care");
  robot.press(kRequests, "?QueryDelete");
  ASSERT_NE(robot.messageBox(), nullptr);
  robot.pressMessageButton("Cancel");
  EXPECT_EQ(savedQueries().size(), 3u) << "a deletion not confirmed keeps the entry";
  EXPECT_EQ(requests(), kCare);
  robot.press(kRequests, "?QueryDelete");
  robot.pressMessageButton("Ok");
  EXPECT_EQ(savedQueries(), (Texts{"All Records", "Custom Query..."}));
  EXPECT_EQ(savedQuery(), 1);
  EXPECT_EQ(requests(), kAll);
  EXPECT_FALSE(deleteEnabled());
}

TEST_F(SavedQueriesTest, CtrlEnterAndDeleteOnTheDropListPressChangeAndDelete) {
  saveContainsQuery("care", "Care");
  robot.pressKey(kRequests, kCtrlEnter, "?SavedQueries");
  ASSERT_NE(robot.findWindow(kWizard), nullptr);
  EXPECT_EQ(robot.window(kWizard).caption(), "Care") << "the saved query opens for changing";
  robot.press(kWizard, "?Cancel");
  if (robot.messageBox()) robot.pressMessageButton("Yes");
  EXPECT_EQ(requests(), kCare) << "a cancelled change leaves the query in force";
  EXPECT_EQ(savedQuery(), 3);
  robot.pressKey(kRequests, kDeleteKey, "?SavedQueries");
  ASSERT_NE(robot.messageBox(), nullptr);
  robot.pressMessageButton("Ok");
  EXPECT_EQ(savedQueries(), (Texts{"All Records", "Custom Query..."}));
}

TEST_F(SavedQueriesTest, AChangedQueryThatIsNotSavedRunsAsACustomQuery) {
  saveContainsQuery("care", "Care");
  robot.press(kRequests, "?QueryChange");
  ASSERT_NE(robot.findWindow(kWizard), nullptr);
  robot.press(kWizard, "?Manual");
  robot.type(kWizard, "?ManualText", "INSTRING('JOBS',UPPER(PRA:Request),1,1)");
  finishWizard();
  EXPECT_EQ(savedQuery(), 2);
  EXPECT_EQ(requests(), (Texts{"Jobs for the Smiths"}));
  EXPECT_FALSE(changeEnabled());
  EXPECT_EQ(savedQueries().size(), 3u);
}

TEST_F(SavedQueriesTest, AQueryAnotherBrowseDeletedShowsEveryRecord) {
  saveContainsQuery("care", "Care");
  robot.chooseItem(kRequests, "?SavedQueries", "All Records");
  // Gone from the file behind this browse's back.
  onThread([] {
    qrywiz::XBQW_QUERIESQUEUE saved;
    qrywiz::XB_FILLQWQUEUE(saved, "PrayerRequest");
    for (const auto& q : saved)
      if (q.queryNumber) qrywiz::XB_DELETEQUERY(q.queryNumber);
  });
  if (robot.messageBox()) robot.pressMessageButton("Ok");
  robot.chooseItem(kRequests, "?SavedQueries", "Care");
  EXPECT_EQ(requests(), kAll);
}

TEST_F(SavedQueriesTest, ARunTimeCategoryIsAskedForEachTimeTheQueryIsChosen) {
  robot.chooseItem(kRequests, "?SavedQueries", "Custom Query...");
  robot.press(kWizard, "?Manual");
  robot.type(kWizard, "?ManualText", "UPPER(PRA:RequestCategory) = RUNTIMECATEGORY");
  finishWizard("Select Category");
  ASSERT_NE(robot.findWindow(kPrayerCategories), nullptr) << "the category is asked for at once";
  robot.chooseRow(kPrayerCategories, "?Browse:1", 2);  // Healing
  robot.press(kPrayerCategories, "?Select");
  EXPECT_EQ(requests(), (Texts{"Healing for Ann", "Care for Dad after surgery"}));
  EXPECT_EQ(RuntimeCategory(), "Healing");
  EXPECT_FALSE(changeEnabled()) << "the category query is not changed from here";
  EXPECT_FALSE(deleteEnabled());
  robot.pressKey(kRequests, kDeleteKey, "?SavedQueries");
  EXPECT_EQ(robot.messageBox(), nullptr) << "nor deleted by its key";
  EXPECT_EQ(savedQueries().size(), 3u);

  robot.chooseItem(kRequests, "?SavedQueries", "All Records");
  robot.chooseItem(kRequests, "?SavedQueries", "Select Category");
  ASSERT_NE(robot.findWindow(kPrayerCategories), nullptr) << "asked again";
  robot.chooseRow(kPrayerCategories, "?Browse:1", 1);  // Family
  robot.press(kPrayerCategories, "?Select");
  EXPECT_EQ(requests(), (Texts{"Jobs for the Smiths"}));
}

TEST_F(SavedQueriesTest, PrintQueryHandsTheFilterAndDescriptionToItsReport) {
  std::string filter = "<not run>", description;
  RegisterProcedure("ReportPrayerRequestQuery", [&] {
    filter = HandedFilter();
    description = HandedDescription();
  });
  saveContainsQuery("care", "Care");
  robot.press(kRequests, "?PrintQuery");
  EXPECT_EQ(filter, "INSTRING('CARE',UPPER(PRA:Request),1,1)");
  EXPECT_EQ(description, "Care");
  robot.chooseItem(kRequests, "?SavedQueries", "All Records");
  robot.press(kRequests, "?PrintQuery");
  EXPECT_EQ(filter, "") << "all records hand over no filter";
  EXPECT_EQ(description, "All Records");
}

}  // namespace

TEST_F(SavedQueriesTest, ArrowsOnTheClosedListOnlyMoveItsChoiceWhichRunsWhenAccepted) {
  saveContainsQuery("care", "Care");
  robot.chooseItem(kRequests, "?SavedQueries", "All Records");
  ASSERT_EQ(requests(), kAll);
  robot.pressKey(kRequests, kDownKey, "?SavedQueries");
  EXPECT_EQ(robot.control(kRequests, "?SavedQueries").text(), "Custom Query...");
  EXPECT_EQ(robot.findWindow(kWizard), nullptr) << "passing over Custom Query starts no wizard";
  robot.pressKey(kRequests, kDownKey);
  EXPECT_EQ(robot.control(kRequests, "?SavedQueries").text(), "Care");
  EXPECT_EQ(requests(), kAll) << "shown, not yet run";
  robot.pressKey(kRequests, kEnterKey);
  EXPECT_EQ(requests(), kCare);
  EXPECT_TRUE(changeEnabled());

  // Alt+Down opens the list; Enter there runs the item chosen in it.
  robot.pressKey(kRequests, kUpKey);
  robot.pressKey(kRequests, kUpKey);
  EXPECT_EQ(robot.control(kRequests, "?SavedQueries").text(), "All Records");
  EXPECT_EQ(requests(), kCare);
  robot.pressKey(kRequests, int{kAlt} | kDownKey);
  robot.pressKey(kRequests, kDownKey);
  robot.pressKey(kRequests, kEnterKey);
  ASSERT_NE(robot.findWindow(kWizard), nullptr);
  robot.press(kWizard, "?Cancel");
  if (robot.messageBox()) robot.pressMessageButton("Yes");
  EXPECT_EQ(requests(), kAll);
}
