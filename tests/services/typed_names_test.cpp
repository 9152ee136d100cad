// Names typed where a look-up holds a number: a person's last name, a group's name, or any
// word of a song's title, writer or CCLI opens the look-up on the first record it names;
// a number is still taken as a number, and giving the look-up up keeps what the field held.
#include <gtest/gtest.h>

#include "service_data.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

constexpr const char* kPerformers = "Browse the Performers File";
constexpr const char* kGroups = "Browse the Performer Group File";
constexpr const char* kBibliography = "Browse the Bibliography File";
constexpr const char* kAddElement = "Service Element Will Be Added";

class TypedNamesTest : public ServiceDataTest {
 protected:
  void SetUp() override {
    ServiceDataTest::SetUp();
    onThread([this] {
      // Two Marshes: the first in last-name order is the one a name finds.
      alma = add(tables::Performers, [](vrt::RecordRef r) {
        r.set(PER_FIRSTNAME, "Alma");
        r.set(PER_LASTNAME, "Marshall");
      });
      add(tables::Performers, [](vrt::RecordRef r) {
        r.set(PER_FIRSTNAME, "Zed");
        r.set(PER_LASTNAME, "Young");
      });
      add(tables::PerformerGroupHeader, [](vrt::RecordRef r) { r.set(PGH_DESCRIPTION, "Brass"); });
      add(tables::Bibliography, [](vrt::RecordRef r) {
        r.set(BBL_TITLE, "How Great Thou Art");
        r.set(BBL_WRITTENBY, "Carl Boberg");
        r.set(BBL_CCLI, "14181");
        r.set(BBL_DURATION, "4:10");
      });
      grace = add(tables::Bibliography, [](vrt::RecordRef r) {
        r.set(BBL_TITLE, "Amazing Grace");
        r.set(BBL_WRITTENBY, "John Newton");
        r.set(BBL_CCLI, "22025");
        r.set(BBL_DURATION, "3:50");
      });
    });
  }

  // The text of the highlighted row's first cell in a look-up browse.
  std::string highlighted(const char* window) {
    vrt::PagedList* list = robot.control(window, "?Browse:1").list();
    return list->cellText(list->selectedRow(), 1);
  }
  std::string highlightedCell(const char* window, int column) {
    vrt::PagedList* list = robot.control(window, "?Browse:1").list();
    return list->cellText(list->selectedRow(), column);
  }

  std::int64_t alma = 0, grace = 0;
};

}  // namespace

TEST_F(TypedNamesTest, ALastNameTypedIntoAPersonOfTheServiceFindsThePerson_ANumberStaysANumber) {
  call("UpdateService", tables::Service, Request::Change, first);
  ASSERT_NE(robot.findWindow(kChangeService), nullptr);
  // Lower case, only the start of the name: the first Marsh in last-name order.
  robot.type(kChangeService, "?SER:SOUNDTECH", "mars");
  ASSERT_NE(robot.findWindow(kPerformers), nullptr) << "the look-up opens";
  EXPECT_EQ(highlighted(kPerformers), "Marsh");
  robot.pressKey(kPerformers, vrt::kDownKey, "?Browse:1");
  EXPECT_EQ(highlighted(kPerformers), "Marshall");
  robot.press(kPerformers, "?Select");
  EXPECT_EQ(robot.findWindow(kPerformers), nullptr);
  EXPECT_EQ(text(kChangeService, "?SER:SOUNDTECH"), std::to_string(alma));
  EXPECT_EQ(text(kChangeService, "?LOC:SoundTechName"), "Alma Marshall");

  // Given up: the field keeps the person it held, not 0.
  robot.type(kChangeService, "?SER:SOUNDTECH", "Lee");
  ASSERT_NE(robot.findWindow(kPerformers), nullptr);
  EXPECT_EQ(highlighted(kPerformers), "Lee");
  robot.press(kPerformers, "?Close");
  EXPECT_EQ(text(kChangeService, "?SER:SOUNDTECH"), std::to_string(alma));
  EXPECT_EQ(text(kChangeService, "?LOC:SoundTechName"), "Alma Marshall");
  EXPECT_EQ(robot.window(kChangeService).focusedControl(), robot.window(kChangeService).number("?SER:SOUNDTECH"));

  // A number is a number: found, no look-up.
  robot.type(kChangeService, "?SER:WORSHIPLEADER", std::to_string(ann));
  EXPECT_EQ(robot.findWindow(kPerformers), nullptr);
  EXPECT_EQ(text(kChangeService, "?LOC:WorshipLeaderName"), "Ann Lee");
  // A name past every last name opens the look-up at the end, to choose from there.
  robot.type(kChangeService, "?SER:PRODUCER", "Zz");
  ASSERT_NE(robot.findWindow(kPerformers), nullptr);
  EXPECT_EQ(highlighted(kPerformers), "Young");
  robot.press(kPerformers, "?Select");
  EXPECT_EQ(text(kChangeService, "?LOC:ProducerName"), "Zed Young");
  robot.press(kChangeService, "?OK");
  EXPECT_EQ(stored(tables::Service, first, dict::idx::SER::SOUNDTECH), std::to_string(alma));
  EXPECT_EQ(stored(tables::Service, first, dict::idx::SER::WORSHIPLEADER), std::to_string(ann));
}

