// A browse over more records than its page, driven as a user would: the pick lists opened
// from the frame's menu, and, for the framework's choices no browse of the program makes, a
// test browse with a filter, a held row and a descending order.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <sqlite3.h>

#include <QApplication>
#include <QTableWidget>

#include "dictionary/tables.h"
#include "forms_fixture.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/paged_list.h"
#include "windows/browse_declaration.h"
#include "windows/procedures.h"
#include "windows/thread_globals.h"

using namespace vesp;
using namespace vesp::testing;
using namespace vrt;

namespace {

constexpr const char* kTestBrowse = "Element Types Held";
constexpr const char* kPickBrowse = "Browse the ElementType File";
constexpr const char* kTopics = "Browse the Topic File";

// The element types, but without those starting with X, holding the highlighted row on its
// screen row, with a second tab in descending order.
const BrowseDecl& heldBrowse() {
  static const BrowseDecl decl = [] {
    BrowseDecl b("BrowseElementTypeHeld", kTestBrowse, tables::ElementType);
    b.columns = {{"Element Type", 30, "@s30", {tables::ElementType, dict::idx::ELT::ELEMENTTYPE}}};
    b.hiddenFields = {{tables::ElementType, dict::idx::ELT::ELEMENTTYPENUMBER}};
    BrowseTab down{"&Descending", dict::idx::ELT::keys::ElementTypeKey, BrowseTab::Locator::Step, {},
                   ThumbStep::kLetters | ThumbStep::kDescending};
    down.order = "-UPPER(ELT:ElementType)";
    b.tabs = {{"&Type", dict::idx::ELT::keys::ElementTypeKey, BrowseTab::Locator::Step, {}, ThumbStep::kLetters},
              down};
    b.filter = "SUB(UPPER(ELT:ElementType),1,1) <> 'X'";
    b.retainRow = true;
    b.form = [] { FindProcedure("UpdateElementType")(); };
    return b;
  }();
  return decl;
}

class BrowseRobotTest : public FormsTest {
 protected:
  // `count` more element types: "AA hymn", "AN hymn", "BA hymn", ... "YN hymn" for 50.
  void addTypes(int count, const std::string& prefix = {}) {
    onThread([&] {
      for (int i = 0; i < count; ++i) {
        const std::string name = prefix + std::string{char('A' + i / 2), char(i % 2 ? 'N' : 'A')} + " hymn";
        addRecord(tables::ElementType, [&](RecordRef r) { r.set(ELT_ELEMENTTYPE, name); });
      }
    });
  }
  void openElementTypes() { openMenu("&Browse|&Lists|&Element Types", kPickBrowse); }
  void openHeld() {
    onThread([] {
      threadGlobals().GlobalRequest = Request::None;
      RunBrowse(heldBrowse());
    });
  }
  PagedList& list(const char* window) { return *robot.control(window, "?Browse:1").list(); }
  std::vector<std::string> rows(const char* window, int column = 0) {
    std::vector<std::string> out;
    PagedList& l = list(window);
    for (int r = 1; r <= l.rowCount(); ++r) out.push_back(l.rowAt(r).at(static_cast<std::size_t>(column)));
    return out;
  }
  std::string highlighted(const char* window) {
    PagedList& l = list(window);
    return l.rowAt(l.selectedRow()).at(0);
  }
  int rowOf(const char* window, const std::string& text) {
    const auto shown = rows(window);
    const auto it = std::find(shown.begin(), shown.end(), text);
    return it == shown.end() ? 0 : static_cast<int>(it - shown.begin()) + 1;
  }
};

}  // namespace

TEST_F(BrowseRobotTest, TheThumbDraggedToItsEndsShowsTheFirstAndTheLastPage) {
  addTypes(50);  // with Reading, Song and Video: 53 rows, the last "YN hymn"
  openElementTypes();
  PagedList& l = list(kPickBrowse);
  ASSERT_TRUE(l.thumbVisible());
  robot.dragThumb(kPickBrowse, "?Browse:1", 100);
  EXPECT_EQ(rows(kPickBrowse).back(), "YN hymn");
  EXPECT_EQ(rows(kPickBrowse).size(), 10u);  // a full page at the end: filled from above
  EXPECT_EQ(rows(kPickBrowse).front(), "UN hymn");  // Video sorts among the Vs
  robot.dragThumb(kPickBrowse, "?Browse:1", 1);
  EXPECT_EQ(rows(kPickBrowse).front(), "AA hymn");
  robot.dragThumb(kPickBrowse, "?Browse:1", 100);
  robot.dragThumb(kPickBrowse, "?Browse:1", 0);
  EXPECT_EQ(rows(kPickBrowse).front(), "AA hymn");
  // Half way lands among the middle letters.
  robot.dragThumb(kPickBrowse, "?Browse:1", 50);
  const char middle = rows(kPickBrowse).front().at(0);
  EXPECT_GE(middle, 'K');
  EXPECT_LE(middle, 'N');
}

