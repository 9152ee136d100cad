// What a user sees: the prayer-request browse with a saved query in force, and a request's
// form, each picture checked for what it must show. With VESP_SCREENSHOT_DIR set (under
// Xvfb, say) the pictures are kept there.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>
#include <cstdlib>

#include "prayer_fixture.h"
#include "support/picture_facts.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

class PrayerScreenshotTest : public PrayerTest {
 protected:
  QString folder() {
    const QByteArray chosen = qgetenv("VESP_SCREENSHOT_DIR");
    return chosen.isEmpty() ? QString::fromStdString(dir.path().string()) : QString::fromLocal8Bit(chosen);
  }
  // The window alone, and on a real display the whole screen as well. `shown`: a control
  // whose text the picture must show; `highlighted`: a list whose highlighted row it must.
  void shoot(std::string_view window, const QString& name, std::string_view shown, std::string_view highlighted = {}) {
    const QString where = folder();
    QDir().mkpath(where);
    const QImage image = vtest::pictureOf(robot.window(window));
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 300);
    const vrt::Control& text = robot.control(window, shown);
    EXPECT_GT(vtest::pixelsLike(vtest::partOf(image, text), vtest::textColour(text)), 40)
        << "the picture shows the text of " << shown;
    if (!highlighted.empty()) {
      const vrt::Control& list = robot.control(window, highlighted);
      EXPECT_GT(vtest::pixelsLike(vtest::partOf(image, list), vtest::highlightColour(list), 16), 400)
          << "the picture shows the highlighted row of " << highlighted;
    }
    EXPECT_TRUE(image.save(where + "/" + name + ".png"));
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
      const std::string command = "import -window root '" + (where + "/" + name + "_screen.png").toStdString() + "'";
      if (std::system(command.c_str()) != 0) QGuiApplication::primaryScreen()->grabWindow(0).save(where + "/" + name + "_screen.png");
    }
  }
};

TEST_F(PrayerScreenshotTest, TheBrowseWithAQueryAndARequestsForm) {
  addRequests({{"Healing for Ann after her knee surgery", "Healing", kToday - 40, kToday - 12},
               {"Please pray for my brother who now needs full-time care", "Family", kToday - 30, 0},
               {"Jobs for the Smiths", "Family", kToday - 21, 0},
               {"Safe travel for the mission team", "Missions", kToday - 14, kToday - 3},
               {"Care for Dad as we arrange care at home", "Healing", kToday - 5, 0}});
  openBrowse("BrowsePrayerRequest");
  saveContainsQuery("care", "Requests about care");
  ASSERT_EQ(column(kRequests, 2).size(), 2u);
  robot.chooseRow(kRequests, "?Browse:1", 1);
  robot.settle();
  shoot(kRequests, "BrowsePrayerRequest", "?Browse:1", "?Browse:1");

  robot.press(kRequests, "?Change");
  ASSERT_NE(robot.findWindow("Record Will Be Changed"), nullptr);
  robot.type("Record Will Be Changed", "?PRA:DATEANSWERED", date(kToday));
  robot.chooseItem("Record Will Be Changed", "?PRA:ANSWER", "Yes");
  robot.type("Record Will Be Changed", "?PRA:COMMENTS", "He moved to a care home near us.");
  shoot("Record Will Be Changed", "UpdatePrayerRequest", "?PRA:COMMENTS");
  robot.press("Record Will Be Changed", "?Cancel");
  if (robot.messageBox()) robot.pressMessageButton("No");
}

}  // namespace
