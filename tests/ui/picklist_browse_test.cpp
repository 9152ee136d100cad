// The pick lists' browses and forms, driven as a user would: opened from the frame's menu to
// be edited, or as a form's look-up opens them to choose from.
#include <gtest/gtest.h>

#include "dictionary/tables.h"
#include "forms_fixture.h"
#include "runtime/gui/paged_list.h"
#include "screens/lookups/picklists.h"
#include "windows/thread_globals.h"

using namespace vesp;
using namespace vesp::testing;
using namespace vrt;

namespace {

constexpr const char* kBrowse = "Browse the ElementType File";

class PickListTest : public FormsTest {
 protected:
  void openElementTypes() { openMenu("&Browse|&Lists|&Element Types", kBrowse); }
  // Opens the browse on a thread of its own as a form's look-up does.
  void openLookup(const char* procedure, Request request = Request::None, std::function<void()> before = {}) {
    response.reset();
    onThread([this, procedure, request, before] {
      if (before) before();
      threadGlobals().GlobalRequest = request;
      PickListProcedure(procedure)();
      response = threadGlobals().GlobalResponse;
      selected = vrt::RecordRef(Buffer(tables::ElementType)).get(ELT_ELEMENTTYPE);
    });
  }
  std::vector<std::string> rows(const char* window) {
    std::vector<std::string> out;
    PagedList* l = robot.control(window, "?Browse:1").list();
    for (int r = 1; r <= l->rowCount(); ++r) out.push_back(l->rowAt(r).at(0));
    return out;
  }
  std::optional<Response> response;  // none until the procedure returns
  std::string selected;
};

}  // namespace

TEST_F(PickListTest, AShortListShowsItsRowsInTextOrder) {
  openElementTypes();
  EXPECT_EQ(rows(kBrowse), (std::vector<std::string>{"Reading", "Song", "Video"}));
  EXPECT_EQ(robot.control(kBrowse, "?ListTitle").text(), "Browsing Records");
  EXPECT_TRUE(robot.control(kBrowse, "?Select").hidden());  // not a look-up
  robot.press(kBrowse, "?Close");
  EXPECT_EQ(robot.findWindow(kBrowse), nullptr);
}

TEST_F(PickListTest, InsertOpensTheFormAndTheNewRowIsListed) {
  openElementTypes();
  robot.press(kBrowse, "?Insert");
  ASSERT_NE(robot.findWindow("Adding a Element Type Record"), nullptr);
  robot.type("Adding a Element Type Record", "?ELT:ELEMENTTYPE", "Anthem");
  robot.press("Adding a Element Type Record", "?OK");
  EXPECT_EQ(rows(kBrowse), (std::vector<std::string>{"Anthem", "Reading", "Song", "Video"}));
  // Change the highlighted row.
  robot.chooseRow(kBrowse, "?Browse:1", 3);
  robot.press(kBrowse, "?Change");
  ASSERT_NE(robot.findWindow("Changing a Element Type Record"), nullptr);
  EXPECT_EQ(robot.control("Changing a Element Type Record", "?ELT:ELEMENTTYPE").text(), "Song");
  robot.type("Changing a Element Type Record", "?ELT:ELEMENTTYPE", "Chorus");
  robot.press("Changing a Element Type Record", "?OK");
  EXPECT_EQ(rows(kBrowse), (std::vector<std::string>{"Anthem", "Chorus", "Reading", "Video"}));
}

TEST_F(PickListTest, DeleteAsksAndNoLeavesTheRecord) {
  openElementTypes();
  robot.chooseRow(kBrowse, "?Browse:1", 2);
  robot.press(kBrowse, "?Delete");
  ASSERT_NE(robot.messageBox(), nullptr);
  robot.pressMessageButton("No");
  EXPECT_EQ(rows(kBrowse).size(), 3u);
  robot.press(kBrowse, "?Delete");
  robot.pressMessageButton("Yes");
  EXPECT_EQ(rows(kBrowse), (std::vector<std::string>{"Reading", "Video"}));
}

