// The screen conventions every form follows: look-ups, dates from the calendar, where the
// window opens, concurrent changes and ditto, the frame toolbar while a form is open.
#include <QWidget>

#include "forms_fixture.h"
#include "runtime/gui/calendar.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/navigation_buttons.h"
#include "runtime/settings/settings_file.h"
#include "windows/thread_globals.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

namespace ASF = dict::idx::ASF;
namespace ROL = dict::idx::ROL;
using FormConventionsTest = FormsTest;

vrt::Control& frameButton(int number) { return *vrt::FrameHost::frame()->control(number); }
vrt::Control& frameButton(vrt::ToolbarAction action) { return frameButton(vrt::toolbarControl(action)); }

}  // namespace

TEST_F(FormConventionsTest, ATypedLookupKeyThatIsNotFoundOpensTheLookup) {
  callForm(UpdateFileTest, tables::AssociatedFiles, Request::Change, 1);
  // Found: nothing opens.
  robot.type(kFileForm, "?ASF:Type", "Video");
  EXPECT_EQ(robot.findWindow(kSelectElementType), nullptr);
  // Not found: the look-up opens; a selection is copied in as text.
  robot.type(kFileForm, "?ASF:Type", "Vid");
  ASSERT_NE(robot.findWindow(kSelectElementType), nullptr);
  robot.chooseRow(kSelectElementType, kLookupList, 1);  // "Reading", in key order
  robot.press(kSelectElementType, "?Select");
  EXPECT_EQ(text(kFileForm, "?ASF:Type"), "Reading");
  // Not found and cancelled: entry cleared, focus back on it.
  robot.type(kFileForm, "?ASF:Type", "Nothing");
  robot.press(kSelectElementType, "?Close");
  EXPECT_EQ(text(kFileForm, "?ASF:Type"), "");
  EXPECT_EQ(robot.window(kFileForm).focusedControl(), robot.window(kFileForm).number("?ASF:Type"));
  // Empty and not required: left alone.
  robot.type(kFileForm, "?ASF:Type", "");
  EXPECT_EQ(robot.findWindow(kSelectElementType), nullptr);
}

TEST_F(FormConventionsTest, NumberLookupsShowTheirTextAndCancellingClearsBoth) {
  callForm(UpdateFileTest, tables::AssociatedFiles, Request::Change, 1);
  robot.type(kFileForm, "?LOC:RoleNumber", "2");
  EXPECT_EQ(text(kFileForm, "?LOC:RoleText"), "Usher");
  robot.type(kFileForm, "?LOC:RoleNumber", "9");
  ASSERT_NE(robot.findWindow(kSelectRole), nullptr);
  robot.press(kSelectRole, "?Close");
  EXPECT_EQ(text(kFileForm, "?LOC:RoleNumber"), "0");
  EXPECT_EQ(text(kFileForm, "?LOC:RoleText"), "");
  EXPECT_EQ(robot.window(kFileForm).focusedControl(), robot.window(kFileForm).number("?LOC:RoleNumber"));
  // Through the button: the number is stored, its text shown.
  robot.press(kFileForm, "?CALLLOOKUP:2");
  robot.chooseRow(kSelectRole, kLookupList, 1);  // "Pastor", number 1
  robot.press(kSelectRole, "?Select");
  EXPECT_EQ(text(kFileForm, "?LOC:RoleNumber"), "1");
  EXPECT_EQ(text(kFileForm, "?LOC:RoleText"), "Pastor");
}

TEST_F(FormConventionsTest, ALookupButtonCancelledKeepsTheOldValue) {
  callForm(UpdateFileTest, tables::AssociatedFiles, Request::Change, 1);
  EXPECT_EQ(text(kFileForm, "?ASF:Type"), "Song");
  robot.press(kFileForm, "?CALLLOOKUP");
  robot.press(kSelectElementType, "?Close");
  EXPECT_EQ(text(kFileForm, "?ASF:Type"), "Song");
  robot.press(kFileForm, "?CALLLOOKUP");
  robot.chooseRow(kSelectElementType, kLookupList, 3);  // "Video"
  robot.press(kSelectElementType, "?Select");
  EXPECT_EQ(text(kFileForm, "?ASF:Type"), "Video");
  robot.press(kFileForm, "?OK");
  EXPECT_EQ(stored(tables::AssociatedFiles, 1, ASF::TYPE), "Video");
}

