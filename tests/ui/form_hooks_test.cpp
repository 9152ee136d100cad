// The choices a form declaration makes: what leaving a changed record does, and the hooks
// that prime a new record and stamp one before it is saved.
#include "forms_fixture.h"
#include "runtime/gui/message_box.h"
#include "runtime/settings/settings_file.h"
#include "windows/form_screen.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

namespace ROL = dict::idx::ROL;

// The Role form with other choices, under a procedure name of its own.
FormDecl& variant() {
  static FormDecl form;
  return form;
}
void UpdateRoleVariant() { RunForm(variant()); }
constexpr const char* kVariant = "UpdateRoleVariant";

class FormHooksTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    variant() = RoleForm();
    variant().procedure = kVariant;
  }
};

}  // namespace

TEST_F(FormHooksTest, LeavingAChangedRecordCanSaveWithoutAsking) {
  variant().cancelAction = kCancelSaves;
  callForm(UpdateRoleVariant, tables::Role, Request::Change, 1);
  robot.type(kVariant, "?ROL:Role", "Elder");
  robot.press(kVariant, "?Cancel");
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_EQ(response, Response::Completed);
  EXPECT_EQ(stored(tables::Role, 1, ROL::ROLE), "Elder");
}

TEST_F(FormHooksTest, LeavingAChangedRecordCanWarnThatChangesAreLost) {
  variant().cancelAction = kCancelAsks;
  callForm(UpdateRoleVariant, tables::Role, Request::Change, 1);
  robot.type(kVariant, "?ROL:Role", "Elder");
  robot.press(kVariant, "?Cancel");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Changes will be lost!");
  robot.pressMessageButton("No");  // back to the form
  EXPECT_EQ(text(kVariant, "?ROL:Role"), "Elder");
  robot.press(kVariant, "?Cancel");
  robot.pressMessageButton("Yes");
  EXPECT_EQ(response, Response::Cancelled);
  EXPECT_EQ(stored(tables::Role, 1, ROL::ROLE), "Pastor");
}

TEST_F(FormHooksTest, PrimingFillsANewRecordAndStampsRunBeforeTheSave) {
  variant().prime = [](FormScreen& form) { form.Record().set(ROL_ROLE, "New role"); };
  variant().stamp = [](FormScreen& form) { form.Record().set(ROL_ROLE, form.Record().get(ROL_ROLE) + "!"); };
  callForm(UpdateRoleVariant, tables::Role, Request::Insert);
  EXPECT_EQ(text(kVariant, "?ROL:Role"), "New role");
  // OK saves the primed record, stamped just before.
  robot.press(kVariant, "?OK");
  EXPECT_EQ(response, Response::Completed);
  EXPECT_EQ(stored(tables::Role, 3, ROL::ROLE), "New role!");
}

TEST_F(FormHooksTest, ARefusedPrimingNeverShowsTheFormAndLeavesNothingBehind) {
  variant().prime = [](FormScreen& form) { form.RefuseNewRecord(); };
  const auto before = records(tables::Role);
  callForm(UpdateRoleVariant, tables::Role, Request::Insert);
  EXPECT_EQ(robot.findWindow(kVariant), nullptr);
  EXPECT_EQ(response, Response::Cancelled);
  EXPECT_EQ(records(tables::Role), before);
}

TEST_F(FormHooksTest, ARefusedUpdateOffersToTryAgain) {
  // The table refuses the first write of each form.
  const auto refuseOnce = [] {
    auto refusals = std::make_shared<int>(1);
    Access(tables::Role).Configure({.ValidateRecord = [refusals](vrt::RecordRef) {
      return (*refusals)-- > 0 ? RecordVerdict::Refuse : RecordVerdict::Accept;
    }});
  };
  const auto editAndSave = [&](const char* role) {
    callForm(UpdateRoleVariant, tables::Role, Request::Change, 1, refuseOnce);
    robot.type(kVariant, "?ROL:Role", role);
    robot.press(kVariant, "?OK");
    ASSERT_NE(robot.messageBox(), nullptr);
    EXPECT_EQ(robot.messageBox()->caption(), "Record Update Error");
  };
  // Cancel: back to the form with what was typed, nothing saved.
  editAndSave("Elder");
  robot.pressMessageButton("Cancel");
  EXPECT_EQ(text(kVariant, "?ROL:Role"), "Elder");
  EXPECT_EQ(stored(tables::Role, 1, ROL::ROLE), "Pastor");
  robot.press(kVariant, "?OK");
  EXPECT_EQ(response, Response::Completed);
  EXPECT_EQ(stored(tables::Role, 1, ROL::ROLE), "Elder");
  // Yes: tried again at once.
  editAndSave("Deacon");
  robot.pressMessageButton("Yes");
  EXPECT_EQ(response, Response::Completed);
  EXPECT_EQ(stored(tables::Role, 1, ROL::ROLE), "Deacon");
  // No: the form closes, nothing saved.
  editAndSave("Bishop");
  robot.pressMessageButton("No");
  EXPECT_EQ(robot.findWindow(kVariant), nullptr);
  EXPECT_EQ(response, Response::Cancelled);
  EXPECT_EQ(stored(tables::Role, 1, ROL::ROLE), "Deacon");
}

TEST_F(FormHooksTest, ARefusedInsertKeepsTheFormOpen) {
  auto refusals = std::make_shared<int>(1);
  callForm(UpdateRoleVariant, tables::Role, Request::Insert, 0, [refusals] {
    Access(tables::Role).Configure({.ValidateRecord = [refusals](vrt::RecordRef) {
      return (*refusals)-- > 0 ? RecordVerdict::Refuse : RecordVerdict::Accept;
    }});
  });
  robot.type(kVariant, "?ROL:Role", "Reader");
  robot.press(kVariant, "?OK");
  ASSERT_NE(robot.findWindow(kVariant), nullptr);
  EXPECT_EQ(robot.window(kVariant).focusedControl(), robot.window(kVariant).number("?ROL:Role"));
  robot.press(kVariant, "?OK");
  EXPECT_EQ(response, Response::Completed);
  EXPECT_EQ(stored(tables::Role, 3, ROL::ROLE), "Reader");
}

TEST_F(FormHooksTest, AScreenThatForgetsItsPlaceAlwaysOpensCentred) {
  variant().rememberPlace = false;
  vrt::settingsFile().Update(kVariant, "XPos", "31");
  vrt::settingsFile().Update(kVariant, "YPos", "47");
  callForm(UpdateRoleVariant, tables::Role, Request::Change, 1);
  const QRect where = robot.window(kVariant).position();
  const FrameGeometry frame = frameGeometry();
  EXPECT_EQ(where.x(), frame.AppFrameX + (frame.AppFrameWidth - where.width()) / 2 - 2);
  robot.window(kVariant).setPosition(QRect(90, 91, where.width(), where.height()));
  robot.press(kVariant, "?Cancel");
  EXPECT_EQ(vrt::settingsFile().Fetch(kVariant, "XPos", "none"), "31");
}
