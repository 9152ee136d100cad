#include "runtime/gui/window.h"

#include <QApplication>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "gui_fixture.h"
#include "runtime/gui/look.h"
#include "runtime/gui/paged_list.h"
#include "runtime/text/dates.h"

namespace vrt {
namespace {

using testing::countEvents;
using testing::runWindow;

using WindowTest = testing::GuiTest;

WindowSpec serviceForm(std::string& title, std::int32_t& weekOf, std::int32_t& attendance) {
  WindowSpec design = windowSpec("Changing a Service Record", "UpdateService");
  design.controls = {
      sheet("?CurrentTab",
            {
                tab("&General",
                    {prompt("&Title:"), entry("?SER:Title", "@s20", bind(title)), prompt("&Week of:"),
                     entry("?SER:WeekOf", "@d2", bind(weekOf)).tip("The Sunday of the week")}),
                tab("&Statistics", {prompt("&Attendance:"), entry("?STA:Attendance", "@n6", bind(attendance))}),
            }),
      row({button("?OK", "&OK").makeDefault(), button("?Cancel", "&Cancel"), button("?Help", "&Help").makeHidden()}),
  };
  return design;
}

TEST_F(WindowTest, ControlsAreNumberedInDeclarationOrderAndFoundByUseName) {
  std::string title;
  std::int32_t weekOf = 0, attendance = 0;
  Window window(serviceForm(title, weekOf, attendance));
  // sheet 1, tab 2, prompt 3, entry 4, prompt 5, entry 6, tab 7, prompt 8, entry 9, OK 10 ...
  EXPECT_EQ(window.number("?CurrentTab"), 1);
  EXPECT_EQ(window.number("?SER:Title"), 4);
  EXPECT_EQ(window.number("?ser:title"), 4) << "use names ignore case";
  EXPECT_EQ(window.number("?STA:Attendance"), 9);
  EXPECT_EQ(window.number("?OK"), 10);
  EXPECT_EQ(window.number("?Nothing"), 0);
  EXPECT_EQ(window.control(4)->use(), "?SER:Title");
  EXPECT_EQ(window.control("?Nothing"), nullptr);
  EXPECT_EQ(window.procedure(), "UpdateService");
  EXPECT_EQ(window.caption(), "Changing a Service Record");
}

TEST_F(WindowTest, ExplicitNumbersAreKeptAndSkippedByTheOthers) {
  WindowSpec design = windowSpec("Numbers", "Numbers");
  design.controls = {button("?A", "A"), button("?Fixed", "F").withNumber(2), button("?B", "B")};
  Window window(std::move(design));
  EXPECT_EQ(window.number("?A"), 1);
  EXPECT_EQ(window.number("?Fixed"), 2);
  EXPECT_EQ(window.number("?B"), 3);
}

TEST_F(WindowTest, PropertiesReadBackWhatWasSet) {
  std::string title;
  std::int32_t weekOf = 0, attendance = 0;
  Window window(serviceForm(title, weekOf, attendance));
  Control& ok = *window.control("?OK");
  EXPECT_TRUE(ok.isDefault());
  EXPECT_EQ(ok.text(), "&OK");
  ok.setText("&Save");
  EXPECT_EQ(ok.text(), "&Save");
  ok.setDisabled(true);
  EXPECT_TRUE(ok.disabled());
  window.control("?Cancel")->setDefault(true);
  EXPECT_FALSE(ok.isDefault()) << "one default button per window";
  EXPECT_TRUE(window.control("?Help")->hidden());
  EXPECT_EQ(window.control("?SER:WeekOf")->tip(), "The Sunday of the week");
  ok.setIcon("INSERT.ICO");
  EXPECT_EQ(ok.icon(), "INSERT.ICO");

  Control& tabs = *window.control("?CurrentTab");
  EXPECT_EQ(tabs.selected(), 1);
  tabs.setSelected(2);
  EXPECT_EQ(tabs.selected(), 2);
  Control& statistics = *window.control(7);
  EXPECT_EQ(statistics.text(), "&Statistics");
  statistics.setHidden(true);
  EXPECT_TRUE(statistics.hidden());

  Control& entry = *window.control("?SER:Title");
  entry.setReadOnly(true);
  EXPECT_TRUE(entry.readOnly());
}

TEST_F(WindowTest, OpeningShowsEveryVariableThroughItsPicture) {
  std::string title = "Easter Sunrise";
  std::int32_t weekOf = dateFromYmd(2006, 4, 16), attendance = 1250;
  std::vector<Event> log;
  TestRobot robot;
  StartThread([&] { runWindow(serviceForm(title, weekOf, attendance), log); }, 50'000);
  robot.settle();
  EXPECT_EQ(robot.control("UpdateService", "?SER:Title").text(), "Easter Sunrise");
  EXPECT_EQ(robot.control("UpdateService", "?SER:WeekOf").text(), "04/16/2006");
  EXPECT_EQ(robot.control("UpdateService", "?STA:Attendance").text(), "1,250");
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front().event, kEventOpenWindow);
}

TEST_F(WindowTest, TypedTextIsAcceptedIntoTheVariableOrRejectedLeavingItAlone) {
  std::string title;
  std::int32_t weekOf = dateFromYmd(2006, 3, 18), attendance = 0;
  std::vector<Event> log;
  TestRobot robot;
  StartThread([&] { runWindow(serviceForm(title, weekOf, attendance), log); }, 50'000);
  robot.settle();
  Window& form = robot.window("UpdateService");
  const int weekOfNumber = form.number("?SER:WeekOf");

  robot.type("UpdateService", "?SER:WeekOf", "3/25/2006");
  EXPECT_EQ(weekOf, dateFromYmd(2006, 3, 25));
  EXPECT_EQ(robot.control("UpdateService", "?SER:WeekOf").text(), "03/25/2006") << "redisplayed through the picture";
  EXPECT_EQ(countEvents(log, kEventAccepted, weekOfNumber), 1);

  robot.type("UpdateService", "?SER:WeekOf", "the 31st of Smarch");
  EXPECT_EQ(weekOf, dateFromYmd(2006, 3, 25)) << "the variable keeps its value";
  EXPECT_EQ(countEvents(log, kEventRejected, weekOfNumber), 1);
  EXPECT_EQ(countEvents(log, kEventAccepted, weekOfNumber), 1);

  robot.type("UpdateService", "?SER:Title", "A title longer than twenty characters");
  EXPECT_EQ(title, "A title longer than ");
}

TEST_F(WindowTest, EnterInAnEntryAcceptsItBeforeTheDefaultButtonIsPressed) {
  std::string title;
  std::int32_t weekOf = dateFromYmd(2006, 3, 18), attendance = 0;
  std::vector<Event> log;
  std::int32_t weekOfWhenOkArrived = 0;
  TestRobot robot;
  StartThread(
      [&] {
        runWindow(serviceForm(title, weekOf, attendance), log, [&](Window& w, const Event& e) {
          if (e.event == kEventAccepted && e.control == w.number("?OK")) weekOfWhenOkArrived = weekOf;
          return false;
        });
      },
      50'000);
  robot.settle();
  Window& form = robot.window("UpdateService");
  QLineEdit* edit = qobject_cast<QLineEdit*>(form.control("?SER:WeekOf")->widget());
  form.select(form.number("?SER:WeekOf"));
  edit->selectAll();
  edit->insert("4/2/2006");
  robot.pressKey("UpdateService", kEnterKey);
  EXPECT_EQ(weekOfWhenOkArrived, dateFromYmd(2006, 4, 2));
  EXPECT_EQ(countEvents(log, kEventAccepted, form.number("?SER:WeekOf")), 1);

  edit->selectAll();
  edit->insert("4/31/2006");
  robot.pressKey("UpdateService", kEnterKey);
  EXPECT_EQ(countEvents(log, kEventRejected, form.number("?SER:WeekOf")), 1);
  EXPECT_EQ(countEvents(log, kEventAccepted, form.number("?OK")), 1) << "a rejected value does not press OK";
}

TEST_F(WindowTest, UpdateAllWritesEveryControlBackAndReportsTheFirstRejected) {
  std::string title = "Old";
  std::int32_t weekOf = 0, attendance = 5;
  WindowSpec design = serviceForm(title, weekOf, attendance);
  Window window(std::move(design));
  window.control("?SER:Title")->setText("New title");
  window.control("?SER:WeekOf")->setText("02/30/2006");  // no such day
  window.control("?STA:Attendance")->setText("77");
  EXPECT_EQ(window.updateAll(), window.number("?SER:WeekOf"));
  EXPECT_EQ(title, "New title");
  EXPECT_EQ(weekOf, 0);
  EXPECT_EQ(attendance, 77);
}

TEST_F(WindowTest, ChecksDropListsOptionsAndSpinsStoreTheirValues) {
  std::string answered = "N", category = "Family", kind = "S";
  std::int32_t copies = 1;
  std::vector<Event> log;
  WindowSpec design = windowSpec("Choices", "Choices");
  TestRobot robot;
  design.controls = {
      check("?Answered", "&Answered", bind(answered), "Y", "N"),
      dropList("?Category", {"Church", "Family", "World"}, bind(category)),
      optionGroup("?Kind", "Kind", bind(kind), {radio("&Song", "S"), radio("&Reading", "R")}),
      spin("?Copies", "@n3", bind(copies), 1, 10),
  };
  StartThread([&] { runWindow(std::move(design), log); }, 50'000);
  robot.settle();
  EXPECT_EQ(robot.control("Choices", "?Category").selected(), 2);
  EXPECT_EQ(robot.control("Choices", "?Kind").selected(), 1);

  robot.check("Choices", "?Answered", true);
  robot.chooseItem("Choices", "?Category", "World");
  robot.chooseRadio("Choices", "?Kind", "Reading");
  robot.type("Choices", "?Copies", "4");
  EXPECT_EQ(answered, "Y");
  EXPECT_EQ(category, "World");
  EXPECT_EQ(kind, "R");
  EXPECT_EQ(copies, 4);
  EXPECT_EQ(countEvents(log, kEventAccepted), 4);
  EXPECT_THROW(robot.chooseItem("Choices", "?Category", "Nowhere"), RobotError);
}

TEST_F(WindowTest, AlertedKeysBecomeAlertKeyEventsWithTheirCode) {
  std::string title;
  std::vector<Event> log;
  int keyAfterEvent = 0;
  TestRobot robot;
  StartThread(
      [&] {
        WindowSpec design = windowSpec("Keys", "Keys");
        design.controls = {entry("?Title", "@s20", bind(title)), list("?List", {{"Name", 10}}, 5)};
        design.alertKeys = {kF6Key};
        Window window(std::move(design));
        window.control("?List")->alert(kInsertKey);
        window.control("?List")->alert(kCtrlH);
        window.open();
        for (;;) {
          Event e = window.accept();
          log.push_back(e);
          if (e.event == kEventAlertKey) keyAfterEvent = window.keyCode();
          if (e.event == kEventCloseWindow) return;
        }
      },
      50'000);
  robot.settle();
  robot.pressKey("Keys", kF6Key, "?Title");
  robot.pressKey("Keys", kInsertKey, "?List");
  robot.pressKey("Keys", kCtrlH, "?List");
  robot.pressKey("Keys", kInsertKey, "?Title");  // alerted only on the list: the entry takes it itself
  std::vector<std::pair<int, int>> alerts;
  for (const Event& e : log)
    if (e.event == kEventAlertKey) alerts.emplace_back(e.control, e.key);
  Window& w = robot.window("Keys");
  EXPECT_EQ(alerts, (std::vector<std::pair<int, int>>{
                        {w.number("?Title"), kF6Key}, {w.number("?List"), kInsertKey}, {w.number("?List"), 584}}));
  EXPECT_EQ(keyAfterEvent, 584);
}

TEST_F(WindowTest, AThreadsNewestWindowTakesInputAndItsOlderWindowsWait) {
  std::vector<Event> browseLog, formLog;
  TestRobot robot;
  StartThread(
      [&] {
        WindowSpec design = windowSpec("Browse the Service File", "BrowseService", WindowKind::Child);
        design.controls = {button("?Change", "&Change"), button("?Close", "&Close")};
        runWindow(std::move(design), browseLog, [&](Window&, const Event& e) {
          if (e.event == kEventAccepted) {
            WindowSpec form = windowSpec("Changing a Service Record", "UpdateService");
            form.controls = {button("?OK", "&OK")};
            runWindow(std::move(form), formLog, [](Window&, const Event& f) { return f.event == kEventAccepted; });
          }
          return false;
        });
      },
      50'000);
  robot.settle();
  robot.press("BrowseService", "?Change");
  Window& browse = robot.window("BrowseService");
  Window& form = robot.window("UpdateService");
  EXPECT_TRUE(form.takesInput());
  EXPECT_FALSE(browse.takesInput());
  EXPECT_FALSE(browse.widget()->isEnabled());
  EXPECT_THROW(robot.press("BrowseService", "?Close"), RobotError);

  robot.press("UpdateService", "?OK");
  EXPECT_EQ(robot.findWindow("UpdateService"), nullptr);
  EXPECT_TRUE(browse.takesInput());
  EXPECT_TRUE(browse.widget()->isEnabled());
  EXPECT_EQ(countEvents(browseLog, kEventAccepted), 1);
}

TEST_F(WindowTest, TheCloseBoxAsksTheProcedureInsteadOfClosing) {
  std::vector<Event> log;
  TestRobot robot;
  StartThread([&] { runWindow(windowSpec("Sticky", "Sticky"), log); }, 50'000);
  robot.settle();
  Window& w = robot.window("Sticky");
  QWidget* widget = w.widget();
  QApplication::sendPostedEvents();
  widget->close();  // Qt would hide it; the event goes to the procedure instead
  EXPECT_TRUE(widget->isVisible());
  robot.settle();
  EXPECT_EQ(countEvents(log, kEventCloseWindow), 1);
  EXPECT_FALSE(ThreadAlive(1));
}

TEST_F(WindowTest, TimersPostTimerEvents) {
  std::vector<Event> log;
  TestRobot robot;
  StartThread(
      [&] {
        Window window(windowSpec("Timed", "Timed"));
        window.open();
        window.setTimer(1);
        for (;;) {
          Event e = window.accept();
          log.push_back(e);
          if (e.event == kEventTimer) return;
        }
      },
      50'000);
  robot.settle();
  // The timer fires from the Qt event loop; run it until the thread has seen it.
  while (ThreadAlive(1)) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    robot.settle();
  }
  EXPECT_EQ(log.back().event, kEventTimer);
}

TEST_F(WindowTest, ATimerBehindALookUpLeavesOneTickWaiting) {
  std::vector<Event> log;
  TestRobot robot;
  StartThread(
      [&] {
        Window window(windowSpec("Timed", "Timed"));
        window.open();
        window.setTimer(100'000);  // never runs out by itself while the test runs
        {
          Window lookup(windowSpec("Lookup", "Lookup"));
          lookup.open();
          while (lookup.accept().event != kEventCloseWindow) {
          }
        }
        for (;;) {
          const Event e = window.accept();
          log.push_back(e);
          if (e.event == kEventCloseWindow || e.event == kEventCloseDown) return;
        }
      },
      50'000);
  robot.settle();
  for (int tick = 0; tick < 5; ++tick) robot.fireTimer("Timed");
  robot.closeWindow("Lookup");
  EXPECT_EQ(countEvents(log, kEventTimer), 1);
  robot.fireTimer("Timed");
  EXPECT_EQ(countEvents(log, kEventTimer), 2) << "ticks go on once the window takes them";
}

TEST(LookTest, EveryIconTheScreensNameExistsAndFontsFallBack) {
  for (const char* name : {"INSERT.ICO", "EDIT.ICO", "DELETE.ICO", "MARK.ICO", "VCRFIRST.ICO", "VCRPRIOR.ICO",
                           "VCRUP.ICO", "VCRDOWN.ICO", "VCRNEXT.ICO", "VCRLAST.ICO", "FIND.ICO", "DITTO.ICO",
                           "HELP.ICO", "CAL4.ICO", "SOK.ICO", "SCANCEL.ICO", "WACancel.ico", "WAOk.ico",
                           "EXP_PRI.ICO", "vsp.ico", "ICON:Exclamation", "ICON:Question", "ICON:Hand"}) {
    EXPECT_TRUE(knownIcon(name)) << name;
    EXPECT_FALSE(iconFor(name).isNull()) << name;
  }
  EXPECT_TRUE(iconFor("NOSUCH.ICO").isNull());
  QFont font = fontFor("MS Sans Serif", 8);
  EXPECT_EQ(font.pointSize(), 8);
  EXPECT_EQ(font.family(), fontFor("No Such Font Family", 8).family()) << "both fall back to the desktop font";
}

}  // namespace
}  // namespace vrt
