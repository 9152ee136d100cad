// The screen conventions every form follows: look-ups, dates from the calendar, where the
// window opens, concurrent changes and ditto, the frame toolbar while a form is open. Each
// form is opened from its browse, the browse from the frame's menu.
#include <QWidget>

#include <vector>

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
namespace PER = dict::idx::PER;
namespace TOP = dict::idx::TOP;
namespace SSE = dict::idx::SSE;

constexpr const char* kRoles = "Browse the Role File";
constexpr const char* kUpdateRole = "UpdateRole";
constexpr const char* kAddingRole = "Adding a Role Record";
constexpr const char* kChangingRole = "Changing a Role Record";
constexpr const char* kPerformers = "Browse the Performers File";
constexpr const char* kChangingPerformer = "Changing a Performers Record";
constexpr const char* kRoleLookup = "BrowseRole";
constexpr const char* kTopics = "Browse the Topic File";
constexpr const char* kChangingTopic = "Changing a Topic Record";
constexpr const char* kSeries = "Browse the Sermon Series File";
constexpr const char* kChangingSeries = "Changing a Sermon Series Record";

class FormConventionsTest : public FormsTest {
 protected:
  void openRoles() { openMenu("&Browse|&Lists|&Roles", kRoles); }
  // Grace Young, a pastor, in the performers' change form.
  void changePerformer() {
    onThread([] {
      addRecord(tables::Performers, [](vrt::RecordRef r) {
        r.set(PER_FIRSTNAME, "Grace");
        r.set(PER_LASTNAME, "Young");
        r.set(PER_ROLE, "Pastor");
      });
    });
    openMenu("&Browse|Browse the Performers file", kPerformers);
    pressOnRow(kPerformers, 1, "?Change");
    ASSERT_NE(robot.findWindow(kChangingPerformer), nullptr);
  }
  void addTopics(std::vector<const char*> topics) {
    onThread([topics] {
      for (const char* t : topics) addRecord(tables::Topic, [t](vrt::RecordRef r) { r.set(TOP_TOPIC, t); });
    });
  }
};

vrt::Control& frameButton(int number) { return *vrt::FrameHost::frame()->control(number); }
vrt::Control& frameButton(vrt::ToolbarAction action) { return frameButton(vrt::toolbarControl(action)); }

}  // namespace

TEST_F(FormConventionsTest, ATypedLookupKeyThatIsNotFoundOpensTheLookup) {
  changePerformer();
  // Found: nothing opens.
  robot.type(kChangingPerformer, "?PER:ROLE", "Usher");
  EXPECT_EQ(robot.findWindow(kRoleLookup), nullptr);
  // Not found: the look-up opens; a selection is copied in as text.
  robot.type(kChangingPerformer, "?PER:ROLE", "Ush");
  ASSERT_NE(robot.findWindow(kRoleLookup), nullptr);
  robot.chooseRow(kRoleLookup, kLookupList, 1);  // "Pastor", in key order
  robot.press(kRoleLookup, "?Select");
  EXPECT_EQ(text(kChangingPerformer, "?PER:ROLE"), "Pastor");
  // Not found and cancelled: entry cleared, focus back on it.
  robot.type(kChangingPerformer, "?PER:ROLE", "Nothing");
  robot.press(kRoleLookup, "?Close");
  EXPECT_EQ(text(kChangingPerformer, "?PER:ROLE"), "");
  EXPECT_EQ(robot.window(kChangingPerformer).focusedControl(), robot.window(kChangingPerformer).number("?PER:ROLE"));
  // Empty and not required: left alone.
  robot.type(kChangingPerformer, "?PER:ROLE", "");
  EXPECT_EQ(robot.findWindow(kRoleLookup), nullptr);
}

