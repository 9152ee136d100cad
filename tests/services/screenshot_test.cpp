// What a user sees: the service browse with both lists filled, and the service form on its
// "Service Elements" tab, each picture checked for the rows it must show. With
// VESP_SCREENSHOT_DIR set (under Xvfb, say) the pictures are kept there.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

#include "service_data.h"
#include "support/picture_facts.h"

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
  const QImage browse = vtest::pictureOf(robot.window(kServices));
  ASSERT_FALSE(browse.isNull());
  const vrt::Control& services = robot.control(kServices, "?BROWSE:1");
  EXPECT_GT(vtest::pixelsLike(vtest::partOf(browse, services), vtest::highlightColour(services), 16), 400)
      << "the picture shows the chosen service highlighted";
  const vrt::Control& elements = robot.control(kServices, "?LIST");
  EXPECT_GT(vtest::pixelsLike(vtest::partOf(browse, elements), vtest::textColour(elements)), 40)
      << "the picture shows the service's elements";
  EXPECT_TRUE(browse.save(where + "/BrowseService.png"));
  keep(where, "BrowseService");
  robot.press(kServices, "?Change");
  robot.chooseTab(kChangeService, "?CurrentTab", "Service Elements");
  ASSERT_EQ(robot.control(kChangeService, "?List:ServiceElements").list()->rowCount(), 2);
  const QImage form = vtest::pictureOf(robot.window(kChangeService));
  const vrt::Control& formElements = robot.control(kChangeService, "?List:ServiceElements");
  EXPECT_GT(vtest::pixelsLike(vtest::partOf(form, formElements), vtest::textColour(formElements)), 40)
      << "the picture shows the elements on their tab";
  EXPECT_TRUE(form.save(where + "/UpdateService.png"));
  keep(where, "UpdateService");
  robot.press(kChangeService, "?Cancel");
}
