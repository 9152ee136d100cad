// A newcomer's first start in an empty folder: the pick lists' starting values, once, and
// the welcome that leads to the lists to fill first; and the Browse menu's song library and
// pick lists.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "dictionary/dictionary.h"
#include "program_fixture.h"
#include "records/location_file.h"
#include "records/starter_lists.h"
#include "runtime/gui/control.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/paged_list.h"
#include "runtime/help/help_window.h"
#include "runtime/settings/settings_file.h"
#include "runtime/store/data_file.h"
#include "shell/browse_menu.h"
#include "shell/welcome.h"
#include "support/run_vesp_data.h"
#include "support/scratch_database.h"

using namespace vesp;
using namespace vesp::testing;

namespace fs = std::filesystem;

namespace {

constexpr const char* kStatistics = "Browse the Statistic Type File";
constexpr const char* kElementTypes = "Browse the ElementType File";

class FirstStartTest : public ProgramTest {
 protected:
  bool emptyFolder() const override { return true; }

  void exitProgram() {
    robot.chooseMenu("&File|E&xit");
    ASSERT_TRUE(vrt::LiveThreads().empty());
  }
  std::vector<std::int64_t> listCounts() {
    std::vector<std::int64_t> counts;
    for (const StarterList& list : starterLists()) counts.push_back(records(list.table));
    return counts;
  }
  std::vector<std::string> rows(const char* window) {
    std::vector<std::string> out;
    vrt::PagedList* l = robot.control(window, "?Browse:1").list();
    for (int r = 1; r <= l->rowCount(); ++r) out.push_back(l->rowAt(r).at(0));
    return out;
  }
  static CommandOutcome runCreate() { return runVespData({"create"}); }
  std::string welcomeSetting() { return vrt::settingsFile().Fetch(kWelcomeSection, kWelcomeShowEntry); }
};

}  // namespace

TEST_F(FirstStartTest, AnEmptyFolderGetsItsStartingListsOnceAndAWelcome) {
  start();
  std::vector<std::int64_t> expected;
  for (const StarterList& list : starterLists()) expected.push_back(static_cast<std::int64_t>(list.values.size()));
  EXPECT_EQ(listCounts(), expected);
  EXPECT_EQ(records(tables::Service), 0);  // only the pick lists
  ASSERT_NE(robot.findWindow(kWelcomeCaption), nullptr);
  EXPECT_EQ(robot.messageBox(), nullptr);
  // The lists hold the values, in their keys' order, and can be edited at once.
  robot.chooseMenu("&Browse|&Lists|&Statistic Types");
  EXPECT_EQ(rows(kStatistics),
            (std::vector<std::string>{"Attendance", "Baptisms", "Decisions", "First-time Guests", "Offering"}));
  exitProgram();

  // The next start adds nothing; the welcome, not closed for good, is there again.
  start();
  EXPECT_EQ(listCounts(), expected);
  EXPECT_NE(robot.findWindow(kWelcomeCaption), nullptr);
  exitProgram();
  // Nor does the data tool's create in a folder in use.
  EXPECT_EQ(runCreate().status, 0);
  start();
  EXPECT_EQ(listCounts(), expected);
}

TEST_F(FirstStartTest, AListTheChurchEditedOrEmptiedIsNeverFilledAgain) {
  start();
  // Every statistic type deleted, one element type renamed, from the Lists menu.
  robot.chooseMenu("&Browse|&Lists|&Statistic Types");
  for (int left = 5; left > 0; --left) {
    robot.chooseRow(kStatistics, "?Browse:1", 1);
    robot.press(kStatistics, "?Delete");
    robot.pressMessageButton("Yes");
  }
  EXPECT_TRUE(rows(kStatistics).empty());
  robot.chooseMenu("&Browse|&Lists|&Element Types");
  ASSERT_EQ(rows(kElementTypes).front(), "Announcements");
  robot.chooseRow(kElementTypes, "?Browse:1", 1);
  robot.press(kElementTypes, "?Change");
  robot.type("Changing a Element Type Record", "?ELT:ELEMENTTYPE", "Announcements and News");
  robot.press("Changing a Element Type Record", "?OK");
  const std::int64_t types = records(tables::ElementType);
  exitProgram();

  start();
  EXPECT_EQ(records(tables::StatisticType), 0);
  EXPECT_EQ(records(tables::ElementType), types);
  robot.chooseMenu("&Browse|&Lists|&Element Types");
  EXPECT_EQ(rows(kElementTypes).front(), "Announcements and News") << "the old value was not added again";
  exitProgram();
  EXPECT_EQ(runCreate().status, 0);
  start();
  EXPECT_EQ(records(tables::StatisticType), 0);
}

