// The forms of a service's Bible references, key words and statistics, reached from the
// service form's tabs.
#include <gtest/gtest.h>

#include "service_data.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

namespace STA = dict::idx::STA;
namespace BIB = dict::idx::BIB;

class ChildFormsTest : public ServiceDataTest {
 protected:
  void SetUp() override {
    ServiceDataTest::SetUp();
    onThread([] {
      for (const char* v : {"KJV", "NIV"}) add(tables::BibleDefault, [v](vrt::RecordRef r) { r.set(BID_BIBLE, v); });
      for (const char* w : {"Grace", "Peace"})
        add(tables::KeyWordsDefault, [w](vrt::RecordRef r) { r.set(KWF_KEYWORD, w); });
      add(tables::StatisticType, [](vrt::RecordRef r) { r.set(STT_STATISTICTYPE, "Evening"); });
      add(tables::WeatherDefault, [](vrt::RecordRef r) { r.set(WEA_WEATHER, "Snow"); });
    });
    open("UpdateService", Request::Change, &tables::Service, first);
  }
};

}  // namespace

TEST_F(ChildFormsTest, AKeyPassageTakesTheVersionTextChosenInItsLookup) {
  robot.chooseTab(kChangeService, "?CurrentTab", "Key Passages");
  robot.press(kChangeService, "?Insert:12");
  constexpr const char* kAdd = "Adding a Bible Reference Record";
  ASSERT_NE(robot.findWindow(kAdd), nullptr);
  robot.press(kAdd, "?CALLLOOKUP");
  ASSERT_NE(robot.findWindow("Browse the Bible Default File"), nullptr);
  robot.doubleClickRow("Browse the Bible Default File", "?Browse:1", 1);
  EXPECT_EQ(text(kAdd, "?BIB:BIBLEVERSION"), "KJV");
  robot.type(kAdd, "?BIB:BOOK", "John");
  robot.type(kAdd, "?BIB:STARTCHAPTER", "3");
  robot.type(kAdd, "?BIB:STARTVERSE", "16");
  robot.press(kAdd, "?OK");
  EXPECT_EQ(column(kChangeService, "?List:KeyPassages", 2), (std::vector<std::string>{"Isaiah", "John"}));
  EXPECT_EQ(column(kChangeService, "?List:KeyPassages", 4), (std::vector<std::string>{"0", "16"}));
  robot.press(kChangeService, "?OK");
  EXPECT_EQ(stored(tables::BibleRef, 2, BIB::BIBLEVERSION), "KJV");
  EXPECT_EQ(stored(tables::BibleRef, 2, BIB::SERVICENUMBER), std::to_string(first));
}

TEST_F(ChildFormsTest, AKeyWordTypedThatIsNoDefaultOpensItsListAndIsCopiedFromIt) {
  robot.chooseTab(kChangeService, "?CurrentTab", "Key Words");
  robot.press(kChangeService, "?Insert:14");
  constexpr const char* kAdd = "Adding a Key Words Record";
  ASSERT_NE(robot.findWindow(kAdd), nullptr);
  robot.type(kAdd, "?KWD:KEYWORD", "Pea");
  ASSERT_NE(robot.findWindow("Browse the Key Words Default File"), nullptr);
  robot.doubleClickRow("Browse the Key Words Default File", "?Browse:1", 2);
  EXPECT_EQ(text(kAdd, "?KWD:KEYWORD"), "Peace");
  robot.press(kAdd, "?OK");
  EXPECT_EQ(column(kChangeService, "?List:KeyWords"), (std::vector<std::string>{"Advent", "Peace"}));
}

TEST_F(ChildFormsTest, StatisticsTakeAmountsThatFitTheirPictureAndRefuseOthers) {
  robot.chooseTab(kChangeService, "?CurrentTab", "Statistics");
  robot.press(kChangeService, "?Insert:15");
  constexpr const char* kAdd = "Adding a Statistics Record";
  ASSERT_NE(robot.findWindow(kAdd), nullptr);
  robot.type(kAdd, "?STA:TYPE", "Evening");
  robot.type(kAdd, "?STA:OFFERING", "1234.5");
  EXPECT_EQ(text(kAdd, "?STA:OFFERING"), "1,234.50");
  robot.type(kAdd, "?STA:BUDGETNEED", "123456789012");  // wider than the picture
  EXPECT_EQ(text(kAdd, "?STA:BUDGETNEED"), "123456789012");  // refused, and kept as typed
  EXPECT_EQ(vrt::FrameHost::statusText(), "Enter a number of up to 9 digits and 2 decimals");
  robot.type(kAdd, "?STA:BUDGETNEED", "12x5.5");
  EXPECT_EQ(text(kAdd, "?STA:BUDGETNEED"), "12x5.5");
  robot.press(kAdd, "?OK");
  ASSERT_NE(robot.findWindow(kAdd), nullptr) << "nothing is saved in place of what was typed";
  robot.type(kAdd, "?STA:BUDGETNEED", "");
  EXPECT_EQ(text(kAdd, "?STA:BUDGETNEED"), "0.00");
  robot.type(kAdd, "?STA:SPECIALOFFERING", "-12.25");
  robot.type(kAdd, "?STA:WEATHER", "Snow");
  robot.chooseTab(kAdd, "?CurrentTab", "Other Stats");
  robot.type(kAdd, "?STA:OTHEROFFERING5", "99.99");
  robot.press(kAdd, "?OK");
  ASSERT_EQ(robot.findWindow(kAdd), nullptr);
  EXPECT_EQ(stored(tables::Statistics, 2, STA::OFFERING), "1234.50");
  EXPECT_EQ(stored(tables::Statistics, 2, STA::BUDGETNEED), "0.00");
  EXPECT_EQ(stored(tables::Statistics, 2, STA::SPECIALOFFERING), "-12.25");
  EXPECT_EQ(stored(tables::Statistics, 2, STA::WEATHER), "Snow");
  EXPECT_EQ(stored(tables::Statistics, 2, STA::OTHEROFFERING5), "99.99");
  EXPECT_EQ(column(kChangeService, "?List:Statistics"), (std::vector<std::string>{"Evening", "Sunday"}));
  EXPECT_EQ(column(kChangeService, "?List:Statistics", 2), (std::vector<std::string>{"1,234.50", "0.00"}));
}
