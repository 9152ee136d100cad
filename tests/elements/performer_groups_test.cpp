// Performer groups and their members, and what deleting a group or a person does to the
// records that name them.
#include "elements_fixture.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

namespace PGD = dict::idx::PGD;
namespace SEL = dict::idx::SEL;
constexpr const char* kGroups = "Browse the Performer Group File";
constexpr const char* kGroup = "Changing a Performer Group Record";
constexpr const char* kMember = "Adding a Performer Group Record";
constexpr const char* kPerformers = "Browse the Performers File";

class PerformerGroupsTest : public ElementsTest {
 protected:
  void SetUp() override {
    ElementsTest::SetUp();
    for (const char* r : {"Drums", "Pastor", "Usher"}) add(tables::Role, [r](vrt::RecordRef b) { b.set(ROL_ROLE, r); });
    grace = add(tables::Performers, [](vrt::RecordRef b) {
      b.set(PER_FIRSTNAME, "Grace");
      b.set(PER_LASTNAME, "Young");
      b.set(PER_ROLE, "Pastor");
    });
    band = add(tables::PerformerGroupHeader, [](vrt::RecordRef b) { b.set(PGH_DESCRIPTION, "Youth Band"); });
    choir = add(tables::PerformerGroupHeader, [](vrt::RecordRef b) { b.set(PGH_DESCRIPTION, "Choir"); });
    member(band, "Abel", "Brown", "Drums", 1);
    member(band, "Anna", "Adams", "Usher", 0);
    member(choir, "Ruth", "Cole", "", 0);
  }
  void member(std::int64_t group, const char* first, const char* last, const char* role, int leader) {
    add(tables::PerformerGroupDetail, [=](vrt::RecordRef b) {
      b.set(PGD_PERFORMERGROUPNUMBER, static_cast<std::int32_t>(group));
      b.set(PGD_FIRSTNAME, first);
      b.set(PGD_LASTNAME, last);
      b.set(PGD_ROLE, role);
      b.set(PGD_LEADER, static_cast<std::uint8_t>(leader));
    });
  }
  void openBand() {
    robot.chooseMenu("&Browse|Browse the Performer Groups file");
    ASSERT_NE(robot.findWindow(kGroups), nullptr);
    robot.chooseRow(kGroups, "?Browse:1", 2);
    robot.press(kGroups, "?Change");
    ASSERT_NE(robot.findWindow(kGroup), nullptr);
  }
  std::int64_t grace = 0, band = 0, choir = 0;
};

}  // namespace

TEST_F(PerformerGroupsTest, TheMenuOpensTheGroupsByNameAndAGroupListsItsOwnMembers) {
  robot.chooseMenu("&Browse|Browse the Performer Groups file");
  ASSERT_NE(robot.findWindow(kGroups), nullptr);
  EXPECT_EQ(column(kGroups, 1), (std::vector<std::string>{"Choir", "Youth Band"}));
  EXPECT_EQ(text(kGroups, "?Clear"), "C&lear");
  robot.chooseRow(kGroups, "?Browse:1", 2);
  robot.press(kGroups, "?Change");
  ASSERT_NE(robot.findWindow(kGroup), nullptr);
  EXPECT_EQ(robot.window(kGroup).procedure(), "UpdatePerformerGroupHeader");
  EXPECT_EQ(text(kGroup, "?PGH:DESCRIPTION"), "Youth Band");
  EXPECT_EQ(rows(kGroup, "?List:Members"),
            (std::vector<std::vector<std::string>>{{"Adams", "Anna", "Usher", "0"}, {"Brown", "Abel", "Drums", "1"}}));
}