TEST_F(FormConventionsTest, NumberLookupsShowTheirTextAndCancellingClearsBoth) {
  addTopics({"Grace", "Hope"});
  onThread([] { addRecord(tables::SermonSeries, [](vrt::RecordRef r) { r.set(SSE_NAME, "Advent"); }); });
  openMenu("&Browse|Browse the Sermon Series file", kSeries);
  pressOnRow(kSeries, 1, "?Change");
  robot.type(kChangingSeries, "?SSE:TOPIC", "2");
  EXPECT_EQ(text(kChangingSeries, "?LOC:Topic"), "Hope");
  robot.type(kChangingSeries, "?SSE:TOPIC", "9");
  ASSERT_NE(robot.findWindow(kTopics), nullptr);
  robot.press(kTopics, "?Close");
  EXPECT_EQ(text(kChangingSeries, "?SSE:TOPIC"), "0");
  EXPECT_EQ(text(kChangingSeries, "?LOC:Topic"), "");
  EXPECT_EQ(robot.window(kChangingSeries).focusedControl(), robot.window(kChangingSeries).number("?SSE:TOPIC"));
  // Through the button: the number is stored, its text shown.
  robot.press(kChangingSeries, "?CALLLOOKUP");
  robot.chooseRow(kTopics, kLookupList, 1);  // "Grace", number 1
  robot.press(kTopics, "?Select");
  EXPECT_EQ(text(kChangingSeries, "?SSE:TOPIC"), "1");
  EXPECT_EQ(text(kChangingSeries, "?LOC:Topic"), "Grace");
  robot.press(kChangingSeries, "?OK");
  EXPECT_EQ(stored(tables::SermonSeries, 1, SSE::TOPIC), "1");
}

TEST_F(FormConventionsTest, ALookupButtonCancelledKeepsTheOldValue) {
  changePerformer();
  EXPECT_EQ(text(kChangingPerformer, "?PER:ROLE"), "Pastor");
  robot.press(kChangingPerformer, "?CALLLOOKUP");
  robot.press(kRoleLookup, "?Close");
  EXPECT_EQ(text(kChangingPerformer, "?PER:ROLE"), "Pastor");
  robot.press(kChangingPerformer, "?CALLLOOKUP");
  robot.chooseRow(kRoleLookup, kLookupList, 2);  // "Usher"
  robot.press(kRoleLookup, "?Select");
  EXPECT_EQ(text(kChangingPerformer, "?PER:ROLE"), "Usher");
  robot.press(kChangingPerformer, "?OK");
  EXPECT_EQ(stored(tables::Performers, 1, PER::ROLE), "Usher");
}

TEST_F(FormConventionsTest, F6AndTheCalendarButtonPutTheChosenDateIntoTheEntry) {
  constexpr const char* kBlessings = "Browse the Blessings File";
  constexpr const char* kAdding = "Record Will Be Added";
  openMenu("&Browse|Browse the Blessings file", kBlessings);
  robot.press(kBlessings, "?Insert");
  ASSERT_NE(robot.findWindow(kAdding), nullptr);
  robot.type(kAdding, "?Date", "03-18-2006");
  robot.pressKey(kAdding, vrt::kF6Key, "?Date");
  EXPECT_EQ(robot.window(vrt::kCalendarProcedure).caption(), "Calendar");
  robot.pressKey(vrt::kCalendarProcedure, vrt::kDownKey);  // a week on
  robot.pressKey(vrt::kCalendarProcedure, vrt::kEnterKey);
  EXPECT_EQ(text(kAdding, "?Date"), "03-25-2006");
  robot.pressKey(kAdding, vrt::kF6Key, "?Date");
  robot.pressKey(vrt::kCalendarProcedure, vrt::kEscKey);
  EXPECT_EQ(text(kAdding, "?Date"), "03-25-2006");
  robot.press(kAdding, "?G_CALBUTTON");
  robot.pressKey(vrt::kCalendarProcedure, vrt::kRightKey);
  robot.pressKey(vrt::kCalendarProcedure, vrt::kEnterKey);
  EXPECT_EQ(text(kAdding, "?Date"), "03-26-2006");
}

