#include "runtime/gui/popup_menu.h"

#include <gtest/gtest.h>

#include "gui_fixture.h"

namespace vrt {
namespace {

using PopupMenuTest = testing::GuiTest;

TEST(PopupTextTest, ReadsSubmenusSeparatorsAndMarkers) {
  auto entries = parsePopupText("View{One|Two}|-|~&Delete|+[icon=MARK.ICO]Checked|-Unchecked|Close");
  ASSERT_EQ(entries.size(), 8u);
  EXPECT_EQ(entries[0].text, "View");
  EXPECT_EQ(entries[0].depth, 1);
  EXPECT_EQ(entries[1].text, "One");
  EXPECT_EQ(entries[1].depth, 2);
  EXPECT_EQ(entries[2].depth, 2);
  EXPECT_TRUE(entries[3].separator);
  EXPECT_EQ(entries[3].depth, 1);
  EXPECT_TRUE(entries[4].disabled);
  EXPECT_EQ(entries[4].text, "&Delete");
  EXPECT_EQ(entries[5].check, PopupEntry::Check::Checked);
  EXPECT_EQ(entries[5].icon, "MARK.ICO");
  EXPECT_EQ(entries[5].text, "Checked");
  EXPECT_EQ(entries[6].check, PopupEntry::Check::Unchecked);
  EXPECT_EQ(entries[7].text, "Close");
  EXPECT_TRUE(parsePopupText("").empty());
  EXPECT_EQ(parsePopupText("}}A{").front().depth, 1) << "unbalanced braces do not break it";
}

TEST_F(PopupMenuTest, ReturnsTheChosenEntryCountingOnlyEntriesThatCanBeChosen) {
  std::vector<int> answers;
  TestRobot robot;
  StartThread(
      [&] {
        for (int i = 0; i < 3; ++i) answers.push_back(Popup("View{One|Two}|-|~&Delete|Close", 10, 10));
      },
      50'000);
  robot.settle();
  ASSERT_TRUE(robot.popupOpen());
  robot.choosePopup("View|Two");
  EXPECT_EQ(PendingEvents(1), 0u) << "no stale close left behind for the next menu";
  robot.choosePopup("Close");
  EXPECT_THROW(robot.choosePopup("&Delete"), RobotError) << "disabled";
  robot.dismissPopup();
  EXPECT_EQ(answers, (std::vector<int>{2, 4, 0}));
  EXPECT_FALSE(robot.popupOpen());
}

TEST_F(PopupMenuTest, OutsideAnyThreadNothingIsShown) { EXPECT_EQ(Popup("One|Two"), 0); }

}  // namespace
}  // namespace vrt
