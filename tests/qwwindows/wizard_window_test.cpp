#include "querywizard/wizard_window.h"

#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include "querywizard/query_store.h"
#include "wizard_window_fixture.h"

namespace qrywiz {
namespace {

TEST_F(WizardWindowTest, ANewQueryOpensOnTheFieldPageWithItsButtons) {
  openWizard();
  vrt::Window& w = robot.window(W);
  EXPECT_EQ(w.caption(), "(New Query)");
  EXPECT_EQ(page(), 1);
  EXPECT_EQ(robot.control(W, "?Heading1").text(), "Field Selection");
  EXPECT_TRUE(robot.control(W, "?Back").disabled());
  EXPECT_TRUE(hidden("?Finish"));
  EXPECT_FALSE(hidden("?Manual"));
  EXPECT_TRUE(robot.control(W, "?Next").isDefault());
  EXPECT_EQ(robot.control(W, "?Next").text(), "&Next >");
  ASSERT_EQ(rows("?FieldList"), 4);
  EXPECT_EQ(row("?FieldList", 1)[0], "Answer");
  robot.press(W, "?Cancel");
  EXPECT_TRUE(ended);
  EXPECT_EQ(response, 0);
  EXPECT_EQ(query, "untouched");
}

TEST_F(WizardWindowTest, ThePictureFollowsItsDisplayText) {
  openWizard();
  EXPECT_FALSE(hidden("?Picture1"));
  EXPECT_TRUE(hidden("?Picture2"));
  EXPECT_TRUE(hidden("?Picture3"));
  robot.press(W, "?Cancel");
  XB_SETQWDISPLAYTEXT(170, "2");
  openWizard();
  EXPECT_TRUE(hidden("?Picture1"));
  EXPECT_FALSE(hidden("?Picture2"));
  robot.press(W, "?Cancel");
  XB_SETQWDISPLAYTEXT(170, "church.png");
  openWizard();
  EXPECT_FALSE(hidden("?Picture3")) << "a picture file of its own";
  EXPECT_TRUE(hidden("?Picture2"));
  robot.press(W, "?Cancel");
}

TEST_F(WizardWindowTest, TheManualPageTakesTheQueryAndInsertsFieldNamesAtTheCursor) {
  openWizard();
  addElement("Request", 8, "care");
  robot.press(W, "?Manual");
  EXPECT_EQ(page(), 5);
  EXPECT_EQ(robot.control(W, "?ManualText").text(), "INSTRING('CARE',UPPER(PRA:Request),1,1)");
  EXPECT_FALSE(hidden("?Finish"));
  robot.type(W, "?ManualText", "PRA:Request = ");
  // The user clicks at the end of the text, then on a field of the list.
  qobject_cast<QPlainTextEdit*>(robot.control(W, "?ManualText").widget())->moveCursor(QTextCursor::End);
  robot.doubleClickRow(W, "?ManualFields", 1);
  EXPECT_EQ(robot.control(W, "?ManualText").text(), "PRA:Request =PRA:Answer");
  qobject_cast<QPlainTextEdit*>(robot.control(W, "?ManualText").widget())->moveCursor(QTextCursor::Start);
  robot.doubleClickRow(W, "?ManualFields", 2);
  EXPECT_EQ(robot.control(W, "?ManualText").text(), "PRA:DateStartedPRA:Request =PRA:Answer");
  robot.press(W, "?Cancel");
  EXPECT_EQ(page(), 4) << "Cancel on the manual page returns to the list";
  EXPECT_FALSE(hidden("?Manual"));
  robot.press(W, "?Cancel");
  EXPECT_EQ(response, 0);
}

TEST_F(WizardWindowTest, EnterOnTheListsActsAsNext) {
  openWizard();
  robot.chooseRow(W, "?FieldList", fieldRow("Request"));
  robot.pressKey(W, vrt::kEnterKey, "?FieldList");
  EXPECT_EQ(page(), 2);
  robot.chooseRow(W, "?OperationList", 7);
  robot.pressKey(W, vrt::kEnterKey, "?OperationList");
  EXPECT_EQ(page(), 3);
  EXPECT_EQ(robot.control(W, "?ValueHeading").text(), "Request Begins With:");
  robot.press(W, "?Cancel");
}

TEST_F(WizardWindowTest, ADateIsLookedUpInTheDropDownCalendarUnlessTurnedOff) {
  openWizard();
  robot.chooseRow(W, "?FieldList", fieldRow("Date Started"));
  robot.press(W, "?Next");
  robot.press(W, "?Next");
  robot.type(W, "?Value", "03-18-2026");
  robot.press(W, "?Lookup");
  EXPECT_EQ(robot.control("QW_DROPCAL", "?MonthTitle").text(), "March, 2026");
  robot.press("QW_DROPCAL", "?Day11");  // 1 March 2026 is a Sunday on row two (?Day8): ?Day11 is the 4th
  EXPECT_EQ(robot.control(W, "?Value").text(), "03-04-2026");
  robot.press(W, "?Lookup");
  robot.press("QW_DROPCAL", "?None");
  EXPECT_EQ(robot.control(W, "?Value").text(), "");
  robot.press(W, "?Cancel");

  XBQW_MainOptions = 2;
  openWizard();
  robot.chooseRow(W, "?FieldList", fieldRow("Date Started"));
  robot.press(W, "?Next");
  robot.press(W, "?Next");
  EXPECT_TRUE(hidden("?Lookup"));
  robot.press(W, "?Cancel");
}

TEST_F(WizardWindowTest, TheValueEntryReadsThroughTheFieldsPicture) {
  openWizard();
  robot.chooseRow(W, "?FieldList", fieldRow("Date Started"));
  robot.press(W, "?Next");
  robot.press(W, "?Next");
  EXPECT_EQ(robot.control(W, "?Value").pictureText(), "@d2-");
  robot.type(W, "?Value", "next week");
  robot.press(W, "?Next");
  EXPECT_EQ(page(), 3) << "what is no date makes no element";
  robot.type(W, "?Value", "03-18-2026");
  robot.press(W, "?Next");
  ASSERT_EQ(page(), 4);
  EXPECT_EQ(row("?QueryList", 1)[0], "Date Started Is Equal To 03-18-2026");
  // Text operations take a plain text of the field's length, at most 80.
  robot.press(W, "?AndButton");
  robot.chooseRow(W, "?FieldList", fieldRow("Answer"));
  robot.press(W, "?Next");
  robot.chooseRow(W, "?OperationList", 7);
  robot.press(W, "?Next");
  EXPECT_EQ(robot.control(W, "?Value").pictureText(), "@s20");
  robot.press(W, "?Back");
  robot.press(W, "?Back");
  robot.chooseRow(W, "?FieldList", fieldRow("Request"));
  robot.press(W, "?Next");
  robot.chooseRow(W, "?OperationList", 8);
  robot.press(W, "?Next");
  EXPECT_EQ(robot.control(W, "?Value").pictureText(), "@s80");
  robot.press(W, "?Cancel");
  EXPECT_EQ(page(), 4);
  robot.press(W, "?Cancel");
}

TEST_F(WizardWindowTest, ACheckBoxFieldNeverShowsTheOperationPage) {
  openWizard();
  robot.chooseRow(W, "?FieldList", fieldRow("Private"));
  robot.press(W, "?Next");
  EXPECT_EQ(page(), 3);
  EXPECT_EQ(robot.control(W, "?ValueHeading").text(), "Private Is Equal To");
  EXPECT_FALSE(hidden("?CheckValue"));
  EXPECT_TRUE(hidden("?Value"));
  robot.press(W, "?Back");
  EXPECT_EQ(page(), 1);
  robot.press(W, "?Next");
  robot.check(W, "?CheckValue", true);
  robot.press(W, "?Next");
  EXPECT_EQ(row("?QueryList", 1)[0], "Private Is Checked");
  robot.press(W, "?OrButton");
  EXPECT_EQ(page(), 1);
  robot.chooseRow(W, "?FieldList", fieldRow("Private"));
  robot.press(W, "?Next");
  robot.press(W, "?Next");
  EXPECT_EQ(row("?QueryList", 2)[0], "Private Is NOT Checked");
  EXPECT_EQ(row("?QueryList", 1)[1], "OR");
  robot.press(W, "?Finish");
  ASSERT_NE(robot.messageBox(), nullptr);
  robot.pressMessageButton("No");
  EXPECT_EQ(response, -1);
  EXPECT_EQ(query, "PRA:Private <> 0 OR PRA:Private = 0");
}

TEST_F(WizardWindowTest, ADropListWithIsGreaterThanGetsAPlainEntry) {
  openWizard();
  robot.chooseRow(W, "?FieldList", fieldRow("Answer"));
  robot.press(W, "?Next");
  EXPECT_EQ(page(), 2);
  robot.chooseRow(W, "?OperationList", 1);
  robot.press(W, "?Next");
  EXPECT_FALSE(hidden("?ChoiceList"));
  EXPECT_TRUE(hidden("?Value"));
  EXPECT_EQ(row("?ChoiceList", 2)[0], "Yes");
  robot.press(W, "?Back");
  robot.chooseRow(W, "?OperationList", 3);  // Is Greater Than
  robot.press(W, "?Next");
  EXPECT_EQ(robot.control(W, "?ValueHeading").text(), "Answer Is Greater Than:");
  EXPECT_TRUE(hidden("?ChoiceList"));
  EXPECT_FALSE(hidden("?Value"));
  EXPECT_EQ(robot.control(W, "?MatchType").text(), "Compare Using Case Sensitive Matching");
}

TEST_F(WizardWindowTest, TheConjunctionColumnTogglesAndDeletingTheLastLeavesNoDanglingAnd) {
  openWizard();
  addElement("Request", 8, "care");
  robot.press(W, "?AndButton");
  addElement("Answer", 3, "No");
  EXPECT_EQ(row("?QueryList", 1)[1], "AND");
  robot.clickCell(W, "?QueryList", 1, 2);
  robot.press(W, "?ChangeButton");
  EXPECT_EQ(row("?QueryList", 1)[1], "OR") << "a click on the conjunction toggles it";
  EXPECT_EQ(page(), 4);
  robot.pressKey(W, vrt::kDeleteKey, "?QueryList");
  EXPECT_EQ(rows("?QueryList"), 2) << "Delete on the conjunction column does nothing";
  robot.clickCell(W, "?QueryList", 2, 1);
  robot.press(W, "?DeleteButton");
  ASSERT_EQ(rows("?QueryList"), 1);
  EXPECT_EQ(row("?QueryList", 1)[1], "");
  robot.press(W, "?Finish");
  robot.pressMessageButton("No");
  EXPECT_EQ(query, "INSTRING('CARE',UPPER(PRA:Request),1,1)");
}

TEST_F(WizardWindowTest, CancelWhileAddingASecondElementReturnsToTheList) {
  openWizard();
  addElement("Request", 8, "care");
  robot.press(W, "?AndButton");
  robot.chooseRow(W, "?FieldList", fieldRow("Answer"));
  robot.press(W, "?Next");
  robot.press(W, "?Cancel");
  EXPECT_EQ(page(), 4);
  EXPECT_FALSE(ended);
  EXPECT_EQ(row("?QueryList", 1)[1], "");
  robot.closeWindow(W);
  EXPECT_TRUE(ended) << "closing on the list page cancels";
  EXPECT_EQ(response, 0);
}

TEST_F(WizardWindowTest, RestrictManualHidesManualAndARestrictedQueryEnds) {
  openWizard(1, 1);
  EXPECT_TRUE(hidden("?Manual"));
  addElement("Request", 8, "care");
  EXPECT_TRUE(hidden("?Manual"));
  robot.press(W, "?Cancel");

  // A manual query, written through the wizard's page 5 ...
  openWizard();
  robot.press(W, "?Manual");
  EXPECT_EQ(page(), 5);
  EXPECT_TRUE(hidden("?Manual"));
  robot.type(W, "?ManualText", "PRA:Request <> ''");
  robot.press(W, "?Finish");
  robot.pressMessageButton("Yes");
  robot.type(kDescriptionProcedure, "?Description", "Typed by hand");
  robot.press(kDescriptionProcedure, "?OK");
  ASSERT_GT(response, 0);
  const std::int32_t number = response;
  // ... cannot be opened for change when manual queries are restricted.
  ended = false;
  openWizard(0, 1, number);
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Restricted Query");
  robot.pressMessageButton("Ok");
  EXPECT_EQ(robot.findWindow(W), nullptr);
  EXPECT_TRUE(ended);
  EXPECT_EQ(response, 0);
}

TEST_F(WizardWindowTest, ASavedQueryIsListedAndReopensWithTheSameElements) {
  openWizard();
  addElement("Request", 8, "care");
  robot.press(W, "?AndButton");
  robot.chooseRow(W, "?FieldList", fieldRow("Date Started"));
  robot.press(W, "?Next");
  robot.chooseRow(W, "?OperationList", 3);
  robot.press(W, "?Next");
  EXPECT_FALSE(hidden("?Lookup")) << "a date is looked up in the calendar";
  robot.type(W, "?Value", "03-01-2026");
  robot.press(W, "?Next");
  EXPECT_EQ(row("?QueryList", 2)[0], "Date Started Is Greater Than 03-01-2026");
  robot.press(W, "?Finish");
  robot.pressMessageButton("Yes");
  EXPECT_EQ(robot.window(kDescriptionProcedure).caption(), "Adding a New Query");
  robot.type(kDescriptionProcedure, "?Description", "Care since March");
  robot.press(kDescriptionProcedure, "?OK");
  const std::string expected = "INSTRING('CARE',UPPER(PRA:Request),1,1) AND PRA:DateStarted > " +
                               std::to_string(vrt::dateFromYmd(2026, 3, 1));
  EXPECT_EQ(query, expected);
  EXPECT_EQ(description, "Care since March");
  ASSERT_GT(response, 0);
  const std::int32_t number = response;

  XBQW_QUERIESQUEUE saved;
  XB_FILLQWQUEUE(saved, "PrayerRequest");
  ASSERT_EQ(saved.size(), 2u);
  EXPECT_EQ(saved[1].description, "Care since March");

  // The saved-queries window lists it, and Change there reopens it.
  openWizard(0);
  ASSERT_EQ(robot.control("SavedQueries", "?Queries").list()->rowCount(), 1);
  EXPECT_EQ(robot.control("SavedQueries", "?Queries").list()->rowAt(1)[0], "Care since March");
  robot.press("SavedQueries", "?Change");
  EXPECT_EQ(robot.window(W).caption(), "Care since March");
  EXPECT_EQ(page(), 4);
  ASSERT_EQ(rows("?QueryList"), 2);
  EXPECT_EQ(row("?QueryList", 1)[0], "Request Contains care");
  EXPECT_EQ(row("?QueryList", 1)[1], "AND");
  EXPECT_EQ(row("?QueryList", 2)[0], "Date Started Is Greater Than 03-01-2026");
  robot.press(W, "?Finish");
  robot.pressMessageButton("Yes");
  robot.pressMessageButton("Yes");  // rewrite the loaded query
  EXPECT_EQ(robot.window(kDescriptionProcedure).caption(), "Changing an Existing Query");
  robot.press(kDescriptionProcedure, "?OK");
  EXPECT_EQ(response, number);
  EXPECT_EQ(query, expected);
}

}  // namespace
}  // namespace qrywiz