TEST_F(PerformerGroupsTest, AMemberCopiesThePerformersNameAndRoleAndKeepsTheRoleWhenThePerformersChanges) {
  openBand();
  robot.press(kGroup, "?Insert");
  ASSERT_NE(robot.findWindow(kMember), nullptr);
  EXPECT_EQ(robot.window(kMember).procedure(), "UpdatePerformerGroupDetail");
  robot.type(kMember, "?PGD:PERFORMERNUMBER", std::to_string(grace));
  EXPECT_EQ(text(kMember, "?PGD:FIRSTNAME"), "Grace");
  EXPECT_EQ(text(kMember, "?PGD:LASTNAME"), "Young");
  EXPECT_EQ(text(kMember, "?PGD:ROLE"), "Pastor");
  robot.check(kMember, "?PGD:LEADER", true);
  robot.press(kMember, "?OK");
  EXPECT_EQ(rows(kGroup, "?List:Members").back(), (std::vector<std::string>{"Young", "Grace", "Pastor", "1"}));
  robot.press(kGroup, "?OK");

  call("UpdatePerformers", tables::Performers, Request::Change, grace);
  robot.type("Changing a Performers Record", "?PER:ROLE", "Usher");
  robot.press("Changing a Performers Record", "?OK");
  EXPECT_EQ(stored(tables::Performers, grace, dict::idx::PER::ROLE), "Usher");
  EXPECT_EQ(stored(tables::PerformerGroupDetail, 4, PGD::ROLE), "Pastor");
  EXPECT_EQ(stored(tables::PerformerGroupDetail, 4, PGD::PERFORMERGROUPNUMBER), std::to_string(band));
  EXPECT_EQ(stored(tables::PerformerGroupDetail, 4, PGD::PERFORMERNUMBER), std::to_string(grace));
}

TEST_F(PerformerGroupsTest, CancellingThePerformerLookupOfATypedNumberEmptiesNameAndRole) {
  openBand();
  robot.chooseRow(kGroup, "?List:Members", 2);
  robot.press(kGroup, "?Change");
  constexpr const char* kChanging = "Changing a Performer Group Record";
  ASSERT_EQ(robot.window(kChanging).procedure(), "UpdatePerformerGroupDetail");
  EXPECT_EQ(text(kChanging, "?PGD:LASTNAME"), "Brown");
  robot.type(kChanging, "?PGD:PERFORMERNUMBER", "77");
  ASSERT_NE(robot.findWindow(kPerformers), nullptr);
  robot.press(kPerformers, "?Close");
  EXPECT_EQ(text(kChanging, "?PGD:PERFORMERNUMBER"), "0");
  EXPECT_EQ(text(kChanging, "?PGD:FIRSTNAME"), "");
  EXPECT_EQ(text(kChanging, "?PGD:LASTNAME"), "");
  EXPECT_EQ(text(kChanging, "?PGD:ROLE"), "");
  // The look-up button chooses a performer from the browse.
  robot.press(kChanging, "?CALLLOOKUP");
  robot.chooseRow(kPerformers, "?Browse:1", 1);
  robot.press(kPerformers, "?Select");
  EXPECT_EQ(text(kChanging, "?PGD:LASTNAME"), "Young");
  EXPECT_EQ(text(kChanging, "?PGD:ROLE"), "Pastor");
}

TEST_F(PerformerGroupsTest, DeletingAGroupDeletesItsMembersOnly) {
  robot.chooseMenu("&Browse|Browse the Performer Groups file");
  robot.chooseRow(kGroups, "?Browse:1", 2);
  robot.press(kGroups, "?Delete");
  robot.pressMessageButton("Yes");
  EXPECT_EQ(column(kGroups, 1), std::vector<std::string>{"Choir"});
  EXPECT_EQ(records(tables::PerformerGroupDetail), 1);
  EXPECT_EQ(stored(tables::PerformerGroupDetail, 3, PGD::LASTNAME), "Cole");
}

