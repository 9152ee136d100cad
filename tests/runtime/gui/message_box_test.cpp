#include "runtime/gui/message_box.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "gui_fixture.h"
#include "runtime/gui/list_window.h"
#include "runtime/gui/look.h"
#include "runtime/gui/paged_list.h"

namespace vrt {
namespace {

using MessageBoxTest = testing::GuiTest;

TEST_F(MessageBoxTest, ReturnsTheButtonPressedWithTheTextItWasGiven) {
  int answer = -1;
  TestRobot robot;
  StartThread(
      [&] {
        answer = Message("An error was experienced.|File: Service|Error: locked.", "Record Insert Error",
                         kIconExclamation, kButtonYes | kButtonNo | kButtonCancel, kButtonNo);
      },
      50'000);
  robot.settle();
  Window* box = robot.messageBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->caption(), "Record Insert Error");
  EXPECT_EQ(box->control(kMessageTextUse)->text(), "An error was experienced.\nFile: Service\nError: locked.");
  EXPECT_EQ(box->control("?MessageIcon")->icon(), kIconExclamation);
  EXPECT_TRUE(box->control(buttonUse(kButtonNo))->isDefault());
  EXPECT_EQ(box->focusedControl(), box->number(buttonUse(kButtonNo))) << "the default button starts selected";
  EXPECT_EQ(box->control(buttonUse(kButtonOk)), nullptr);
  robot.pressMessageButton("&Cancel");
  EXPECT_EQ(answer, kButtonCancel);
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_FALSE(ThreadAlive(1));
}

TEST_F(MessageBoxTest, ALongMessageWrapsInsideTheScreenAndAShortOneKeepsItsLine) {
  std::string longText = "Error: (The server for Database church cannot be reached:";
  while (longText.size() < 600) longText += " connection to server on socket failed";
  longText += ".)  Press OK to end this application";
  TestRobot robot;
  StartThread([&] { Message(longText, "Record Retrieval Error", kIconInformation, kButtonOk); }, 50'000);
  robot.settle();
  Window* box = robot.messageBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->control(kMessageTextUse)->text(), longText);  // wrapped, not cut
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_LE(box->widget()->width(), screen.width());
  EXPECT_GE(box->widget()->height(), 3 * box->control(kMessageTextUse)->widget()->fontMetrics().height());
  robot.pressMessageButton("Ok");

  StartThread([&] { Message("Save?", "Save Record", kIconQuestion, kButtonOk); }, 50'000);
  robot.settle();
  ASSERT_NE(robot.messageBox(), nullptr);
  auto* shortLabel = robot.messageBox()->control(kMessageTextUse)->widget();
  EXPECT_FALSE(shortLabel->property("wordWrap").toBool());
  robot.pressMessageButton("Ok");
}

TEST_F(MessageBoxTest, ClosingOrEscapeAnswersCancelThenNoThenTheDefault) {
  std::vector<int> answers;
  TestRobot robot;
  StartThread(
      [&] {
        answers.push_back(Message("Save?", "Save Record", kIconQuestion, kButtonYes | kButtonNo | kButtonCancel));
        answers.push_back(Message("Sure?", "Confirm Delete", kIconQuestion, kButtonYes | kButtonNo, kButtonYes));
        answers.push_back(Message("Done.", "Note", kIconInformation, kButtonOk));
        answers.push_back(Message("Nobody can answer this.", "Odd", {}, 0));
      },
      50'000);
  robot.settle();
  robot.pressKey(kMessageBoxProcedure, kEscKey);
  robot.closeWindow(kMessageBoxProcedure);
  robot.pressKey(kMessageBoxProcedure, kEscKey);
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_NE(robot.messageBox()->control(buttonUse(kButtonOk)), nullptr) << "a box without buttons gets OK";
  robot.pressMessageButton("Ok");
  EXPECT_EQ(answers, (std::vector<int>{kButtonCancel, kButtonNo, kButtonOk, kButtonOk}));
}

TEST_F(MessageBoxTest, TheLetterAButtonUnderlinesAnswersWithoutAlt) {
  std::vector<int> answers;
  TestRobot robot;
  StartThread(
      [&] {
        answers.push_back(Message("Save?", "Save Record", kIconQuestion, kButtonYes | kButtonNo | kButtonCancel));
        answers.push_back(Message("Save?", "Save Record", kIconQuestion, kButtonYes | kButtonNo | kButtonCancel));
        answers.push_back(Message("Sure?", "Confirm Delete", kIconQuestion, kButtonYes | kButtonNo, kButtonYes));
      },
      50'000);
  robot.settle();
  robot.pressKey(kMessageBoxProcedure, 'N');
  robot.pressKey(kMessageBoxProcedure, 'X');  // underlined by no button: nothing
  ASSERT_NE(robot.messageBox(), nullptr);
  robot.pressKey(kMessageBoxProcedure, kShift | 'C');
  robot.pressKey(kMessageBoxProcedure, 'C');  // no Cancel here
  ASSERT_NE(robot.messageBox(), nullptr);
  robot.pressKey(kMessageBoxProcedure, 'Y');
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_EQ(answers, (std::vector<int>{kButtonNo, kButtonCancel, kButtonYes}));
}

TEST_F(MessageBoxTest, TheCallersOtherWindowsWaitWhileItsBoxIsOpen) {
  TestRobot robot;
  StartThread(
      [&] {
        WindowSpec design = windowSpec("Form", "Form");
        design.controls = {button("?Delete", "&Delete")};
        Window form(std::move(design));
        form.open();
        while (form.accept().event != kEventAccepted) {
        }
        Message("Are you sure?", "Confirm Delete", kIconQuestion, kButtonYes | kButtonNo);
        while (form.accept().event != kEventCloseDown) {
        }
      },
      50'000);
  robot.settle();
  robot.press("Form", "?Delete");
  EXPECT_FALSE(robot.window("Form").takesInput());
  robot.pressMessageButton("Yes");
  EXPECT_TRUE(robot.window("Form").takesInput());
}

TEST_F(MessageBoxTest, OutsideAnyThreadTheDefaultComesBackUnshown) {
  EXPECT_EQ(Message("x", "y", {}, kButtonYes | kButtonNo, kButtonNo), kButtonNo);
  EXPECT_EQ(Message("x", "y", {}, kButtonYes | kButtonNo, kButtonOk), kButtonYes) << "a default not offered";
  EXPECT_TRUE(Window::openWindows().empty());
}

TEST(ButtonsTest, CaptionsFollowTheMask) {
  const std::vector<std::pair<int, std::string_view>> expected{
      {kButtonOk, "O&k"},        {kButtonYes, "&Yes"},      {kButtonNo, "&No"},         {kButtonAbort, "&Abort"},
      {kButtonRetry, "&Retry"},  {kButtonIgnore, "&Ignore"}, {kButtonCancel, "&Cancel"}, {kButtonHelp, "&Help"}};
  for (const auto& [button, caption] : expected) EXPECT_EQ(buttonCaption(button), caption);
  EXPECT_EQ(buttonCaption(kButtonOk | kButtonHelp), "");
  ControlSpec row = buttonRow(kButtonOk | kButtonHelp, kButtonHelp);
  ASSERT_EQ(row.children.size(), 2u);
  EXPECT_EQ(row.children[0].text, "O&k");
  EXPECT_FALSE(row.children[0].isDefault);
  EXPECT_TRUE(row.children[1].isDefault);
}

TEST_F(MessageBoxTest, AListWindowShowsItsRowsAndAnswersWithAButton) {
  int answer = 0;
  TestRobot robot;
  StartThread(
      [&] {
        ListWindowSpec design;
        design.caption = "Errors History";
        design.columns = {{"Message", 60}, {"Category", 10}};
        for (int i = 1; i <= 25; ++i) design.rows.push_back({"Message " + std::to_string(i), "Brik"});
        design.buttons = kButtonOk | kButtonHelp;
        design.defaultButton = kButtonOk;
        answer = ShowListWindow(design);
      },
      50'000);
  robot.settle();
  Window& history = robot.window("Errors History");
  PagedList* rows = history.control(kListWindowListUse)->list();
  EXPECT_EQ(rows->rowCount(), 25);
  EXPECT_EQ(rows->headerAt(1), "Message");
  EXPECT_EQ(rows->headerAt(2), "Category");
  EXPECT_EQ(rows->rowAt(25), (std::vector<std::string>{"Message 25", "Brik"}));
  EXPECT_TRUE(history.control(buttonUse(kButtonOk))->isDefault());
  EXPECT_EQ(history.focusedControl(), history.number(buttonUse(kButtonOk)));
  robot.press("Errors History", buttonUse(kButtonHelp));
  EXPECT_EQ(answer, kButtonHelp);
}

}  // namespace
}  // namespace vrt
