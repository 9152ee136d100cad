// What a user sees of the bibliography form and of a group with its members, each picture
// checked for the text it must show. With VESP_SCREENSHOT_DIR set (under Xvfb, say) the
// pictures are kept there.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include "elements_fixture.h"
#include "runtime/gui/window.h"
#include "runtime/text/dates.h"
#include "support/picture_facts.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

class ElementsScreenshotTest : public ElementsTest {
 protected:
  QString folder() {
    const QByteArray chosen = qgetenv("VESP_SCREENSHOT_DIR");
    const QString where = chosen.isEmpty() ? QString::fromStdString(dir.path().string()) : QString::fromLocal8Bit(chosen);
    QDir().mkpath(where);
    return where;
  }
  // `shown`: a control whose text the picture must show.
  void keep(std::string_view window, const QString& name, std::string_view shown) {
    const QImage picture = vtest::pictureOf(robot.window(window));
    ASSERT_FALSE(picture.isNull());
    EXPECT_GT(picture.width(), 300);
    const vrt::Control& control = robot.control(window, shown);
    EXPECT_GT(vtest::pixelsLike(vtest::partOf(picture, control), vtest::textColour(control)), 40)
        << "the picture shows the text of " << shown;
    EXPECT_TRUE(picture.save(folder() + "/" + name + ".png"));
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
      QGuiApplication::primaryScreen()->grabWindow(0).save(folder() + "/" + name + "_screen.png");
  }
};

}  // namespace

TEST_F(ElementsScreenshotTest, TheBibliographyForm) {
  const std::int64_t entry = add(tables::Bibliography, [](vrt::RecordRef b) {
    b.set(BBL_TITLE, "Amazing Grace");
    b.set(BBL_DESCRIPTION, "Hymn of grace and redemption");
    b.set(BBL_WRITTENBY, "John Newton");
    b.set(BBL_DURATION, "4:30");
    b.set(BBL_PUBLISHER, "Public Domain");
    b.set(BBL_PUBLISHEDYEAR, "1779");
    b.set(BBL_PUBLISHERCITY, "Olney");
    b.set(BBL_PUBLISHERCOUNTRY, "England");
    b.set(BBL_CCLI, "22025");
    b.set(BBL_WORDS, "/media/hymns/amazing-grace.txt");
    b.set(BBL_MUSIC, "/media/hymns/amazing-grace.mid");
    b.set(BBL_FIRSTUSED_DATE, vrt::dateFromYmd(2024, 3, 17));
  });
  call("UpdateBibliography", tables::Bibliography, Request::Change, entry);
  keep("Changing a Bibliography Record", "UpdateBibliography", "?BBL:TITLE");
  robot.press("Changing a Bibliography Record", "?Cancel");
}

TEST_F(ElementsScreenshotTest, AGroupWithItsMembers) {
  const std::int64_t group = add(tables::PerformerGroupHeader, [](vrt::RecordRef b) { b.set(PGH_DESCRIPTION, "Youth Band"); });
  const std::pair<const char*, const char*> people[] = {{"Abel", "Brown"}, {"Anna", "Adams"}, {"Ruth", "Cole"}};
  const char* roles[] = {"Drums", "Vocals", "Keys"};
  for (std::size_t i = 0; i < std::size(people); ++i)
    add(tables::PerformerGroupDetail, [&, i](vrt::RecordRef b) {
      b.set(PGD_PERFORMERGROUPNUMBER, static_cast<std::int32_t>(group));
      b.set(PGD_FIRSTNAME, people[i].first);
      b.set(PGD_LASTNAME, people[i].second);
      b.set(PGD_ROLE, roles[i]);
      b.set(PGD_LEADER, static_cast<std::uint8_t>(i == 0));
    });
  call("UpdatePerformerGroupHeader", tables::PerformerGroupHeader, Request::Change, group);
  ASSERT_EQ(rows("Changing a Performer Group Record", "?List:Members").size(), 3u);
  keep("Changing a Performer Group Record", "UpdatePerformerGroupHeader", "?List:Members");
  robot.press("Changing a Performer Group Record", "?Cancel");
}
