// The popup menu class: item names and markers, menu text with submenus, and choosing an
// item on the popup's own thread.
#include "program_fixture.h"
#include "runtime/gui/control.h"
#include "runtime/gui/popup_menu.h"
#include "windows/popup_menu.h"

using namespace vesp;
using namespace vesp::testing;

TEST(PopupMenuItems, AreNamedFromTheirTextAndTakeTheirMarkers) {
  PopupMenu popup;
  popup.Init();
  EXPECT_EQ(popup.AddItem("&Insert"), "Insert");
  EXPECT_EQ(popup.AddItem("&Insert"), "Insert1");
  EXPECT_EQ(popup.AddItem("-"), "Separator");
  EXPECT_EQ(popup.AddItem("-"), "Separator1");
  EXPECT_EQ(popup.AddItem("~+&Bold Text"), "BoldText");
  const PopupItem& bold = popup.POPUPITEMS[popup.ItemExists("BoldText") - 1];
  EXPECT_EQ(bold.TEXT, "&Bold Text");
  EXPECT_EQ(bold.DISABLED, 1);
  EXPECT_EQ(bold.CHECK, 1);
  EXPECT_EQ(popup.AddItem("-Italic"), "Italic");
  EXPECT_EQ(popup.POPUPITEMS.back().CHECK, 2);
  EXPECT_EQ(popup.POPUPITEMS[popup.ItemExists("Separator") - 1].TEXT, "-");
  // Inserted after a named item, at its depth.
  popup.AddItem("Sub", "Sub", {}, 2);
  EXPECT_EQ(popup.AddItem({}, "&After", "Sub"), "After");
  EXPECT_EQ(popup.ItemExists("After"), popup.ItemExists("Sub") + 1);
  EXPECT_EQ(popup.POPUPITEMS[popup.ItemExists("After") - 1].DEPTH, 2);
  EXPECT_EQ(popup.ItemExists("Nothing"), 0);
  popup.DeleteItem("Insert1");
  EXPECT_EQ(popup.ItemExists("Insert1"), 0);
  EXPECT_EQ(popup.GetItems(), 7);
  EXPECT_EQ(popup.GetItems(true), 5);
}

TEST(PopupMenuItems, MenuTextOpensAndClosesSubmenus) {
  PopupMenu popup;
  popup.Init();
  popup.AddMenu("View{One|Two}|Close");
  ASSERT_EQ(popup.POPUPITEMS.size(), 4u);
  std::vector<std::pair<std::string, int>> got;
  for (const PopupItem& i : popup.POPUPITEMS) got.emplace_back(i.NAME, i.DEPTH);
  EXPECT_EQ(got, (std::vector<std::pair<std::string, int>>{{"View", 1}, {"One", 2}, {"Two", 2}, {"Close", 1}}));
  popup.SetItemEnable("Two", false);
  popup.SetItemCheck("Close", true);
  popup.SetIcon("One", "INSERT.ICO");
  EXPECT_EQ(popup.MenuText(), "View{[icon=INSERT.ICO]One|~Two}+Close");
  // What is shown reads back as the same menu.
  const auto entries = vrt::parsePopupText(popup.MenuText());
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[2].text, "Two");
  EXPECT_TRUE(entries[2].disabled);
  EXPECT_EQ(entries[3].depth, 1);
}

namespace {

using PopupMenuTest = ProgramTest;

}  // namespace

TEST_F(PopupMenuTest, AChosenItemIsNamedCountedAndPostsItsAction) {
  start();
  struct Outcome {
    std::string name;
    int number = -1;
    std::vector<int> accepted;
    std::vector<int> userEvents;
  } outcome;
  vrt::StartThread(
      [&outcome] {
        vrt::WindowSpec design = vrt::windowSpec("Menus", "Menus");
        design.controls = {vrt::button("?Menu", "&Menu"), vrt::button("?Insert", "&Insert"),
                           vrt::button("?Close", "Close")};
        vrt::Window w(std::move(design));
        w.open();
        PopupMenu popup;
        popup.Init(&w);
        popup.AddMenu("View{One|Two}|Close");
        popup.AddItemMimic("Add", w.number("?Insert"), "!&Add");
        popup.AddItemEvent("Refresh", vrt::kEventUser + 1, w.number("?Menu"));
        for (;;) {
          const vrt::Event e = w.accept();
          if (e.event == vrt::kEventCloseWindow || e.event == vrt::kEventCloseDown) return;
          if (e.event == vrt::kEventUser + 1) outcome.userEvents.push_back(e.control);
          if (e.event != vrt::kEventAccepted) continue;
          if (e.control == w.number("?Close")) return;
          if (e.control == w.number("?Menu")) {
            outcome.name = popup.Ask();
            outcome.number = popup.LASTNUMBERSELECTION;
          } else {
            outcome.accepted.push_back(e.control);
          }
        }
      },
      50'000);
  robot.settle();
  vrt::Window& w = robot.window("Menus");
  robot.press("Menus", "?Menu");
  ASSERT_TRUE(robot.popupOpen());
  robot.choosePopup("View|Two");
  EXPECT_EQ(outcome.name, "Two");
  EXPECT_EQ(outcome.number, 2);  // the header View is not counted
  // The mimic item shows its button's caption and presses it.
  robot.press("Menus", "?Menu");
  robot.choosePopup("&Insert");
  EXPECT_EQ(outcome.name, "Add");
  EXPECT_EQ(outcome.number, 4);
  EXPECT_EQ(outcome.accepted, std::vector<int>{w.number("?Insert")});
  // An event item posts its event to its control.
  robot.press("Menus", "?Menu");
  robot.choosePopup("Refresh");
  EXPECT_EQ(outcome.userEvents, std::vector<int>{w.number("?Menu")});
  robot.press("Menus", "?Menu");
  robot.dismissPopup();
  EXPECT_EQ(outcome.name, "");
  EXPECT_EQ(outcome.number, 0);
  robot.press("Menus", "?Close");
}
