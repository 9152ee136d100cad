// File > Exit while windows wait on browse threads: every browse is closed down and
// remembers its place before the settings are written, and the program ends.
#include <QApplication>
#include <QRect>

#include "program_fixture.h"
#include "runtime/gui/file_dialog.h"
#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"
#include "runtime/settings/ini_file.h"
#include "shell/browse_menu.h"
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
