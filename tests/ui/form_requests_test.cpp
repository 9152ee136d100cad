// Forms called by their browse for each request, the browse opened from the frame's menu
// and worked through the test robot as a user would.
#include "forms_fixture.h"
#include "runtime/gui/message_box.h"
#include "windows/feedback.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

namespace ROL = dict::idx::ROL;
namespace SSE = dict::idx::SSE;
namespace JOU = dict::idx::JOU;

constexpr const char* kRoles = "Browse the Role File";
constexpr const char* kUpdateRole = "UpdateRole";
constexpr const char* kAdding = "Adding a Role Record";
constexpr const char* kChanging = "Changing a Role Record";
constexpr const char* kRole = "?ROL:ROLE";

class FormRequestTest : public FormsTest {
 protected:
  void openRoles() { openMenu("&Browse|&Lists|&Roles", kRoles); }
};

}  // namespace

TEST_F(FormRequestTest, ADeleteRequestShowsOnlyTheConfirmation) {
  openRoles();
  pressOnRow(kRoles, 1, "?Delete");  // Pastor
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Confirm Delete");
  EXPECT_EQ(robot.findWindow(kUpdateRole), nullptr);
  robot.pressMessageButton("No");
  EXPECT_EQ(stored(tables::Role, 1, ROL::ROLE), "Pastor");
  EXPECT_EQ(shown(kRoles), (std::vector<std::string>{"Pastor", "Usher"}));

  pressOnRow(kRoles, 1, "?Delete");
  EXPECT_EQ(robot.findWindow(kUpdateRole), nullptr);
  robot.pressMessageButton("Yes");
  EXPECT_EQ(stored(tables::Role, 1, ROL::ROLE), "<none>");
  EXPECT_EQ(shown(kRoles), std::vector<std::string>{"Usher"});
}

TEST_F(FormRequestTest, ClosingAnUnchangedChangeFormAsksNothing) {
  openRoles();
  pressOnRow(kRoles, 2, "?Change");
  EXPECT_EQ(robot.window(kUpdateRole).caption(), kChanging);
  EXPECT_EQ(text(kChanging, kRole), "Usher");
  robot.press(kChanging, "?Cancel");
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.findWindow(kUpdateRole), nullptr);
  EXPECT_EQ(stored(tables::Role, 2, ROL::ROLE), "Usher");
}

TEST_F(FormRequestTest, ClosingAChangedFormAsksToSave) {
  openRoles();
  pressOnRow(kRoles, 2, "?Change");
  robot.type(kChanging, kRole, "Greeter");
  // Cancel in the question keeps the form and what was typed.
  robot.closeWindow(kChanging);
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Save Record");
  EXPECT_EQ(robot.control("Save Record", vrt::kMessageTextUse).text(), "Do you want to save the changes to this record?");
  robot.pressMessageButton("Cancel");
  ASSERT_NE(robot.findWindow(kChanging), nullptr);
  EXPECT_EQ(text(kChanging, kRole), "Greeter");
  // No closes without saving.
  robot.press(kChanging, "?Cancel");
  robot.pressMessageButton("No");
  EXPECT_EQ(robot.findWindow(kUpdateRole), nullptr);
  EXPECT_EQ(stored(tables::Role, 2, ROL::ROLE), "Usher");
  EXPECT_EQ(shown(kRoles), (std::vector<std::string>{"Pastor", "Usher"}));
  // Yes saves.
  pressOnRow(kRoles, 2, "?Change");
  robot.type(kChanging, kRole, "Greeter");
  robot.pressKey(kChanging, vrt::kEscKey);  // Escape is Cancel
  robot.pressMessageButton("Yes");
  EXPECT_EQ(robot.findWindow(kUpdateRole), nullptr);
  EXPECT_EQ(stored(tables::Role, 2, ROL::ROLE), "Greeter");
  EXPECT_EQ(shown(kRoles), (std::vector<std::string>{"Greeter", "Pastor"}));
}

TEST_F(FormRequestTest, OkSavesAChangeAndEnterPressesOk) {
  openRoles();
  pressOnRow(kRoles, 1, "?Change");
  robot.type(kChanging, kRole, "Elder");
  robot.pressKey(kChanging, vrt::kEnterKey, kRole);
  EXPECT_EQ(robot.findWindow(kUpdateRole), nullptr);
  EXPECT_EQ(stored(tables::Role, 1, ROL::ROLE), "Elder");
  EXPECT_EQ(shown(kRoles), (std::vector<std::string>{"Elder", "Usher"}));
}

