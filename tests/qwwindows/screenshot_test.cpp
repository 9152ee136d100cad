// What a user sees of the wizard: its field, value and current-query pages and the
// drop-down calendar. With VESP_SCREENSHOT_DIR set (under Xvfb, say) the pictures are kept
// there, each also as the whole screen.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>

#include "qw_gui_fixture.h"
#include "querywizard/drop_calendar.h"
#include "querywizard/expression_builder.h"
#include "querywizard/qrywiz.h"
#include "querywizard/wizard_layout.h"
#include "runtime/gui/paged_list.h"
#include "runtime/testing/pinned_clock.h"
#include "support/picture_facts.h"
#include "wizard_texts.h"

namespace qrywiz {
namespace {

class WizardScreenshotTest : public qwtest::LibraryWindowsTest {
 protected:
  void SetUp() override {
    LibraryWindowsTest::SetUp();
    qwtest::setWizardTexts();
    fields = qwtest::wizardFields();
    const QByteArray chosen = qgetenv("VESP_SCREENSHOT_DIR");
    where = chosen.isEmpty() ? scratch.path() : QString::fromLocal8Bit(chosen);
    QDir().mkpath(where);
  }
  // Keeps the window's picture (and the screen's under a real display); checks that it shows
  // something drawn, the text of `shown` and the highlighted row of `highlighted`.
  void shoot(std::string_view window, const QString& name, std::string_view shown = {},
             std::string_view highlighted = {}) {
    QWidget* w = robot.window(window).widget();
    w->raise();
    w->activateWindow();
    robot.settle();
    const QImage image = w->grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 100);
    EXPECT_GT(image.height(), 100);
    EXPECT_GT(vtest::drawnPixels(image), 1000) << "the picture shows the window drawn";
    if (!shown.empty()) {
      const vrt::Control& text = robot.control(window, shown);
      EXPECT_GT(vtest::pixelsLike(vtest::partOf(image, text), vtest::textColour(text)), 15)
          << "the picture shows the text of " << shown;
    }
    if (!highlighted.empty()) {
      const vrt::Control& list = robot.control(window, highlighted);
      EXPECT_GT(vtest::pixelsLike(vtest::partOf(image, list), vtest::highlightColour(list), 16), 400)
          << "the picture shows the highlighted row of " << highlighted;
    }
    EXPECT_TRUE(image.save(where + "/" + name + ".png"));
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
    // The whole screen as the X server has it, by the desktop's own tool when there is one.
    const QString screen = where + "/" + name + "_screen.png";
    if (QStandardPaths::findExecutable("import").isEmpty() ||
        QProcess::execute("import", {"-window", "root", screen}) != 0)
      QGuiApplication::primaryScreen()->grabWindow(0).save(screen);
  }

  QTemporaryDir scratch;
  QString where;
  XBQW_FIELDSQUEUE fields;
  std::string query, description;
  vrt::TestRobot robot;
};

TEST_F(WizardScreenshotTest, FieldValueAndQueryPagesAndTheCalendar) {
  vrt::pinClockForTesting(vrt::dateFromYmd(2026, 3, 18), vrt::timeFromHms(9, 0));
  const std::string_view W = kWizardProcedure;
  vrt::StartThread([this] { XB_QWIZARD(fields, "PrayerRequest", query, description, 1); }, 200'000);
  robot.settle();
  robot.chooseRow(W, "?FieldList", 4);  // Request
  shoot(W, "wizard_page1_field", "?FieldList", "?FieldList");
  robot.press(W, "?Next");
  robot.chooseRow(W, "?OperationList", 8);  // Contains
  robot.press(W, "?Next");
  robot.type(W, "?Value", "care");
  shoot(W, "wizard_page3_value", "?Value");
  robot.press(W, "?Next");
  robot.press(W, "?AndButton");
  robot.chooseRow(W, "?FieldList", 2);  // Date Started
  robot.press(W, "?Next");
  robot.chooseRow(W, "?OperationList", 3);  // Is Greater Than
  robot.press(W, "?Next");
  robot.type(W, "?Value", "03-01-2026");
  robot.press(W, "?Lookup");
  shoot(kDropCalendarProcedure, "drop_calendar_march_2026");
  robot.pressKey(kDropCalendarProcedure, vrt::kEscKey);
  EXPECT_EQ(robot.control(W, "?Value").text(), "03-01-2026") << "Escape keeps the date";
  robot.press(W, "?Next");
  ASSERT_EQ(robot.control(W, "?QueryList").list()->rowCount(), 2);
  shoot(W, "wizard_page4_query", "?QueryList");
  robot.press(W, "?Cancel");
}

TEST_F(WizardScreenshotTest, TheExpressionBuilder) {
  std::string expression = "PRA:Request <> ''";
  std::uint8_t accepted = 9;
  vrt::StartThread([&] { accepted = QW_BUILDEXPQ(expression, fields, 0); }, 200'000);
  robot.settle();
  robot.chooseRow(kBuilderProcedure, "?Categories", 4);  // Text Functions
  robot.chooseRow(kBuilderProcedure, "?Entries", 3);     // CLIP
  shoot(kBuilderProcedure, "expression_builder", "?Entries", "?Entries");
  robot.press(kBuilderProcedure, "?CancelBuilder");
  EXPECT_EQ(accepted, 0);
}

}  // namespace
}  // namespace qrywiz
