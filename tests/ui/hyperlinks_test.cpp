// A form with a file field, its pick and view buttons and an associated-files list,
// driven as a user would: the file picker fills or empties the field, the hyperlink
// manager opens what the user points at through the (fake) desktop opener.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "runtime/gui/binding.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/paged_list.h"
#include "runtime/testing/fake_desktop_opener.h"
#include "runtime/gui/gui_fixture.h"
#include "windows/file_picker.h"
#include "windows/hyperlink_manager.h"

namespace vesp {
namespace {

using namespace vrt;

constexpr const char* kForm = "UpdateBibliography";

class HyperlinksTest : public vrt::testing::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    auto fake = std::make_unique<FakeDesktopOpener>();
    opener = fake.get();
    previous_ = installDesktopOpener(std::move(fake));
  }
  void TearDown() override {
    GuiTest::TearDown();
    installDesktopOpener(std::move(previous_));
  }

  // The form's procedure: one pick button and one view button for BBL:WORDS, and a list
  // whose third column holds file locations.
  void openForm() {
    StartThread(
        [this] {
          WindowSpec design = windowSpec("Changing a Bibliography Record", kForm);
          design.controls = {entry("BBL:WORDS", "@s100", Binding::text(words)), button("?LOOKUPFILE", "..."),
                             button("?VIEWWORDS", "View"), button("?OK", "OK"),
                             list("?List", {{"Type", 10}, {"Description", 20}, {"File Location", 40}}, 5)};
          Window form(std::move(design));
          form.open();
          form.control("?List")->list()->setRows(
              {{"Words", "Hymn words", "/media/hymn 12.txt"}, {"Music", "Score", "/media/score.pdf"}});
          FilePicker picker;
          picker.AddMask("All Files", "*.*");
          HyperlinkManager links(form);
          links.AddText(*form.control("?VIEWWORDS"), "");
          links.AddColumn(*form.control("?List"), 3);
          for (;;) {
            Event e = form.accept();
            if (links.TakeEvent(e)) continue;
            if (e.event == kEventCloseWindow || e.event == kEventCloseDown) break;
            if (e.event != kEventAccepted) continue;
            Control* c = form.control(e.control);
            if (c && c->use() == "?LOOKUPFILE") picker.PickInto(*form.control("BBL:WORDS"));
            if (c && c->use() == "?VIEWWORDS") links.OpenField(*c, *form.control("BBL:WORDS"));
          }
        },
        50'000);
    robot.settle();
  }

  std::string shown() { return robot.control(kForm, "BBL:WORDS").text(); }

  TestRobot robot;
  FakeDesktopOpener* opener = nullptr;
  std::string words = "C:\\Media\\old words.doc";

 private:
  std::unique_ptr<DesktopOpener> previous_;
};

TEST_F(HyperlinksTest, ThePickButtonFillsTheFieldAndCancellingEmptiesIt) {
  QFile file(QDir::current().filePath("hymn.txt"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  openForm();
  const QString before = QDir::currentPath();
  robot.press(kForm, "?LOOKUPFILE");
  robot.chooseFile(QDir::current().filePath("hymn.txt").toStdString());
  EXPECT_EQ(QDir::fromNativeSeparators(QString::fromStdString(words)), QDir::current().filePath("hymn.txt"));
  EXPECT_EQ(shown(), words);
  EXPECT_EQ(QDir::currentPath(), before);
  robot.press(kForm, "?LOOKUPFILE");
  robot.cancelFileDialog();
  EXPECT_EQ(words, "");
  EXPECT_EQ(shown(), "");
}

TEST_F(HyperlinksTest, TheViewButtonOpensWhatTheFieldShowsNowAndAnEmptyFieldNothing) {
  openForm();
  robot.type(kForm, "BBL:WORDS", "/media/new words.txt");
  robot.press(kForm, "?VIEWWORDS");
  robot.type(kForm, "BBL:WORDS", "choir@stmarks.org");
  robot.press(kForm, "?VIEWWORDS");
  robot.type(kForm, "BBL:WORDS", "");
  robot.press(kForm, "?VIEWWORDS");
  EXPECT_EQ(opener->opened, (std::vector<std::string>{"/media/new words.txt", "mailto:choir@stmarks.org"}));
  EXPECT_EQ(robot.messageBox(), nullptr);
}

TEST_F(HyperlinksTest, AnAddressWithShellMetacharactersReachesTheOpenerAsOneValue) {
  openForm();
  const std::string hostile = "/media/a.pdf; touch pwned | cat `id` $(id)";
  robot.type(kForm, "BBL:WORDS", hostile);
  robot.press(kForm, "?VIEWWORDS");
  EXPECT_EQ(opener->opened, std::vector<std::string>{hostile});
  EXPECT_FALSE(QFile::exists("pwned"));
}

TEST_F(HyperlinksTest, AFailedOpenShowsTheShellErrorAndLeavesTheFormAsItWas) {
  opener->result = kShellFileNotFound;
  openForm();
  robot.press(kForm, "?VIEWWORDS");
  Window* box = robot.messageBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->caption(), "Shell Execute Error:2");
  EXPECT_EQ(box->control(kMessageTextUse)->text(),
            messageBoxText("(2) The specified file was not found. File:|C:\\Media\\old words.doc"));
  robot.pressMessageButton("Ok");
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_EQ(words, "C:\\Media\\old words.doc");
  EXPECT_EQ(shown(), "C:\\Media\\old words.doc");

  opener->result = kShellNoAssociation;
  robot.type(kForm, "BBL:WORDS", "pastor@stmarks.org");
  robot.press(kForm, "?VIEWWORDS");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Shell Execute Error:31");
  robot.pressMessageButton("Ok");
}

TEST_F(HyperlinksTest, OnlyCellsOfTheHyperlinkColumnOpen) {
  openForm();
  robot.clickCell(kForm, "?List", 2, 3);
  robot.clickCell(kForm, "?List", 1, 1);
  robot.clickCell(kForm, "?List", 1, 2);
  robot.clickHeader(kForm, "?List", 3);
  robot.clickCell(kForm, "?List", 1, 3);
  EXPECT_EQ(opener->opened, (std::vector<std::string>{"/media/score.pdf", "/media/hymn 12.txt"}));
}

TEST_F(HyperlinksTest, TheItemUnderTheMouseTakesTheHoverLookOnTheNextTick) {
  openForm();
  Control& view = robot.control(kForm, "?VIEWWORDS");
  Control& list = robot.control(kForm, "?List");
  EXPECT_EQ(robot.window(kForm).timerInterval(), 8);
  EXPECT_TRUE(view.underline());
  EXPECT_EQ(view.cursor(), CursorKind::Arrow);
  robot.hover(kForm, "?VIEWWORDS");
  EXPECT_NE(view.color(), 0xFF0000);  // nothing changes before the timer ticks
  robot.fireTimer(kForm);
  EXPECT_EQ(view.color(), 0xFF0000);
  EXPECT_EQ(view.cursor(), CursorKind::Hand);
  robot.hover(kForm, "?List");
  robot.fireTimer(kForm);
  EXPECT_NE(view.color(), 0xFF0000);
  EXPECT_TRUE(view.underline());
  EXPECT_EQ(view.cursor(), CursorKind::Arrow);
  EXPECT_EQ(list.cursor(), CursorKind::Hand);
  QEvent leave(QEvent::Leave);  // the mouse leaves the list for the window's background
  QApplication::sendEvent(list.widget(), &leave);
  robot.fireTimer(kForm);
  EXPECT_EQ(list.cursor(), CursorKind::Arrow);
}

}  // namespace
}  // namespace vesp
