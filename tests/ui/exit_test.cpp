// File > Exit while windows wait on browse threads: every browse is closed down and
// remembers its place before the settings are written, and the program ends. The desktop's
// request to end does the same.
#include <QApplication>
#include <QRect>

#include <csignal>

#include "program_fixture.h"
#include "screens_fixture.h"
#include "runtime/gui/file_dialog.h"
#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"
#include "runtime/settings/ini_file.h"
#include "shell/browse_menu.h"
#include "shell/terminate_signal.h"
#include "windows/window_placement.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

// A browse of the test's own in place of a screen: it restores and saves its place as
// every screen does, and asks a question ("?Ask") or picks a file ("?Pick") on request.
void registerPlacedBrowse(const char* procedure) {
  const BrowseEntry* entry = browseEntry(procedure);
  RegisterProcedure(procedure, [entry] {
    vrt::WindowSpec design = vrt::windowSpec(entry->caption, entry->procedure, vrt::WindowKind::Child);
    design.controls = {vrt::button("?Ask", "&Ask"), vrt::button("?Pick", "&Pick"), vrt::button("?Close", "&Close")};
    vrt::Window w(std::move(design));
    w.open();
    RestoreWindowPlacement(entry->procedure, w);
    for (;;) {
      const vrt::Event e = w.accept();
      if (e.event == vrt::kEventCloseWindow || e.event == vrt::kEventCloseDown) break;
      if (e.event != vrt::kEventAccepted) continue;
      if (e.control == w.number("?Close")) break;
      if (e.control == w.number("?Ask"))
        vrt::Message("Save the changes?", "Question", vrt::kIconQuestion, vrt::kButtonYes | vrt::kButtonNo);
      if (e.control == w.number("?Pick")) vrt::FileDialog({});
    }
    SaveWindowPlacement(entry->procedure, w);
  });
}

bool fileDialogShown() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->property(vrt::kFileDialogProperty).isValid() && w->isVisible()) return true;
  return false;
}

class ExitTest : public ProgramTest {
 protected:
  // Start-up registers the real screens: the stand-ins take their place afterwards.
  void start() {
    ProgramTest::start();
    for (const char* p : kBrowses) registerPlacedBrowse(p);
  }
  void TearDown() override {
    ProgramTest::TearDown();
    for (const char* p : kBrowses) RegisterProcedure(p, nullptr);
  }
  static constexpr const char* kBrowses[] = {"BrowseService", "BrowsePerformers"};
};

}  // namespace

TEST_F(ExitTest, ExitWithAQuestionAndAFileDialogOpenEndsAndKeepsBothPlaces) {
  start();
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.chooseMenu("&Browse|Browse the Performers file");
  robot.window("Browse the Service File").setPosition(QRect(10, 20, 300, 200));
  robot.window("Browse the Performers File").setPosition(QRect(40, 60, 320, 220));
  robot.press("Browse the Service File", "?Ask");
  robot.press("Browse the Performers File", "?Pick");
  ASSERT_NE(robot.messageBox(), nullptr);
  ASSERT_TRUE(fileDialogShown());

  robot.chooseMenu("&File|E&xit");
  EXPECT_TRUE(vrt::LiveThreads().empty()) << "every thread ends";
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_FALSE(fileDialogShown());

  vrt::IniFile ini;
  ASSERT_TRUE(ini.Load(dir.file("vsp.INI")));
  const std::pair<const char*, QRect> expected[] = {{"BrowseService", QRect(10, 20, 300, 200)},
                                                    {"BrowsePerformers", QRect(40, 60, 320, 220)}};
  for (const auto& [section, place] : expected) {
    EXPECT_EQ(ini.Get(section, "Maximize"), "No") << section;
    EXPECT_EQ(ini.Get(section, "XPos"), std::to_string(place.x())) << section;
    EXPECT_EQ(ini.Get(section, "YPos"), std::to_string(place.y())) << section;
    EXPECT_EQ(ini.Get(section, "Width"), std::to_string(place.width())) << section;
    EXPECT_EQ(ini.Get(section, "Height"), std::to_string(place.height())) << section;
  }
}

TEST_F(ExitTest, ABrowseOpensWhereItWasWhenTheProgramLastEnded) {
  start();
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.window("Browse the Service File").setPosition(QRect(30, 40, 310, 210));
  robot.chooseMenu("&File|E&xit");
  ASSERT_TRUE(vrt::LiveThreads().empty());
  start();
  robot.chooseMenu("&Browse|Browse the Services file");
  EXPECT_EQ(robot.window("Browse the Service File").position(), QRect(30, 40, 310, 210));
}

