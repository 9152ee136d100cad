// What a user sees: the service browse with both lists filled, and the service form on its
// "Service Elements" tab. With VESP_SCREENSHOT_DIR set (under Xvfb, say) the pictures are
// kept there.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

#include "service_data.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

using ServiceScreenshotTest = ServiceDataTest;

QString folder(const vtest::TempDir& dir) {
  const QByteArray chosen = qgetenv("VESP_SCREENSHOT_DIR");
  return chosen.isEmpty() ? QString::fromStdString(dir.path().string()) : QString::fromLocal8Bit(chosen);
}

void keep(const QString& where, const char* name) {
  if (QGuiApplication::platformName() == QLatin1String("xcb"))
    QGuiApplication::primaryScreen()->grabWindow(0).save(where + "/" + name + "_screen.png");
}

}  // namespace

TEST_F(ServiceScreenshotTest, TheBrowseWithBothListsAndTheFormOnItsElements) {
  const QString where = folder(dir);
  QDir().mkpath(where);
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.chooseRow(kServices, "?BROWSE:1", 2);
  ASSERT_EQ(robot.control(kServices, "?LIST").list()->rowCount(), 2);
  const QImage browse = robot.window(kServices).widget()->grab().toImage();
  ASSERT_FALSE(browse.isNull());
  EXPECT_TRUE(browse.save(where + "/BrowseService.png"));
  keep(where, "BrowseService");
  robot.press(kServices, "?Change");
  robot.chooseTab(kChangeService, "?CurrentTab", "Service Elements");
  ASSERT_EQ(robot.control(kChangeService, "?List:ServiceElements").list()->rowCount(), 2);
  const QImage form = robot.window(kChangeService).widget()->grab().toImage();
  EXPECT_TRUE(form.save(where + "/UpdateService.png"));
  keep(where, "UpdateService");
  robot.press(kChangeService, "?Cancel");
}