TEST_F(BrowseRobotTest, EndAndPageDownAtTheEndFillTheWholePage) {
  addTypes(20);
  openElementTypes();
  robot.pressKey(kPickBrowse, kEndKey, "?Browse:1");
  const auto last = rows(kPickBrowse);
  ASSERT_EQ(last.size(), 10u);
  EXPECT_EQ(last.back(), "Video");
  EXPECT_EQ(list(kPickBrowse).selectedRow(), 10);
  robot.pressKey(kPickBrowse, kPgDnKey, "?Browse:1");
  EXPECT_EQ(rows(kPickBrowse), last);
  robot.pressKey(kPickBrowse, kUpKey, "?Browse:1");
  EXPECT_EQ(highlighted(kPickBrowse), "Song");
}

TEST_F(BrowseRobotTest, TypingTheSameLetterWalksDownTheTitlesStartingWithIt) {
  addTypes(50);
  openElementTypes();
  robot.pressKey(kPickBrowse, 'S', "?Browse:1");
  EXPECT_EQ(highlighted(kPickBrowse), "SA hymn");
  robot.pressKey(kPickBrowse, 'S', "?Browse:1");
  EXPECT_EQ(highlighted(kPickBrowse), "SN hymn");
  robot.pressKey(kPickBrowse, 'S', "?Browse:1");
  EXPECT_EQ(highlighted(kPickBrowse), "Song");
}

// No browse of the program has a descending tab: the test browse has.
TEST_F(BrowseRobotTest, ADescendingOrderLandsOnTheLastTitleStartingWithTheLetter) {
  addTypes(50);
  openHeld();
  robot.chooseTab(kTestBrowse, "?CurrentTab", "&Descending");
  EXPECT_EQ(highlighted(kTestBrowse), "AA hymn");  // another order starts at the highlighted record
  robot.pressKey(kTestBrowse, kHomeKey, "?Browse:1");
  EXPECT_EQ(rows(kTestBrowse).front(), "YN hymn");
  robot.pressKey(kTestBrowse, 'M', "?Browse:1");
  EXPECT_EQ(highlighted(kTestBrowse), "MN hymn");
  // No title starts with Z: the first before it in this order.
  robot.pressKey(kTestBrowse, kHomeKey, "?Browse:1");
  robot.pressKey(kTestBrowse, 'Q', "?Browse:1");
  EXPECT_EQ(highlighted(kTestBrowse), "QN hymn");
}

TEST_F(BrowseRobotTest, ACommonPrefixSpreadsTheThumbOverTheLettersAfterIt) {
  onThread([] {  // only the prefixed titles in the list
    FileManager& f = Access(tables::ElementType);
    static_cast<void>(f.Open());
    static_cast<void>(f.Use());
    for (const char* t : {"Song", "Video", "Reading"}) {
      f.BUFFER()->setText(f.FILE()->schema().fields[dict::idx::ELT::ELEMENTTYPE], t);
      if (f.Fetch(dict::idx::ELT::keys::ElementTypeKey) == Level::Benign) static_cast<void>(f.Delete(false));
    }
    static_cast<void>(f.Close());
  });
  addTypes(50, "The ");
  openElementTypes();
  PagedList& l = list(kPickBrowse);
  robot.pressKey(kPickBrowse, 'T', "?Browse:1");  // every title starts with T
  robot.dragThumb(kPickBrowse, "?Browse:1", 50);
  EXPECT_EQ(rows(kPickBrowse).front().substr(0, 4), "The ");
  const char middle = rows(kPickBrowse).front().at(4);
  EXPECT_GE(middle, 'K');
  EXPECT_LE(middle, 'N');
  // The highlighted row's letter after the prefix sets the thumb.
  robot.pressKey(kPickBrowse, kHomeKey, "?Browse:1");
  EXPECT_LE(l.thumb(), 5);
  robot.pressKey(kPickBrowse, kEndKey, "?Browse:1");
  EXPECT_GE(l.thumb(), 95);
}

