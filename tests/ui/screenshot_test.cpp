// What a user sees: the associated-file form with its tabs and look-ups, and the question
// asked when it is closed changed. With VESP_SCREENSHOT_DIR set (under Xvfb, say) the
// pictures are kept there.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include "forms_fixture.h"

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