TEST_F(FirstStartTest, TheWelcomeOpensTheListsToFillFirstAndCanBeClosedForGood) {
  start();
  for (auto [button, caption] : {std::pair{"?People", "Browse the Performers File"},
                                 {"?SongLibrary", "Browse the Bibliography File"},
                                 {"?Services", "Browse the Service File"}}) {
    robot.press(kWelcomeCaption, button);
    ASSERT_NE(robot.findWindow(caption), nullptr) << button;
    EXPECT_NE(robot.window(caption).thread(), robot.window(kWelcomeCaption).thread()) << "a browse of its own";
  }
  EXPECT_TRUE(robot.control("Browse the Performers File", "?Clear").hidden()) << "Clear would only close it";
  // The first-steps link opens the guide at that page, and the welcome stays.
  robot.press(kWelcomeCaption, "?FirstSteps");
  ASSERT_NE(vrt::HelpWindow::current(), nullptr);
  EXPECT_EQ(vrt::HelpWindow::current()->currentPage(), "first-steps");
  ASSERT_NE(robot.findWindow(kWelcomeCaption), nullptr);
  // The welcome holds no data: a restore is not refused because of it.
  robot.closeWindow("Browse the Performers File");
  robot.closeWindow("Browse the Bibliography File");
  robot.closeWindow("Browse the Service File");
  robot.chooseMenu("&File|&Restore Data...");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.control(vrt::kMessageBoxProcedure, vrt::kMessageTextUse).text().find("cannot be restored while"),
            std::string::npos);
  robot.pressMessageButton("Ok");

  // Closed with its box ticked it comes back; unticked, it is closed for good.
  robot.press(kWelcomeCaption, "?Close");
  EXPECT_EQ(robot.findWindow(kWelcomeCaption), nullptr);
  EXPECT_EQ(welcomeSetting(), "1");
  exitProgram();
  start();
  ASSERT_NE(robot.findWindow(kWelcomeCaption), nullptr);
  robot.check(kWelcomeCaption, "?ShowAtStart", false);
  robot.press(kWelcomeCaption, "?Close");
  EXPECT_EQ(welcomeSetting(), "0");
  exitProgram();
  start();
  EXPECT_EQ(robot.findWindow(kWelcomeCaption), nullptr);
}

namespace {

// A station whose folder was used before, pointed at a server database.
class ServerFirstStartTest : public FirstStartTest {
 protected:
  bool emptyFolder() const override { return false; }
  void TearDown() override {
    FirstStartTest::TearDown();
    vrt::store::openData(vrt::store::DataLocation::files());
  }
};

}  // namespace

// On a new server database the first start fills the lists there, once: a later start, or
// one after the church emptied a list, adds nothing. The folder's own files play no part.
TEST_F(ServerFirstStartTest, ANewServerDatabaseGetsItsStartingListsOnceAtTheFirstStart) {
  VESP_NEEDS_SCRATCH_DATABASE();
  vtest::ScratchDatabase db;
  ASSERT_TRUE(db.ok());
  ASSERT_EQ(location::writeLocation(".", db.location()), "");
  start();
  ASSERT_EQ(vrt::store::currentDataLocation(), db.location());
  std::vector<std::int64_t> expected;
  for (const StarterList& list : starterLists()) expected.push_back(static_cast<std::int64_t>(list.values.size()));
  EXPECT_EQ(listCounts(), expected);
  EXPECT_NE(robot.findWindow(kWelcomeCaption), nullptr) << "a newcomer on a new database is greeted";
  EXPECT_FALSE(fs::exists("ElementType.vdb")) << "nothing made in the folder";
  robot.chooseMenu("&Browse|&Lists|&Statistic Types");
  for (int left = 5; left > 0; --left) {
    robot.chooseRow(kStatistics, "?Browse:1", 1);
    robot.press(kStatistics, "?Delete");
    robot.pressMessageButton("Yes");
  }
  exitProgram();

  start();
  expected[static_cast<std::size_t>(
      std::find_if(starterLists().begin(), starterLists().end(),
                   [](const StarterList& l) { return &l.table == &tables::StatisticType; }) -
      starterLists().begin())] = 0;
  EXPECT_EQ(listCounts(), expected);
  exitProgram();
  start();
  EXPECT_EQ(listCounts(), expected);
  exitProgram();  // before the database goes
}

// A folder the program was used in before gets neither lists nor a welcome, even when the
// lists' files are missing: an older folder whose lists were never opened.
TEST_F(ProgramTest, AFolderInUseGetsNoStartingListsAndNoWelcome) {
  fs::remove("vsp.INI");
  ASSERT_TRUE(vrt::DataFile(dict::schemaOf(tables::Service)).create());
  start();
  EXPECT_EQ(robot.findWindow(kWelcomeCaption), nullptr);
  for (const StarterList& list : starterLists()) EXPECT_EQ(records(list.table), 0) << list.table.label;
}

TEST_F(ProgramTest, TheBrowseMenuOpensTheSongLibraryAndEveryPickListForEditing) {
  start();
  EXPECT_EQ(robot.hoverMenu("&Browse|Browse the Bibliography file"), "Browse the song library");
  robot.chooseMenu("&Browse|Browse the Bibliography file");
  vrt::Window& songs = robot.window("Browse the Bibliography File");
  EXPECT_NE(songs.thread(), 1);
  EXPECT_NE(songs.control("?WordSearch"), nullptr) << "searched as the user types";
  EXPECT_FALSE(robot.control("Browse the Bibliography File", "?Insert").disabled());
  for (const BrowseEntry& list : listEntries()) {
    robot.chooseMenu(std::string("&Browse|&Lists|") + list.menuText);
    vrt::Window* window = robot.findWindow(list.caption);
    ASSERT_NE(window, nullptr) << list.menuText;
    EXPECT_EQ(window->procedure(), list.procedure);
    EXPECT_TRUE(robot.control(list.caption, "?Select").hidden()) << list.caption << ": not a look-up";
    if (const vrt::Control* clear = window->control("?Clear")) {
      EXPECT_TRUE(clear->hidden()) << list.caption << ": no field to clear";
    }
    EXPECT_FALSE(robot.control(list.caption, "?Insert").disabled()) << list.caption;
    robot.closeWindow(list.caption);
  }
  // A value added from the menu's list is there for the forms that look it up.
  robot.chooseMenu("&Browse|&Lists|&Bible Versions");
  robot.press("Browse the Bible Default File", "?Insert");
  robot.type("Adding a Bible Default Record", "?BID:BIBLE", "Reina-Valera 1960");
  robot.press("Adding a Bible Default Record", "?OK");
  EXPECT_EQ(records(tables::BibleDefault), 1);
}
