#include "runtime/gui/paged_list.h"

#include <QApplication>
#include <QImage>
#include <QTableWidget>
#include <gtest/gtest.h>

#include "gui_fixture.h"
#include "runtime/gui/keys.h"

namespace vrt {
namespace {

using testing::countEvents;
using testing::runWindow;
using PagedListTest = testing::GuiTest;

std::vector<std::vector<std::string>> rows(int n) {
  std::vector<std::vector<std::string>> r;
  for (int i = 1; i <= n; ++i) r.push_back({"Row " + std::to_string(i), std::to_string(i * 10)});
  return r;
}

WindowSpec browseSpec() {
  WindowSpec design = windowSpec("Browse the Service File", "BrowseService", WindowKind::Child);
  design.controls = {list("?Browse:1", {{"Title", 20}, {"Number", 6, true}}, 5), button("?Close", "&Close")};
  return design;
}

TEST_F(PagedListTest, ShowsThePageItIsGivenAndKeepsItsOwnThumb) {
  PagedList list({{"Title", 20}, {"Number", 6, true}}, 5);
  EXPECT_EQ(list.visibleItems(), 5);
  EXPECT_EQ(list.headerAt(1), "Title");
  list.setRows(rows(3));
  EXPECT_EQ(list.rowCount(), 3);
  EXPECT_EQ(list.rowAt(2), (std::vector<std::string>{"Row 2", "20"}));
  EXPECT_TRUE(list.rowAt(4).empty());
  EXPECT_EQ(list.selectedRow(), 0);
  list.setSelectedRow(3);
  EXPECT_EQ(list.selectedRow(), 3);
  list.setRows(rows(2));
  EXPECT_EQ(list.selectedRow(), 0) << "a highlight past the new page is dropped";
  list.setThumb(140);
  EXPECT_EQ(list.thumb(), 100);
  list.setThumb(-3);
  EXPECT_EQ(list.thumb(), 0);
  list.setThumbVisible(false);
  EXPECT_FALSE(list.thumbVisible());
  list.setVisibleItems(10);
  EXPECT_EQ(list.visibleItems(), 10);
}

TEST_F(PagedListTest, KeysAndTheThumbBecomeScrollEventsForTheBrowse) {
  std::vector<Event> log;
  TestRobot robot;
  StartThread([&] { runWindow(browseSpec(), log); }, 50'000);
  robot.settle();
  Control& listControl = robot.control("BrowseService", "?Browse:1");
  listControl.list()->setRows(rows(5));
  listControl.setSelected(5);
  const int number = listControl.number();

  const std::vector<std::pair<int, int>> keys{{kDownKey, kEventScrollDown}, {kUpKey, kEventScrollUp},
                                              {kPgDnKey, kEventPageDown},   {kPgUpKey, kEventPageUp},
                                              {kCtrlPgUp, kEventScrollTop}, {kCtrlPgDn, kEventScrollBottom},
                                              {kHomeKey, kEventScrollTop},  {kEndKey, kEventScrollBottom}};
  for (const auto& [key, event] : keys) {
    log.clear();
    robot.pressKey("BrowseService", key, "?Browse:1");
    EXPECT_EQ(countEvents(log, event, number), 1) << "key " << key;
  }
  EXPECT_EQ(listControl.selected(), 5) << "the list never moves its highlight by itself";

  log.clear();
  robot.dragThumb("BrowseService", "?Browse:1", 73);
  EXPECT_EQ(countEvents(log, kEventScrollDrag, number), 1);
  EXPECT_EQ(listControl.list()->thumb(), 73);

  log.clear();
  robot.chooseRow("BrowseService", "?Browse:1", 2);
  EXPECT_EQ(countEvents(log, kEventNewSelection, number), 1);
  EXPECT_EQ(listControl.selected(), 2);
  EXPECT_THROW(robot.chooseRow("BrowseService", "?Browse:1", 6), RobotError);
}

TEST_F(PagedListTest, DoubleAndRightClicksAreAlertKeysWhenAlerted) {
  std::vector<Event> log;
  TestRobot robot;
  StartThread(
      [&] {
        Window window(browseSpec());
        window.control("?Browse:1")->alert(kMouseLeft2);
        window.control("?Browse:1")->list()->setRows(rows(3));
        window.open();
        for (;;) {
          Event e = window.accept();
          log.push_back(e);
          if (e.event == kEventCloseDown) return;
        }
      },
      50'000);
  robot.settle();
  Control& listControl = robot.control("BrowseService", "?Browse:1");
  robot.doubleClickRow("BrowseService", "?Browse:1", 3);
  ASSERT_EQ(countEvents(log, kEventAlertKey), 1);
  for (const Event& e : log)
    if (e.event == kEventAlertKey) {
      EXPECT_EQ(e.key, kMouseLeft2);
    }
  EXPECT_EQ(listControl.selected(), 3) << "the row under the mouse is highlighted first";

  log.clear();
  listControl.list()->userRightClick(1);  // right click is not alerted here
  robot.settle();
  EXPECT_EQ(countEvents(log, kEventAlertKey), 0);
  EXPECT_EQ(countEvents(log, kEventNewSelection), 1);
}

TEST_F(PagedListTest, AScrollingListHoldsEveryRowAndShowsNoThumb) {
  std::vector<Event> log;
  TestRobot robot;
  StartThread(
      [&] {
        WindowSpec design = windowSpec("History", "History");
        design.controls = {list("?List", {{"Message", 40}}, 3).scrolling()};
        Window window(std::move(design));
        window.control("?List")->list()->setRows(rows(20));
        window.control("?List")->setSelected(1);
        window.open();
        for (;;) {
          Event e = window.accept();
          log.push_back(e);
          if (e.event == kEventCloseDown) return;
        }
      },
      50'000);
  robot.settle();
  Control& history = robot.control("History", "?List");
  EXPECT_FALSE(history.list()->thumbVisible());
  robot.pressKey("History", kDownKey, "?List");
  EXPECT_EQ(countEvents(log, kEventScrollDown), 0);
  EXPECT_EQ(history.selected(), 2) << "it moves through its own rows";
}

TEST(KeysTest, KeyCodesCarryTheirModifiers) {
  EXPECT_EQ(keyCodeFromQt(Qt::Key_H, Qt::ControlModifier), 584);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Apostrophe, Qt::ControlModifier), 734);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_F6, Qt::NoModifier), kF6Key);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Enter, Qt::ShiftModifier), kShiftEnter);
  EXPECT_EQ(keyCodeFromQt(Qt::Key_Shift, Qt::ShiftModifier), 0);
  for (int code : std::initializer_list<int>{kF6Key, kCtrlH, kCtrlQuote, kInsertKey, kDeleteKey, kCtrlEnter, kShiftEnter, kPgUpKey, int('A')}) {
    auto qt = qtKeyFromCode(code);
    ASSERT_TRUE(qt) << code;
    EXPECT_EQ(keyCodeFromQt(qt->first, qt->second), code);
  }
  EXPECT_FALSE(qtKeyFromCode(kMouseLeft2));
}

}  // namespace
}  // namespace vrt

