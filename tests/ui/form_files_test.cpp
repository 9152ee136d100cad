// A form's file field: its pick button fills the field or, cancelled, empties it; its view
// button opens what the field shows, through the (fake) desktop opener. The sermon series'
// poster, its form and browse opened from the frame's menu.
#include <QDir>
#include <QFile>

#include "forms_fixture.h"
#include "runtime/testing/fake_desktop_opener.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

namespace SSE = dict::idx::SSE;

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
  changeAdventSeries();
  robot.press(kSeriesForm, "?LOOKUPPOSTER");
  robot.chooseFile(QDir::current().filePath("hymn.txt").toStdString());
  EXPECT_EQ(QDir::fromNativeSeparators(QString::fromStdString(text(kSeriesForm, "?SSE:POSTERIMAGE"))),
            QDir::current().filePath("hymn.txt"));
  robot.press(kSeriesForm, "?LOOKUPPOSTER");
  robot.cancelFileDialog();
  EXPECT_EQ(text(kSeriesForm, "?SSE:POSTERIMAGE"), "");
  robot.press(kSeriesForm, "?OK");
  EXPECT_EQ(robot.findWindow(kSeriesForm), nullptr);
  EXPECT_EQ(stored(tables::SermonSeries, 1, SSE::POSTERIMAGE), "");
}

TEST_F(FormFilesTest, TheViewButtonOpensTheFieldAndAFailureLeavesTheRecordAlone) {
  changeAdventSeries();
  robot.press(kSeriesForm, "?VIEWPOSTER");  // an empty field opens nothing
  EXPECT_TRUE(opener->opened.empty());
  robot.type(kSeriesForm, "?SSE:POSTERIMAGE", "/media/missing/hymn.txt");
  opener->result = vrt::kShellPathNotFound;
  robot.press(kSeriesForm, "?VIEWPOSTER");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Shell Execute Error:3");
  robot.pressMessageButton("Ok");
  EXPECT_EQ(opener->opened, std::vector<std::string>{"/media/missing/hymn.txt"});
  EXPECT_EQ(text(kSeriesForm, "?SSE:POSTERIMAGE"), "/media/missing/hymn.txt");
  EXPECT_EQ(text(kSeriesForm, "?SSE:DESCRIPTION"), "Opening hymn");
  robot.press(kSeriesForm, "?Cancel");
  ASSERT_NE(robot.messageBox(), nullptr);  // "Save Record" for the typed change
  robot.pressMessageButton("No");
  EXPECT_EQ(stored(tables::SermonSeries, 1, SSE::POSTERIMAGE), "");
}

TEST_F(FormFilesTest, ABrowseOpensTheCellOfItsHyperlinkColumnOnly) {
  onThread([] {
    addRecord(tables::SermonSeries, [](vrt::RecordRef r) { r.set(SSE_NAME, "Advent"); });
    addRecord(tables::SermonSeries, [](vrt::RecordRef r) {
      r.set(SSE_NAME, "Easter");
      r.set(SSE_DESCRIPTION, "Easter greeting");
      r.set(SSE_POSTERIMAGE, "http://stmarks.org/easter.png");
    });
  });
  openMenu("&Browse|Browse the Sermon Series file", kSeriesBrowse);
  robot.chooseTab(kSeriesBrowse, "?CurrentTab", "Series Name");
  robot.clickCell(kSeriesBrowse, "?Browse:1", 2, 5);  // the poster
  robot.clickCell(kSeriesBrowse, "?Browse:1", 2, 2);  // the description
  robot.clickCell(kSeriesBrowse, "?Browse:1", 1, 5);  // an empty cell opens nothing
  EXPECT_EQ(opener->opened, std::vector<std::string>{"http://stmarks.org/easter.png"});
  EXPECT_EQ(robot.messageBox(), nullptr);
  robot.hover(kSeriesBrowse, "?Browse:1");
  robot.fireTimer(kSeriesBrowse);
  EXPECT_EQ(robot.control(kSeriesBrowse, "?Browse:1").cursor(), vrt::CursorKind::Hand);
  robot.press(kSeriesBrowse, "?Close");
  EXPECT_EQ(robot.findWindow(kSeriesBrowse), nullptr);
}

TEST_F(FormFilesTest, AFileNameLongerThanTheFieldIsRefusedNotCut) {
  const QString name = QDir::current().filePath(QString(120, 'w') + ".txt");
  QFile words(name);
  ASSERT_TRUE(words.open(QIODevice::WriteOnly));
  words.close();
  changeAdventSeries();
  robot.type(kSeriesForm, "?SSE:POSTERIMAGE", "/media/hymn.txt");
  robot.press(kSeriesForm, "?LOOKUPPOSTER");
  robot.chooseFile(name.toStdString());
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Select A File");
  robot.pressMessageButton("Ok");
  EXPECT_EQ(text(kSeriesForm, "?SSE:POSTERIMAGE"), "/media/hymn.txt");
}
