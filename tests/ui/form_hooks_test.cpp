// The choices a form declaration makes: what leaving a changed record does, where its window
// opens, and the hooks that prime a new record and stamp one before it is saved. Where a form
// of the program makes the choice, it is opened from its browse on the frame's menu; the
// choices no form of the program makes are shown on a variant of the stand-in Role form.
#include "forms_fixture.h"
#include "runtime/gui/message_box.h"
#include "runtime/settings/settings_file.h"
#include "runtime/text/dates.h"
#include "runtime/text/picture.h"
#include "windows/form_screen.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

namespace ROL = dict::idx::ROL;
namespace SER = dict::idx::SER;

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

// Every form of the program asks "Save Record" when a changed record is left.
TEST_F(FormHooksTest, LeavingAChangedRecordCanSaveWithoutAsking) {
  variant().cancelAction = kCancelSaves;
  callForm(UpdateRoleVariant, tables::Role, Request::Change, 1);
  robot.type(kVariant, "?ROL:Role", "Elder");
  robot.press(kVariant, "?Cancel");
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_EQ(response, Response::Completed);
  EXPECT_EQ(stored(tables::Role, 1, ROL::ROLE), "Elder");
}

// Every form of the program asks "Save Record" when a changed record is left.
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
  // The service form primes a new service with its creation and stamps its last update.
  openMenu("&Browse|Browse the Services file", "Browse the Service File");
  robot.press("Browse the Service File", "?Insert");
  constexpr const char* kAdding = "Adding a Service Record";
  ASSERT_NE(robot.findWindow(kAdding), nullptr);
  EXPECT_EQ(text(kAdding, "?SER:DATECREATED_DATE"), vrt::formatPicture(static_cast<double>(vrt::today()), "@d17"));
  EXPECT_EQ(stored(tables::Service, 1, SER::LASTUPDATED_DATE), "0");  // not yet stamped
  robot.type(kAdding, "?SER:TITLE", "Rejoicing");
  // OK saves the primed record, stamped just before.
  robot.press(kAdding, "?OK");
  EXPECT_EQ(robot.findWindow(kAdding), nullptr);
  EXPECT_EQ(stored(tables::Service, 1, SER::TITLE), "Rejoicing");
  EXPECT_EQ(stored(tables::Service, 1, SER::DATECREATED_DATE), std::to_string(vrt::today()));
  EXPECT_EQ(stored(tables::Service, 1, SER::LASTUPDATED_DATE), std::to_string(vrt::today()));
}

// No form of the program refuses a new record while priming it.
TEST_F(FormHooksTest, ARefusedPrimingNeverShowsTheFormAndLeavesNothingBehind) {
  variant().prime = [](FormScreen& form) { form.RefuseNewRecord(); };
  const auto before = records(tables::Role);
  callForm(UpdateRoleVariant, tables::Role, Request::Insert);
  EXPECT_EQ(robot.findWindow(kVariant), nullptr);
  EXPECT_EQ(response, Response::Cancelled);
  EXPECT_EQ(records(tables::Role), before);
}

// No table of the program refuses a write through its validation hook.
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

// No table of the program refuses a write through its validation hook.
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
  // The prayer-journal forms keep no place of their own.
  constexpr const char* kForm = "UpdateBlessings";
  vrt::settingsFile().Update(kForm, "XPos", "31");
  vrt::settingsFile().Update(kForm, "YPos", "47");
  onThread([] { addRecord(tables::Blessings, [](vrt::RecordRef r) { r.set(BLE_BLESSING, "Rain"); }); });
  openMenu("&Browse|Browse the Blessings file", "Browse the Blessings File");
  pressOnRow("Browse the Blessings File", 1, "?Change");
  ASSERT_NE(robot.findWindow(kForm), nullptr);
  const QRect where = robot.window(kForm).position();
  const FrameGeometry frame = frameGeometry();
  EXPECT_EQ(where.x(), frame.AppFrameX + (frame.AppFrameWidth - where.width()) / 2 - 2);
  robot.window(kForm).setPosition(QRect(90, 91, where.width(), where.height()));
  robot.press(kForm, "?Cancel");
  EXPECT_EQ(robot.findWindow(kForm), nullptr);
  EXPECT_EQ(vrt::settingsFile().Fetch(kForm, "XPos", "none"), "31");
}