TEST_F(FormRequestTest, ACancelledInsertLeavesNoPlaceholderBehind) {
  openRoles();
  const auto before = records(tables::Role);
  robot.press(kRoles, "?Insert");
  EXPECT_EQ(robot.window(kUpdateRole).caption(), kAdding);
  EXPECT_EQ(records(tables::Role), before + 1);  // the number is taken while the form is open
  robot.press(kAdding, "?Cancel");
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.findWindow(kUpdateRole), nullptr);
  EXPECT_EQ(records(tables::Role), before);
  // Typed into, then cancelled and the save declined: still nothing left.
  robot.press(kRoles, "?Insert");
  robot.type(kAdding, kRole, "Reader");
  robot.press(kAdding, "?Cancel");
  robot.pressMessageButton("No");
  EXPECT_EQ(records(tables::Role), before);
  EXPECT_EQ(shown(kRoles), (std::vector<std::string>{"Pastor", "Usher"}));
}

TEST_F(FormRequestTest, InsertThenDownOnTheToolbarSavesAndAsksForTheNextInsert) {
  openRoles();
  robot.press(kRoles, "?Insert");
  robot.type(kAdding, kRole, "Reader");
  robot.pressToolbar(vrt::ToolbarAction::Down);
  // Saved, and the browse opens the next insert form at once.
  EXPECT_EQ(stored(tables::Role, 3, ROL::ROLE), "Reader");
  ASSERT_NE(robot.findWindow(kAdding), nullptr);
  EXPECT_EQ(text(kAdding, kRole), "");

  robot.type(kAdding, kRole, "Singer");
  robot.pressToolbar(vrt::ToolbarAction::Insert);
  EXPECT_EQ(stored(tables::Role, 4, ROL::ROLE), "Singer");
  ASSERT_NE(robot.findWindow(kAdding), nullptr);
  EXPECT_EQ(text(kAdding, kRole), "");
  robot.press(kAdding, "?Cancel");
  EXPECT_EQ(robot.findWindow(kUpdateRole), nullptr);
  EXPECT_EQ(shown(kRoles), (std::vector<std::string>{"Pastor", "Reader", "Singer", "Usher"}));
}

TEST_F(FormRequestTest, AViewFormsOkClosesWithoutSavingOrAsking) {
  onThread([] {
    addRecord(tables::Journal, [](vrt::RecordRef r) {
      r.set(JOU_JOURNALENTRY, "Opening hymn");
      r.set(JOU_JOURNALCATEGORY, "Worship");
    });
  });
  constexpr const char* kJournal = "Browse the Journal File";
  constexpr const char* kView = "View Record";
  openMenu("&Browse|Browse the Journal file", kJournal);
  pressOnRow(kJournal, 1, "?View");
  ASSERT_NE(robot.findWindow(kView), nullptr);
  EXPECT_EQ(robot.window("UpdateJournal").caption(), kView);
  robot.type(kView, "?Text", "Changed");
  // Its category is looked up nowhere.
  EXPECT_TRUE(robot.control(kView, "?CALLLOOKUP").disabled());
  EXPECT_EQ(robot.findWindow("Browse the Journal Category File"), nullptr);
  robot.press(kView, "?OK");
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.findWindow(kView), nullptr);
  EXPECT_EQ(stored(tables::Journal, 1, JOU::JOURNALENTRY), "Opening hymn");
}

TEST_F(FormRequestTest, TextThatDoesNotFitItsPictureIsRefused) {
  changeAdventSeries();
  // Typed and left: a beep, the text kept as typed, the focus back on the entry.
  int beeps = BeepCount();
  robot.type(kSeriesForm, "?SSE:TOPIC", "twelve");
  EXPECT_EQ(BeepCount(), beeps + 1);
  EXPECT_EQ(text(kSeriesForm, "?SSE:TOPIC"), "twelve");
  EXPECT_EQ(robot.window(kSeriesForm).focusedControl(), robot.window(kSeriesForm).number("?SSE:TOPIC"));
  // Not yet accepted when OK is pressed: the save stops there.
  robot.type(kSeriesForm, "?SSE:DESCRIPTION", "Closing hymn");
  robot.control(kSeriesForm, "?SSE:TOPIC").setText("x1");
  beeps = BeepCount();
  robot.press(kSeriesForm, "?OK");
  EXPECT_EQ(BeepCount(), beeps + 1);
  ASSERT_NE(robot.findWindow(kSeriesForm), nullptr);
  EXPECT_EQ(text(kSeriesForm, "?SSE:TOPIC"), "x1");
  EXPECT_EQ(robot.window(kSeriesForm).focusedControl(), robot.window(kSeriesForm).number("?SSE:TOPIC"));
  EXPECT_EQ(stored(tables::SermonSeries, 1, SSE::DESCRIPTION), "Opening hymn");
  robot.type(kSeriesForm, "?SSE:TOPIC", "");
  robot.press(kSeriesForm, "?OK");
  EXPECT_EQ(robot.findWindow(kSeriesForm), nullptr);
  EXPECT_EQ(stored(tables::SermonSeries, 1, SSE::DESCRIPTION), "Closing hymn");
}