namespace vrt {
namespace {

// The ink of one cell of a painted list: its bounding box, relative to the cell.
QRect inkOf(PagedList& list, int row, int column) {
  auto* table = list.findChild<QTableWidget*>();
  const QRect cell = table->visualRect(table->model()->index(row - 1, column - 1));
  const QImage image = table->viewport()->grab(cell).toImage();
  const QRgb background = image.pixel(0, 0);
  QRect ink;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < qGray(background) - 80) ink |= QRect(x, y, 1, 1);
  return ink;
}

TEST_F(PagedListTest, CellsArePaintedByTheirAlignmentOneLineUnderAnother) {
  ListColumn group = groupColumn("Title", 20, "Series", 20);
  PagedList list({{"Number", 12, true}, {"Name", 12}, group}, 3);
  list.resize(700, 200);
  list.show();
  list.setRows({{"7", "Ann", "Advent", "Hope"}, {"123456789012345678901234567890", "x", "", ""}});
  auto* table = list.findChild<QTableWidget*>();
  const int width = table->columnWidth(0);
  const QRect number = inkOf(list, 1, 1), name = inkOf(list, 1, 2), twoLines = inkOf(list, 1, 3);
  ASSERT_FALSE(number.isEmpty());
  EXPECT_GT(number.left(), width / 2) << "right-aligned";
  ASSERT_FALSE(name.isEmpty());
  EXPECT_LT(name.right(), table->columnWidth(1) / 2) << "left-aligned";
  const int rowHeight = table->rowHeight(0);
  EXPECT_LT(twoLines.top(), rowHeight / 2);
  EXPECT_GT(twoLines.bottom(), rowHeight / 2) << "the second line under the first";
  EXPECT_GE(twoLines.top(), 1) << "both lines inside the row";
  EXPECT_LE(twoLines.bottom(), rowHeight - 3) << "both lines inside the row, the second not cut";
  EXPECT_LE(std::abs(twoLines.top() - (rowHeight - 1 - twoLines.bottom())), 4) << "centred in the row";
  const QRect tooLong = inkOf(list, 2, 1);
  EXPECT_LE(tooLong.right(), width - 1) << "cut to its column";
  EXPECT_EQ(list.cellText(2, 1), "123456789012345678901234567890") << "the text itself is kept whole";
}

}  // namespace
}  // namespace vrt
