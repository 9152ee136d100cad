// The order of service, printed from the service form and from the service browse: the
// heading, the elements in their order with the total of their durations, the passages and
// the key words, and a PDF whose accented and Chinese titles stay readable.
#include <gtest/gtest.h>

#include "runtime/text/picture.h"
#include "worship/durations.h"
#include "worship_fixture.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

constexpr const char* kProgress = "Order of Service Report";

class OrderOfServiceTest : public WorshipReportTest {
 protected:
  void SetUp() override {
    WorshipReportTest::SetUp();
    // Added out of order, one duration in words with its unit, and one that cannot be read.
    addElements(first, {{4, "主耶穌我愛祢", "4:30", "Song", 0, "N", "Slow", "Blue wash", "Piano", bob},
                        {3, "Dios está aquí", "3:45", "Song", 0, "Y", "Medium", "", "Guitar, cajón", 0, choir},
                        {5, "Benediction", "5 min", "Prayer"},
                        {6, "Sermon", "12:05", "Sermon", 0, "N", "", "Spot on pulpit", "", ann},
                        {7, "Offering", "a while", "Offering"}});
  }
  std::vector<std::string> printedTitles() {
    std::vector<std::string> out;
    for (const Line& l : tableLines())
      if (l.count("Title") && l.count("Type")) out.push_back(l.at("Title"));
    return out;
  }
  std::string totalDuration() {
    for (const Line& l : tableLines())
      if (l.count("Type") && l.at("Type") == "Total") return l.count("Duration") ? l.at("Duration") : "";
    ADD_FAILURE() << "no total";
    return {};
  }
  // The line whose Title column says `title`.
  Line lineOf(const std::string& title) {
    for (const Line& l : tableLines())
      if (l.count("Title") && l.at("Title") == title) return l;
    ADD_FAILURE() << "no line for " << title;
    return {};
  }
};

}  // namespace

TEST_F(OrderOfServiceTest, TheFormPrintsItsServiceWithTheElementsInOrderAndTheirTotal) {
  open("UpdateService", Request::Change, &tables::Service, first);
  ASSERT_NE(robot.findWindow(kChangeService), nullptr);
  robot.press(kChangeService, "?PrintOrder");
  runToPreview(kProgress);
  const std::vector<std::string> all = texts();
  // The heading: title, date, series and the people of the service.
  for (const char* t : {"Order of Service", "Service:", "Waiting", "Series:", "Advent", "Speaker:", "Ann Lee",
                        "Worship Leader:", "Bob Marsh", "Topics:", "Hope, Joy"})
    EXPECT_GE(indexOf(all, t), 0) << t;
  EXPECT_GE(indexOf(all, vrt::formatPicture(double(vrt::dateFromYmd(2026, 11, 29)), "@d18")), 0);
  EXPECT_LT(indexOf(all, "Sound Engineer:"), 0) << "nobody is named for it";

  // In element order, the fixture's two elements first.
  EXPECT_EQ(printedTitles(), (std::vector<std::string>{"Opening hymn", "Psalm 23", "Dios está aquí", "主耶穌我愛祢",
                                                       "Benediction", "Sermon", "Offering"}));
  const Line dios = lineOf("Dios está aquí");
  EXPECT_EQ(dios.at("Duration"), "3:45");
  EXPECT_EQ(dios.at("Pre-Service"), "Yes");
  EXPECT_EQ(dios.at("Tempo"), "Medium");
  EXPECT_EQ(dios.at("Performer or Group"), "Choir");
  EXPECT_EQ(dios.at("Instrumentation"), "Guitar, cajón");
  const Line chinese = lineOf("主耶穌我愛祢");
  EXPECT_EQ(chinese.at("Performer or Group"), "Bob Marsh");
  EXPECT_EQ(chinese.at("Lights"), "Blue wash");
  EXPECT_EQ(chinese.count("Pre-Service"), 0u);
  EXPECT_EQ(lineOf("Benediction").at("Duration"), "5 min");

  // 4:30 + 3:45 + 5 min + 12:05, kept as typed; the duration that cannot be read is left
  // out, and the total says so and what counts.
  EXPECT_EQ(totalDuration(), "25:20");
  EXPECT_GT(indexOf(all, DurationsNotRead(1)), indexOf(all, "25:20"));

  // Then the passages and the key words, each under its own caption and titles.
  const auto elements = indexOf(all, "Service Elements"), passages = indexOf(all, "Bible Passages"),
             words = indexOf(all, "Key Words");
  ASSERT_GE(elements, 0);
  EXPECT_GT(passages, indexOf(all, "25:20"));
  EXPECT_GT(words, passages);
  EXPECT_GT(indexOf(all, "Isaiah"), passages);
  EXPECT_GT(indexOf(all, "Advent"), 0);
  closePreview();
  EXPECT_TRUE(vrt::PageStore::liveFolders().empty());
  EXPECT_NE(robot.findWindow(kChangeService), nullptr) << "the form stays open";
  robot.press(kChangeService, "?Cancel");
}