namespace qrywiz {
namespace {

TEST_F(WizardWindowTest, ManualAfterAndTakesTheQueryWithoutTheConjunctionAndFinishesAtOnce) {
  openWizard();
  addElement("Request", 8, "care");
  robot.press(W, "?AndButton");
  ASSERT_EQ(page(), 1);
  robot.press(W, "?Manual");
  ASSERT_EQ(page(), 5);
  EXPECT_EQ(robot.control(W, "?ManualText").text(), "INSTRING('CARE',UPPER(PRA:Request),1,1)");
  robot.press(W, "?Finish");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Save Query") << "no invalid-query message first";
  robot.pressMessageButton("No");
  EXPECT_TRUE(ended);
  EXPECT_EQ(response, -1);
  EXPECT_EQ(query, "INSTRING('CARE',UPPER(PRA:Request),1,1)");
}

TEST_F(WizardWindowTest, TheTypedQueryTakesAtMostTheFilterSize) {
  openWizard();
  robot.press(W, "?Manual");
  ASSERT_EQ(page(), 5);
  const std::string full = "PRA:Request = '" + std::string(1024 - 16, 'a') + "'";
  ASSERT_EQ(full.size(), 1024u);
  robot.type(W, "?ManualText", full);
  EXPECT_EQ(robot.control(W, "?ManualText").text(), full);
  robot.type(W, "?ManualText", full + " ");
  EXPECT_EQ(robot.control(W, "?ManualText").text(), full) << "one more is not taken";
  auto* box = qobject_cast<QPlainTextEdit*>(robot.control(W, "?ManualText").widget());
  box->moveCursor(QTextCursor::End);
  robot.doubleClickRow(W, "?ManualFields", 1);
  EXPECT_EQ(robot.control(W, "?ManualText").text(), full) << "nor a field name inserted";
  robot.press(W, "?Finish");
  robot.pressMessageButton("No");
  EXPECT_EQ(response, -1);
  EXPECT_EQ(query, full);
}

TEST_F(WizardWindowTest, AConditionThatWouldMakeTheQueryTooLongIsRefusedOnItsPage) {
  openWizard();
  const std::string value(80, 'v');
  int added = 0;
  for (; added < 20; ++added) {
    if (added > 0) robot.press(W, "?AndButton");
    robot.chooseRow(W, "?FieldList", fieldRow("Request"));
    robot.press(W, "?Next");
    robot.chooseRow(W, "?OperationList", 1);
    robot.press(W, "?Next");
    robot.type(W, "?Value", value);
    robot.press(W, "?Next");
    if (robot.messageBox()) break;
  }
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Query String Too Small");
  robot.pressMessageButton("Ok");
  EXPECT_EQ(page(), 3) << "the wizard stays on its page";
  robot.press(W, "?Cancel");
  ASSERT_EQ(page(), 4);
  EXPECT_EQ(rows("?QueryList"), added) << "the elements as they were";
  EXPECT_EQ(row("?QueryList", added)[1], "") << "the last one joins nothing";
  robot.press(W, "?Finish");
  robot.pressMessageButton("No");
  EXPECT_EQ(response, -1);
  EXPECT_LE(query.size(), 1024u);
  EXPECT_EQ(query.substr(query.size() - 82), "'" + std::string(80, 'V') + "'") << "whole, not cut";
}

}  // namespace
}  // namespace qrywiz