TEST_F(FormConventionsTest, F6AndTheCalendarButtonPutTheChosenDateIntoTheEntry) {
  callForm(UpdateRoleTest, tables::Role, Request::Change, 1);
  robot.chooseTab(kRoleForm, "?CurrentTab", "&Dates");
  robot.type(kRoleForm, "?LOC:Answered", "03-18-2006");
  robot.pressKey(kRoleForm, vrt::kF6Key, "?LOC:Answered");
  EXPECT_EQ(robot.window(vrt::kCalendarProcedure).caption(), "Calendar");
  robot.pressKey(vrt::kCalendarProcedure, vrt::kDownKey);  // a week on
  robot.pressKey(vrt::kCalendarProcedure, vrt::kEnterKey);
  EXPECT_EQ(text(kRoleForm, "?LOC:Answered"), "03-25-2006");
  robot.pressKey(kRoleForm, vrt::kF6Key, "?LOC:Answered");
  robot.pressKey(vrt::kCalendarProcedure, vrt::kEscKey);
  EXPECT_EQ(text(kRoleForm, "?LOC:Answered"), "03-25-2006");
  robot.press(kRoleForm, "?G_CALBUTTON");
  robot.pressKey(vrt::kCalendarProcedure, vrt::kRightKey);
  robot.pressKey(vrt::kCalendarProcedure, vrt::kEnterKey);
  EXPECT_EQ(text(kRoleForm, "?LOC:Answered"), "03-26-2006");
}

TEST_F(FormConventionsTest, AFormOpensCentredUnlessItsPlaceWasSaved) {
  const FrameGeometry frame = frameGeometry();
  callForm(UpdateRoleTest, tables::Role, Request::Change, 1);
  QRect where = robot.window(kRoleForm).position();
  EXPECT_EQ(where.x(), frame.AppFrameX + (frame.AppFrameWidth - where.width()) / 2 - 2);
  EXPECT_EQ(where.y(), frame.AppFrameY + (frame.AppFrameHeight - where.height()) / 2 - 15);
  robot.window(kRoleForm).setPosition(QRect(31, 47, where.width(), where.height()));
  robot.press(kRoleForm, "?Cancel");
  EXPECT_EQ(vrt::settingsFile().Fetch(kRoleForm, "XPos", "none"), "31");
  callForm(UpdateRoleTest, tables::Role, Request::Change, 1);
  where = robot.window(kRoleForm).position();
  EXPECT_EQ(where.topLeft(), QPoint(31, 47));
}

TEST_F(FormConventionsTest, AConcurrentChangeIsShownAndTheUsersValuesComeBackByDitto) {
  callForm(UpdateFileTest, tables::AssociatedFiles, Request::Change, 1);
  // Another station changes the record after the form read it.
  onThread([] {
    FileManager& f = Access(tables::AssociatedFiles);
    static_cast<void>(f.Open());
    f.BUFFER()->set(ASF_ASSOCIATEDFILESNUMBER, 1);
    ASSERT_EQ(f.Fetch(0), Level::Benign);
    f.BUFFER()->set(ASF_DESCRIPTION, "Their description");
    ASSERT_EQ(Relate(tables::AssociatedFiles).Update(), Level::Benign);
    static_cast<void>(f.Close());
  });
  robot.type(kFileForm, "?ASF:Type", "Video");
  robot.press(kFileForm, "?OK");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Record Was Not Updated");
  robot.pressMessageButton("Ok");
  // The other station's values are shown; nothing of ours was written.
  EXPECT_EQ(text(kFileForm, "?ASF:Description"), "Their description");
  EXPECT_EQ(text(kFileForm, "?ASF:Type"), "Song");
  EXPECT_EQ(stored(tables::AssociatedFiles, 1, ASF::TYPE), "Song");
  // Ctrl+' brings the typed value back; saving again keeps the other station's description.
  robot.pressKey(kFileForm, vrt::kCtrlQuote, "?ASF:Type");
  EXPECT_EQ(text(kFileForm, "?ASF:Type"), "Video");
  robot.press(kFileForm, "?OK");
  EXPECT_EQ(response, Response::Completed);
  EXPECT_EQ(stored(tables::AssociatedFiles, 1, ASF::TYPE), "Video");
  EXPECT_EQ(stored(tables::AssociatedFiles, 1, ASF::DESCRIPTION), "Their description");
}

TEST_F(FormConventionsTest, TheHistoryButtonAndCtrlHRecallInTheRoleForm) {
  callForm(UpdateRoleTest, tables::Role, Request::Change, 1);
  onThread([] {
    FileManager& f = Access(tables::Role);
    static_cast<void>(f.Open());
    f.BUFFER()->set(ROL_ROLENUMBER, 1);
    ASSERT_EQ(f.Fetch(0), Level::Benign);
    f.BUFFER()->set(ROL_ROLE, "Minister");
    ASSERT_EQ(f.Update(0), Level::Benign);
    static_cast<void>(f.Close());
  });
  robot.type(kRoleForm, "?ROL:Role", "Elder");
  robot.press(kRoleForm, "?OK");
  robot.pressMessageButton("Ok");
  EXPECT_EQ(text(kRoleForm, "?ROL:Role"), "Minister");
  robot.pressKey(kRoleForm, vrt::kCtrlQuote, "?ROL:Role");  // not this form's key
  EXPECT_EQ(text(kRoleForm, "?ROL:Role"), "Minister");
  robot.control(kRoleForm, "?ROL:Role").widget()->setFocus();
  robot.pressToolbar(vrt::ToolbarAction::History);
  EXPECT_EQ(text(kRoleForm, "?ROL:Role"), "Elder");
  robot.type(kRoleForm, "?ROL:Role", "Someone");
  robot.pressKey(kRoleForm, vrt::kCtrlH, "?ROL:Role");
  EXPECT_EQ(text(kRoleForm, "?ROL:Role"), "Elder");
  robot.press(kRoleForm, "?OK");
  EXPECT_EQ(stored(tables::Role, 1, ROL::ROLE), "Elder");
}

