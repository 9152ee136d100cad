// The service form: its look-ups, record stamps and child lists.
#include <gtest/gtest.h>

#include "runtime/text/picture.h"
#include "service_data.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

namespace SER = dict::idx::SER;
constexpr const char* kAddService = "Adding a Service Record";
constexpr const char* kPerformers = "Browse the Performers File";

class UpdateServiceTest : public ServiceDataTest {
 protected:
  void change(std::int64_t service) { open("UpdateService", Request::Change, &tables::Service, service); }
};

}  // namespace

TEST_F(UpdateServiceTest, GeneralInfoShowsTheNamesOfTheNumbersItStores) {
  change(first);
  ASSERT_NE(robot.findWindow(kChangeService), nullptr);
  EXPECT_EQ(text(kChangeService, "?SER:TITLE"), "Waiting");
  EXPECT_EQ(text(kChangeService, "?SSE:NAME"), "Advent");
  EXPECT_EQ(text(kChangeService, "?LOC:SpeakerName"), "Ann Lee");
  EXPECT_EQ(text(kChangeService, "?LOC:WorshipLeaderName"), "Bob Marsh");
  EXPECT_EQ(text(kChangeService, "?LOC:SoundTechName"), "");
  EXPECT_EQ(text(kChangeService, "?LOC:Topic1"), "Hope");
  EXPECT_EQ(text(kChangeService, "?LOC:Topic3"), "Joy");
  EXPECT_TRUE(robot.control(kChangeService, "?SER:DATECREATED_DATE").readOnly());
  EXPECT_TRUE(robot.control(kChangeService, "?SER:EMPCREATED").readOnly());
}

TEST_F(UpdateServiceTest, AServiceWithNoSpeakerShowsAnEmptyName) {
  change(undated);
  EXPECT_EQ(text(kChangeService, "?SER:SPEAKER"), "0");
  EXPECT_EQ(text(kChangeService, "?LOC:SpeakerName"), "");
}

TEST_F(UpdateServiceTest, AnUnknownSpeakerOpensThePerformersAndCancellingClearsNumberAndName) {
  change(first);
  robot.type(kChangeService, "?SER:SPEAKER", "77");
  ASSERT_NE(robot.findWindow(kPerformers), nullptr);
  robot.press(kPerformers, "?Close");
  EXPECT_EQ(robot.findWindow(kPerformers), nullptr);
  EXPECT_EQ(text(kChangeService, "?SER:SPEAKER"), "0");
  EXPECT_EQ(text(kChangeService, "?LOC:SpeakerName"), "");
  EXPECT_EQ(robot.window(kChangeService).focusedControl(), robot.window(kChangeService).number("?SER:SPEAKER"));
  robot.press(kChangeService, "?OK");
  EXPECT_EQ(stored(tables::Service, first, SER::SPEAKER), "0");
}

TEST_F(UpdateServiceTest, EveryPersonLooksUpThroughThePerformersAndShowsTheChosenName) {
  change(first);
  robot.press(kChangeService, "?CALLLOOKUP:8");  // Computer Tech
  ASSERT_NE(robot.findWindow(kPerformers), nullptr);
  robot.doubleClickRow(kPerformers, "?Browse:1", 2);  // by last name: Lee, Marsh
  EXPECT_EQ(text(kChangeService, "?LOC:ComputerTech"), "Bob Marsh");
  robot.type(kChangeService, "?SER:VIDEOTECH", std::to_string(ann));
  EXPECT_EQ(text(kChangeService, "?LOC:VideoTech"), "Ann Lee");
  robot.press(kChangeService, "?OK");
  EXPECT_EQ(stored(tables::Service, first, SER::COMPUTERTECH), std::to_string(bob));
  EXPECT_EQ(stored(tables::Service, first, SER::VIDEOTECH), std::to_string(ann));
}

