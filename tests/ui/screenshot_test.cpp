// What a user sees: the associated-file form with its type look-up, and the question asked
// when it is closed changed; a pick list with its popup menu open. Each is opened from the
// frame's menu. Each picture is checked for what it must show (the typed
// text, the highlighted row); with VESP_SCREENSHOT_DIR set (under Xvfb, say) the pictures
// are kept there.
#include <QCursor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include "forms_fixture.h"
#include "runtime/gui/paged_list.h"
#include "support/picture_facts.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

using ScreenshotTest = FormsTest;

QString folder(const vtest::TempDir& dir) {
  const QByteArray chosen = qgetenv("VESP_SCREENSHOT_DIR");
  return chosen.isEmpty() ? QString::fromStdString(dir.path().string()) : QString::fromLocal8Bit(chosen);
}

}  // namespace

TEST_F(ScreenshotTest, AFormWithALookupAndAQuestion) {
  // A file of the service's opening element, reached from the menu through the service and
  // its element, as a user reaches it.
  onThread([] {
    addRecord(tables::Service, [](vrt::RecordRef r) { r.set(SER_TITLE, "Advent"); });
    addRecord(tables::ServiceElement, [](vrt::RecordRef r) {
      r.set(SEL_SERVICENUMBER, 1);
      r.set(SEL_TITLE, "Opening hymn");
    });
    addRecord(tables::AssociatedFiles, [](vrt::RecordRef r) {
      r.set(ASF_ELEMENTNUMBER, 1);
      r.set(ASF_SERVICENUMBER, 1);
      r.set(ASF_TYPE, "Song");
      r.set(ASF_DESCRIPTION, "Opening hymn");
    });
  });
  constexpr const char* kServices = "Browse the Service File";
  constexpr const char* kService = "Changing a Service Record";
  constexpr const char* kElement = "Service Element Will Be Changed";
  constexpr const char* kFileForm = "UpdateAssociatedFiles";
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.chooseRow(kServices, "?BROWSE:1", 1);
  robot.press(kServices, "?Change");
  robot.chooseTab(kService, "?CurrentTab", "Service Elements");
  robot.chooseRow(kService, "?List:ServiceElements", 1);
  robot.press(kService, "?Change:13");
  robot.chooseTab(kElement, "?CurrentTab", "Associated Files");
  robot.chooseRow(kElement, "?List:AssociatedFiles", 1);
  robot.press(kElement, "?Change");
  ASSERT_NE(robot.findWindow(kFileForm), nullptr);
  EXPECT_EQ(robot.control(kFileForm, "?ASF:DESCRIPTION").text(), "Opening hymn");
  robot.type(kFileForm, "?ASF:TYPE", "Video");
  robot.type(kFileForm, "?ASF:DESCRIPTION", "Closing hymn");
  const QString where = folder(dir);
  QDir().mkpath(where);
  const QImage form = vtest::pictureOf(robot.window(kFileForm));
  ASSERT_FALSE(form.isNull());
  EXPECT_GT(form.width(), 200);
  const vrt::Control& description = robot.control(kFileForm, "?ASF:DESCRIPTION");
  EXPECT_GT(vtest::pixelsLike(vtest::partOf(form, description), vtest::textColour(description)), 40)
      << "the picture shows the typed description";
  EXPECT_TRUE(form.save(where + "/form.png"));
  robot.press(kFileForm, "?Cancel");
  ASSERT_NE(robot.messageBox(), nullptr);
  const QImage box = vtest::pictureOf(*robot.messageBox());
  EXPECT_GT(vtest::drawnPixels(box), 400) << "the picture shows the question and its buttons";
  EXPECT_TRUE(box.save(where + "/message.png"));
  if (QGuiApplication::platformName() == QLatin1String("xcb"))
    QGuiApplication::primaryScreen()->grabWindow(0).save(where + "/screen.png");
  robot.pressMessageButton("No");
}

TEST_F(ScreenshotTest, APickListBrowseWithItsPopupMenuOpen) {
  constexpr const char* kBrowse = "Browse the ElementType File";
  robot.chooseMenu("&Browse|&Lists|&Element Types");
  ASSERT_NE(robot.findWindow(kBrowse), nullptr);
  // Where a user's mouse would be: on the second row.
  if (QGuiApplication::platformName() == QLatin1String("xcb"))
    QCursor::setPos(robot.control(kBrowse, "?Browse:1").widget()->mapToGlobal(QPoint(60, 62)));
  robot.rightClickRow(kBrowse, "?Browse:1", 2);
  ASSERT_TRUE(robot.popupOpen());
  const QString where = folder(dir);
  QDir().mkpath(where);
  const QImage browse = vtest::pictureOf(robot.window(kBrowse));
  const vrt::Control& list = robot.control(kBrowse, "?Browse:1");
  EXPECT_GT(vtest::pixelsLike(vtest::partOf(browse, list), vtest::highlightColour(list), 16), 400)
      << "the picture shows the right-clicked row highlighted";
  EXPECT_TRUE(browse.save(where + "/picklist.png"));
  if (QGuiApplication::platformName() == QLatin1String("xcb"))
    QGuiApplication::primaryScreen()->grabWindow(0).save(where + "/picklist_popup.png");
  robot.dismissPopup();
  EXPECT_FALSE(robot.popupOpen());
  EXPECT_EQ(robot.control(kBrowse, "?Browse:1").list()->selectedRow(), 2);  // the right click highlighted it
}