TEST_F(FormConventionsTest, TheFrameToolbarFollowsAnInsertForm) {
  callForm(UpdateRoleTest, tables::Role, Request::Insert);
  for (vrt::ToolbarAction b : {vrt::ToolbarAction::Insert, vrt::ToolbarAction::Down}) {
    EXPECT_FALSE(frameButton(b).disabled()) << vrt::toolbarControl(b);
    EXPECT_EQ(frameButton(b).tip(), "Save record and add another") << vrt::toolbarControl(b);
  }
  for (int b : toolbarButtons(vrt::ToolbarAction::Change, vrt::ToolbarAction::PageUp)) EXPECT_TRUE(frameButton(b).disabled()) << b;
  EXPECT_TRUE(frameButton(vrt::ToolbarAction::Up).disabled());
  EXPECT_TRUE(frameButton(vrt::ToolbarAction::Locate).disabled());
  EXPECT_FALSE(frameButton(vrt::ToolbarAction::History).disabled());  // the form has history fields
  EXPECT_FALSE(frameButton(vrt::ToolbarAction::Help).disabled());      // it has a Help button
  robot.press(kRoleForm, "?Cancel");
  // Back to the frame's own state when no form holds the toolbar.
  for (const vrt::NavigationButton& n : vrt::kNavigationButtons) {
    EXPECT_FALSE(frameButton(n.action).disabled()) << n.tip;
    EXPECT_EQ(frameButton(n.action).tip(), n.tip);
  }
}

TEST_F(FormConventionsTest, TheFrameToolbarFollowsAChangeForm) {
  callForm(UpdateRoleTest, tables::Role, Request::Change, 1);
  const std::pair<vrt::ToolbarAction, const char*> tips[] = {
      {vrt::ToolbarAction::Bottom, "Save changes and go to last record"},
      {vrt::ToolbarAction::Top, "Save changes and go to first record"},
      {vrt::ToolbarAction::PageDown, "Save changes and page down to record"},
      {vrt::ToolbarAction::PageUp, "Save changes and page up to record"},
      {vrt::ToolbarAction::Down, "Save changes and go to next record"},
      {vrt::ToolbarAction::Up, "Save changes and go to previous record"},
      {vrt::ToolbarAction::Insert, "Save this record and add a new one"},
  };
  for (const auto& [b, tip] : tips) {
    EXPECT_FALSE(frameButton(b).disabled()) << tip;
    EXPECT_EQ(frameButton(b).tip(), tip);
  }
  for (int b : toolbarButtons(vrt::ToolbarAction::Change, vrt::ToolbarAction::Select)) EXPECT_TRUE(frameButton(b).disabled()) << b;
  // Page up saves and leaves the navigation to the caller.
  robot.type(kRoleForm, "?ROL:Role", "Elder");
  robot.pressToolbar(vrt::ToolbarAction::PageUp);
  EXPECT_EQ(response, Response::Completed);
  EXPECT_EQ(vrt::toolbarAction(vcr), vrt::ToolbarAction::PageUp);
  EXPECT_EQ(stored(tables::Role, 1, ROL::ROLE), "Elder");
  // Unchanged: nothing saved, the caller still moves on.
  callForm(UpdateRoleTest, tables::Role, Request::Change, 1);
  robot.pressToolbar(vrt::ToolbarAction::Bottom);
  EXPECT_EQ(response, Response::Cancelled);
  EXPECT_EQ(vrt::toolbarAction(vcr), vrt::ToolbarAction::Bottom);
}

TEST_F(FormConventionsTest, AViewFormDisablesTheNavigationButtons) {
  callForm(UpdateRoleTest, tables::Role, Request::View, 1);
  for (int b : toolbarButtons(vrt::ToolbarAction::Insert, vrt::ToolbarAction::Locate)) EXPECT_TRUE(frameButton(b).disabled()) << b;
  robot.press(kRoleForm, "?OK");
}

