// Forms called for each request, worked through the test robot as a user would.
#include "forms_fixture.h"
#include "runtime/gui/message_box.h"
#include "windows/feedback.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

namespace ROL = dict::idx::ROL;
using FormRequestTest = FormsTest;

}  // namespace

TEST_F(FormRequestTest, ADeleteRequestShowsOnlyTheConfirmation) {
  callForm(UpdateRoleTest, tables::Role, Request::Delete, 1);
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Confirm Delete");
  EXPECT_EQ(robot.findWindow(kRoleForm), nullptr);
  robot.pressMessageButton("No");
  EXPECT_EQ(response, Response::Cancelled);
  EXPECT_EQ(stored(tables::Role, 1, ROL::ROLE), "Pastor");

  callForm(UpdateRoleTest, tables::Role, Request::Delete, 1);
  EXPECT_EQ(robot.findWindow(kRoleForm), nullptr);
  robot.pressMessageButton("Yes");
  EXPECT_EQ(response, Response::Completed);
  EXPECT_EQ(stored(tables::Role, 1, ROL::ROLE), "<none>");
}

TEST_F(FormRequestTest, ClosingAnUnchangedChangeFormAsksNothing) {
  callForm(UpdateRoleTest, tables::Role, Request::Change, 2);
  EXPECT_EQ(robot.window(kRoleForm).caption(), "Changing a Role Record");
  EXPECT_EQ(text(kRoleForm, "?ROL:Role"), "Usher");
  robot.press(kRoleForm, "?Cancel");
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.findWindow(kRoleForm), nullptr);
  EXPECT_EQ(response, Response::Cancelled);
}

TEST_F(FormRequestTest, ClosingAChangedFormAsksToSave) {
  callForm(UpdateRoleTest, tables::Role, Request::Change, 2);
  robot.type(kRoleForm, "?ROL:Role", "Greeter");
  // Cancel in the question keeps the form and what was typed.
  robot.closeWindow(kRoleForm);
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Save Record");
  EXPECT_EQ(robot.control("Save Record", vrt::kMessageTextUse).text(), "Do you want to save the changes to this record?");
  robot.pressMessageButton("Cancel");
  ASSERT_NE(robot.findWindow(kRoleForm), nullptr);
  EXPECT_EQ(text(kRoleForm, "?ROL:Role"), "Greeter");
  EXPECT_EQ(response, std::nullopt);
  // No closes without saving.
  robot.press(kRoleForm, "?Cancel");
  robot.pressMessageButton("No");
  EXPECT_EQ(robot.findWindow(kRoleForm), nullptr);
  EXPECT_EQ(response, Response::Cancelled);
  EXPECT_EQ(stored(tables::Role, 2, ROL::ROLE), "Usher");
  // Yes saves.
  callForm(UpdateRoleTest, tables::Role, Request::Change, 2);
  robot.type(kRoleForm, "?ROL:Role", "Greeter");
  robot.pressKey(kRoleForm, vrt::kEscKey);  // Escape is Cancel
  robot.pressMessageButton("Yes");
  EXPECT_EQ(response, Response::Completed);
  EXPECT_EQ(stored(tables::Role, 2, ROL::ROLE), "Greeter");
}

TEST_F(FormRequestTest, OkSavesAChangeAndEnterPressesOk) {
  callForm(UpdateRoleTest, tables::Role, Request::Change, 1);
  robot.type(kRoleForm, "?ROL:Role", "Elder");
  robot.pressKey(kRoleForm, vrt::kEnterKey, "?ROL:Role");
  EXPECT_EQ(robot.findWindow(kRoleForm), nullptr);
  EXPECT_EQ(response, Response::Completed);
  EXPECT_EQ(stored(tables::Role, 1, ROL::ROLE), "Elder");
}

