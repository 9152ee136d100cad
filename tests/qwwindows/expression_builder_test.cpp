#include "querywizard/expression_builder.h"

#include <gtest/gtest.h>

#include "qw_gui_fixture.h"
#include "querywizard/expression_functions.h"
#include "querywizard/qrywiz.h"
#include "runtime/gui/paged_list.h"
#include "wizard_texts.h"

namespace qrywiz {
namespace {

constexpr std::string_view B = kBuilderProcedure;

TEST(BuilderFunctionsTest, EachSyntaxHasItsOwnSetWithTemplates) {
  const auto all = builderFunctions(2, false);
  EXPECT_EQ(all.size(), 43u);
  EXPECT_TRUE(std::is_sorted(all.begin(), all.end(), [](auto& a, auto& b) { return a.name < b.name; }));
  const auto math = builderFunctions(3, false);
  ASSERT_FALSE(math.empty());
  EXPECT_EQ(math[0].insertText, "ABS( «expression» )");
  const auto sqlText = builderFunctions(4, true);
  ASSERT_EQ(sqlText.size(), 6u);
  EXPECT_EQ(sqlText[0].insertText, "SUBSTRING( «string» FROM «start» FOR «length» )");
  for (const auto& f : builderFunctions(2, true)) EXPECT_FALSE(f.description.empty()) << f.name;
  EXPECT_EQ(builderOperators().size(), 17u);
}

TEST(BuilderFunctionsTest, ConstantsAreWrittenForTheirSyntax) {
  const std::string day = std::to_string(vrt::dateFromYmd(2026, 3, 1));
  EXPECT_EQ(constantText("text", "care  ", false), "'care'");
  EXPECT_EQ(constantText("number", "12.50", false), "12.50");
  EXPECT_EQ(constantText("date", day, false), "DATE(3,1,2026)");
  XBQW_SqlDatePic = "@d10-";
  EXPECT_EQ(constantText("date", day, true), "'2026-03-01'");
  XBQW_SqlDatePic.clear();
  const std::string nine = std::to_string(vrt::timeFromHms(9, 30));
  EXPECT_EQ(constantText("time", nine, false).rfind("DEFORMAT( '", 0), 0u);
  EXPECT_NE(constantText("time", nine, false).find("', @T3 )"), std::string::npos);
}

class ExpressionBuilderTest : public qwtest::LibraryWindowsTest {
 protected:
  void SetUp() override {
    LibraryWindowsTest::SetUp();
    qwtest::setWizardTexts();
    fields = qwtest::wizardFields();
  }
  void openBuilder(std::string start, std::uint8_t sql = 0) {
    expression = std::move(start);
    vrt::StartThread([this, sql] { result = QW_BUILDEXPQ(expression, fields, sql); }, 200'000);
    robot.settle();
  }
  std::string text() { return robot.control(B, "?Expression").text(); }

  XBQW_FIELDSQUEUE fields;
  std::string expression;
  int result = -1;
  vrt::TestRobot robot;
};

TEST_F(ExpressionBuilderTest, FieldsFunctionsAndOperatorsGoIntoTheText) {
  openBuilder("");
  EXPECT_EQ(robot.window(B).caption(), "Expression Builder");
  auto* entries = robot.control(B, "?Entries").list();
  ASSERT_EQ(entries->rowCount(), 4) << "the offered fields";
  robot.doubleClickRow(B, "?Entries", 4);
  robot.press(B, "?Equal");
  EXPECT_EQ(text(), "PRA:Request=");
  robot.chooseRow(B, "?Categories", 3);
  EXPECT_EQ(robot.control(B, "?EntryDescription").text(), "Returns the absolute value of a number.");
  robot.press(B, "?Clear");
  EXPECT_EQ(text(), "");
  robot.chooseRow(B, "?Categories", 7);
  robot.doubleClickRow(B, "?Entries", 1);
  EXPECT_EQ(robot.window(kConstantProcedure).caption(), "Constant Text");
  robot.type(kConstantProcedure, "?Value", "care");
  robot.press(kConstantProcedure, "?OK");
  EXPECT_EQ(text(), "'care'");
  robot.press(B, "?Validate");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Expression Builder");
  robot.pressMessageButton("Ok");
  robot.press(B, "?Insert");
  EXPECT_EQ(result, 1);
  EXPECT_EQ(expression, "'care'");
}

TEST_F(ExpressionBuilderTest, AnInvalidTextIsNotInsertedAndCancelChangesNothing) {
  openBuilder("UPPER(");
  robot.press(B, "?Insert");
  ASSERT_NE(robot.messageBox(), nullptr);
  robot.pressMessageButton("Ok");
  EXPECT_EQ(result, -1) << "the builder stays open";
  robot.press(B, "?CancelBuilder");
  EXPECT_EQ(result, 0);
  EXPECT_EQ(expression, "UPPER(");
}

}  // namespace
}  // namespace qrywiz