TEST_F(FormConventionsTest, AQuestionOnOneThreadNeverBlocksAnotherThreadsForm) {
  callForm(UpdateRoleTest, tables::Role, Request::Change, 1);
  robot.type(kRoleForm, "?ROL:Role", "Elder");
  robot.press(kRoleForm, "?Cancel");
  ASSERT_NE(robot.messageBox(), nullptr);  // "Save Record" waits on the first thread
  std::optional<Response> second;
  vrt::StartThread(
      [&second] {
        FileManager& f = Access(tables::AssociatedFiles);
        static_cast<void>(f.Open());
        f.BUFFER()->set(ASF_ASSOCIATEDFILESNUMBER, 1);
        static_cast<void>(f.Fetch(0));
        threadGlobals().GlobalRequest = Request::Change;
        UpdateFileTest();
        second = threadGlobals().GlobalResponse;
        static_cast<void>(f.Close());
      },
      50'000);
  robot.settle();
  robot.type(kFileForm, "?ASF:Description", "Still usable");
  robot.press(kFileForm, "?OK");
  EXPECT_EQ(second, Response::Completed);
  EXPECT_EQ(stored(tables::AssociatedFiles, 1, ASF::DESCRIPTION), "Still usable");
  robot.pressMessageButton("Yes");
  EXPECT_EQ(response, Response::Completed);
}

TEST_F(FormConventionsTest, AChildListCallsItsFormThroughTheCallTable) {
  callForm(UpdateFileTest, tables::AssociatedFiles, Request::Change, 1);
  robot.chooseTab(kFileForm, "?CurrentTab", "&Children");
  robot.press(kFileForm, "?Insert");
  robot.press(kFileForm, "?Change");
  robot.press(kFileForm, "?Delete");
  EXPECT_EQ(ChildFormCalls(), (std::vector<Request>{Request::Insert, Request::Change, Request::Delete}));
  robot.press(kFileForm, "?Cancel");
  // In view mode the call table opens nothing.
  callForm(UpdateFileTest, tables::AssociatedFiles, Request::View, 1);
  robot.chooseTab(kFileForm, "?CurrentTab", "&Children");
  robot.press(kFileForm, "?Insert");
  EXPECT_EQ(ChildFormCalls().size(), 3u);
  robot.press(kFileForm, "?OK");
}

TEST_F(FormConventionsTest, TheFrameToolbarFollowsTheFormTheUserWorksIn) {
  callForm(UpdateRoleTest, tables::Role, Request::Insert);
  callForm(UpdateFileTest, tables::AssociatedFiles, Request::Change, 1);
  robot.activate(kRoleForm);
  EXPECT_EQ(frameButton(vrt::ToolbarAction::Down).tip(), "Save record and add another");
  EXPECT_TRUE(frameButton(vrt::ToolbarAction::Up).disabled());
  robot.activate(kFileForm);
  EXPECT_EQ(frameButton(vrt::ToolbarAction::Down).tip(), "Save changes and go to next record");
  EXPECT_FALSE(frameButton(vrt::ToolbarAction::Up).disabled());
  // The button goes to the form in front, on its own thread.
  robot.pressToolbar(vrt::ToolbarAction::Down);
  EXPECT_EQ(robot.findWindow(kFileForm), nullptr);
  ASSERT_NE(robot.findWindow(kRoleForm), nullptr);
  robot.press(kRoleForm, "?Cancel");
}

namespace {
FormDecl& requiredTypeForm() {
  static FormDecl form;
  return form;
}
void UpdateRequiredType() { RunForm(requiredTypeForm()); }
}  // namespace

TEST_F(FormConventionsTest, ARequiredLookupLeftEmptyOpensTheLookup) {
  requiredTypeForm() = FileForm();
  requiredTypeForm().procedure = "UpdateRequiredType";
  requiredTypeForm().tabs[0].items[0].lookup->required = true;
  callForm(UpdateRequiredType, tables::AssociatedFiles, Request::Change, 1);
  robot.type("UpdateRequiredType", "?ASF:Type", "");
  ASSERT_NE(robot.findWindow(kSelectElementType), nullptr);
  robot.chooseRow(kSelectElementType, kLookupList, 2);  // "Song"
  robot.press(kSelectElementType, "?Select");
  EXPECT_EQ(text("UpdateRequiredType", "?ASF:Type"), "Song");
  robot.press("UpdateRequiredType", "?Cancel");
}

TEST_F(FormConventionsTest, AViewFormLooksNothingUp) {
  callForm(UpdateFileTest, tables::AssociatedFiles, Request::View, 1);
  robot.type(kFileForm, "?ASF:Type", "Nothing");
  EXPECT_EQ(robot.findWindow(kSelectElementType), nullptr);
  EXPECT_EQ(text(kFileForm, "?ASF:Type"), "Nothing");
  robot.press(kFileForm, "?OK");
  EXPECT_EQ(stored(tables::AssociatedFiles, 1, ASF::TYPE), "Song");
}
