// A list window worked from the keyboard alone: opened from the menu or as a look-up it
// takes the keys in its list at once, typing locates, Tab moves on, and the look-up hands
// the focus on to the form's next field when it closes.
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <set>

#include "screens_fixture.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

constexpr const char* kPerformers = "Browse the Performers File";
constexpr const char* kRoles = "Browse the Role File";
constexpr const char* kAdding = "Adding a Performers Record";

class KeyboardUseTest : public ScreensTest {
 protected:
  void SetUp() override {
    ScreensTest::SetUp();
    for (const char* last : {"Adams", "Baker", "Johnson", "Jones", "Mabry", "Martin", "Smith"})
      add(tables::Performers, [last](vrt::RecordRef r) {
        r.set(PER_FIRSTNAME, "Pat");
        r.set(PER_LASTNAME, last);
      });
    for (const char* role : {"Pastor", "Reader", "Usher"}) add(tables::Role, [role](vrt::RecordRef r) { r.set(ROL_ROLE, role); });
  }

  // The use name of the control holding the keyboard focus in `window` ("" for none).
  std::string focused(const char* window) {
    vrt::Window& w = robot.window(window);
    vrt::Control* c = w.control(w.focusedControl());
    return c ? c->use() : std::string();
  }
  std::string highlighted(const char* window) {
    vrt::PagedList* list = robot.control(window, "?Browse:1").list();
    return list->rowAt(list->selectedRow()).at(0);
  }
};

}  // namespace

TEST_F(KeyboardUseTest, TypingOnTheListStartsANewSearchThatEnterLocates) {
  robot.chooseMenu("&Browse|Browse the Performers file");
  EXPECT_EQ(focused(kPerformers), "?Browse:1") << "the list takes the keys as soon as it opens";
  robot.typeCharacter(kPerformers, "m");
  EXPECT_EQ(focused(kPerformers), "?Locator:1");
  robot.typeCharacter(kPerformers, "a");
  EXPECT_EQ(text(kPerformers, "?Locator:1"), "ma");
  robot.pressKey(kPerformers, vrt::kEnterKey);
  EXPECT_EQ(highlighted(kPerformers), "Mabry");
  EXPECT_EQ(focused(kPerformers), "?Browse:1");
  EXPECT_EQ(robot.findWindow("Changing a Performers Record"), nullptr) << "Enter in the locator only locates";

  // A later search starts afresh rather than going on from "ma".
  robot.typeCharacter(kPerformers, "j");
  robot.typeCharacter(kPerformers, "o");
  EXPECT_EQ(text(kPerformers, "?Locator:1"), "jo");
  robot.pressKey(kPerformers, vrt::kEnterKey);
  EXPECT_EQ(highlighted(kPerformers), "Johnson");

  // Keys typed faster than the focus moves still make one search; Tab locates as Enter does.
  QWidget* list = robot.control(kPerformers, "?Browse:1").widget()->focusProxy();
  for (const char* c : {"s", "m"}) {
    QKeyEvent key(QEvent::KeyPress, QChar(*c).toUpper().unicode(), Qt::NoModifier, QString::fromLatin1(c));
    QApplication::sendEvent(list, &key);
  }
  robot.settle();
  EXPECT_EQ(text(kPerformers, "?Locator:1"), "sm");
  robot.pressKey(kPerformers, vrt::kTabKey);
  EXPECT_EQ(highlighted(kPerformers), "Smith");
}

TEST_F(KeyboardUseTest, TabLeavesTheListAndALookupHandsTheFocusOnToTheNextField) {
  robot.chooseMenu("&Browse|Browse the Performers file");
  robot.pressKey(kPerformers, vrt::kTabKey);
  EXPECT_EQ(focused(kPerformers), "?Insert") << "Tab goes to the next control, not the next cell";
  robot.pressKey(kPerformers, int{vrt::kTabKey} | vrt::kShift);
  EXPECT_EQ(focused(kPerformers), "?Browse:1");

  robot.pressKey(kPerformers, vrt::kInsertKey);
  ASSERT_NE(robot.findWindow(kAdding), nullptr);
  robot.type(kAdding, "?PER:LASTNAME", "Quinn");
  robot.press(kAdding, "?CALLLOOKUP");
  ASSERT_NE(robot.findWindow(kRoles), nullptr);
  EXPECT_EQ(focused(kRoles), "?Browse:1") << "the look-up's list takes the keys at once";
  robot.pressKey(kRoles, vrt::kDownKey);
  robot.pressKey(kRoles, vrt::kEnterKey);  // Select
  EXPECT_EQ(robot.findWindow(kRoles), nullptr);
  EXPECT_EQ(text(kAdding, "?PER:ROLE"), "Reader");
  EXPECT_EQ(focused(kAdding), "?PER:EMAIL") << "past the look-up button, to the next field";

  // A look-up cancelled from its button moves on too.
  robot.press(kAdding, "?CALLLOOKUP");
  robot.press(kRoles, "?Close");
  EXPECT_EQ(text(kAdding, "?PER:ROLE"), "Reader");
  EXPECT_EQ(focused(kAdding), "?PER:EMAIL");
  robot.press(kAdding, "?OK");
}

TEST_F(KeyboardUseTest, EveryItemOfTheBrowseMenuHasItsOwnMnemonic) {
  auto* main = qobject_cast<QMainWindow*>(vrt::FrameHost::frame()->widget());
  ASSERT_NE(main, nullptr);
  QMenu* browse = nullptr;
  for (QAction* a : main->menuBar()->actions())
    if (a->text() == "&Browse") browse = a->menu();
  ASSERT_NE(browse, nullptr);
  std::set<QChar> letters;
  int items = 0;
  for (QAction* a : browse->actions()) {
    if (a->isSeparator()) continue;
    ++items;
    const QString text = a->text();
    const qsizetype at = text.indexOf(QLatin1Char('&'));
    ASSERT_TRUE(at >= 0 && at + 1 < text.size()) << text.toStdString();
    EXPECT_TRUE(letters.insert(text[at + 1].toUpper()).second) << "a second item on " << text.toStdString();
  }
  EXPECT_EQ(items, 12);  // ten browses, the song library and the Lists submenu
}
