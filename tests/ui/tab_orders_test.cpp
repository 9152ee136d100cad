// Tabs as sort orders: the tab shown picks the order and the locator shown.
#include "program_fixture.h"
#include "runtime/gui/control.h"
#include "windows/tab_orders.h"

using namespace vesp;
using namespace vesp::testing;

using TabOrdersTest = ProgramTest;

TEST_F(TabOrdersTest, TheShownTabPicksTheOrderAndItsLocator) {
  start();
  std::vector<int> orders;
  std::vector<std::pair<bool, bool>> hidden;
  vrt::StartThread(
      [&] {
        std::string byTitle, byDate;
        vrt::WindowSpec design = vrt::windowSpec("Orders", "Orders", vrt::WindowKind::Child);
        design.controls = {
            vrt::sheet("?Sheet", {vrt::tab("By &Title", {vrt::entry("?Locate:Title", "@s20", vrt::bind(byTitle))}),
                                  vrt::tab("By &Date", {vrt::entry("?Locate:Date", "@s20", vrt::bind(byDate))}),
                                  vrt::tab("&Unsorted", {})}),
            vrt::button("?Close", "Close")};
        vrt::Window w(std::move(design));
        w.open();
        const std::vector<TabOrder> tabs = {{2, "?Locate:Title"}, {3, "?Locate:Date"}, {1, ""}};
        const auto note = [&] {
          orders.push_back(SortOrderForTab(w, "?Sheet", tabs));
          hidden.emplace_back(w.control("?Locate:Title")->hidden(), w.control("?Locate:Date")->hidden());
        };
        note();
        for (;;) {
          const vrt::Event e = w.accept();
          if (e.event == vrt::kEventNewSelection && e.control == w.number("?Sheet")) note();
          if (e.event == vrt::kEventCloseWindow || e.event == vrt::kEventCloseDown ||
              (e.event == vrt::kEventAccepted && e.control == w.number("?Close")))
            return;
        }
      },
      50'000);
  robot.settle();
  robot.chooseTab("Orders", "?Sheet", "By &Date");
  robot.chooseTab("Orders", "?Sheet", "&Unsorted");
  EXPECT_EQ(orders, (std::vector<int>{2, 3, 1}));
  EXPECT_EQ(hidden, (std::vector<std::pair<bool, bool>>{{false, true}, {true, false}, {true, true}}));
  robot.press("Orders", "?Close");
}
