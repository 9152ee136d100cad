// A declared form's file field: its pick button fills the field or, cancelled, empties
// it; its view button opens what the field shows, through the (fake) desktop opener.
#include <QDir>
#include <QFile>

#include "forms_fixture.h"
#include "runtime/testing/fake_desktop_opener.h"
#include "windows/browse_declaration.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

namespace ASF = dict::idx::ASF;
constexpr const char* kForm = "UpdateFileLinkTest";

const FormDecl& FileLinkForm() {
  static const FormDecl form = [] {
    FormDecl f(kForm, "Update the Associated Files File", tables::AssociatedFiles, "File");
    f.tabs = {{"&General",
               {field("&Description:", "?ASF:Description", {tables::AssociatedFiles, ASF::DESCRIPTION}),
                fileField("&File Location:", "?ASF:FileLocation", {tables::AssociatedFiles, ASF::FILELOCATION},
                          "?LOOKUPFILE", "?VIEWFILE")}}};
    return f;
  }();
  return form;
}

void UpdateFileLinkTest() { RunForm(FileLinkForm()); }

class FormFilesTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    auto fake = std::make_unique<vrt::FakeDesktopOpener>();
    opener = fake.get();
    previous_ = vrt::installDesktopOpener(std::move(fake));
  }
  void TearDown() override {
    FormsTest::TearDown();
    vrt::installDesktopOpener(std::move(previous_));
  }

  vrt::FakeDesktopOpener* opener = nullptr;

 private:
  std::unique_ptr<vrt::DesktopOpener> previous_;
};

}  // namespace

TEST_F(FormFilesTest, CancellingTheFileDialogEmptiesTheStoredFileName) {
  QFile hymn(QDir::current().filePath("hymn.txt"));
  ASSERT_TRUE(hymn.open(QIODevice::WriteOnly));
  hymn.close();
  callForm(UpdateFileLinkTest, tables::AssociatedFiles, Request::Change, 1);
  robot.press(kForm, "?LOOKUPFILE");
  robot.chooseFile(QDir::current().filePath("hymn.txt").toStdString());
  EXPECT_EQ(QDir::fromNativeSeparators(QString::fromStdString(text(kForm, "?ASF:FileLocation"))),
            QDir::current().filePath("hymn.txt"));
  robot.press(kForm, "?LOOKUPFILE");
  robot.cancelFileDialog();
  EXPECT_EQ(text(kForm, "?ASF:FileLocation"), "");
  robot.press(kForm, "?OK");
  EXPECT_EQ(response, Response::Completed);
  EXPECT_EQ(stored(tables::AssociatedFiles, 1, ASF::FILELOCATION), "");
}

TEST_F(FormFilesTest, TheViewButtonOpensTheFieldAndAFailureLeavesTheRecordAlone) {
  callForm(UpdateFileLinkTest, tables::AssociatedFiles, Request::Change, 1);
  robot.press(kForm, "?VIEWFILE");  // an empty field opens nothing
  EXPECT_TRUE(opener->opened.empty());
  robot.type(kForm, "?ASF:FileLocation", "/media/missing/hymn.txt");
  opener->result = vrt::kShellPathNotFound;
  robot.press(kForm, "?VIEWFILE");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Shell Execute Error:3");
  robot.pressMessageButton("Ok");
  EXPECT_EQ(opener->opened, std::vector<std::string>{"/media/missing/hymn.txt"});
  EXPECT_EQ(text(kForm, "?ASF:FileLocation"), "/media/missing/hymn.txt");
  EXPECT_EQ(text(kForm, "?ASF:Description"), "Opening hymn");
  robot.press(kForm, "?Cancel");
  ASSERT_NE(robot.messageBox(), nullptr);  // "Save Record" for the typed change
  robot.pressMessageButton("No");
  EXPECT_EQ(stored(tables::AssociatedFiles, 1, ASF::FILELOCATION), "");
}

namespace {

constexpr const char* kBrowse = "Browse the Associated Files File";

const BrowseDecl& FileLinkBrowse() {
  static const BrowseDecl browse = [] {
    BrowseDecl b("BrowseFileLinkTest", kBrowse, tables::AssociatedFiles);
    b.columns = {{"Type", 30, "@s30", {tables::AssociatedFiles, ASF::TYPE}},
                 {"Description", 50, "@s50", {tables::AssociatedFiles, ASF::DESCRIPTION}},
                 {"File Location", 100, "@s100", {tables::AssociatedFiles, ASF::FILELOCATION}, false, true}};
    b.tabs = {{"&Number", ASF::keys::AssociatedFilesNumberKey, BrowseTab::Locator::None, {}, 0}};
    return b;
  }();
  return browse;
}

}  // namespace

TEST_F(FormFilesTest, ABrowseOpensTheCellOfItsHyperlinkColumnOnly) {
  onThread([] {
    addRecord(tables::AssociatedFiles, [](vrt::RecordRef r) {
      r.set(ASF_TYPE, "Video");
      r.set(ASF_DESCRIPTION, "Easter greeting");
      r.set(ASF_FILELOCATION, "http://stmarks.org/easter.mp4");
    });
  });
  onThread([] { RunBrowse(FileLinkBrowse()); });
  robot.clickCell(kBrowse, "?Browse:1", 2, 3);
  robot.clickCell(kBrowse, "?Browse:1", 2, 1);
  robot.clickCell(kBrowse, "?Browse:1", 1, 3);  // an empty cell opens nothing
  EXPECT_EQ(opener->opened, std::vector<std::string>{"http://stmarks.org/easter.mp4"});
  EXPECT_EQ(robot.messageBox(), nullptr);
  robot.hover(kBrowse, "?Browse:1");
  robot.fireTimer(kBrowse);
  EXPECT_EQ(robot.control(kBrowse, "?Browse:1").cursor(), vrt::CursorKind::Hand);
  robot.press(kBrowse, "?Close");
  EXPECT_EQ(robot.findWindow(kBrowse), nullptr);
}

TEST_F(FormFilesTest, AFileNameLongerThanTheFieldIsRefusedNotCut) {
  const QString name = QDir::current().filePath(QString(120, 'w') + ".txt");
  QFile words(name);
  ASSERT_TRUE(words.open(QIODevice::WriteOnly));
  words.close();
  callForm(UpdateFileLinkTest, tables::AssociatedFiles, Request::Change, 1);
  robot.type(kForm, "?ASF:FileLocation", "/media/hymn.txt");
  robot.press(kForm, "?LOOKUPFILE");
  robot.chooseFile(name.toStdString());
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Select A File");
  robot.pressMessageButton("Ok");
  EXPECT_EQ(text(kForm, "?ASF:FileLocation"), "/media/hymn.txt");
}