TEST_F(FormConventionsTest, AFormOpensCentredUnlessItsPlaceWasSaved) {
  const FrameGeometry frame = frameGeometry();
  openRoles();
  pressOnRow(kRoles, 1, "?Change");
  QRect where = robot.window(kUpdateRole).position();
  EXPECT_EQ(where.x(), frame.AppFrameX + (frame.AppFrameWidth - where.width()) / 2 - 2);
  EXPECT_EQ(where.y(), frame.AppFrameY + (frame.AppFrameHeight - where.height()) / 2 - 15);
  robot.window(kUpdateRole).setPosition(QRect(31, 47, where.width(), where.height()));
  robot.press(kChangingRole, "?Cancel");
  EXPECT_EQ(vrt::settingsFile().Fetch(kUpdateRole, "XPos", "none"), "31");
  pressOnRow(kRoles, 1, "?Change");
  where = robot.window(kUpdateRole).position();
  EXPECT_EQ(where.topLeft(), QPoint(31, 47));
}

TEST_F(FormConventionsTest, AConcurrentChangeIsShownAndTheUsersValuesComeBackByDitto) {
  changePerformer();
  // Another station changes the record after the form read it.
  onThread([] {
    FileManager& f = Access(tables::Performers);
    static_cast<void>(f.Open());
    vrt::RecordRef(Buffer(tables::Performers)).set(PER_PERFORMERSNUMBER, 1);
    ASSERT_EQ(f.Fetch(numberKey(tables::Performers)), Level::Benign);
    vrt::RecordRef(Buffer(tables::Performers)).set(PER_LASTNAME, "Theirs");
    ASSERT_EQ(Relate(tables::Performers).Update(), Level::Benign);
    static_cast<void>(f.Close());
  });
  robot.type(kChangingPerformer, "?PER:FIRSTNAME", "Ruth");
  robot.press(kChangingPerformer, "?OK");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Record Was Not Updated");
  robot.pressMessageButton("Ok");
  // The other station's values are shown; nothing of ours was written.
  EXPECT_EQ(text(kChangingPerformer, "?PER:LASTNAME"), "Theirs");
  EXPECT_EQ(text(kChangingPerformer, "?PER:FIRSTNAME"), "Grace");
  EXPECT_EQ(stored(tables::Performers, 1, PER::FIRSTNAME), "Grace");
  // Ctrl+' brings the typed value back; saving again keeps the other station's last name.
  robot.pressKey(kChangingPerformer, vrt::kCtrlQuote, "?PER:FIRSTNAME");
  EXPECT_EQ(text(kChangingPerformer, "?PER:FIRSTNAME"), "Ruth");
  robot.press(kChangingPerformer, "?OK");
  EXPECT_EQ(robot.findWindow(kChangingPerformer), nullptr);
  EXPECT_EQ(stored(tables::Performers, 1, PER::FIRSTNAME), "Ruth");
  EXPECT_EQ(stored(tables::Performers, 1, PER::LASTNAME), "Theirs");
}

// Every form of the program keeps Ctrl+' as its history key: a key of the form's own is shown
// on the stand-in.
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
  openRoles();
  robot.press(kRoles, "?Insert");
  ASSERT_NE(robot.findWindow(kAddingRole), nullptr);
  for (vrt::ToolbarAction b : {vrt::ToolbarAction::Insert, vrt::ToolbarAction::Down}) {
    EXPECT_FALSE(frameButton(b).disabled()) << vrt::toolbarControl(b);
    EXPECT_EQ(frameButton(b).tip(), "Save record and add another") << vrt::toolbarControl(b);
  }
  for (int b : toolbarButtons(vrt::ToolbarAction::Change, vrt::ToolbarAction::PageUp)) EXPECT_TRUE(frameButton(b).disabled()) << b;
  EXPECT_TRUE(frameButton(vrt::ToolbarAction::Up).disabled());
  EXPECT_TRUE(frameButton(vrt::ToolbarAction::Locate).disabled());
  EXPECT_FALSE(frameButton(vrt::ToolbarAction::History).disabled());  // the form has history fields
  EXPECT_FALSE(frameButton(vrt::ToolbarAction::Help).disabled());      // it has a Help button
  robot.press(kAddingRole, "?Cancel");
  robot.press(kRoles, "?Close");
  // Back to the frame's own state when no window holds the toolbar.
  for (const vrt::NavigationButton& n : vrt::kNavigationButtons) {
    EXPECT_FALSE(frameButton(n.action).disabled()) << n.tip;
    EXPECT_EQ(frameButton(n.action).tip(), n.tip);
  }
}