TEST_F(PerformerGroupsTest, DeletingAPerformerLeavesTheMembersAndElementsThatNameThePerson) {
  openBand();
  robot.press(kGroup, "?Insert");
  robot.type(kMember, "?PGD:PERFORMERNUMBER", std::to_string(grace));
  robot.press(kMember, "?OK");
  robot.press(kGroup, "?OK");
  const std::int64_t element = add(tables::ServiceElement, [this](vrt::RecordRef b) {
    b.set(SEL_TITLE, "Welcome");
    b.set(SEL_PERFORMER, static_cast<std::int32_t>(grace));
    b.set(SEL_PERFORMERGROUP, static_cast<std::int32_t>(band));
  });
  robot.chooseMenu("&Browse|Browse the Performers file");
  ASSERT_EQ(column(kPerformers, 1), std::vector<std::string>{"Young"});
  robot.press(kPerformers, "?Delete");
  robot.pressMessageButton("Yes");
  EXPECT_TRUE(rows(kPerformers).empty());
  EXPECT_EQ(records(tables::Performers), 0);
  EXPECT_EQ(stored(tables::PerformerGroupDetail, 4, PGD::LASTNAME), "Young");
  EXPECT_EQ(stored(tables::PerformerGroupDetail, 4, PGD::PERFORMERNUMBER), std::to_string(grace));
  EXPECT_EQ(stored(tables::ServiceElement, element, SEL::PERFORMER), std::to_string(grace));
  // The element still names the person, whose name can no longer be shown.
  call("UpdateServiceElement", tables::ServiceElement, Request::View, element);
  EXPECT_EQ(text("View Record", "?LOC:PerformerName"), "");
  EXPECT_EQ(text("View Record", "?LOC:PerformerGroupName"), "Youth Band");
}

TEST_F(PerformerGroupsTest, ClearInTheGroupBrowseOpenedForAnUnknownGroupLeavesGroupZeroAndNoName) {
  const std::int64_t element = add(tables::ServiceElement, [this](vrt::RecordRef b) {
    b.set(SEL_PERFORMERGROUP, static_cast<std::int32_t>(band));
  });
  call("UpdateServiceElement", tables::ServiceElement, Request::Change, element);
  constexpr const char* kElement = "Service Element Will Be Changed";
  EXPECT_EQ(text(kElement, "?LOC:PerformerGroupName"), "Youth Band");
  robot.type(kElement, "?SEL:PERFORMERGROUP", "9");
  ASSERT_NE(robot.findWindow(kGroups), nullptr);
  robot.press(kGroups, "?Clear");
  EXPECT_EQ(text(kElement, "?SEL:PERFORMERGROUP"), "0");
  EXPECT_EQ(text(kElement, "?LOC:PerformerGroupName"), "");
  robot.press(kElement, "?OK");
  EXPECT_EQ(stored(tables::ServiceElement, element, SEL::PERFORMERGROUP), "0");
}

TEST_F(PerformerGroupsTest, ANewGroupsMembersBelongToItAndGoWithItWhenItIsCancelled) {
  robot.chooseMenu("&Browse|Browse the Performer Groups file");
  robot.press(kGroups, "?Insert");
  constexpr const char* kNew = "Adding a Performer Group Record";
  ASSERT_EQ(robot.window(kNew).procedure(), "UpdatePerformerGroupHeader");
  robot.type(kNew, "?PGH:DESCRIPTION", "Brass");
  robot.press(kNew, "?Insert");
  ASSERT_EQ(robot.window(kNew).procedure(), "UpdatePerformerGroupDetail");
  robot.type(kNew, "?PGD:PERFORMERNUMBER", std::to_string(grace));
  robot.press(kNew, "?OK");
  ASSERT_EQ(robot.window(kNew).procedure(), "UpdatePerformerGroupHeader");
  EXPECT_EQ(column(kNew, 1, "?List:Members"), std::vector<std::string>{"Young"});
  robot.press(kNew, "?OK");
  EXPECT_EQ(column(kGroups, 1), (std::vector<std::string>{"Brass", "Choir", "Youth Band"}));
  EXPECT_EQ(stored(tables::PerformerGroupDetail, 4, PGD::PERFORMERGROUPNUMBER), "3");

  robot.press(kGroups, "?Insert");
  robot.type(kNew, "?PGH:DESCRIPTION", "Strings");
  robot.press(kNew, "?Insert");
  robot.type(kNew, "?PGD:PERFORMERNUMBER", std::to_string(grace));
  robot.press(kNew, "?OK");
  EXPECT_EQ(records(tables::PerformerGroupDetail), 5);
  robot.press(kNew, "?Cancel");
  if (robot.messageBox()) robot.pressMessageButton("No");  // the description was typed
  EXPECT_EQ(robot.findWindow(kNew), nullptr);
  EXPECT_EQ(column(kGroups, 1), (std::vector<std::string>{"Brass", "Choir", "Youth Band"}));
  EXPECT_EQ(records(tables::PerformerGroupDetail), 4);
}