TEST_F(UpdateServiceTest, APersonsLookupOpensOnThePersonTheEntryNames) {
  // More people than a page, three of them Smiths: the list must find Ruth among them.
  std::int64_t ruth = 0;
  onThread([&ruth] {
    for (char c = 'A'; c <= 'T'; ++c)
      add(tables::Performers, [c](vrt::RecordRef r) {
        r.set(PER_LASTNAME, std::string("Abbot") + c);
        r.set(PER_FIRSTNAME, "Ed");
      });
    for (const char* first : {"Adam", "Ruth", "Zoe"}) {
      const std::int64_t n = add(tables::Performers, [first](vrt::RecordRef r) {
        r.set(PER_LASTNAME, "Smith");
        r.set(PER_FIRSTNAME, first);
      });
      if (std::string(first) == "Ruth") ruth = n;
    }
  });
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.chooseRow(kServices, "?BROWSE:1", 2);  // Waiting: Bob Marsh leads the worship
  robot.press(kServices, "?Change");
  ASSERT_NE(robot.findWindow(kChangeService), nullptr);
  robot.type(kChangeService, "?SER:SPEAKER", std::to_string(ruth));
  EXPECT_EQ(text(kChangeService, "?LOC:SpeakerName"), "Ruth Smith");
  auto highlighted = [this] {
    vrt::PagedList* list = robot.control(kPerformers, "?Browse:1").list();
    const int row = list->selectedRow();
    return row > 0 ? list->cellText(row, 1) + ", " + list->cellText(row, 2) : std::string("<none>");
  };
  robot.press(kChangeService, "?CALLLOOKUP:3");  // the worship leader
  ASSERT_NE(robot.findWindow(kPerformers), nullptr);
  EXPECT_EQ(highlighted(), "Marsh, Bob");
  robot.press(kPerformers, "?Close");  // the look-up table's buffer holds Bob again
  robot.press(kChangeService, "?CALLLOOKUP:2");
  ASSERT_NE(robot.findWindow(kPerformers), nullptr);
  EXPECT_EQ(highlighted(), "Smith, Ruth");
  robot.press(kPerformers, "?Select");
  EXPECT_EQ(text(kChangeService, "?SER:SPEAKER"), std::to_string(ruth));
  EXPECT_EQ(text(kChangeService, "?LOC:SpeakerName"), "Ruth Smith");
}

TEST_F(UpdateServiceTest, ASeriesChosenInItsLookupFillsTheNumberAndShowsTheName) {
  change(second);
  robot.press(kChangeService, "?CALLLOOKUP:1");
  constexpr const char* kSeries = "Browse the Sermon Series File";
  ASSERT_NE(robot.findWindow(kSeries), nullptr);
  robot.chooseTab(kSeries, "?CurrentTab", "Series Name");
  robot.chooseRow(kSeries, "?Browse:1", 2);  // Lent
  robot.press(kSeries, "?Select");
  EXPECT_EQ(text(kChangeService, "?SER:SERMONSERIES"), std::to_string(lent));
  EXPECT_EQ(text(kChangeService, "?SSE:NAME"), "Lent");
  robot.press(kChangeService, "?CALLLOOKUP:9");  // a topic
  ASSERT_NE(robot.findWindow("Browse the Topic File"), nullptr);
  robot.doubleClickRow("Browse the Topic File", "?Browse:1", 2);  // Joy
  EXPECT_EQ(text(kChangeService, "?LOC:Topic1"), "Joy");
  robot.press(kChangeService, "?OK");
  EXPECT_EQ(stored(tables::Service, second, SER::SERMONSERIES), std::to_string(lent));
  EXPECT_EQ(stored(tables::Service, second, SER::TOPIC1), std::to_string(joy));
}

TEST_F(UpdateServiceTest, ChangingStampsLastUpdatedAndKeepsTheCreationDate) {
  const std::string created = stored(tables::Service, first, SER::DATECREATED_DATE);
  EXPECT_EQ(stored(tables::Service, first, SER::LASTUPDATED_DATE), "0");
  change(first);
  robot.type(kChangeService, "?SER:TAPENUMBER", "T-12");
  robot.press(kChangeService, "?OK");
  EXPECT_EQ(response, Response::Completed);
  EXPECT_EQ(stored(tables::Service, first, SER::LASTUPDATED_DATE), std::to_string(vrt::today()));
  EXPECT_NE(stored(tables::Service, first, SER::LASTUPDATED_TIME), "0");
  EXPECT_EQ(stored(tables::Service, first, SER::DATECREATED_DATE), created);
}

TEST_F(UpdateServiceTest, ANewServiceIsStampedCreatedAndUpdated) {
  open("UpdateService", Request::Insert, &tables::Service);
  ASSERT_NE(robot.findWindow(kAddService), nullptr);
  // The creation date is shown, through the field's picture, before anything is saved.
  EXPECT_EQ(text(kAddService, "?SER:DATECREATED_DATE"), vrt::formatPicture(vrt::today(), "@d17"));
  robot.type(kAddService, "?SER:TITLE", "Rejoicing");
  robot.press(kAddService, "?OK");
  EXPECT_EQ(response, Response::Completed);
  const std::int64_t added = undated + 1;
  EXPECT_EQ(stored(tables::Service, added, SER::TITLE), "Rejoicing");
  EXPECT_EQ(stored(tables::Service, added, SER::DATECREATED_DATE), std::to_string(vrt::today()));
  EXPECT_EQ(stored(tables::Service, added, SER::LASTUPDATED_DATE), std::to_string(vrt::today()));
}