TEST_F(PickListTest, ALookupSelectsByDoubleClickAndANewTypeAtOnce) {
  openLookup("BrowseElementType", Request::Select);
  EXPECT_FALSE(robot.control(kBrowse, "?Select").hidden());
  robot.press(kBrowse, "?Insert");
  robot.type("Adding a Element Type Record", "?ELT:ELEMENTTYPE", "Drama");
  robot.press("Adding a Element Type Record", "?OK");
  const auto shown = rows(kBrowse);
  const int drama = static_cast<int>(std::find(shown.begin(), shown.end(), "Drama") - shown.begin()) + 1;
  robot.doubleClickRow(kBrowse, "?Browse:1", drama);
  EXPECT_EQ(robot.findWindow(kBrowse), nullptr);
  EXPECT_EQ(response, Response::Completed);
  EXPECT_EQ(selected, "Drama");
}

TEST_F(PickListTest, ACancelledLookupLeavesTheCallersRecord) {
  openLookup("BrowseElementType", Request::Select, [] {
    vrt::RecordRef(Buffer(tables::ElementType)).set(ELT_ELEMENTTYPE, "Nothing yet");
  });
  robot.chooseRow(kBrowse, "?Browse:1", 2);  // the row is loaded into the buffer
  robot.press(kBrowse, "?Close");
  EXPECT_EQ(response, Response::Cancelled);
  EXPECT_EQ(selected, "Nothing yet");
}

TEST_F(PickListTest, PagingAndArrowKeysMoveThroughTheListNotTheLocator) {
  openElementTypes();
  PagedList* list = robot.control(kBrowse, "?Browse:1").list();
  robot.pressKey(kBrowse, kEndKey, "?Browse:1");
  EXPECT_EQ(list->selectedRow(), 3);
  robot.pressKey(kBrowse, kHomeKey, "?Browse:1");
  EXPECT_EQ(list->selectedRow(), 1);
  robot.pressKey(kBrowse, kDownKey, "?Browse:1");
  EXPECT_EQ(list->selectedRow(), 2);
  robot.pressKey(kBrowse, kPgDnKey, "?Browse:1");
  EXPECT_EQ(list->selectedRow(), 3);
  robot.pressKey(kBrowse, kPgUpKey, "?Browse:1");
  EXPECT_EQ(list->selectedRow(), 1);
  EXPECT_EQ(rows(kBrowse), (std::vector<std::string>{"Reading", "Song", "Video"}));
}

TEST_F(PickListTest, TypingALetterStepsToTheTitlesStartingWithIt) {
  openElementTypes();
  robot.pressKey(kBrowse, 'S', "?Browse:1");
  EXPECT_EQ(robot.control(kBrowse, "?Browse:1").list()->selectedRow(), 2);  // "Song"
  robot.pressKey(kBrowse, 'V', "?Browse:1");
  EXPECT_EQ(robot.control(kBrowse, "?Browse:1").list()->selectedRow(), 3);
}

TEST_F(PickListTest, ClearInTheTopicLookupCancelsItWithTheTopicRecordEmptied) {
  std::string topic = "<unread>";
  std::optional<Response> cleared;
  onThread([&] {
    FileManager& f = Access(tables::Topic);
    static_cast<void>(f.Open());
    static_cast<void>(f.ClearForInsert());
    vrt::RecordRef(*f.BUFFER()).set(TOP_TOPIC, "Grace");
    static_cast<void>(f.Insert());
    threadGlobals().GlobalRequest = Request::Select;
    PickListProcedure("BrowseTopic")();
    cleared = threadGlobals().GlobalResponse;
    topic = vrt::RecordRef(*f.BUFFER()).get(TOP_TOPIC);
    static_cast<void>(f.Close());
  });
  ASSERT_NE(robot.findWindow("Browse the Topic File"), nullptr);
  robot.press("Browse the Topic File", "?Clear");
  EXPECT_EQ(robot.findWindow("Browse the Topic File"), nullptr);
  EXPECT_EQ(cleared, Response::Cancelled);
  EXPECT_EQ(topic, "");
}
