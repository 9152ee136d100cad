// Windows fit the screen they open on: lists inside the frame with their buttons in sight,
// the Window menu's arrangements and list of windows, look-ups over the form that asked,
// list headings and form tabs shown whole. Everything is opened from the frame's menu.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

#include "runtime/gui/frame_host.h"
#include "service_data.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

constexpr const char* kPerformers = "Browse the Performers File";
constexpr const char* kPrayer = "Browse the Prayer Request File";

class WindowRoomTest : public ServiceDataTest {
 protected:
  static QMdiArea* area() { return vrt::FrameHost::mdiArea(); }
  static QRect frameGeometry() { return vrt::FrameHost::frame()->widget()->geometry(); }
  // A widget of a window, where it is inside the frame's window area.
  static QRect inArea(const QWidget* w) {
    return QRect(w->mapTo(area()->viewport(), QPoint(0, 0)), w->size());
  }
  static QRect onScreen(const QWidget* w) { return QRect(w->mapToGlobal(QPoint(0, 0)), w->size()); }
  std::vector<std::string> windowMenu() {
    std::vector<std::string> items;
    for (QAction* a : windowMenuActions())
      if (!a->isSeparator()) items.push_back(a->text().toStdString());
    return items;
  }
  QList<QAction*> windowMenuActions() {
    auto* main = qobject_cast<QMainWindow*>(vrt::FrameHost::frame()->widget());
    for (QAction* a : main->menuBar()->actions())
      if (a->text() == "&Window" && a->menu()) {
        emit a->menu()->aboutToShow();
        return a->menu()->actions();
      }
    return {};
  }
  // Every heading of every list of the window has the room its text asks for.
  void expectHeadingsFit(const char* window) {
    int lists = 0;
    for (const auto& c : robot.window(window).controls()) {
      const vrt::PagedList* list = c->list();
      if (!list) continue;
      ++lists;
      const QHeaderView* header = list->findChild<QTableWidget*>()->horizontalHeader();
      for (int i = 0; i + 1 < header->count(); ++i)  // the last one takes what is left
        EXPECT_GE(header->sectionSize(i), header->sectionSizeHint(i))
            << window << ", " << c->use() << ": \"" << list->headerAt(i + 1) << "\"";
    }
    EXPECT_GT(lists, 0) << window;
  }
};

}  // namespace

TEST_F(WindowRoomTest, TileAndCascadeKeepTheFramesSizeAndItsWindowsInsideIt) {
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.chooseMenu("&Browse|Browse the Performers file");
  robot.chooseMenu("&Browse|Browse the Prayer Request file");
  robot.chooseMenu("&Browse|Browse the Sermon Series file");
  const QRect frame = frameGeometry();
  robot.chooseMenu("&Window|T&ile");
  EXPECT_EQ(frameGeometry(), frame);
  for (QMdiSubWindow* sub : area()->subWindowList())
    EXPECT_TRUE(area()->viewport()->rect().contains(sub->geometry().topLeft())) << sub->windowTitle().toStdString();
  robot.chooseMenu("&Window|&Cascade");
  EXPECT_EQ(frameGeometry(), frame);
  for (QMdiSubWindow* sub : area()->subWindowList())
    EXPECT_TRUE(area()->viewport()->rect().contains(sub->geometry().topLeft())) << sub->windowTitle().toStdString();
  // Still usable after both.
  robot.press(kServices, "?Close");
  EXPECT_EQ(robot.findWindow(kServices), nullptr);
}

TEST_F(WindowRoomTest, AListTallerThanTheFrameOpensSmallerWithItsButtonsInSight) {
  // The frame as a small screen leaves it: less room than the service list asks for.
  QWidget* frame = vrt::FrameHost::frame()->widget();
  frame->resize(frame->width(), frame->height() - (area()->viewport()->height() - 500));
  robot.settle();
  ASSERT_EQ(area()->viewport()->height(), 500);
  robot.chooseMenu("&Browse|Browse the Services file");
  vrt::Window& services = robot.window(kServices);
  const QRect room = area()->viewport()->rect();
  EXPECT_TRUE(room.contains(services.position())) << "window " << services.position().height() << " high in "
                                                  << room.height();
  for (const char* button : {"?Insert", "?Change", "?Delete", "?Close"})
    EXPECT_TRUE(room.contains(inArea(robot.control(kServices, button).widget()))) << button;
  vrt::PagedList* list = robot.control(kServices, "?BROWSE:1").list();
  EXPECT_GE(list->visibleItems(), 3);
  // The list pages by what it shows.
  EXPECT_EQ(list->rowCount(), 3);
  robot.press(kServices, "?Close");
}

TEST_F(WindowRoomTest, ASecondCopyOpensOffsetAndTheWindowMenuListsTheOpenWindows) {
  robot.chooseMenu("&Browse|Browse the Performers file");
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.chooseMenu("&Browse|Browse the Performers file");
  const QList<QMdiSubWindow*> subs = area()->subWindowList(QMdiArea::CreationOrder);
  ASSERT_EQ(subs.size(), 3);
  EXPECT_EQ(subs[0]->windowTitle(), subs[2]->windowTitle());
  EXPECT_NE(subs[0]->geometry().topLeft(), subs[2]->geometry().topLeft()) << "the copy must not hide the first";
  EXPECT_GT(subs[2]->geometry().top(), subs[0]->geometry().top());
  EXPECT_GT(subs[2]->geometry().left(), subs[0]->geometry().left());
  EXPECT_EQ(windowMenu(), (std::vector<std::string>{"T&ile", "&Cascade", "&Arrange Icons", "&1 " + std::string(kPerformers),
                                                    "&2 " + std::string(kServices), "&3 " + std::string(kPerformers)}));
  // The newest is the active one, and choosing another brings it forward.
  EXPECT_TRUE(windowMenuActions().back()->isChecked());
  robot.chooseMenu("&Window|&2 Browse the Service File");
  EXPECT_EQ(area()->activeSubWindow(), subs[1]);
  EXPECT_EQ(vrt::FrameHost::activeChild(), &robot.window(kServices));
  // A closed window leaves the list.
  robot.press(kServices, "?Close");
  EXPECT_EQ(windowMenu(), (std::vector<std::string>{"T&ile", "&Cascade", "&Arrange Icons", "&1 " + std::string(kPerformers),
                                                    "&2 " + std::string(kPerformers)}));
}