TEST_F(UpdateServiceTest, TheChildTabsListThisServicesRecords) {
  change(first);
  EXPECT_EQ(column(kChangeService, "?List:KeyPassages", 2), std::vector<std::string>{"Isaiah"});
  EXPECT_EQ(column(kChangeService, "?List:KeyWords"), std::vector<std::string>{"Advent"});
  EXPECT_EQ(column(kChangeService, "?List:ServiceElements"), (std::vector<std::string>{"Opening hymn", "Psalm 23"}));
  EXPECT_EQ(column(kChangeService, "?List:ServiceElements", 4), (std::vector<std::string>{"N", "N"}));
  EXPECT_EQ(robot.control(kChangeService, "?List:ServiceElements").list()->alignmentOf(4), vrt::ColumnAlign::Center);
  EXPECT_EQ(column(kChangeService, "?List:ServiceElements", 5), (std::vector<std::string>{"", "Ann Lee"}));
  EXPECT_EQ(column(kChangeService, "?List:Statistics"), std::vector<std::string>{"Sunday"});
  EXPECT_EQ(column(kChangeService, "?List:AssociatedFiles", 2), std::vector<std::string>{"Advent greeting"});
}

TEST_F(UpdateServiceTest, TheAssociatedFilesListOnlyShowsAndItsLocationCellOpensTheFile) {
  change(first);
  EXPECT_EQ(robot.window(kChangeService).number("?Insert:0"), 0);
  robot.chooseTab(kChangeService, "?CurrentTab", "Associated Files");
  robot.clickCell(kChangeService, "?List:AssociatedFiles", 1, 2);  // not the location
  EXPECT_TRUE(opener->opened.empty());
  robot.clickCell(kChangeService, "?List:AssociatedFiles", 1, 3);
  EXPECT_EQ(opener->opened, std::vector<std::string>{"/media/advent.mp4"});
  robot.pressKey(kChangeService, vrt::kInsertKey, "?List:AssociatedFiles");
  EXPECT_EQ(robot.findWindow("Adding a Associated Files Record"), nullptr);
  EXPECT_EQ(records(tables::AssociatedFiles), 1);
}

TEST_F(UpdateServiceTest, TheFlyerViewButtonOpensWhatTheFieldShows) {
  change(first);
  robot.press(kChangeService, "?VIEWFLYER");
  EXPECT_TRUE(opener->opened.empty());  // an empty field opens nothing
  robot.type(kChangeService, "?SER:FLYER", "/media/flyer.pdf");
  robot.press(kChangeService, "?VIEWFLYER");
  EXPECT_EQ(opener->opened, std::vector<std::string>{"/media/flyer.pdf"});
}

TEST_F(UpdateServiceTest, AViewedServiceListsItsChildrenButAddsNone) {
  open("UpdateService", Request::View, &tables::Service, first);
  constexpr const char* kView = "View Record";
  ASSERT_NE(robot.findWindow(kView), nullptr);
  EXPECT_EQ(column(kView, "?List:KeyWords"), std::vector<std::string>{"Advent"});
  EXPECT_TRUE(robot.control(kView, "?Insert:14").disabled());
  robot.pressKey(kView, vrt::kInsertKey, "?List:KeyWords");
  EXPECT_EQ(records(tables::KeyWords), 1);
}

TEST_F(UpdateServiceTest, ANewServiceGivenUpOnTakesAlongWhatWasAddedUnderItsNumber) {
  onThread([] {
    for (const char* w : {"Grace", "Peace"}) add(tables::KeyWordsDefault, [w](vrt::RecordRef r) { r.set(KWF_KEYWORD, w); });
  });
  open("UpdateService", Request::Insert, &tables::Service);
  robot.chooseTab(kAddService, "?CurrentTab", "Key Words");
  robot.press(kAddService, "?Insert:14");
  robot.type("Adding a Key Words Record", "?KWD:KEYWORD", "Grace");
  robot.press("Adding a Key Words Record", "?OK");
  ASSERT_EQ(column(kAddService, "?List:KeyWords"), std::vector<std::string>{"Grace"});
  ASSERT_EQ(records(tables::KeyWords), 2);
  robot.press(kAddService, "?Cancel");
  while (robot.messageBox()) robot.pressMessageButton("No");
  EXPECT_EQ(robot.findWindow(kAddService), nullptr);
  EXPECT_EQ(response, Response::Cancelled);
  EXPECT_EQ(records(tables::Service), 3);
  EXPECT_EQ(records(tables::KeyWords), 1);  // the other service's stays
  // The next new service, numbered as the one given up, starts with no key words.
  open("UpdateService", Request::Insert, &tables::Service);
  robot.chooseTab(kAddService, "?CurrentTab", "Key Words");
  EXPECT_TRUE(column(kAddService, "?List:KeyWords").empty());
}
