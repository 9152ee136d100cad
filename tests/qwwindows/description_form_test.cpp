// The description form that saving a query runs: its captions and prompts by request, and
// the question before a changed description is dropped.
#include "querywizard/query_store.h"
#include "wizard_window_fixture.h"

namespace qrywiz {
namespace {

constexpr std::string_view D = kDescriptionProcedure;

class DescriptionFormTest : public WizardWindowTest {
 protected:
  // One element, Finish, and Yes to saving: the description form is open.
  void reachTheForm() {
    openWizard();
    addElement("Request", 8, "care");
    saveAgain();
  }
  void saveAgain() {
    robot.press(W, "?Finish");
    robot.pressMessageButton("Yes");
    ASSERT_NE(robot.findWindow(D), nullptr);
  }
  std::string question() { return robot.messageBox() ? robot.messageBox()->caption() : std::string(); }
};

TEST_F(DescriptionFormTest, LeavingAChangedDescriptionAsksFirst) {
  reachTheForm();
  EXPECT_EQ(robot.window(D).caption(), "Adding a New Query");
  EXPECT_EQ(robot.control(D, "?Message").text(), "Enter a description for the new query.");
  robot.type(D, "?Description", "Care list");
  robot.press(D, "?Cancel");
  ASSERT_EQ(question(), "Update Cancelled");
  robot.pressMessageButton("Cancel");
  EXPECT_NE(robot.findWindow(D), nullptr) << "Cancel goes back to the form";
  EXPECT_EQ(robot.control(D, "?Description").text(), "Care list");

  robot.pressKey(D, vrt::kEscKey);
  ASSERT_EQ(question(), "Update Cancelled");
  robot.pressMessageButton("No");
  EXPECT_EQ(robot.findWindow(D), nullptr);
  EXPECT_FALSE(ended) << "a cancelled form leaves the wizard open";
  EXPECT_EQ(page(), 4);
  XBQW_QUERIESQUEUE saved;
  XB_FILLQWQUEUE(saved, "PrayerRequest");
  EXPECT_EQ(saved.size(), 1u) << "nothing was saved";

  // Closing the form after a change, and Yes: the description is saved.
  saveAgain();
  robot.type(D, "?Description", "Kept by closing");
  robot.closeWindow(D);
  ASSERT_EQ(question(), "Update Cancelled");
  robot.pressMessageButton("Yes");
  EXPECT_TRUE(ended);
  ASSERT_GT(response, 0);
  EXPECT_EQ(description, "Kept by closing");
}

TEST_F(DescriptionFormTest, AnUnchangedDescriptionIsLeftWithoutAQuestion) {
  reachTheForm();
  robot.press(D, "?Cancel");
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.findWindow(D), nullptr);
  EXPECT_FALSE(ended);

  // Typed and typed back is no change either.
  saveAgain();
  robot.type(D, "?Description", "Something");
  robot.type(D, "?Description", "");
  robot.closeWindow(D);
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.findWindow(D), nullptr);
  robot.press(W, "?Cancel");
  EXPECT_TRUE(ended);
  EXPECT_EQ(response, 0);
}

TEST_F(DescriptionFormTest, ChangingShowsTheDescriptionAndDeletingCannotEditIt) {
  reachTheForm();
  robot.type(D, "?Description", "Care");
  robot.press(D, "?OK");
  ASSERT_GT(response, 0);
  const std::int32_t number = response;

  ended = false;
  openWizard(0, 0, number);
  robot.press(W, "?Finish");
  robot.pressMessageButton("Yes");
  robot.pressMessageButton("Yes");  // rewrite it
  EXPECT_EQ(robot.window(D).caption(), "Changing an Existing Query");
  EXPECT_EQ(robot.control(D, "?Message").text(),
            "Enter a new description for the query or press OK to accept the existing description.");
  EXPECT_EQ(robot.control(D, "?Description").text(), "Care");
  robot.press(D, "?OK");
  EXPECT_EQ(response, number);

  // The saved-queries window deletes through the same form, read-only there.
  ended = false;
  openWizard(0);
  robot.pressKey("SavedQueries", vrt::kDeleteKey);
  EXPECT_EQ(robot.window(D).caption(), "Deleting a Saved Query");
  EXPECT_TRUE(robot.control(D, "?Description").readOnly());
  robot.press(D, "?OK");
  robot.pressMessageButton("Ok");  // the store's confirmation
  EXPECT_EQ(robot.control("SavedQueries", "?Queries").list()->rowCount(), 0);
  robot.press("SavedQueries", "?Close");
  EXPECT_TRUE(ended);
  EXPECT_EQ(response, 0);
}

}  // namespace
}  // namespace qrywiz