// Leaving with forms open on the real screens, started from the menu: each form is asked
// as its own Cancel would ask, and nothing it holds is lost or left behind.
namespace {

constexpr const char* kPerformers = "Browse the Performers File";
constexpr const char* kChangingPerformer = "Changing a Performers Record";
constexpr const char* kAddingPerformer = "Adding a Performers Record";
constexpr const char* kRequests = "Browse the Prayer Request File";
constexpr const char* kAddingRequest = "Record Will Be Added";

class ExitWithFormsTest : public ScreensTest {
 protected:
  void SetUp() override {
    ScreensTest::SetUp();
    ruth = add(tables::Performers, [](vrt::RecordRef r) {
      r.set(PER_FIRSTNAME, "Ruth");
      r.set(PER_LASTNAME, "Smith");
    });
  }
  // Performers from the menu, Ruth's form open with her first name retyped.
  void changeRuth(const char* first) {
    robot.chooseMenu("&Browse|Browse the Performers file");
    robot.press(kPerformers, "?Change");
    ASSERT_NE(robot.findWindow(kChangingPerformer), nullptr);
    robot.type(kChangingPerformer, "?PER:FIRSTNAME", first);
  }
  void expectSaveRecordAsked() {
    ASSERT_NE(robot.messageBox(), nullptr);
    EXPECT_EQ(robot.messageBox()->caption(), "Save Record");
    EXPECT_NE(vrt::FrameHost::frame(), nullptr) << "the program waits for the answer";
  }
  // Once the program has ended, the files as another station reads them: thread 1 would be
  // the frame's, which sets up its own tables, so the reading thread comes second.
  template <typename Read>
  auto afterExit(Read read) {
    EXPECT_TRUE(vrt::LiveThreads().empty());
    vrt::StartThread([] { vrt::TakeEvent(); }, 50'000);
    auto value = read();
    vrt::EndAllThreads();
    return value;
  }
  std::int64_t ruth = 0;
};

}  // namespace

TEST_F(ExitWithFormsTest, ExitWithAChangedFormAsksAndYesSavesBeforeTheProgramEnds) {
  changeRuth("Ruthie");
  robot.chooseMenu("&File|E&xit");
  expectSaveRecordAsked();
  robot.pressMessageButton("Yes");
  EXPECT_EQ(afterExit([&] { return stored(tables::Performers, ruth, dict::idx::PER::FIRSTNAME); }), "Ruthie");
}

TEST_F(ExitWithFormsTest, TheFramesCloseBoxAsksToAndNoEndsWithoutSaving) {
  changeRuth("Ruthie");
  robot.closeWindow(kFrameCaption);
  expectSaveRecordAsked();
  robot.pressMessageButton("No");
  EXPECT_EQ(afterExit([&] { return stored(tables::Performers, ruth, dict::idx::PER::FIRSTNAME); }), "Ruth");
}

TEST_F(ExitWithFormsTest, CancelKeepsTheProgramRunningWithTheFormAndItsEdits) {
  changeRuth("Ruthie");
  robot.chooseMenu("&File|E&xit");
  robot.pressMessageButton("Cancel");
  EXPECT_EQ(robot.messageBox(), nullptr);
  ASSERT_NE(vrt::FrameHost::frame(), nullptr);
  ASSERT_NE(robot.findWindow(kChangingPerformer), nullptr);
  EXPECT_EQ(text(kChangingPerformer, "?PER:FIRSTNAME"), "Ruthie");
  // The form works on, and the program still ends when asked again.
  robot.press(kChangingPerformer, "?OK");
  EXPECT_EQ(stored(tables::Performers, ruth, dict::idx::PER::FIRSTNAME), "Ruthie");
  robot.chooseMenu("&File|E&xit");
  EXPECT_EQ(robot.messageBox(), nullptr);  // nothing left to ask
  EXPECT_TRUE(vrt::LiveThreads().empty());
}

TEST_F(ExitWithFormsTest, NewRecordsGivenUpAtExitLeaveNoBlankRecordBehind) {
  robot.chooseMenu("&Browse|Browse the Performers file");
  robot.press(kPerformers, "?Insert");
  ASSERT_NE(robot.findWindow(kAddingPerformer), nullptr);
  robot.pressToolbar("Prayer Requests");
  robot.press(kRequests, "?Insert");
  ASSERT_NE(robot.findWindow(kAddingRequest), nullptr);
  robot.type(kAddingRequest, "?PRA:REQUEST", "Work for Tom");
  ASSERT_EQ(records(tables::Performers), 2);  // the reserved numbers are taken
  ASSERT_EQ(records(tables::PrayerRequest), 1);
  // The untouched performer asks nothing; the typed request asks, and No gives it up.
  robot.chooseMenu("&File|E&xit");
  expectSaveRecordAsked();
  robot.pressMessageButton("No");
  EXPECT_EQ(afterExit([&] { return records(tables::Performers); }), 1);
  EXPECT_EQ(afterExit([&] { return records(tables::PrayerRequest); }), 0);
}

TEST_F(ExitWithFormsTest, FormsOnSeveralListsAreAskedInTurnAndOneCancelStopsTheExit) {
  changeRuth("Ruthie");
  robot.pressToolbar("Prayer Requests");
  robot.press(kRequests, "?Insert");
  robot.type(kAddingRequest, "?PRA:REQUEST", "Work for Tom");
  const int performersThread = robot.window(kChangingPerformer).thread();
  const int requestsThread = robot.window(kAddingRequest).thread();
  robot.chooseMenu("&File|E&xit");
  expectSaveRecordAsked();
  EXPECT_EQ(robot.messageBox()->thread(), performersThread);
  robot.pressMessageButton("Yes");  // the first form saves and closes
  EXPECT_EQ(robot.findWindow(kChangingPerformer), nullptr);
  expectSaveRecordAsked();  // then the second is asked
  EXPECT_EQ(robot.messageBox()->thread(), requestsThread);
  robot.pressMessageButton("Cancel");
  EXPECT_EQ(robot.messageBox(), nullptr);
  ASSERT_NE(vrt::FrameHost::frame(), nullptr);
  EXPECT_NE(robot.findWindow(kAddingRequest), nullptr);
  EXPECT_NE(robot.findWindow(kPerformers), nullptr) << "the lists stay with the program";
  EXPECT_EQ(stored(tables::Performers, ruth, dict::idx::PER::FIRSTNAME), "Ruthie");
  // Asked again, the remaining form saves with Yes and the program ends.
  robot.chooseMenu("&File|E&xit");
  robot.pressMessageButton("Yes");
  EXPECT_EQ(afterExit([&] { return records(tables::PrayerRequest); }), 1);
}

TEST_F(ExitWithFormsTest, ALookupOpenOverAFormClosesFirstAndTheFormIsAsked) {
  changeRuth("Ruthie");
  robot.type(kChangingPerformer, "?PER:ROLE", "Drummer");  // no such role: its list opens
  ASSERT_NE(robot.findWindow("Browse the Role File"), nullptr);
  robot.chooseMenu("&File|E&xit");
  EXPECT_EQ(robot.findWindow("Browse the Role File"), nullptr);
  expectSaveRecordAsked();
  robot.pressMessageButton("No");
  EXPECT_EQ(afterExit([&] { return stored(tables::Performers, ruth, dict::idx::PER::FIRSTNAME); }), "Ruth");
}

TEST_F(ExitWithFormsTest, TheDesktopEndingTheSessionAsksTheFormsFirst) {
  EXPECT_FALSE(DesktopSessionEnding(true)) << "with no form open the session may end";
  robot.settle();
  EXPECT_TRUE(vrt::LiveThreads().empty());
  start();
  changeRuth("Ruthie");
  EXPECT_TRUE(DesktopSessionEnding(true)) << "the session waits while the form is asked";
  robot.settle();
  expectSaveRecordAsked();
  robot.pressMessageButton("Yes");
  EXPECT_EQ(afterExit([&] { return stored(tables::Performers, ruth, dict::idx::PER::FIRSTNAME); }), "Ruthie");
}

TEST_F(ExitWithFormsTest, ANewRecordOpenWhenItsThreadIsClosedDownLeavesNothingBehind) {
  robot.chooseMenu("&Browse|Browse the Performers file");
  robot.press(kPerformers, "?Insert");
  robot.type(kAddingPerformer, "?PER:LASTNAME", "Adams");
  ASSERT_EQ(records(tables::Performers), 2);
  vrt::EndAllThreads();  // no one left to ask
  EXPECT_EQ(afterExit([&] { return records(tables::Performers); }), 1);
}

// The desktop asking the program to end (SIGTERM at log-out) is File > Exit: a changed
// form asks first, and the program ends once it is answered.
TEST_F(ExitWithFormsTest, ASignalToEndAsksAChangedFormAsExitDoesAndYesSaves) {
  CloseOnTerminateSignal();
  changeRuth("Ruthie");
  ASSERT_EQ(::raise(SIGTERM), 0);
  robot.settle();
  expectSaveRecordAsked();
  robot.pressMessageButton("Yes");
  EXPECT_EQ(afterExit([&] { return stored(tables::Performers, ruth, dict::idx::PER::FIRSTNAME); }), "Ruthie");
}

// Text typed into a field that was never left is an edit too: Exit, the close box and the
// desktop's end ask about it instead of losing it.
TEST_F(ExitWithFormsTest, TextTypedButNotYetLeftIsAskedAboutAndSaved) {
  CloseOnTerminateSignal();
  robot.chooseMenu("&Browse|Browse the Performers file");
  robot.press(kPerformers, "?Change");
  robot.typeCharacter(kChangingPerformer, "R", "?PER:LASTNAME");
  robot.closeWindow(kChangingPerformer);
  expectSaveRecordAsked();
  robot.pressMessageButton("Cancel");
  ASSERT_NE(robot.findWindow(kChangingPerformer), nullptr);
  robot.typeCharacter(kChangingPerformer, "Q", "?PER:FIRSTNAME");
  ASSERT_EQ(::raise(SIGTERM), 0);
  robot.settle();
  expectSaveRecordAsked();
  robot.pressMessageButton("Yes");
  EXPECT_EQ(afterExit([&] {
              return stored(tables::Performers, ruth, dict::idx::PER::FIRSTNAME) + " " +
                     stored(tables::Performers, ruth, dict::idx::PER::LASTNAME);
            }),
            "RuthQ SmithR");
}