TEST_F(BrowseRobotTest, EqualFirstAndLastValuesKeepTheThumbInTheMiddle) {
  onThread([] {
    for (int i = 0; i < 30; ++i) addRecord(tables::ElementType, [](RecordRef r) { r.set(ELT_ELEMENTTYPE, "Song"); });
    FileManager& f = Access(tables::ElementType);
    static_cast<void>(f.Open());
    static_cast<void>(f.Use());
    for (const char* t : {"Video", "Reading"}) {
      f.BUFFER()->setText(f.FILE()->schema().fields[dict::idx::ELT::ELEMENTTYPE], t);
      if (f.Fetch(dict::idx::ELT::keys::ElementTypeKey) == Level::Benign) static_cast<void>(f.Delete(false));
    }
    static_cast<void>(f.Close());
  });
  openElementTypes();
  PagedList& l = list(kPickBrowse);
  ASSERT_TRUE(l.thumbVisible());
  EXPECT_EQ(l.thumb(), 50);
  robot.pressKey(kPickBrowse, kPgDnKey, "?Browse:1");
  EXPECT_EQ(l.thumb(), 50);
}

// No browse of the program has a filter of its own: the test browse has.
TEST_F(BrowseRobotTest, AChangeThatLeavesTheFilterTakesTheRowOutOfTheList) {
  openHeld();
  EXPECT_EQ(rows(kTestBrowse), (std::vector<std::string>{"Reading", "Song", "Video"}));
  robot.chooseRow(kTestBrowse, "?Browse:1", 2);
  robot.press(kTestBrowse, "?Change");
  robot.type("Changing a Element Type Record", "?ELT:ELEMENTTYPE", "Xylophone");
  robot.press("Changing a Element Type Record", "?OK");
  EXPECT_EQ(rows(kTestBrowse), (std::vector<std::string>{"Reading", "Video"}));
  EXPECT_EQ(records(tables::ElementType), 3);  // still stored, only filtered out
}

// No browse of the program holds its row on its screen row: the test browse does.
TEST_F(BrowseRobotTest, AHeldRowStaysOnItsScreenRowWhenTheListIsFilledAgain) {
  addTypes(50);
  openHeld();
  robot.pressKey(kTestBrowse, 'M', "?Browse:1");
  robot.chooseRow(kTestBrowse, "?Browse:1", 6);
  const std::string held = highlighted(kTestBrowse);
  ASSERT_EQ(held.size(), 7u);
  // A change refills the list; the changed record keeps row 6 though the rows above differ.
  robot.press(kTestBrowse, "?Change");
  const std::string changed = held.substr(0, 1) + "B" + held.substr(2);
  robot.type("Changing a Element Type Record", "?ELT:ELEMENTTYPE", changed);
  robot.press("Changing a Element Type Record", "?OK");
  EXPECT_EQ(list(kTestBrowse).selectedRow(), 6);
  EXPECT_EQ(highlighted(kTestBrowse), changed);
  // Another order and back: filled again around the held record.
  robot.chooseTab(kTestBrowse, "?CurrentTab", "&Descending");
  EXPECT_EQ(highlighted(kTestBrowse), changed);
  robot.chooseTab(kTestBrowse, "?CurrentTab", "&Type");
  EXPECT_EQ(highlighted(kTestBrowse), changed);
}

TEST_F(BrowseRobotTest, ADoubleClickSelectsARowButNotTheHeader) {
  // The role list as the performer form's look-up.
  constexpr const char* kRoles = "Browse the Role File";
  constexpr const char* kPerformer = "Changing a Performers Record";
  onThread([] { addRecord(tables::Performers, [](RecordRef r) { r.set(PER_LASTNAME, "Young"); }); });
  openMenu("&Browse|Browse the Performers file", "Browse the Performers File");
  pressOnRow("Browse the Performers File", 1, "?Change");
  robot.press(kPerformer, "?CALLLOOKUP");
  ASSERT_NE(robot.findWindow(kRoles), nullptr);
  robot.clickHeader(kRoles, "?Browse:1", 1, kMouseLeft2);
  ASSERT_NE(robot.findWindow(kRoles), nullptr);
  EXPECT_EQ(robot.findWindow("Changing a Role Record"), nullptr);
  EXPECT_EQ(text(kPerformer, "?PER:ROLE"), "");
  robot.doubleClickRow(kRoles, "?Browse:1", 2);
  EXPECT_EQ(robot.findWindow(kRoles), nullptr);
  EXPECT_EQ(text(kPerformer, "?PER:ROLE"), "Usher");
}

