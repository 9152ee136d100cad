// The performers' browse and form, and the role list they look roles up in.
#include "elements_fixture.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

namespace PER = dict::idx::PER;
constexpr const char* kBrowse = "Browse the Performers File";
constexpr const char* kAdding = "Adding a Performers Record";
constexpr const char* kRoles = "Browse the Role File";

class PerformersTest : public ElementsTest {
 protected:
  void SetUp() override {
    ElementsTest::SetUp();
    for (const char* r : {"Pastor", "Usher"}) add(tables::Role, [r](vrt::RecordRef b) { b.set(ROL_ROLE, r); });
    person("Grace", "Young", "Pastor", "grace@example.org");
    person("Abel", "Brown", "Usher", "");
    person("Anna", "Brown", "", "");
  }
  std::int64_t person(const char* first, const char* last, const char* role, const char* mail) {
    return add(tables::Performers, [=](vrt::RecordRef b) {
      b.set(PER_FIRSTNAME, first);
      b.set(PER_LASTNAME, last);
      b.set(PER_ROLE, role);
      b.set(PER_EMAIL, mail);
    });
  }
};

}  // namespace

TEST_F(PerformersTest, TheMenuOpensTheBrowseByLastNameThenFirstName) {
  robot.chooseMenu("&Browse|Browse the Performers file");
  ASSERT_NE(robot.findWindow(kBrowse), nullptr);
  EXPECT_EQ(column(kBrowse, 1), (std::vector<std::string>{"Brown", "Brown", "Young"}));
  EXPECT_EQ(column(kBrowse, 2), (std::vector<std::string>{"Abel", "Anna", "Grace"}));
  EXPECT_EQ(column(kBrowse, 4), (std::vector<std::string>{"Usher", "", "Pastor"}));
  EXPECT_EQ(text(kBrowse, "?Clear"), "C&lear");
  robot.type(kBrowse, "?Locator:1", "Y");
  EXPECT_EQ(robot.control(kBrowse, "?Browse:1").list()->selectedRow(), 3);
  robot.press(kBrowse, "?Close");
  EXPECT_EQ(robot.findWindow(kBrowse), nullptr);
}

TEST_F(PerformersTest, ARoleNotInTheListOpensTheRoleBrowseAndTheChoiceIsCopiedAsText) {
  robot.chooseMenu("&Browse|Browse the Performers file");
  robot.press(kBrowse, "?Insert");
  ASSERT_NE(robot.findWindow(kAdding), nullptr);
  robot.type(kAdding, "?PER:FIRSTNAME", "Ruth");
  robot.type(kAdding, "?PER:LASTNAME", "Adams");
  robot.type(kAdding, "?PER:ROLE", "usher");  // found: the text stays as typed
  EXPECT_EQ(robot.findWindow(kRoles), nullptr);
  robot.type(kAdding, "?PER:ROLE", "Drummer");
  ASSERT_NE(robot.findWindow(kRoles), nullptr);
  EXPECT_EQ(column(kRoles, 1), (std::vector<std::string>{"Pastor", "Usher"}));
  robot.chooseRow(kRoles, "?Browse:1", 1);
  robot.press(kRoles, "?Select");
  EXPECT_EQ(text(kAdding, "?PER:ROLE"), "Pastor");
  robot.press(kAdding, "?OK");
  EXPECT_EQ(column(kBrowse, 1), (std::vector<std::string>{"Adams", "Brown", "Brown", "Young"}));
  EXPECT_EQ(column(kBrowse, 4).front(), "Pastor");
}

TEST_F(PerformersTest, AClickOnAnEmailCellWritesToThePerson) {
  robot.chooseMenu("&Browse|Browse the Performers file");
  robot.clickCell(kBrowse, "?Browse:1", 3, 1);  // not the address column
  EXPECT_TRUE(opener->opened.empty());
  robot.clickCell(kBrowse, "?Browse:1", 3, 5);
  EXPECT_EQ(opener->opened, std::vector<std::string>{"mailto:grace@example.org"});
}

TEST_F(PerformersTest, InALookupAClickOnAnEmailCellPicksTheRowAndWritesToNoOne) {
  call("BrowsePerformers", tables::Performers, Request::Select);
  ASSERT_NE(robot.findWindow(kBrowse), nullptr);
  robot.clickCell(kBrowse, "?Browse:1", 3, 5);
  EXPECT_TRUE(opener->opened.empty());
  EXPECT_EQ(robot.control(kBrowse, "?Browse:1").list()->selectedRow(), 3);
  EXPECT_EQ(robot.messageBox(), nullptr);
}

TEST_F(PerformersTest, AnEmailCellHoldingAScriptOpensNothingAndSaysWhy) {
  person("Eve", "Adams", "", "javascript:alert('a@b')");
  robot.chooseMenu("&Browse|Browse the Performers file");
  robot.clickCell(kBrowse, "?Browse:1", 1, 5);
  EXPECT_TRUE(opener->opened.empty());
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(robot.messageBox()->caption(), "Shell Execute Error:");
  robot.pressMessageButton("Ok");
}

TEST_F(PerformersTest, ClearClosesTheLookupCancelledWithThePerformerRecordEmptied) {
  std::string last = "<unread>";
  after = [&] { last = vrt::RecordRef(Buffer(tables::Performers)).get(PER_LASTNAME); };
  call("BrowsePerformers", tables::Performers, Request::Select, 0,
       [] { vrt::RecordRef(Buffer(tables::Performers)).set(PER_LASTNAME, "Young"); });
  ASSERT_NE(robot.findWindow(kBrowse), nullptr);
  EXPECT_FALSE(robot.control(kBrowse, "?Select").hidden());
  robot.press(kBrowse, "?Clear");
  EXPECT_EQ(robot.findWindow(kBrowse), nullptr);
  EXPECT_EQ(response, Response::Cancelled);
  EXPECT_EQ(last, "");
}

TEST_F(PerformersTest, TheRoleListHasItsOwnBrowseAndForm) {
  call("BrowseRole", tables::Role, Request::None);
  ASSERT_NE(robot.findWindow(kRoles), nullptr);
  robot.press(kRoles, "?Insert");
  ASSERT_NE(robot.findWindow("Adding a Role Record"), nullptr);
  robot.type("Adding a Role Record", "?ROL:ROLE", "Cantor");
  robot.press("Adding a Role Record", "?OK");
  EXPECT_EQ(column(kRoles, 1), (std::vector<std::string>{"Cantor", "Pastor", "Usher"}));
  EXPECT_EQ(robot.window(kRoles).procedure(), "BrowseRole");
}
