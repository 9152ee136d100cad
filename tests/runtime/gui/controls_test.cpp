// Controls as forms, browses and the preview use them, driven through the robot.
#include <QAccessible>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include "gui_fixture.h"
#include "runtime/gui/beep.h"
#include "runtime/gui/look.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/window_builder.h"
#include "runtime/gui/paged_list.h"

namespace vrt {
namespace {

using testing::countEvents;
using testing::runWindow;

using ControlsTest = testing::GuiTest;

TEST_F(ControlsTest, ListColumnsFormatAlignAndGroupTwoLines) {
  PagedList list({groupColumn("Title", 30, "Series", 20), column("Week Of", 10, "@d2", ColumnAlign::Right),
                  column("Pre", 1, {}, ColumnAlign::Center), column("Offering", 12, "@n-12.2")},
                 5);
  list.setRows({{"Easter", "Risen", "75985", "Y", "-1234.5"}});
  EXPECT_EQ(list.linesPerRow(), 2);
  EXPECT_EQ(list.headerAt(1), "Title\nSeries");
  EXPECT_EQ(list.cellText(1, 1), "Easter\nRisen");
  EXPECT_EQ(list.cellText(1, 2), Picture::parse("@d2")->format(75985.0)) << "a date column shows the day as a date";
  EXPECT_NE(list.cellText(1, 2), "75985");
  EXPECT_EQ(list.cellText(1, 4), "-1,234.50");
  EXPECT_EQ(list.rowAt(1), (std::vector<std::string>{"Easter", "Risen", "75985", "Y", "-1234.5"}))
      << "the row keeps the values as given";
  EXPECT_EQ(list.alignmentOf(1), ColumnAlign::Left);
  EXPECT_EQ(list.alignmentOf(2), ColumnAlign::Right);
  EXPECT_EQ(list.alignmentOf(3), ColumnAlign::Center);
  list.setRows({{"Short"}});
  EXPECT_EQ(list.cellText(1, 1), "Short\n") << "a short row leaves the missing values blank";
  EXPECT_EQ(list.rowAt(1).size(), 5u);
}

TEST_F(ControlsTest, ClicksTellRowColumnAndHeaderAndReachAlertedKeys) {
  std::vector<Event> log;
  std::vector<ListClick> clicks;
  StartThread([&] {
    WindowSpec design = windowSpec("Clicks", "Clicks");
    design.controls = {list("?List", {column("Desc", 20), column("Conj", 4, {}, ColumnAlign::Center)}, 4)};
    runWindow(std::move(design), log, [&](Window& w, const Event& e) {
      if (e.event == kEventOpenWindow) {
        Control& l = *w.control("?List");
        l.alert(kMouseLeft);
        l.alert(kMouseRight);
        l.list()->setRows({{"a", "AND"}, {"b", ""}});
      }
      if (e.event == kEventAlertKey || (e.event == kEventAccepted && e.control == w.number("?List")))
        clicks.push_back(w.control("?List")->list()->lastClick());
      return false;
    });
  }, 50'000);
  TestRobot robot;
  robot.settle();
  robot.clickCell("Clicks", "?List", 2, 2);
  robot.rightClickRow("Clicks", "?List", 1);
  robot.clickHeader("Clicks", "?List", 1);
  robot.clickHeader("Clicks", "?List", 2, kMouseLeft2);
  ASSERT_EQ(clicks.size(), 4u);
  EXPECT_EQ(clicks[0].row, 2);
  EXPECT_EQ(clicks[0].column, 2);
  EXPECT_FALSE(clicks[0].header);
  EXPECT_EQ(clicks[1].key, kMouseRight);
  EXPECT_EQ(clicks[1].row, 1);
  EXPECT_EQ(robot.control("Clicks", "?List").selected(), 1) << "a right click highlights its row first";
  EXPECT_TRUE(clicks[2].header);
  EXPECT_EQ(clicks[2].row, 0);
  EXPECT_EQ(clicks[3].column, 2);
  EXPECT_EQ(clicks[3].key, kMouseLeft2);
  EXPECT_EQ(countEvents(log, kEventAccepted), 1) << "a header double-click is no row's double-click";
  EXPECT_THROW(robot.clickCell("Clicks", "?List", 3, 1), RobotError);
  EXPECT_THROW(robot.clickCell("Clicks", "?List", 1, 3), RobotError);
  robot.closeWindow("Clicks");
}

TEST_F(ControlsTest, LookGeometryPictureRangeAndInsertAtCaret) {
  std::string address = "http://x";
  std::int32_t amount = 1234, page = 1;
  std::string notes = "ab";
  WindowSpec design = windowSpec("Look", "Look");
  design.controls = {prompt("&Web:"), entry("?Web", "@s40", bind(address)).colors(0xFF0000).underlined().cursor(CursorKind::Hand),
                     entry("?Amount", "@n6", bind(amount)), spin("?Page", "@n3", bind(page), 1, 1),
                     textBox("?Notes", bind(notes))};
  Window window(std::move(design));
  window.open();
  Control& web = *window.control("?Web");
  EXPECT_EQ(web.color(), 0xFF0000);
  EXPECT_TRUE(web.underline());
  EXPECT_EQ(web.cursor(), CursorKind::Hand);
  web.setColor(0x0000FF);
  EXPECT_EQ(web.color(), 0x0000FF);
  web.setUnderline(false);
  EXPECT_FALSE(web.underline());
  web.setCursor(CursorKind::Arrow);
  EXPECT_EQ(web.cursor(), CursorKind::Arrow);

  web.setGeometry(QRect(0, 0, 150, 30));
  EXPECT_EQ(web.geometry().size(), QSize(150, 30));
  EXPECT_TRUE(web.contains(web.geometry().center()));
  EXPECT_FALSE(window.control("?Amount")->contains(web.geometry().center()));

  Control& amountEntry = *window.control("?Amount");
  EXPECT_EQ(amountEntry.text(), "1,234");
  EXPECT_TRUE(amountEntry.setPicture("@n-9.2"));
  EXPECT_EQ(amountEntry.text(), "1,234.00");
  EXPECT_FALSE(amountEntry.setPicture("@nonsense"));
  EXPECT_EQ(amountEntry.pictureText(), "@n-9.2") << "a bad picture keeps the old one";

  Control& spinner = *window.control("?Page");
  spinner.setText("7");
  EXPECT_EQ(spinner.text(), "1") << "beyond the range it was built with";
  spinner.setRange(1, 12);
  spinner.setText("7");
  EXPECT_EQ(spinner.text(), "7");
  EXPECT_EQ(spinner.high(), 12);

  Control& box = *window.control("?Notes");
  auto* edit = qobject_cast<QPlainTextEdit*>(box.widget());
  QTextCursor caret = edit->textCursor();
  caret.setPosition(1);
  edit->setTextCursor(caret);
  EXPECT_TRUE(box.insertAtCursor("XY"));
  EXPECT_EQ(box.text(), "aXYb");
  EXPECT_TRUE(box.modified() || box.touched());
  box.setReadOnly(true);
  EXPECT_FALSE(box.insertAtCursor("Z"));
  EXPECT_EQ(box.text(), "aXYb");

  const int before = BeepCount();
  Beep(150, 16);
  EXPECT_EQ(BeepCount(), before + 1);
  EXPECT_EQ(LastBeep().frequency, 150);
}

TEST_F(ControlsTest, PunctuationAndCharactersBeyondAsciiCanBeAlerted) {
  std::vector<Event> log;
  StartThread([&] {
    WindowSpec design = windowSpec("Keys", "Keys");
    design.controls = {list("?List", {column("Name", 20)}, 4), button("?Close", "&Close")};
    runWindow(std::move(design), log, [](Window& w, const Event& e) {
      if (e.event == kEventOpenWindow) w.control("?List")->alertCharacters(true);
      return false;
    });
  }, 50'000);
  TestRobot robot;
  robot.settle();
  robot.typeCharacter("Keys", "é", "?List");
  robot.typeCharacter("Keys", "!", "?List");
  robot.typeCharacter("Keys", "a", "?List");
  std::vector<Event> keys;
  for (const Event& e : log)
    if (e.event == kEventAlertKey) keys.push_back(e);
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_EQ(keys[0].key, kCharacterKey);
  EXPECT_EQ(keys[0].character, 0xE9);
  EXPECT_EQ(keys[1].key, kCharacterKey);
  EXPECT_EQ(keys[1].character, '!');
  EXPECT_EQ(keys[2].key, 'A');
  EXPECT_EQ(keys[2].character, 'a');
  robot.pressKey("Keys", kPeriodKey, "?Close");
  EXPECT_EQ(countEvents(log, kEventAlertKey), 3) << "only the list alerts characters";
  robot.closeWindow("Keys");
}

TEST_F(ControlsTest, TopLevelWindowCarriesMenusToolbarAndStatusZones) {
  std::vector<Event> log;
  StartThread([&] {
    std::int32_t page = 1;
    WindowSpec design = windowSpec("Report Preview", "Preview");
    design.menus = {menu("&File", {menuItem("?Print", "&Print").help("Print the report"), menuItem("?Exit", "E&xit")})};
    design.toolbar = {toolButton("?PrintButton", {}).icon("INSERT.ICO").tip("Print this report"), prompt("&Page:"),
                      spin("?PageSpin", "@n3", bind(page), 1, 5).help("Enter a page number from 1 to 5")};
    design.statusZones = {0, 120, 120};
    design.controls = {button("?OK", "&OK").help("Accept data and close the window")};
    runWindow(std::move(design), log, [](Window& w, const Event& e) {
      if (e.event == kEventOpenWindow) {
        w.setStatusText(2, "Page 1 of 5");
        w.setStatusText(3, "Zoom: Tile Pages");
        w.setTimer(10);
      }
      return e.event == kEventAccepted && e.control == w.number("?Exit");
    });
  }, 50'000);
  TestRobot robot;
  robot.settle();
  Window& preview = robot.window("Report Preview");
  EXPECT_EQ(preview.statusText(2), "Page 1 of 5");
  EXPECT_EQ(preview.statusText(3), "Zoom: Tile Pages");
  robot.chooseMenu("Report Preview", "&File|Print");
  EXPECT_EQ(countEvents(log, kEventAccepted, preview.number("?Print")), 1);
  robot.pressToolbar("Report Preview", "Print this report");
  EXPECT_EQ(countEvents(log, kEventAccepted, preview.number("?PrintButton")), 1);
  robot.type("Report Preview", "?PageSpin", "3");
  EXPECT_EQ(robot.control("Report Preview", "?PageSpin").text(), "3");
  EXPECT_EQ(robot.hover("Report Preview", "?OK"), "Accept data and close the window");
  EXPECT_EQ(robot.hover("Report Preview", "?PageSpin"), "Enter a page number from 1 to 5");
  robot.fireTimer("Report Preview");
  robot.fireTimer("Report Preview");
  EXPECT_EQ(countEvents(log, kEventTimer), 2);
  robot.chooseMenu("Report Preview", "&File|Exit");
  EXPECT_EQ(robot.findWindow("Report Preview"), nullptr);
}

TEST_F(ControlsTest, RobotRefusesControlsOnHiddenTabsAndInDisabledGroupsAndFiresOnlyRunningTimers) {
  std::string a, b;
  std::vector<Event> log;
  StartThread([&] {
    WindowSpec design = windowSpec("Tabs", "Tabs");
    design.controls = {sheet("?Sheet", {tab("&One", {entry("?A", "@s10", bind(a))}),
                                        tab("&Two", {entry("?B", "@s10", bind(b))}, "?TabTwo").makeHidden()}),
                       region("?Group", {button("?Inside", "&Inside")}).makeDisabled()};
    runWindow(std::move(design), log);
  }, 50'000);
  TestRobot robot;
  robot.settle();
  robot.type("Tabs", "?A", "fine");
  EXPECT_EQ(a, "fine");
  EXPECT_THROW(robot.type("Tabs", "?B", "never"), RobotError);
  EXPECT_EQ(b, "");
  EXPECT_THROW(robot.press("Tabs", "?Inside"), RobotError);
  EXPECT_THROW(robot.fireTimer("Tabs"), RobotError);
  robot.window("Tabs").control("?TabTwo")->setHidden(false);
  robot.type("Tabs", "?B", "now");
  EXPECT_EQ(b, "now");
  robot.window("Tabs").control("?Group")->setDisabled(false);
  robot.press("Tabs", "?Inside");
  EXPECT_EQ(countEvents(log, kEventAccepted, robot.window("Tabs").number("?Inside")), 1);
  robot.closeWindow("Tabs");
}

// The names an accessibility client reads, found by walking Qt's accessibility tree.
void collectNames(QAccessibleInterface* node, std::vector<std::pair<QAccessible::Role, std::string>>& out, int depth = 0) {
  if (!node || depth > 30) return;
  out.emplace_back(node->role(), node->text(QAccessible::Name).toStdString());
  for (int i = 0; i < node->childCount(); ++i) collectNames(node->child(i), out, depth + 1);
}

bool hasName(const std::vector<std::pair<QAccessible::Role, std::string>>& names, QAccessible::Role role,
             const std::string& name) {
  for (const auto& [r, n] : names)
    if (r == role && n == name) return true;
  return false;
}

TEST_F(ControlsTest, AccessibilityNamesAndKeyboardConventions) {
  std::string title;
  std::vector<Event> log;
  StartThread([&] {
    WindowSpec design = windowSpec("Changing a Role Record", "UpdateRole");
    design.controls = {prompt("&Title:"), entry("?ROL:Title", "@s20", bind(title)), prompt("&Roles:"),
                       list("?List", {column("Role", 10), column("Count", 5)}, 3),
                       check("?Active", "&Active", {}),
                       button("?Calendar", {}).icon("INSERT.ICO").tip("Choose a date"),
                       row({button("?OK", "&OK").makeDefault(), button("?Cancel", "&Cancel")})};
    runWindow(std::move(design), log, [](Window& w, const Event& e) {
      if (e.event == kEventOpenWindow) w.control("?List")->list()->setRows({{"Elder", "3"}});
      return false;
    });
  }, 50'000);
  TestRobot robot;
  robot.settle();
  Window& form = robot.window("Changing a Role Record");
  std::vector<std::pair<QAccessible::Role, std::string>> names;
  collectNames(QAccessible::queryAccessibleInterface(form.widget()), names);
  EXPECT_EQ(names.front().second, "Changing a Role Record") << "the window is named by its caption";
  EXPECT_TRUE(hasName(names, QAccessible::EditableText, "Title")) << "an entry is named by its prompt";
  EXPECT_TRUE(hasName(names, QAccessible::Table, "Roles"));
  EXPECT_TRUE(hasName(names, QAccessible::ColumnHeader, "Role"));
  EXPECT_TRUE(hasName(names, QAccessible::Cell, "Elder"));
  EXPECT_TRUE(hasName(names, QAccessible::CheckBox, "Active"));
  EXPECT_TRUE(hasName(names, QAccessible::Button, "Choose a date")) << "an icon-only button is named by its tip";
  EXPECT_TRUE(hasName(names, QAccessible::Button, "OK"));

  // Tab goes from control to control in the order of declaration.
  QWidget* titleEdit = form.control("?ROL:Title")->widget();
  QWidget* next = titleEdit->nextInFocusChain();
  while (next && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(Window::owning(next), &form);
  EXPECT_EQ(controlNumberOf(next), form.number("?List"));

  // Enter on a check box presses the default button; Escape presses Cancel.
  robot.pressKey("Changing a Role Record", kEnterKey, "?Active");
  EXPECT_EQ(countEvents(log, kEventAccepted, form.number("?OK")), 1);
  robot.pressKey("Changing a Role Record", kEscKey, "?ROL:Title");
  EXPECT_EQ(countEvents(log, kEventAccepted, form.number("?Cancel")), 1);
  robot.closeWindow("Changing a Role Record");
}

TEST_F(ControlsTest, MessageBoxesExposeTitleAndText) {
  int answer = 0;
  StartThread([&] { answer = Message("Save the record?", "Save Record", kIconQuestion, kButtonYes | kButtonNo); }, 50'000);
  TestRobot robot;
  robot.settle();
  Window* box = robot.messageBox();
  ASSERT_NE(box, nullptr);
  std::vector<std::pair<QAccessible::Role, std::string>> names;
  collectNames(QAccessible::queryAccessibleInterface(box->widget()), names);
  bool title = false, text = false;
  for (const auto& [role, name] : names) {
    title = title || name == "Save Record";
    text = text || name == "Save the record?";
  }
  EXPECT_TRUE(title);
  EXPECT_TRUE(text);
  robot.pressMessageButton("No");
  EXPECT_EQ(answer, kButtonNo);
}

}  // namespace
}  // namespace vrt