TEST_F(BrowseRobotTest, InsertThenDownInTheFormSavesAndOpensAnEmptyInsertForm) {
  openElementTypes();
  robot.press(kPickBrowse, "?Insert");
  robot.type("Adding a Element Type Record", "?ELT:ELEMENTTYPE", "Anthem");
  robot.pressToolbar(3009);  // Down: "Go to the Next Record"
  ASSERT_NE(robot.findWindow("Adding a Element Type Record"), nullptr);
  EXPECT_EQ(text("Adding a Element Type Record", "?ELT:ELEMENTTYPE"), "");
  EXPECT_EQ(rows(kPickBrowse).front(), "Anthem");  // saved before the next form opened
  robot.press("Adding a Element Type Record", "?Cancel");
  EXPECT_EQ(robot.messageBox(), nullptr);  // nothing typed: nothing to ask
  EXPECT_EQ(robot.findWindow("Adding a Element Type Record"), nullptr);
  EXPECT_EQ(rows(kPickBrowse), (std::vector<std::string>{"Anthem", "Reading", "Song", "Video"}));
  EXPECT_EQ(records(tables::ElementType), 4);
}

TEST_F(BrowseRobotTest, TheTopicBrowseLocatesTypedText) {
  onThread([] {
    for (const char* t : {"Grace", "Hope", "Faith", "Salvation", "Service"})
      addRecord(tables::Topic, [t](RecordRef r) { r.set(TOP_TOPIC, t); });
  });
  openMenu("&Browse|&Lists|&Topics", kTopics);
  EXPECT_EQ(rows(kTopics), (std::vector<std::string>{"Faith", "Grace", "Hope", "Salvation", "Service"}));
  robot.typeCharacter(kTopics, "s", "?Browse:1");  // goes to the locator's entry
  EXPECT_EQ(text(kTopics, "?Locator:1"), "s");
  robot.type(kTopics, "?Locator:1", "se");
  EXPECT_EQ(highlighted(kTopics), "Service");
  robot.type(kTopics, "?Locator:1", std::string(300, 'z'));  // longer than the field: cut, not refused
  EXPECT_EQ(rows(kTopics).size(), 5u) << "past the last topic: the last page, not an empty list";
  EXPECT_EQ(highlighted(kTopics), "Service");
  EXPECT_EQ(robot.messageBox(), nullptr);
}

TEST_F(BrowseRobotTest, ARecordDeletedElsewhereWhileHighlightedIsReportedAndTheListRefilled) {
  openElementTypes();
  robot.chooseRow(kPickBrowse, "?Browse:1", 2);  // "Song"
  onThread([] {                                   // another station deletes it
    FileManager& f = Access(tables::ElementType);
    static_cast<void>(f.Open());
    f.BUFFER()->setText(f.FILE()->schema().fields[dict::idx::ELT::ELEMENTTYPE], "Song");
    ASSERT_EQ(f.Fetch(dict::idx::ELT::keys::ElementTypeKey), Level::Benign);
    ASSERT_EQ(f.Delete(false), Level::Benign);
    static_cast<void>(f.Close());
  });
  robot.press(kPickBrowse, "?Change");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_NE(robot.control(robot.messageBox()->caption(), std::string(kMessageTextUse)).text().find("changed or deleted"),
            std::string::npos);
  robot.pressMessageButton("Ok");
  EXPECT_EQ(robot.findWindow("Changing a Element Type Record"), nullptr);
  ASSERT_NE(robot.findWindow(kPickBrowse), nullptr);
  EXPECT_EQ(rows(kPickBrowse), (std::vector<std::string>{"Reading", "Video"}));
}

