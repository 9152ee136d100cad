#include "querywizard/choice_windows.h"

#include <gtest/gtest.h>

#include "qw_gui_fixture.h"
#include "runtime/gui/beep.h"
#include "querywizard/qrywiz.h"
#include "querywizard/query_store.h"
#include "querywizard/wizard_layout.h"
#include "runtime/expr/bindings.h"
#include "runtime/gui/paged_list.h"
#include "wizard_texts.h"

namespace qrywiz {
namespace {

constexpr std::string_view W = kWizardProcedure;
constexpr std::string_view S = kSavedQueriesProcedure;

class ChoiceWindowsTest : public qwtest::LibraryWindowsTest {
 protected:
  void SetUp() override {
    LibraryWindowsTest::SetUp();
    qwtest::setWizardTexts();
    fields = qwtest::wizardFields();
  }
  void openWizard(std::uint8_t options, std::uint8_t combine = 0) {
    ended = false;
    vrt::StartThread(
        [this, options, combine] {
          vrt::expr::BindingScope scope;
          vrt::expr::bindName("PRA:Request", &request);
          vrt::expr::bindName("PRA:Answer", &answer);
          XB_QWIZARD(fields, "PrayerRequest", query, description, options, 0, 0, combine);
          response = XBQW_Response();
          ended = true;
        },
        200'000);
    robot.settle();
  }
  // A query "Request Contains <word>" saved as `name` through the wizard itself.
  std::int32_t saveQuery(std::string_view word, std::string_view name) {
    openWizard(1);
    robot.chooseRow(W, "?FieldList", 4);  // Request
    robot.press(W, "?Next");
    robot.chooseRow(W, "?OperationList", 8);
    robot.press(W, "?Next");
    robot.type(W, "?Value", word);
    robot.press(W, "?Next");
    robot.press(W, "?Finish");
    robot.pressMessageButton("Yes");
    robot.type(kDescriptionProcedure, "?Description", name);
    robot.press(kDescriptionProcedure, "?OK");
    EXPECT_TRUE(ended);
    return response;
  }
  int rows() { return robot.control(S, "?Queries").list()->rowCount(); }

  XBQW_FIELDSQUEUE fields;
  std::string query, description, request, answer;
  std::int32_t response = 99;
  bool ended = false;
  vrt::TestRobot robot;
};

TEST_F(ChoiceWindowsTest, SelectReturnsTheSavedQueryAndInsertStartsANewOne) {
  const std::int32_t care = saveQuery("care", "Care");
  saveQuery("hope", "Hope");
  openWizard(0);
  vrt::Window& saved = robot.window(S);
  EXPECT_EQ(saved.caption(), "Saved Queries");
  EXPECT_TRUE(robot.control(S, "?Select").isDefault());
  EXPECT_EQ(saved.control("?AndJoin"), nullptr) << "no joins unless the caller combines";
  ASSERT_EQ(rows(), 2);
  robot.chooseRow(S, "?Queries", 1);
  robot.press(S, "?Select");
  EXPECT_TRUE(ended);
  EXPECT_EQ(response, care);
  EXPECT_EQ(query, "INSTRING('CARE',UPPER(PRA:Request),1,1)");
  EXPECT_EQ(description, "Care");

  openWizard(0);
  robot.pressKey(S, vrt::kInsertKey);
  EXPECT_EQ(robot.findWindow(S), nullptr);
  EXPECT_EQ(robot.window(W).caption(), "(New Query)");
  robot.press(W, "?Cancel");
  EXPECT_EQ(response, 0);

  openWizard(0);
  robot.chooseRow(S, "?Queries", 2);
  robot.press(S, "?Change");
  EXPECT_EQ(robot.window(W).caption(), "Hope");
  EXPECT_EQ(robot.control(W, "?Pages").selected(), 4);
  robot.press(W, "?Cancel");

  openWizard(0);
  robot.press(S, "?Close");
  EXPECT_TRUE(ended);
  EXPECT_EQ(response, 0);
}

TEST_F(ChoiceWindowsTest, AnInvalidQueryIsRefusedAndDeleteAsksFirst) {
  saveQuery("care", "Care");
  // The field it used is no longer offered: the query becomes invalid.
  XBQW_FIELDSQUEUE fewer;
  for (const auto& f : fields)
    if (f.QWFLDNAME != "PRA:Request") fewer.push_back(f);
  XB_INITFIELDSQUEUE(fewer, "PrayerRequest");
  openWizard(0);
  robot.chooseRow(S, "?Queries", 1);
  const int beeps = vrt::BeepCount();
  robot.press(S, "?Select");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Query No Longer Valid");
  EXPECT_EQ(vrt::BeepCount(), beeps + 1);
  robot.pressMessageButton("Ok");
  EXPECT_FALSE(ended) << "the window stays";

  // Opened for change it loads, after a beep and the wizard's own warning.
  robot.press(S, "?Change");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Query No Longer Valid");
  EXPECT_EQ(vrt::BeepCount(), beeps + 2);
  robot.pressMessageButton("Ok");
  robot.press(kWizardProcedure, "?Cancel");
  EXPECT_TRUE(ended);
  ended = false;
  openWizard(0);

  robot.press(S, "?Delete");
  EXPECT_EQ(robot.window(kDescriptionProcedure).caption(), "Deleting a Saved Query");
  robot.press(kDescriptionProcedure, "?Cancel");
  EXPECT_EQ(rows(), 1);
  robot.pressKey(S, vrt::kDeleteKey);
  robot.press(kDescriptionProcedure, "?OK");
  ASSERT_NE(robot.messageBox(), nullptr);
  robot.pressMessageButton("Ok");
  EXPECT_EQ(rows(), 0);
  robot.closeWindow(S);
  EXPECT_EQ(response, 0);
}

TEST_F(ChoiceWindowsTest, CombiningJoinsTheNewQueryToTheCallersFilter) {
  query = "PRA:Answer = 'Yes'";
  description = "Answered yes";
  openWizard(1, 1);
  robot.chooseRow(W, "?FieldList", 4);
  robot.press(W, "?Next");
  robot.chooseRow(W, "?OperationList", 8);
  robot.press(W, "?Next");
  robot.type(W, "?Value", "care");
  robot.press(W, "?Next");
  robot.press(W, "?Finish");
  robot.pressMessageButton("No");
  EXPECT_EQ(robot.window(kCombineProcedure).caption(), "Combine Queries");
  robot.press(kCombineProcedure, "?OrJoin");
  EXPECT_EQ(response, -2);
  EXPECT_EQ(query, "(PRA:Answer = 'Yes') OR (INSTRING('CARE',UPPER(PRA:Request),1,1))");
}

TEST_F(ChoiceWindowsTest, TheQueryOptionWindowGivesItsFourResults) {
  const std::pair<const char*, int> cases[] = {{"?SelectSaved", 1}, {"?CreateNew", 2}, {"?NoQuery", 4},
                                               {"?CancelQuery", 3}};
  for (const auto& [use, result] : cases) {
    int got = -1;
    vrt::StartThread([&got] { got = XB_QWPREACTION(); }, 100'000);
    robot.settle();
    EXPECT_EQ(robot.window(kQueryOptionProcedure).caption(), "Query Options");
    robot.press(kQueryOptionProcedure, use);
    EXPECT_EQ(got, result) << use;
  }
  int got = -1;
  vrt::StartThread([&got] { got = XB_QWPREACTION(); }, 100'000);
  robot.settle();
  robot.closeWindow(kQueryOptionProcedure);
  EXPECT_EQ(got, 0);
}

}  // namespace
}  // namespace qrywiz