TEST_F(FormConventionsTest, TheFrameToolbarFollowsAChangeForm) {
  openRoles();
  pressOnRow(kRoles, 2, "?Change");  // Usher
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
  // Page up saves and leaves the navigation to the browse: it pages up and changes the
  // record it lands on.
  robot.type(kChangingRole, "?ROL:ROLE", "Warden");
  robot.pressToolbar(vrt::ToolbarAction::PageUp);
  EXPECT_EQ(stored(tables::Role, 2, ROL::ROLE), "Warden");
  ASSERT_NE(robot.findWindow(kChangingRole), nullptr);
  EXPECT_EQ(text(kChangingRole, "?ROL:ROLE"), "Pastor");
  // Unchanged: nothing saved, the browse still moves on.
  robot.pressToolbar(vrt::ToolbarAction::Bottom);
  ASSERT_NE(robot.findWindow(kChangingRole), nullptr);
  EXPECT_EQ(text(kChangingRole, "?ROL:ROLE"), "Warden");
  EXPECT_EQ(stored(tables::Role, 1, ROL::ROLE), "Pastor");
  robot.press(kChangingRole, "?Cancel");
  EXPECT_EQ(shown(kRoles), (std::vector<std::string>{"Pastor", "Warden"}));
}

TEST_F(FormConventionsTest, AViewFormDisablesTheNavigationButtons) {
  constexpr const char* kBlessings = "Browse the Blessings File";
  onThread([] { addRecord(tables::Blessings, [](vrt::RecordRef r) { r.set(BLE_BLESSING, "Rain"); }); });
  openMenu("&Browse|Browse the Blessings file", kBlessings);
  pressOnRow(kBlessings, 1, "?View");
  ASSERT_NE(robot.findWindow("View Record"), nullptr);
  for (int b : toolbarButtons(vrt::ToolbarAction::Insert, vrt::ToolbarAction::Locate)) EXPECT_TRUE(frameButton(b).disabled()) << b;
  robot.press("View Record", "?OK");
}

TEST_F(FormConventionsTest, AQuestionOnOneThreadNeverBlocksAnotherThreadsForm) {
  addTopics({"Grace"});
  openRoles();
  pressOnRow(kRoles, 1, "?Change");
  robot.type(kChangingRole, "?ROL:ROLE", "Elder");
  robot.press(kChangingRole, "?Cancel");
  ASSERT_NE(robot.messageBox(), nullptr);  // "Save Record" waits on the roles' thread
  // The topics, opened from the menu, run on a thread of their own.
  openMenu("&Browse|&Lists|&Topics", kTopics);
  pressOnRow(kTopics, 1, "?Change");
  robot.type(kChangingTopic, "?TOP:Synonyms", "Still usable");
  robot.press(kChangingTopic, "?OK");
  EXPECT_EQ(robot.findWindow(kChangingTopic), nullptr);
  EXPECT_EQ(stored(tables::Topic, 1, TOP::SYNONYMS), "Still usable");
  robot.pressMessageButton("Yes");
  EXPECT_EQ(robot.findWindow(kChangingRole), nullptr);
  EXPECT_EQ(stored(tables::Role, 1, ROL::ROLE), "Elder");
}

