#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <map>
#include <mutex>

#include "program_fixture.h"
#include "dictionary/tables.h"
#include "records/thread_dictionary.h"
#include "runtime/gui/control.h"
#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/popup_menu.h"
#include "runtime/settings/settings_file.h"
#include "runtime/store/upgrader.h"
#include "shell/browse_menu.h"
#include "shell/text_matcher.h"
#include "windows/thread_globals.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

// What the browses saw, by thread.
struct Seen {
  std::map<int, std::vector<vrt::Event>> events;
  std::map<int, const FileManager*> serviceManager;
  std::map<int, ThreadGlobals> globalsAtStart;
};

// A browse of the test's own in place of a screen: a window with the entry's caption that
// notes every event it gets.
void registerRecordingBrowse(const char* procedure, Seen& seen) {
  const BrowseEntry* entry = browseEntry(procedure);
  RegisterProcedure(procedure, [entry, &seen] {
    const int thread = vrt::ThreadNumber();
    seen.globalsAtStart[thread] = threadGlobals();
    seen.serviceManager[thread] = &Access(tables::Service);
    vrt::WindowSpec design = vrt::windowSpec(entry->caption, entry->procedure, vrt::WindowKind::Child);
    design.controls = {vrt::button("?Ask", "&Ask"), vrt::button("?Menu", "&Menu"), vrt::button("?Close", "&Close")};
    vrt::Window w(std::move(design));
    w.open();
    for (;;) {
      const vrt::Event e = w.accept();
      seen.events[thread].push_back(e);
      if (e.event == vrt::kEventCloseWindow || e.event == vrt::kEventCloseDown) break;
      if (e.event == vrt::kEventAccepted && e.control == w.number("?Close")) break;
      if (e.event == vrt::kEventAccepted && e.control == w.number("?Ask"))
        vrt::Message("Keep this open?", "Question", vrt::kIconQuestion, vrt::kButtonYes | vrt::kButtonNo);
      if (e.event == vrt::kEventAccepted && e.control == w.number("?Menu")) vrt::Popup("&Sort|&Filter", 10, 10);
    }
  });
}

class MainFrameTest : public ProgramTest {
 protected:
  // Start-up registers the real screens: the test's own take their places afterwards.
  void start() {
    ProgramTest::start();
    registerRecordingBrowse("BrowseService", seen);
    registerRecordingBrowse("BrowsePraises", seen);
  }
  void TearDown() override {
    ProgramTest::TearDown();
    RegisterProcedure("BrowseService", nullptr);
    RegisterProcedure("BrowsePraises", nullptr);
  }
  Seen seen;
};

}  // namespace

TEST_F(MainFrameTest, StartUpSetsUpTheGlobalsAndOpensTheFrame) {
  start();
  vrt::Window& frame = *vrt::FrameHost::frame();
  EXPECT_EQ(frame.caption(), "Vespera - Version 1.1 - Release Date 3-18-2006");
  EXPECT_EQ(frame.thread(), 1);
  EXPECT_EQ(TextMatcher::current(), &textMatcher());
  EXPECT_EQ(textMatcher().Option(1), 1);
  EXPECT_EQ(textMatcher().Option(2), 0);
  EXPECT_TRUE(vrt::settingsFile().IsOpen());
  EXPECT_EQ(vrt::settingsFile().FileName(), "vsp.INI");
  EXPECT_TRUE(vrt::ds_IsRegistered("PrayerRequest"));
  EXPECT_EQ(desktop->changes, std::vector<bool>{false});  // switched off for the run
  EXPECT_EQ(frameGeometry().AppFrameWidth, frame.position().width());
  // Menus with their help texts, and the toolbar.
  EXPECT_EQ(robot.hoverMenu("&File|E&xit"), "Exit this application");
  EXPECT_EQ(robot.hoverMenu("&File|&Print Setup ..."), "Setup printer");
  EXPECT_EQ(robot.hoverMenu("&Edit|&Paste"), "Paste contents of Windows Clipboard");
  EXPECT_EQ(robot.hoverMenu("&Browse|Browse the Prayer Request file"), "Brower Prayer Requests");
  EXPECT_EQ(robot.hoverMenu("&Browse|Browse the Prayer Category file"), "Browse the Prayer Catetory file");
  EXPECT_EQ(robot.hoverMenu("&Window|&Arrange Icons"), "Align all window icons");
  EXPECT_EQ(robot.hoverMenu("&Help|&How to Use Help"), "How to use Windows Help");
  for (int code : toolbarButtons(vrt::ToolbarAction::Insert, vrt::ToolbarAction::Help)) EXPECT_NE(frame.control(code), nullptr) << code;
  EXPECT_EQ(frame.control(vrt::toolbarControl(vrt::ToolbarAction::Top))->tip(), "Go to the First Page");
  EXPECT_EQ(frame.control("?Journal")->tip(), "Browse the journal entries");
  // Exit ends the program, restores the desktop and closes the settings.
  robot.chooseMenu("&File|E&xit");
  EXPECT_TRUE(vrt::LiveThreads().empty());
  EXPECT_EQ(desktop->changes, (std::vector<bool>{false, true}));
  EXPECT_FALSE(vrt::settingsFile().IsOpen());
}