TEST_F(WindowRoomTest, ALookupOpensCentredOverTheFormThatAskedForIt) {
  // The performers list was used from the menu and left in the frame's corner area.
  robot.chooseMenu("&Browse|Browse the Performers file");
  robot.window(kPerformers).setPosition(QRect(QPoint(4, 4), robot.window(kPerformers).position().size()));
  robot.press(kPerformers, "?Close");
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.chooseRow(kServices, "?BROWSE:1", 2);
  robot.press(kServices, "?Change");
  ASSERT_NE(robot.findWindow(kChangeService), nullptr);
  robot.press(kChangeService, "?CALLLOOKUP:8");
  ASSERT_NE(robot.findWindow(kPerformers), nullptr);
  const QRect form = onScreen(robot.window(kChangeService).widget());
  const QRect lookup = onScreen(robot.window(kPerformers).widget());
  EXPECT_LE((lookup.center() - form.center()).manhattanLength(), 4)
      << "look-up at " << lookup.x() << "," << lookup.y() << ", form at " << form.x() << "," << form.y();
  robot.doubleClickRow(kPerformers, "?Browse:1", 2);
  robot.press(kChangeService, "?Cancel");
  if (robot.messageBox()) robot.pressMessageButton("No");
  robot.press(kServices, "?Close");
  // The list window keeps its own place.
  robot.chooseMenu("&Browse|Browse the Performers file");
  EXPECT_EQ(robot.window(kPerformers).position().topLeft(), QPoint(4, 4));
}

TEST_F(WindowRoomTest, TheBrowsesQuestionsOpenOverTheBrowseAndWhereTheUserLeftThem) {
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.chooseRow(kServices, "?BROWSE:1", 2);
  const QRect browse = onScreen(robot.window(kServices).widget());
  robot.press(kServices, "?CopyService");
  ASSERT_NE(robot.findWindow("Copy Service"), nullptr);
  const QRect ask = onScreen(robot.window("Copy Service").widget());
  EXPECT_LE((ask.center() - browse.center()).manhattanLength(), 4)
      << "asked at " << ask.x() << "," << ask.y() << ", browse at " << browse.x() << "," << browse.y();
  // Moved by the user, it opens there the next time.
  robot.window("Copy Service").setPosition(QRect(QPoint(40, 30), robot.window("Copy Service").position().size()));
  robot.press("Copy Service", "?Cancel");
  robot.press(kServices, "?CopyService");
  ASSERT_NE(robot.findWindow("Copy Service"), nullptr);
  EXPECT_EQ(robot.window("Copy Service").position().topLeft(), QPoint(40, 30));
  robot.press("Copy Service", "?Cancel");

  // The chart's and the song usage's ranges, asked on threads of their own, over the frame.
  const QRect frame = onScreen(vrt::FrameHost::frame()->widget());
  for (const auto& [button, caption] : {std::pair{"?StatisticsChart", "Statistics Chart"},
                                        std::pair{"?SongUsage", "Song Usage"}}) {
    robot.press(kServices, button);
    ASSERT_NE(robot.findWindow(caption), nullptr) << caption;
    const QRect range = onScreen(robot.window(caption).widget());
    EXPECT_LE((range.center() - frame.center()).manhattanLength(), 4)
        << caption << " at " << range.x() << "," << range.y();
    robot.press(caption, "?Cancel");
  }
}

TEST_F(WindowRoomTest, UpdateServiceShowsAllSixTabsWithoutScrollArrows) {
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.chooseRow(kServices, "?BROWSE:1", 2);
  robot.press(kServices, "?Change");
  vrt::Window& form = robot.window(kChangeService);
  auto* sheet = form.widget()->findChild<QTabWidget*>();
  ASSERT_NE(sheet, nullptr);
  const QTabBar* tabs = sheet->tabBar();
  ASSERT_EQ(tabs->count(), 6);
  for (int i = 0; i < tabs->count(); ++i) {
    EXPECT_TRUE(tabs->rect().contains(tabs->tabRect(i))) << tabs->tabText(i).toStdString();
    EXPECT_EQ(tabs->tabText(i), sheet->tabText(i));
  }
  for (const QToolButton* arrow : tabs->findChildren<QToolButton*>()) EXPECT_FALSE(arrow->isVisible());
  EXPECT_TRUE(onScreen(form.widget()).intersects(onScreen(vrt::FrameHost::frame()->widget())));
  expectHeadingsFit(kChangeService);
  robot.press(kChangeService, "?Cancel");
}

TEST_F(WindowRoomTest, ListHeadingsFitTheirColumns) {
  robot.chooseMenu("&Browse|Browse the Prayer Request file");
  vrt::PagedList* requests = robot.control(kPrayer, "?Browse:1").list();
  EXPECT_EQ(requests->headerAt(1), "Request #");
  expectHeadingsFit(kPrayer);
  robot.chooseMenu("&Browse|Browse the Services file");
  EXPECT_EQ(robot.control(kServices, "?LIST").list()->headerAt(3), "Duration");
  expectHeadingsFit(kServices);
}