TEST_F(FormConventionsTest, AChildListCallsItsFormForEachButton) {
  onThread([] {
    addRecord(tables::SermonSeries, [](vrt::RecordRef r) { r.set(SSE_NAME, "Advent"); });
    addRecord(tables::SeriesPublicity, [](vrt::RecordRef r) {
      r.set(SEP_SERIESNUMBER, 1);
      r.set(SEP_PUBLICITYDESCRIPTION, "Poster");
    });
  });
  openMenu("&Browse|Browse the Sermon Series file", kSeries);
  pressOnRow(kSeries, 1, "?Change");
  robot.chooseTab(kChangingSeries, "?CurrentTab", "Publicity");
  robot.press(kChangingSeries, "?Insert:2");
  ASSERT_NE(robot.findWindow("Adding a Series Publicity Record"), nullptr);
  robot.press("Adding a Series Publicity Record", "?Cancel");
  robot.chooseRow(kChangingSeries, "?List:Publicity", 1);
  robot.press(kChangingSeries, "?Change:2");
  ASSERT_NE(robot.findWindow("Changing a Series Publicity Record"), nullptr);
  EXPECT_EQ(text("Changing a Series Publicity Record", "?SEP:PUBLICITYDESCRIPTION"), "Poster");
  robot.press("Changing a Series Publicity Record", "?Cancel");
  robot.press(kChangingSeries, "?Delete:2");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Confirm Delete");
  robot.pressMessageButton("No");
  EXPECT_EQ(records(tables::SeriesPublicity), 1);
  robot.press(kChangingSeries, "?Cancel");
}

// No form of the program with a child list is opened for view by a browse: the stand-in's
// list shows that a viewed form's list calls nothing.
TEST_F(FormConventionsTest, AViewedFormsChildListCallsNothing) {
  callForm(UpdateFileTest, tables::AssociatedFiles, Request::View, 1);
  robot.chooseTab(kFileForm, "?CurrentTab", "&Children");
  robot.press(kFileForm, "?Insert");
  EXPECT_TRUE(ChildFormCalls().empty());
  robot.press(kFileForm, "?OK");
}

TEST_F(FormConventionsTest, TheFrameToolbarFollowsTheFormTheUserWorksIn) {
  addTopics({"Faith", "Grace"});
  openRoles();
  robot.press(kRoles, "?Insert");
  openMenu("&Browse|&Lists|&Topics", kTopics);
  pressOnRow(kTopics, 1, "?Change");  // Faith
  robot.activate(kAddingRole);
  EXPECT_EQ(frameButton(vrt::ToolbarAction::Down).tip(), "Save record and add another");
  EXPECT_TRUE(frameButton(vrt::ToolbarAction::Up).disabled());
  robot.activate(kChangingTopic);
  EXPECT_EQ(frameButton(vrt::ToolbarAction::Down).tip(), "Save changes and go to next record");
  EXPECT_FALSE(frameButton(vrt::ToolbarAction::Up).disabled());
  // The button goes to the form in front, on its own thread: the topics move on to the next.
  robot.pressToolbar(vrt::ToolbarAction::Down);
  ASSERT_NE(robot.findWindow(kChangingTopic), nullptr);
  EXPECT_EQ(text(kChangingTopic, "?TOP:Topic"), "Grace");
  ASSERT_NE(robot.findWindow(kAddingRole), nullptr);
  robot.press(kAddingRole, "?Cancel");
  robot.press(kChangingTopic, "?Cancel");
}

namespace {
FormDecl& requiredTypeForm() {
  static FormDecl form;
  return form;
}
void UpdateRequiredType() { RunForm(requiredTypeForm()); }
}  // namespace

// No look-up of the program is required: the stand-in's is made so.
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

// Every form the program opens for view makes its look-up entries read-only; the framework's
// own refusal to look up while viewing is shown on the stand-in, whose entry stays open.
TEST_F(FormConventionsTest, AViewFormLooksNothingUp) {
  callForm(UpdateFileTest, tables::AssociatedFiles, Request::View, 1);
  robot.type(kFileForm, "?ASF:Type", "Nothing");
  EXPECT_EQ(robot.findWindow(kSelectElementType), nullptr);
  EXPECT_EQ(text(kFileForm, "?ASF:Type"), "Nothing");
  robot.press(kFileForm, "?OK");
  EXPECT_EQ(stored(tables::AssociatedFiles, 1, ASF::TYPE), "Song");
}