TEST_F(OrderOfServiceTest, WhatTheFormShowsPrintsBeforeItIsSaved) {
  open("UpdateService", Request::Change, &tables::Service, first);
  robot.type(kChangeService, "?SER:TITLE", "Waiting in hope");
  robot.press(kChangeService, "?PrintOrder");
  runToPreview(kProgress);
  EXPECT_GE(indexOf(texts(), "Waiting in hope"), 0);
  closePreview();
  robot.press(kChangeService, "?Cancel");
  if (robot.messageBox()) robot.pressMessageButton("&No");
  EXPECT_EQ(stored(tables::Service, first, dict::idx::SER::TITLE), "Waiting") << "printing saved nothing";
}

TEST_F(OrderOfServiceTest, TheBrowsePrintsTheHighlightedServiceByButtonAndByPopupMenu) {
  robot.chooseMenu("&Browse|Browse the Services file");
  ASSERT_NE(robot.findWindow(kServices), nullptr);
  robot.chooseRow(kServices, "?BROWSE:1", 3);  // Preparing: one element, no durations
  robot.press(kServices, "?OrderOfService");
  runToPreview(kProgress);
  EXPECT_EQ(printedTitles(), (std::vector<std::string>{"Candle lighting"}));
  EXPECT_EQ(totalDuration(), "0:00");
  EXPECT_LT(indexOf(texts(), "Bible Passages"), 0) << "a service without passages has no such list";
  closePreview();

  robot.rightClickRow(kServices, "?BROWSE:1", 2);  // Waiting
  robot.choosePopup("&Order of Service...");
  runToPreview(kProgress);
  EXPECT_EQ(printedTitles().size(), 7u);
  EXPECT_EQ(printedTitles().front(), "Opening hymn");
  closePreview();
  robot.closeWindow(kServices);
}

TEST_F(OrderOfServiceTest, ManyElementsGoOnOverPagesUnderTheirTitles) {
  std::vector<Element> many;
  std::vector<std::string> names;
  static std::vector<std::string> keep;  // the titles outlive the call
  keep.clear();
  for (int i = 0; i < 90; ++i) keep.push_back("Element " + std::to_string(100 + i));
  for (int i = 0; i < 90; ++i) many.push_back({100 + i, keep[static_cast<std::size_t>(i)].c_str(), "1:00"});
  addElements(second, many);
  open("UpdateService", Request::Change, &tables::Service, second);
  robot.press(kChangeService, "?PrintOrder");
  runToPreview(kProgress);
  const auto printed = pages();
  ASSERT_GE(printed.size(), 2u);
  // Every page after the first carries the list's titles again.
  EXPECT_TRUE(printed[1].allText().contains("Service Elements (continued)"));
  std::vector<std::string> expected{"Candle lighting"};
  expected.insert(expected.end(), keep.begin(), keep.end());
  EXPECT_EQ(printedTitles(), expected);
  EXPECT_EQ(totalDuration(), "1:30:00");
  EXPECT_TRUE(printed.back().allText().contains(vrt::PageNumberText(static_cast<int>(printed.size()))));
  closePreview();
  robot.press(kChangeService, "?Cancel");
}

TEST_F(OrderOfServiceTest, ThePdfKeepsAccentedAndChineseTitlesReadableWithEmbeddedFonts) {
  open("UpdateService", Request::Change, &tables::Service, first);
  robot.press(kChangeService, "?PrintOrder");
  runToPreview(kProgress);
  const std::string pdf = dir.file("order.pdf");
  saveAsPdf(pdf);
  closePreview();
  robot.press(kChangeService, "?Cancel");
  bool found = false;
  const QString text = runTool("pdftotext", {QString::fromStdString(pdf), "-"}, found);
  if (!found) GTEST_SKIP() << "pdftotext is not installed (poppler-utils)";
  EXPECT_TRUE(text.contains("Dios está aquí")) << text.toStdString();
  EXPECT_TRUE(text.contains("主耶穌我愛祢")) << text.toStdString();
  EXPECT_TRUE(text.contains("Guitar, cajón"));
  EXPECT_TRUE(text.contains("25:20"));
  const auto fonts = pdfFonts(pdf, found);
  ASSERT_FALSE(fonts.empty());
  for (const auto& [name, embedded] : fonts) EXPECT_TRUE(embedded) << name << " is not embedded";
}