TEST_F(FormRequestTest, ACancelledInsertLeavesNoPlaceholderBehind) {
  const auto before = records(tables::Role);
  callForm(UpdateRoleTest, tables::Role, Request::Insert);
  EXPECT_EQ(robot.window(kRoleForm).caption(), "Adding a Role Record");
  EXPECT_EQ(records(tables::Role), before + 1);  // the number is taken while the form is open
  robot.press(kRoleForm, "?Cancel");
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_EQ(response, Response::Cancelled);
  EXPECT_EQ(records(tables::Role), before);
  // Typed into, then cancelled and the save declined: still nothing left.
  callForm(UpdateRoleTest, tables::Role, Request::Insert);
  robot.type(kRoleForm, "?ROL:Role", "Reader");
  robot.press(kRoleForm, "?Cancel");
  robot.pressMessageButton("No");
  EXPECT_EQ(records(tables::Role), before);
}

TEST_F(FormRequestTest, InsertThenDownOnTheToolbarSavesAndAsksForTheNextInsert) {
  callForm(UpdateRoleTest, tables::Role, Request::Insert);
  robot.type(kRoleForm, "?ROL:Role", "Reader");
  robot.pressToolbar(vrt::ToolbarAction::Down);
  EXPECT_EQ(robot.findWindow(kRoleForm), nullptr);
  EXPECT_EQ(response, Response::Completed);
  EXPECT_EQ(vrt::toolbarAction(vcr), vrt::ToolbarAction::Down);  // the caller opens the next insert form
  EXPECT_EQ(stored(tables::Role, 3, ROL::ROLE), "Reader");

  callForm(UpdateRoleTest, tables::Role, Request::Insert);
  robot.type(kRoleForm, "?ROL:Role", "Singer");
  robot.pressToolbar(vrt::ToolbarAction::Insert);
  EXPECT_EQ(vrt::toolbarAction(vcr), vrt::ToolbarAction::Insert);
  EXPECT_EQ(stored(tables::Role, 4, ROL::ROLE), "Singer");
}

TEST_F(FormRequestTest, AViewFormsOkClosesWithoutSavingOrAsking) {
  callForm(UpdateFileTest, tables::AssociatedFiles, Request::View, 1);
  EXPECT_EQ(robot.window(kFileForm).caption(), "View Record");
  robot.type(kFileForm, "?ASF:Description", "Changed");
  robot.press(kFileForm, "?CALLLOOKUP");  // opens nothing in view mode
  EXPECT_EQ(robot.findWindow(kSelectElementType), nullptr);
  robot.press(kFileForm, "?OK");
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.findWindow(kFileForm), nullptr);
  EXPECT_EQ(response, Response::Cancelled);
  EXPECT_EQ(stored(tables::AssociatedFiles, 1, dict::idx::ASF::DESCRIPTION), "Opening hymn");
}

TEST_F(FormRequestTest, TextThatDoesNotFitItsPictureIsRefused) {
  callForm(UpdateFileTest, tables::AssociatedFiles, Request::Change, 1);
  // Typed and left: a beep, the text kept as typed, the focus back on the entry.
  int beeps = BeepCount();
  robot.type(kFileForm, "?LOC:RoleNumber", "twelve");
  EXPECT_EQ(BeepCount(), beeps + 1);
  EXPECT_EQ(text(kFileForm, "?LOC:RoleNumber"), "twelve");
  EXPECT_EQ(robot.window(kFileForm).focusedControl(), robot.window(kFileForm).number("?LOC:RoleNumber"));
  // Not yet accepted when OK is pressed: the save stops there.
  robot.type(kFileForm, "?ASF:Description", "Closing hymn");
  robot.control(kFileForm, "?LOC:RoleNumber").setText("x1");
  beeps = BeepCount();
  robot.press(kFileForm, "?OK");
  EXPECT_EQ(BeepCount(), beeps + 1);
  ASSERT_NE(robot.findWindow(kFileForm), nullptr);
  EXPECT_EQ(text(kFileForm, "?LOC:RoleNumber"), "x1");
  EXPECT_EQ(robot.window(kFileForm).focusedControl(), robot.window(kFileForm).number("?LOC:RoleNumber"));
  EXPECT_EQ(stored(tables::AssociatedFiles, 1, dict::idx::ASF::DESCRIPTION), "Opening hymn");
  robot.type(kFileForm, "?LOC:RoleNumber", "");
  robot.press(kFileForm, "?OK");
  EXPECT_EQ(response, Response::Completed);
  EXPECT_EQ(stored(tables::AssociatedFiles, 1, dict::idx::ASF::DESCRIPTION), "Closing hymn");
}
