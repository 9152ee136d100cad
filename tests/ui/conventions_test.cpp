#include <optional>

#include <QWidget>

#include "program_fixture.h"
#include "runtime/gui/buttons.h"
#include "runtime/gui/calendar.h"
#include "runtime/gui/control.h"
#include "runtime/gui/message_box.h"
#include "runtime/settings/settings_file.h"
#include "windows/calendar_key.h"
#include "windows/message_windows.h"
#include "windows/window_placement.h"

using namespace vesp;
using namespace vesp::testing;
using namespace vrt;

namespace {

// A thread with one window, running `body` on it until the window closes.
void runOn(TestRobot& robot, WindowSpec design, std::function<bool(Window&, const Event&)> onEvent) {
  StartThread(
      [design = std::move(design), onEvent]() mutable {
        Window w(std::move(design));
        w.open();
        for (;;) {
          const Event e = w.accept();
          if (e.event == kEventCloseWindow || e.event == kEventCloseDown) return;
          if (onEvent(w, e)) return;
        }
      },
      50'000);
  robot.settle();
}

using ConventionsTest = ProgramTest;

}  // namespace

TEST_F(ConventionsTest, F6OpensTheCalendarOnTheFocusedField) {
  std::int32_t answered = dateFromYmd(2006, 3, 18);
  std::int32_t dayCount = 5;
  WindowSpec design = windowSpec("Dates", "Dates");
  design.controls = {entry("?Answered", "@d2-", bind(answered)), entry("?Days", "@n-14", bind(dayCount))};
  design.alertKeys = {kF6Key};
  runOn(robot, design, [](Window& w, const Event& e) {
    if (e.event == kEventAlertKey && e.key == kF6Key) CalendarOnFocusedControl(w);
    return false;
  });
  robot.pressKey("Dates", kF6Key, "?Answered");
  EXPECT_EQ(robot.window(kCalendarProcedure).caption(), kCalendarCaption);
  robot.pressKey(kCalendarProcedure, kDownKey);  // a week on
  robot.pressKey(kCalendarProcedure, kEnterKey);
  EXPECT_EQ(answered, dateFromYmd(2006, 3, 25));
  EXPECT_EQ(robot.control("Dates", "?Answered").text(), "03-25-2006");
  // Cancelled, nothing changes.
  robot.pressKey("Dates", kF6Key, "?Answered");
  robot.pressKey(kCalendarProcedure, kEscKey);
  EXPECT_EQ(answered, dateFromYmd(2006, 3, 25));
  // A field that is not a date gets the day number.
  robot.pressKey("Dates", kF6Key, "?Days");
  robot.pressKey(kCalendarProcedure, kDownKey);
  robot.pressKey(kCalendarProcedure, kEnterKey);
  EXPECT_EQ(dayCount, 12);  // day 5 and a week on
}

TEST_F(ConventionsTest, F6AcceptsTheFieldOnlyWhenADateIsChosen) {
  std::int32_t answered = dateFromYmd(2006, 3, 18);
  WindowSpec design = windowSpec("Dates", "Dates");
  design.controls = {entry("?Answered", "@d2-", bind(answered))};
  design.alertKeys = {kF6Key};
  std::vector<int> accepted;
  runOn(robot, design, [&accepted](Window& w, const Event& e) {
    if (e.event == kEventAccepted) accepted.push_back(e.control);
    if (e.event == kEventAlertKey && e.key == kF6Key) CalendarOnFocusedControl(w);
    return false;
  });
  const int field = robot.window("Dates").number("?Answered");
  // Accepting the field before the calendar opens would run a look-up field's look-up.
  robot.pressKey("Dates", kF6Key, "?Answered");
  ASSERT_NE(robot.findWindow(kCalendarProcedure), nullptr);
  robot.pressKey(kCalendarProcedure, kEscKey);
  EXPECT_TRUE(accepted.empty());
  robot.pressKey("Dates", kF6Key, "?Answered");
  robot.pressKey(kCalendarProcedure, kEnterKey);
  EXPECT_EQ(accepted, std::vector<int>{field});
}

TEST_F(ConventionsTest, TheCalendarOpensBesideAndBelowTheField) {
  std::int32_t answered = 0;
  WindowSpec design = windowSpec("Dates", "Dates", WindowKind::Owned);
  design.controls = {prompt("&Answered:"), entry("?Answered", "@d2-", bind(answered))};
  design.alertKeys = {kF6Key};
  runOn(robot, design, [](Window& w, const Event& e) {
    if (e.event == kEventOpenWindow) w.setPosition(QRect(120, 80, 0, 0));
    if (e.event == kEventAlertKey && e.key == kF6Key) CalendarOnFocusedControl(w);
    return false;
  });
  QWidget* field = robot.control("Dates", "?Answered").widget();
  const QPoint fieldOnScreen = field->mapToGlobal(QPoint(0, 0));
  ASSERT_GT(fieldOnScreen.x(), 120);
  robot.pressKey("Dates", kF6Key, "?Answered");
  EXPECT_EQ(robot.window(kCalendarProcedure).widget()->pos(),
            QPoint(fieldOnScreen.x() + field->width(), fieldOnScreen.y() + field->height() + 14));
}

TEST_F(ConventionsTest, WindowPlacesAreRememberedInTheSettingsFile) {
  settingsFile().Open(kSettingsFileName, SettingsFile::Ini);
  auto openWith = [&](const char* procedure, std::function<void(Window&)> then) {
    WindowSpec design = windowSpec(procedure, procedure, WindowKind::Owned);
    design.controls = {button("?Close", "&Close")};
    runOn(robot, design, [then](Window& w, const Event& e) {
      if (e.event == kEventOpenWindow) then(w);
      return e.event == kEventAccepted;
    });
    robot.press(procedure, "?Close");
  };
  // Closed maximised: "Maximize" is "Yes", no position; the next open maximises it.
  openWith("UpdateService", [](Window& w) {
    w.widget()->showMaximized();
    SaveWindowPlacement("UpdateService", w);
  });
  EXPECT_EQ(settingsFile().Fetch("UpdateService", "Maximize"), "Yes");
  EXPECT_EQ(settingsFile().Fetch("UpdateService", "XPos", "none"), "none");
  bool maximised = false;
  openWith("UpdateService", [&](Window& w) {
    RestoreWindowPlacement("UpdateService", w);
    maximised = w.widget()->isMaximized();
  });
  EXPECT_TRUE(maximised);
  // A window that cannot be resized keeps its designed size.
  openWith("UpdateTopic", [](Window& w) {
    w.widget()->setFixedSize(300, 200);
    w.setPosition(QRect(40, 50, 300, 200));
    SaveWindowPlacement("UpdateTopic", w);
  });
  EXPECT_NE(settingsFile().Fetch("UpdateTopic", "XPos", "none"), "none");
  EXPECT_EQ(settingsFile().Fetch("UpdateTopic", "Width", "none"), "none");
  QSize size;
  openWith("UpdateTopic", [&](Window& w) {
    w.widget()->setFixedSize(320, 210);
    RestoreWindowPlacement("UpdateTopic", w);
    size = w.widget()->size();
  });
  EXPECT_EQ(size, QSize(320, 210));
  // A sector whose item holds "$" comes back whole after the file is written and read.
  ASSERT_TRUE(settingsFile().AddSector("BrowseService", "Pay$day $$ list", "Columns"));
  settingsFile().Close();
  settingsFile().Open(kSettingsFileName, SettingsFile::Ini);
  const auto sectors = settingsFile().Sectors();
  ASSERT_EQ(sectors.size(), 1u);
  EXPECT_EQ(sectors[0].item, "Pay$day $$ list");
  settingsFile().Close();
}

TEST_F(ConventionsTest, TheErrorManagerShowsItsMessagesAsWindowsOfTheCallingThread) {
  start();
  std::optional<Level> answer;  // none until the thread has its answer
  StartThread([&answer] { answer = errorManager().Raise(Msg::ConfirmDelete); }, 50'000);
  robot.settle();
  Window* box = robot.messageBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->caption(), "Confirm Delete");
  EXPECT_EQ(robot.control("Confirm Delete", kMessageTextUse).text(),
            "Are you sure you want to delete the highlighted record?");
  robot.pressMessageButton("No");
  EXPECT_EQ(answer, Level::Cancel);
  // The history window, with its columns and buttons.
  int pressed = -1;
  StartThread([&pressed] { pressed = windowMessageDisplay().ShowHistory({{"Disk full", "Brik", 21}}, Button::Ok | Button::Help); },
              50'000);
  robot.settle();
  EXPECT_EQ(robot.window(kHistoryWindowTitle).caption(), "Errors History");
  robot.press(kHistoryWindowTitle, buttonUse(kButtonOk));
  EXPECT_EQ(pressed, Button::Ok);
}