TEST_F(TypedNamesTest, AnElementFindsItsSongByAnyWordAndItsGroupAndPerformerByName) {
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.press(kServices, "?Insert:2");
  ASSERT_NE(robot.findWindow(kAddElement), nullptr);
  // A word of the writer's name, through the word index.
  robot.type(kAddElement, "?SEL:BIBLIOGRAPHYNUMBER", "newton");
  ASSERT_NE(robot.findWindow(kBibliography), nullptr);
  EXPECT_EQ(highlightedCell(kBibliography, 2), "Amazing Grace");
  robot.press(kBibliography, "?Select");
  EXPECT_EQ(text(kAddElement, "?SEL:BIBLIOGRAPHYNUMBER"), std::to_string(grace));
  EXPECT_EQ(text(kAddElement, "?SEL:TITLE"), "Amazing Grace");
  EXPECT_EQ(text(kAddElement, "?SEL:DURATION"), "3:50");
  // A word inside the title, not at its start.
  robot.type(kAddElement, "?SEL:BIBLIOGRAPHYNUMBER", "thou");
  ASSERT_NE(robot.findWindow(kBibliography), nullptr);
  EXPECT_EQ(highlightedCell(kBibliography, 2), "How Great Thou Art");
  robot.press(kBibliography, "?Select");
  EXPECT_EQ(text(kAddElement, "?SEL:TITLE"), "How Great Thou Art");

  // A number no entry has: the entry whose CCLI number it is.
  robot.type(kAddElement, "?SEL:BIBLIOGRAPHYNUMBER", "22025");
  ASSERT_NE(robot.findWindow(kBibliography), nullptr);
  EXPECT_EQ(highlightedCell(kBibliography, 2), "Amazing Grace");
  robot.press(kBibliography, "?Select");
  EXPECT_EQ(text(kAddElement, "?SEL:BIBLIOGRAPHYNUMBER"), std::to_string(grace));

  robot.type(kAddElement, "?SEL:PERFORMERGROUP", "ch");
  ASSERT_NE(robot.findWindow(kGroups), nullptr);
  EXPECT_EQ(highlighted(kGroups), "Choir");
  robot.press(kGroups, "?Select");
  EXPECT_EQ(text(kAddElement, "?LOC:PerformerGroupName"), "Choir");
  robot.type(kAddElement, "?SEL:PERFORMER", "lee");
  ASSERT_NE(robot.findWindow(kPerformers), nullptr);
  robot.press(kPerformers, "?Select");
  EXPECT_EQ(text(kAddElement, "?LOC:PerformerName"), "Ann Lee");
  robot.press(kAddElement, "?OK");
  EXPECT_EQ(robot.findWindow(kAddElement), nullptr);
}
