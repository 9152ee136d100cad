// Deleting a person, a bibliography entry or a pick-list value that other records name:
// the user is told where first, and No is what a stray Enter answers.
#include "elements_fixture.h"
#include "runtime/gui/buttons.h"
#include "runtime/gui/message_box.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

namespace SER = dict::idx::SER;
namespace SEL = dict::idx::SEL;

constexpr const char* kPerformers = "Browse the Performers File";

class NamedRecordsTest : public ElementsTest {
 protected:
  void SetUp() override {
    ElementsTest::SetUp();
    kwame = person("Kwame", "Anderson");
    abel = person("Abel", "Brown");
    // Kwame leads one service and speaks in two, once while leading: two services.
    first = service("Waiting", kwame, kwame);
    second = service("Preparing", kwame, 0);
    service("Rejoicing", 0, abel);
    for (int i = 0; i < 3; ++i)
      add(tables::ServiceElement, [this, i](vrt::RecordRef r) {
        r.set(SEL_SERVICENUMBER, static_cast<double>(first));
        r.set(SEL_ELEMENTORDER, static_cast<double>(i + 1));
        r.set(SEL_PERFORMER, static_cast<double>(i < 2 ? kwame : abel));
        r.set(SEL_BIBLIOGRAPHYNUMBER, i == 0 ? 1.0 : 0.0);
        r.set(SEL_TYPE, i == 0 ? "song" : "Reading");
      });
    const std::int64_t choir = add(tables::PerformerGroupHeader, [](vrt::RecordRef r) { r.set(PGH_DESCRIPTION, "Choir"); });
    add(tables::PerformerGroupDetail, [&](vrt::RecordRef r) {
      r.set(PGD_PERFORMERGROUPNUMBER, static_cast<double>(choir));
      r.set(PGD_PERFORMERNUMBER, static_cast<double>(kwame));
      r.set(PGD_LASTNAME, "Anderson");
    });
  }
  std::int64_t person(const char* first, const char* last) {
    return add(tables::Performers, [=](vrt::RecordRef b) {
      b.set(PER_FIRSTNAME, first);
      b.set(PER_LASTNAME, last);
    });
  }
  std::int64_t service(const char* title, std::int64_t speaker, std::int64_t leader) {
    return add(tables::Service, [=](vrt::RecordRef r) {
      r.set(SER_TITLE, title);
      r.set(SER_SPEAKER, static_cast<double>(speaker));
      r.set(SER_WORSHIPLEADER, static_cast<double>(leader));
    });
  }
  std::string messageText() {
    vrt::Window* box = robot.messageBox();
    return box ? robot.control(box->caption(), vrt::kMessageTextUse).text() : std::string("<no message>");
  }
  bool noIsTheDefault() {
    vrt::Window* box = robot.messageBox();
    return box && robot.control(box->caption(), vrt::buttonUse(vrt::kButtonNo)).isDefault();
  }
  // Highlights row `row` of the browse and presses its Delete.
  void deleteRow(const char* browse, int row) {
    robot.chooseRow(browse, "?Browse:1", row);
    robot.press(browse, "?Delete");
  }

  std::int64_t kwame = 0, abel = 0, first = 0, second = 0;
};

}  // namespace

TEST_F(NamedRecordsTest, APerformerNamedElsewhereIsDeletedOnlyAfterTheUserSaysYesToWhere) {
  call("BrowsePerformers", tables::Performers, Request::None);
  ASSERT_EQ(column(kPerformers, 1), (std::vector<std::string>{"Anderson", "Brown"}));
  deleteRow(kPerformers, 1);
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(messageText(), "Kwame Anderson is named in 2 services, 2 service elements and 1 group. Delete anyway?");
  EXPECT_TRUE(noIsTheDefault());
  robot.pressMessageButton("No");
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_EQ(column(kPerformers, 1), (std::vector<std::string>{"Anderson", "Brown"}));
  EXPECT_EQ(stored(tables::Performers, kwame, dict::idx::PER::LASTNAME), "Anderson");

  deleteRow(kPerformers, 1);
  robot.pressMessageButton("Yes");
  EXPECT_EQ(robot.messageBox(), nullptr);  // asked once
  EXPECT_EQ(column(kPerformers, 1), std::vector<std::string>{"Brown"});
  // The records that name him keep his number.
  EXPECT_EQ(stored(tables::Service, first, SER::SPEAKER), std::to_string(kwame));
  EXPECT_EQ(records(tables::PerformerGroupDetail), 1);
}

TEST_F(NamedRecordsTest, APerformerNamedNowhereGetsTheUsualQuestion) {
  const std::int64_t ruth = person("Ruth", "Adams");
  call("BrowsePerformers", tables::Performers, Request::None);
  deleteRow(kPerformers, 1);
  EXPECT_EQ(messageText(), "Are you sure you want to delete the highlighted record?");
  robot.pressMessageButton("Yes");
  EXPECT_EQ(stored(tables::Performers, ruth, dict::idx::PER::LASTNAME), "<none>");
}

TEST_F(NamedRecordsTest, ABibliographyEntryAndAPickListValueSayWhereTheyAreNamed) {
  add(tables::Bibliography, [](vrt::RecordRef r) { r.set(BBL_TITLE, "Amazing Grace"); });
  call("BrowseBibliography", tables::Bibliography, Request::None);
  deleteRow("Browse the Bibliography File", 1);
  EXPECT_EQ(messageText(), "Amazing Grace is named in 1 service element. Delete anyway?");
  robot.pressMessageButton("No");
  EXPECT_EQ(records(tables::Bibliography), 1);
  robot.press("Browse the Bibliography File", "?Close");

  // Pick lists are named by their text, whatever its case.
  add(tables::ElementType, [](vrt::RecordRef r) { r.set(ELT_ELEMENTTYPE, "Song"); });
  add(tables::AssociatedFiles, [](vrt::RecordRef r) { r.set(ASF_TYPE, "SONG"); });
  call("BrowseElementType", tables::ElementType, Request::None);
  deleteRow("Browse the ElementType File", 1);
  EXPECT_EQ(messageText(), "Song is named in 1 service element and 1 associated file. Delete anyway?");
  EXPECT_TRUE(noIsTheDefault());
  robot.pressMessageButton("Yes");
  EXPECT_EQ(records(tables::ElementType), 0);
  EXPECT_EQ(stored(tables::ServiceElement, 1, SEL::TYPE), "song");
}
