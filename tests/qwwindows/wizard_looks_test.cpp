// What the wizard looks like beyond its texts: the five font sets and the manual page's
// field list without the expression builder.
#include <QApplication>
#include <QFontDatabase>
#include <QTabBar>
#include <QTabWidget>
#include <QWidget>

#include "querywizard/wizard_fonts.h"
#include "wizard_window_fixture.h"

namespace qrywiz {
namespace {

QFont fontOf(vrt::TestRobot& robot, std::string_view use) { return robot.control(W, use).widget()->font(); }

TEST(WizardFontSetsTest, KindsAndDesignedSizesPickTheirSet) {
  EXPECT_EQ(fontSetFor(vrt::ControlKind::Button, 8), 1);
  EXPECT_EQ(fontSetFor(vrt::ControlKind::List, 8), 3);
  EXPECT_EQ(fontSetFor(vrt::ControlKind::DropList, 10), 3);
  EXPECT_EQ(fontSetFor(vrt::ControlKind::Prompt, 12), 5);
  EXPECT_EQ(fontSetFor(vrt::ControlKind::Prompt, 10), 2);
  EXPECT_EQ(fontSetFor(vrt::ControlKind::Entry, 8), 4);
  EXPECT_EQ(fontSetFor(vrt::ControlKind::Radio, 8), 4);
  EXPECT_EQ(fontSetFor(vrt::ControlKind::Check, 12), 5);
  EXPECT_EQ(fontSetFor(vrt::ControlKind::OptionGroup, 10), 2);
  EXPECT_EQ(fontSetFor(vrt::ControlKind::Prompt, 9), 0) << "other sizes keep their fonts";
  EXPECT_EQ(fontSetFor(vrt::ControlKind::TextBox, 8), 0);
  EXPECT_EQ(fontSetFor(vrt::ControlKind::Sheet, 8), 0);
  EXPECT_EQ(fontSetFor(vrt::ControlKind::Image, 12), 0);
}

TEST_F(WizardWindowTest, EveryControlTakesTheFontOfItsSet) {
  ASSERT_TRUE(QFontDatabase::hasFamily("DejaVu Serif"));
  ASSERT_TRUE(QFontDatabase::hasFamily("DejaVu Sans Mono"));
  const QFont desktop = QApplication::font();
  XB_SETQWDISPLAYTEXT(71, "DejaVu Serif");
  XB_SETQWDISPLAYTEXT(72, "11");
  XB_SETQWDISPLAYTEXT(73, "MS Sans Serif");  // not installed here
  XB_SETQWDISPLAYTEXT(74, "13");
  XB_SETQWDISPLAYTEXT(75, "DejaVu Sans Mono");
  XB_SETQWDISPLAYTEXT(76, "9");
  XB_SETQWDISPLAYTEXT(77, "");
  XB_SETQWDISPLAYTEXT(78, "0");
  XB_SETQWDISPLAYTEXT(79, "DejaVu Serif");
  XB_SETQWDISPLAYTEXT(80, "15");
  openWizard();
  EXPECT_EQ(fontOf(robot, "?Next").family(), "DejaVu Serif");
  EXPECT_EQ(fontOf(robot, "?Next").pointSize(), 11);
  EXPECT_EQ(fontOf(robot, "?AndButton").pointSize(), 11);
  EXPECT_EQ(fontOf(robot, "?FieldList").family(), "DejaVu Sans Mono");
  EXPECT_EQ(fontOf(robot, "?FieldList").pointSize(), 9);
  EXPECT_EQ(fontOf(robot, "?Title").family(), "DejaVu Serif") << "the title is laid out at 12 points";
  EXPECT_EQ(fontOf(robot, "?Title").pointSize(), 15);
  EXPECT_EQ(fontOf(robot, "?Heading1").family(), desktop.family()) << "a missing font falls back to the desktop's";
  EXPECT_EQ(fontOf(robot, "?Heading1").pointSize(), 13) << "at the set's size";
  // Set 4 (the 8-point text) is empty: those controls keep their fonts, as do text boxes.
  EXPECT_EQ(fontOf(robot, "?Prompt1").family(), desktop.family());
  EXPECT_EQ(fontOf(robot, "?Prompt1").pointSize(), desktop.pointSize());
  EXPECT_EQ(fontOf(robot, "?ManualText").pointSize(), desktop.pointSize());
  robot.press(W, "?Cancel");

  // A set with a size but no name changes only the size.
  XB_SETQWDISPLAYTEXT(78, "14");
  openWizard();
  EXPECT_EQ(fontOf(robot, "?Prompt1").family(), desktop.family());
  EXPECT_EQ(fontOf(robot, "?Prompt1").pointSize(), 14);
  EXPECT_EQ(fontOf(robot, "?MatchType").pointSize(), 14);
  EXPECT_EQ(fontOf(robot, "?Value").pointSize(), 14);
  robot.press(W, "?Cancel");
}

TEST_F(WizardWindowTest, BesideItsLookupButtonTheValueEntryIsNarrowed) {
  openWizard();
  robot.chooseRow(W, "?FieldList", fieldRow("Date Started"));
  robot.press(W, "?Next");
  robot.press(W, "?Next");
  QWidget* entry = robot.control(W, "?Value").widget();
  const int narrow = kValueBesideLookupWidth * entry->fontMetrics().averageCharWidth() / 4;
  EXPECT_FALSE(hidden("?Lookup"));
  EXPECT_LE(entry->width(), narrow);
  robot.press(W, "?Back");
  robot.press(W, "?Back");
  robot.chooseRow(W, "?FieldList", fieldRow("Request"));
  robot.press(W, "?Next");
  robot.press(W, "?Next");
  EXPECT_TRUE(hidden("?Lookup"));
  EXPECT_GT(entry->width(), narrow) << "a text field's entry keeps its width";
  robot.press(W, "?Cancel");
}

TEST_F(WizardWindowTest, OptionsBitFourMakesItAToolWindow) {
  openWizard();
  EXPECT_FALSE(robot.window(W).widget()->windowFlags().testFlag(Qt::Tool));
  robot.press(W, "?Cancel");
  XBQW_MainOptions = 4;
  openWizard();
  EXPECT_TRUE(robot.window(W).widget()->windowFlags().testFlag(Qt::Tool));
  EXPECT_TRUE(robot.window(W).widget()->isVisible());
  robot.press(W, "?Cancel");
  EXPECT_TRUE(ended);
}

TEST_F(WizardWindowTest, ThePagesShowNoTabsToClick) {
  openWizard();
  auto* pages = qobject_cast<QTabWidget*>(robot.control(W, "?Pages").widget());
  ASSERT_NE(pages, nullptr);
  EXPECT_FALSE(pages->tabBar()->isVisible());
  EXPECT_TRUE(pages->isVisible());
  robot.press(W, "?Cancel");
}

TEST_F(WizardWindowTest, WithoutTheBuilderTheManualFieldListTakesItsRoom) {
  openWizard();
  robot.press(W, "?Manual");
  ASSERT_EQ(page(), 5);
  EXPECT_FALSE(hidden("?BuildButton"));
  QWidget* list = robot.control(W, "?ManualFields").widget();
  const int dialogUnit = list->fontMetrics().averageCharWidth();
  const int normal = list->width();
  EXPECT_EQ(normal, kManualFieldsWidth * dialogUnit / 4);
  robot.press(W, "?Cancel");

  XBQW_MainOptions = 1;
  openWizard();
  robot.press(W, "?Manual");
  EXPECT_TRUE(hidden("?BuildButton"));
  list = robot.control(W, "?ManualFields").widget();
  EXPECT_EQ(list->width(), kManualFieldsWideWidth * dialogUnit / 4);
  EXPECT_GT(list->width(), normal);
  robot.press(W, "?Cancel");
  // The value page's builder button goes too.
  openWizard();
  robot.chooseRow(W, "?FieldList", fieldRow("Request"));
  robot.press(W, "?Next");
  robot.press(W, "?Next");
  robot.chooseRadio(W, "?CompareTo", "E&xpression");
  EXPECT_FALSE(hidden("?Value"));
  EXPECT_TRUE(hidden("?Lookup"));
  robot.press(W, "?Cancel");
}

}  // namespace
}  // namespace qrywiz