TEST_F(BrowseRobotTest, AReadOnlyTableStillBrowsesAndRefusesChanges) {
  std::string path;
  onThread([&] { path = TableFile(tables::ElementType).path(); });
  ASSERT_FALSE(path.empty());
  namespace fs = std::filesystem;
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  robot.chooseMenu("&Browse|&Lists|&Element Types");
  ASSERT_NE(robot.messageBox(), nullptr);  // told once that it is read-only
  EXPECT_NE(robot.control(robot.messageBox()->caption(), std::string(kMessageTextUse)).text().find("read-only"),
            std::string::npos);
  robot.pressMessageButton("Ok");
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_EQ(rows(kPickBrowse), (std::vector<std::string>{"Reading", "Song", "Video"}));
  robot.pressKey(kPickBrowse, kDownKey, "?Browse:1");
  EXPECT_EQ(robot.messageBox(), nullptr);  // once, not on every read
  robot.press(kPickBrowse, "?Delete");
  if (robot.messageBox() && robot.findWindow("Confirm Delete")) robot.pressMessageButton("Yes");
  ASSERT_NE(robot.messageBox(), nullptr);  // the delete is refused with a message
  robot.pressMessageButton("Ok");
  EXPECT_EQ(rows(kPickBrowse), (std::vector<std::string>{"Reading", "Song", "Video"}));
  fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(records(tables::ElementType), 3);
}

// Counts the paints of every browse list's rows, and the rows the list held at the first.
struct RowPaints : QObject {
  int paints = 0;
  int rowsAtFirstPaint = -1;
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() != QEvent::Paint || !watched->parent() || !watched->parent()->inherits("QTableWidget")) return false;
    if (paints++ == 0) rowsAtFirstPaint = static_cast<QTableWidget*>(watched->parent())->rowCount();
    return false;
  }
};

// The window's first paint draws the full first page, and the rows are not painted once
// more on their own for having been filled after the window was shown: besides the first
// paint, only the header's own later resize of its last column repaints them.
TEST_F(BrowseRobotTest, AnOpeningBrowsePaintsItsFullPageOnce) {
  addTypes(30);
  RowPaints counter;
  qApp->installEventFilter(&counter);
  openElementTypes();
  robot.settle();  // the frame paints what it has shown
  QApplication::processEvents();
  qApp->removeEventFilter(&counter);
  ASSERT_EQ(list(kPickBrowse).rowCount(), 10);
  EXPECT_EQ(counter.rowsAtFirstPaint, 10);
  EXPECT_EQ(counter.paints, 2);
}

TEST_F(BrowseRobotTest, AnEmptyTableShowsAnEmptyListWithoutAMessage) {
  onThread([] {
    FileManager& f = Access(tables::ElementType);
    static_cast<void>(f.Open());
    static_cast<void>(f.Use());
    for (const char* t : {"Song", "Video", "Reading"}) {
      f.BUFFER()->setText(f.FILE()->schema().fields[dict::idx::ELT::ELEMENTTYPE], t);
      if (f.Fetch(dict::idx::ELT::keys::ElementTypeKey) == Level::Benign) static_cast<void>(f.Delete(false));
    }
    static_cast<void>(f.Close());
  });
  openElementTypes();
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_EQ(list(kPickBrowse).rowCount(), 0);
  EXPECT_TRUE(robot.control(kPickBrowse, "?Change").disabled());
  EXPECT_TRUE(robot.control(kPickBrowse, "?Delete").disabled());
  EXPECT_FALSE(robot.control(kPickBrowse, "?Insert").disabled());
  robot.pressKey(kPickBrowse, kDeleteKey, "?Browse:1");
  robot.pressKey(kPickBrowse, kPgDnKey, "?Browse:1");
  EXPECT_EQ(robot.messageBox(), nullptr);
}

TEST_F(BrowseRobotTest, AReadThatFailsIsReportedAndClosesTheBrowse) {
  addTypes(30);
  openElementTypes();
  std::string path;
  onThread([&] { path = TableFile(tables::ElementType).path(); });
  // Another program takes the table out of the file while the list is open.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  std::vector<std::string> names;
  sqlite3_exec(db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%'",
               [](void* out, int, char** values, char**) {
                 static_cast<std::vector<std::string>*>(out)->push_back(values[0]);
                 return 0;
               },
               &names, nullptr);
  for (const std::string& n : names)
    EXPECT_EQ(sqlite3_exec(db, ("DROP TABLE \"" + n + "\"").c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
  sqlite3_close(db);
  robot.pressKey(kPickBrowse, kPgDnKey, "?Browse:1");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Record Retrieval Error");
  robot.pressMessageButton("Ok");
  EXPECT_EQ(robot.messageBox(), nullptr);  // one message, not one per row
  EXPECT_EQ(robot.findWindow(kPickBrowse), nullptr);
}
