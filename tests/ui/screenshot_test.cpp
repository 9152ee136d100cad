// What a user sees: the associated-file form with its tabs and look-ups, and the question
// asked when it is closed changed. With VESP_SCREENSHOT_DIR set (under Xvfb, say) the
// pictures are kept there.
#include <QCursor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include "forms_fixture.h"
#include "runtime/gui/paged_list.h"
#include "screens/lookups/picklists.h"
#include "windows/thread_globals.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

using ScreenshotTest = FormsTest;

QString folder(const vtest::TempDir& dir) {
  const QByteArray chosen = qgetenv("VESP_SCREENSHOT_DIR");
  return chosen.isEmpty() ? QString::fromStdString(dir.path().string()) : QString::fromLocal8Bit(chosen);
}

}  // namespace

TEST_F(ScreenshotTest, AFormWithTabsALookupAndAQuestion) {
  callForm(UpdateFileTest, tables::AssociatedFiles, Request::Change, 1);
  robot.type(kFileForm, "?LOC:RoleNumber", "2");
  robot.type(kFileForm, "?ASF:Description", "Closing hymn");
  const QString where = folder(dir);
  QDir().mkpath(where);
  const QImage form = robot.window(kFileForm).widget()->grab().toImage();
  ASSERT_FALSE(form.isNull());
  EXPECT_GT(form.width(), 200);
  EXPECT_TRUE(form.save(where + "/form.png"));
  robot.press(kFileForm, "?Cancel");
  ASSERT_NE(robot.messageBox(), nullptr);
  const QImage box = robot.messageBox()->widget()->grab().toImage();
  EXPECT_TRUE(box.save(where + "/message.png"));
  if (QGuiApplication::platformName() == QLatin1String("xcb"))
    QGuiApplication::primaryScreen()->grabWindow(0).save(where + "/screen.png");
  robot.pressMessageButton("No");
}

TEST_F(ScreenshotTest, APickListBrowseWithItsPopupMenuOpen) {
  onThread([] {
    threadGlobals().GlobalRequest = Request::None;
    PickListProcedure("BrowseElementType")();
  });
  constexpr const char* kBrowse = "Browse the ElementType File";
  // Where a user's mouse would be: on the second row.
  if (QGuiApplication::platformName() == QLatin1String("xcb"))
    QCursor::setPos(robot.control(kBrowse, "?Browse:1").widget()->mapToGlobal(QPoint(60, 62)));
  robot.rightClickRow(kBrowse, "?Browse:1", 2);
  ASSERT_TRUE(robot.popupOpen());
  const QString where = folder(dir);
  QDir().mkpath(where);
  EXPECT_TRUE(robot.window(kBrowse).widget()->grab().toImage().save(where + "/picklist.png"));
  if (QGuiApplication::platformName() == QLatin1String("xcb"))
    QGuiApplication::primaryScreen()->grabWindow(0).save(where + "/picklist_popup.png");
  robot.dismissPopup();
  EXPECT_FALSE(robot.popupOpen());
  EXPECT_EQ(robot.control(kBrowse, "?Browse:1").list()->selectedRow(), 2);  // the right click highlighted it
}