TEST_F(MainFrameTest, BrowsesRunOnThreadsOfTheirOwnWithTheirOwnTables) {
  start();
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.chooseMenu("&Browse|Browse the Praises file");
  vrt::Window& services = robot.window("Browse the Service File");
  vrt::Window& praises = robot.window("Browse the Praises File");
  EXPECT_NE(services.thread(), 1);
  EXPECT_NE(praises.thread(), services.thread());
  EXPECT_EQ(vrt::RequestedStackSize(services.thread()), 50'000u);
  EXPECT_EQ(vrt::RequestedStackSize(praises.thread()), 25'000u);
  ASSERT_EQ(vrt::FrameHost::mdiArea()->subWindowList().size(), 2);
  // Each thread has its own copy of every table, with its codes cleared at the start.
  ASSERT_EQ(seen.serviceManager.size(), 2u);
  EXPECT_NE(seen.serviceManager[services.thread()], seen.serviceManager[praises.thread()]);
  EXPECT_EQ(seen.globalsAtStart[services.thread()].GlobalRequest, Request::None);
  // A browse no screen registered is named by the start-up check; chosen, it opens nothing
  // and the user is told why.
  RegisterProcedure("BrowsePerformers", nullptr);
  EXPECT_EQ(MissingProcedures(), std::vector<std::string>{"BrowsePerformers"});
  const auto before = vrt::LiveThreads();
  robot.chooseMenu("&Browse|Browse the Performers file");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.control("Not Available", vrt::kMessageTextUse).text(),
            "BrowsePerformers is not part of this program yet.");
  robot.pressMessageButton("Ok");
  EXPECT_EQ(vrt::LiveThreads(), before);
  EXPECT_EQ(robot.findWindow("Browse the Performers File"), nullptr);
}

// Every name the program calls a procedure by (the menu's browses, the screens' look-ups,
// child forms and print buttons) has its procedure once the real start-up has run: a
// misspelt name fails here rather than in front of a user.
using StartUpTest = ProgramTest;

TEST_F(StartUpTest, FindsAProcedureForEveryNameTheProgramCalls) {
  start();
  EXPECT_EQ(MissingProcedures(), std::vector<std::string>{});
}

TEST_F(MainFrameTest, NavigationButtonsReachTheActiveBrowsesThread) {
  start();
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.chooseMenu("&Browse|Browse the Praises file");
  const int servicesThread = robot.window("Browse the Service File").thread();
  const int praisesThread = robot.window("Browse the Praises File").thread();
  robot.activate("Browse the Service File");
  robot.pressToolbar(vrt::ToolbarAction::Down);
  robot.pressToolbar("Go to the Last Page");
  auto navigation = [](const std::vector<vrt::Event>& events) {
    std::vector<vrt::ToolbarAction> codes;
    for (const auto& e : events)
      if (const auto action = vrt::toolbarAction(e.control); e.event == vrt::kEventAccepted && action >= vrt::ToolbarAction::Insert)
        codes.push_back(*action);
    return codes;
  };
  EXPECT_EQ(navigation(seen.events[servicesThread]), (std::vector<vrt::ToolbarAction>{vrt::ToolbarAction::Down, vrt::ToolbarAction::Bottom}));
  EXPECT_TRUE(navigation(seen.events[praisesThread]).empty());
  robot.activate("Browse the Praises File");
  robot.pressToolbar(vrt::ToolbarAction::Insert);
  EXPECT_EQ(navigation(seen.events[praisesThread]), std::vector<vrt::ToolbarAction>{vrt::ToolbarAction::Insert});
}

TEST_F(MainFrameTest, ANavigationButtonPressedWhileTheBrowsesMenuIsOpenReachesItAfterwards) {
  start();
  robot.chooseMenu("&Browse|Browse the Services file");
  const int thread = robot.window("Browse the Service File").thread();
  robot.press("Browse the Service File", "?Menu");
  ASSERT_TRUE(robot.popupOpen());
  robot.pressToolbar(vrt::ToolbarAction::PageDown);
  robot.dismissPopup();
  int pageDowns = 0;
  for (const vrt::Event& e : seen.events[thread])
    if (e.event == vrt::kEventAccepted && vrt::toolbarAction(e.control) == vrt::ToolbarAction::PageDown) ++pageDowns;
  EXPECT_EQ(pageDowns, 1);
}

TEST_F(MainFrameTest, JournalOpensTheJournalOnAThreadOfItsOwn) {
  start();
  robot.pressToolbar("Journal");
  EXPECT_EQ(robot.messageBox(), nullptr);
  vrt::Window* journal = robot.findWindow("Browse the Journal File");
  ASSERT_NE(journal, nullptr);
  EXPECT_NE(journal->thread(), 1);
  EXPECT_EQ(vrt::RequestedStackSize(journal->thread()), 25'000u);
  robot.closeWindow("Browse the Journal File");
  // As the menu item does.
  robot.chooseMenu("&Browse|Browse the Journal file");
  EXPECT_NE(robot.findWindow("Browse the Journal File"), nullptr);
}

TEST_F(MainFrameTest, AWindowLeftOpenOnOneThreadDoesNotBlockAnother) {
  start();
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.chooseMenu("&Browse|Browse the Praises file");
  robot.press("Browse the Service File", "?Ask");  // a question waits on that thread
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_FALSE(robot.window("Browse the Service File").takesInput());
  EXPECT_TRUE(robot.window("Browse the Praises File").takesInput());
  robot.press("Browse the Praises File", "?Close");
  EXPECT_EQ(robot.findWindow("Browse the Praises File"), nullptr);
  robot.pressMessageButton("No");
  EXPECT_TRUE(robot.window("Browse the Service File").takesInput());
}

class DesktopOffTest : public MainFrameTest {
  bool dragFullWindowsAtStart() const override { return false; }
};

TEST_F(DesktopOffTest, ADesktopWithDragFullWindowsOffIsLeftUntouched) {
  start();
  robot.chooseMenu("&File|E&xit");
  EXPECT_TRUE(vrt::LiveThreads().empty());
  EXPECT_TRUE(desktop->changes.empty());
  EXPECT_EQ(desktop->reads, 1);
}

TEST_F(MainFrameTest, PrintSetupWaitsWithoutBlockingOtherThreads) {
  start();
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.chooseMenu("&File|&Print Setup ...");
  QDialog* setup = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "PrinterSetup" && w->isVisible()) setup = qobject_cast<QDialog*>(w);
  ASSERT_NE(setup, nullptr);
  robot.press("Browse the Service File", "?Close");  // another thread's window still works
  EXPECT_EQ(robot.findWindow("Browse the Service File"), nullptr);
  setup->reject();
  robot.settle();
  robot.chooseMenu("&File|E&xit");  // the frame takes input again
  EXPECT_TRUE(vrt::LiveThreads().empty());
}
