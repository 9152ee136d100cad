// The song-usage report, started from the service browse by its button and its popup
// entry: the range window, the counts on generated data against SongUsage itself, the
// elements without an entry, and a PDF of accented and Chinese titles.
#include <gtest/gtest.h>

#include <sstream>

#include "records/thread_dictionary.h"
#include "runtime/gui/calendar.h"
#include "runtime/text/picture.h"
#include "worship/song_usage.h"
#include "screens/worship/usage_range.h"
#include "tools/vesp_data/sample_data.h"
#include "worship_fixture.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

constexpr const char* kRange = "Song Usage";
constexpr const char* kProgress = "Song Usage Report";

std::string shown(vrt::DayNumber d) { return vrt::formatPicture(double(d), "@d17"); }

// Generated services: five years of Sundays from 2 January 2000 with eight elements each.
class GeneratedUsageTest : public WorshipReports<ServicesTest> {
 protected:
  void SetUp() override {
    WorshipReports<ServicesTest>::SetUp();
    tools::SampleOptions options;
    options.prayerRequests = 0;
    options.services = 260;
    std::ostringstream out, err;
    ASSERT_EQ(tools::generateSampleData(options, out, err), 0) << err.str();
  }
  // The usage as SongUsage itself finds it, read on a thread of its own.
  SongUsageReport usageOf(vrt::DayNumber from, vrt::DayNumber to, UsageOrder order) {
    SongUsageReport usage;
    onThread([&] {
      for (auto* t : {&tables::Service, &tables::ServiceElement, &tables::Bibliography}) {
        static_cast<void>(Access(*t).Open());
        static_cast<void>(Access(*t).Use());
      }
      usage = SongUsage(TableFile(tables::Service), TableFile(tables::ServiceElement),
                        TableFile(tables::Bibliography), from, to, order);
      for (auto* t : {&tables::Service, &tables::ServiceElement, &tables::Bibliography})
        static_cast<void>(Access(*t).Close());
    });
    return usage;
  }

  // Opens the browse, asks for the usage by its button and fills in the range window.
  void askUsage(vrt::DayNumber from, vrt::DayNumber to, const char* order) {
    robot.chooseMenu("&Browse|Browse the Services file");
    robot.press(kServices, "?SongUsage");
    ASSERT_NE(robot.findWindow(kRange), nullptr);
    robot.type(kRange, "?FromDate", shown(from));
    robot.type(kRange, "?ToDate", shown(to));
    robot.chooseRadio(kRange, "?UsageOrder", order);
    robot.press(kRange, "?OK");
  }
  // The printed entries: per record, its first line (the one with the count).
  std::vector<Line> entries() {
    std::vector<Line> out;
    for (const Line& l : tableLines())
      if (l.count("Services") && l.count("Title") && l.at(songUsageHeadings()[0]) != "Total") out.push_back(l);
    return out;
  }
};

bool startsWith(const std::string& whole, const std::string& part) { return whole.rfind(part, 0) == 0; }

}  // namespace

TEST_F(GeneratedUsageTest, TheBrowsePrintsTheSameCountsAsSongUsageWithTheEntrylessElements) {
  const vrt::DayNumber from = vrt::dateFromYmd(2001, 3, 1), to = vrt::dateFromYmd(2002, 2, 28);
  const SongUsageReport expected = usageOf(from, to, UsageOrder::Count);
  ASSERT_TRUE(expected.ok) << expected.error;
  ASSERT_GT(expected.services, 40);
  askUsage(from, to, "By &number of services");
  runToPreview(kProgress);

  const std::vector<Line> printed = entries();
  ASSERT_EQ(printed.size(), expected.entries.size());
  int entryless = 0;
  for (std::size_t i = 0; i < printed.size(); ++i) {
    const std::vector<std::string> row = songUsageRow(expected.entries[i]);
    // Long texts wrap: their first line is what the record's first line shows.
    EXPECT_TRUE(startsWith(row[0], printed[i].at("Bibliography #"))) << i;
    EXPECT_TRUE(startsWith(row[1], printed[i].at("Title"))) << i << ": " << row[1];
    EXPECT_EQ(printed[i].at("Services"), row[5]) << row[1];
    if (expected.entries[i].bibliography == 0) ++entryless;
  }
  EXPECT_GT(entryless, 0) << "the generated services have elements without an entry";
  const std::vector<std::string> all = texts();
  EXPECT_GE(indexOf(all, shown(from) + " to " + shown(to) + " (" + std::to_string(expected.services) + " services)"), 0);
  EXPECT_GE(indexOf(all, std::to_string(expected.entries.size()) + " entries"), 0);
  EXPECT_GE(indexOf(all, "By number of services"), 0);
  closePreview();
}

TEST_F(GeneratedUsageTest, ThePopupMenuAsksToo_AndARangeWithoutServicesSaysSo) {
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.rightClickRow(kServices, "?BROWSE:1", 1);
  robot.choosePopup("Song &Usage...");
  ASSERT_NE(robot.findWindow(kRange), nullptr);
  // It starts at the twelve months up to today, by title.
  EXPECT_EQ(robot.control(kRange, "?ToDate").text(), shown(vrt::today()));
  EXPECT_EQ(robot.control(kRange, "?FromDate").text(), shown(YearBefore(vrt::today())));
  // F6 picks a date from the calendar: a week on from the first day.
  robot.pressKey(kRange, vrt::kF6Key, "?FromDate");
  ASSERT_NE(robot.findWindow(vrt::kCalendarProcedure), nullptr);
  robot.pressKey(vrt::kCalendarProcedure, vrt::kDownKey);
  robot.pressKey(vrt::kCalendarProcedure, vrt::kEnterKey);
  EXPECT_EQ(robot.control(kRange, "?FromDate").text(), shown(YearBefore(vrt::today()) + 7));
  // A range that ends before it starts is refused, and the window stays.
  robot.type(kRange, "?FromDate", shown(vrt::dateFromYmd(2001, 5, 1)));
  robot.type(kRange, "?ToDate", shown(vrt::dateFromYmd(2001, 4, 1)));
  robot.press(kRange, "?OK");
  ASSERT_NE(robot.messageBox(), nullptr);
  robot.pressMessageButton("Ok");
  ASSERT_NE(robot.findWindow(kRange), nullptr);
  // The generated services end in 2004: nothing to report in 1990.
  robot.type(kRange, "?FromDate", shown(vrt::dateFromYmd(1990, 1, 1)));
  robot.type(kRange, "?ToDate", shown(vrt::dateFromYmd(1990, 12, 31)));
  robot.press(kRange, "?OK");
  for (int i = 0; i < 10 && robot.findWindow(kProgress); ++i) robot.fireTimer(kProgress);
  ASSERT_NE(robot.messageBox(), nullptr) << "no records: a message, not an empty preview";
  robot.pressMessageButton("Ok");
  EXPECT_EQ(robot.findWindow(kPreview), nullptr);
  EXPECT_TRUE(vrt::PageStore::liveFolders().empty());
  // Cancelling the range window prints nothing.
  robot.press(kServices, "?SongUsage");
  robot.press(kRange, "?Cancel");
  EXPECT_EQ(robot.findWindow(kProgress), nullptr);
  EXPECT_EQ(robot.findWindow(kPreview), nullptr);
}

TEST(UsageRange, TwelveMonthsEndOnTheDayGiven) {
  EXPECT_EQ(YearBefore(vrt::dateFromYmd(2026, 12, 9)), vrt::dateFromYmd(2025, 12, 10));
  EXPECT_EQ(YearBefore(vrt::dateFromYmd(2028, 2, 29)), vrt::dateFromYmd(2027, 3, 1));
  EXPECT_EQ(YearBefore(vrt::dateFromYmd(2026, 1, 1)), vrt::dateFromYmd(2025, 1, 2));
}

namespace {

class UsagePdfTest : public WorshipReportTest {
 protected:
  void SetUp() override {
    WorshipReportTest::SetUp();
    onThread([this] {
      dios = ServicesTest::add(tables::Bibliography, [](vrt::RecordRef r) {
        r.set(BBL_TITLE, "Dios está aquí");
        r.set(BBL_WRITTENBY, "Tony Mena");
        r.set(BBL_CCLI, "2455071");
      });
      jesus = ServicesTest::add(tables::Bibliography, [](vrt::RecordRef r) {
        r.set(BBL_TITLE, "主耶穌我愛祢");
        r.set(BBL_PUBLISHER, "Stream of Praise");
      });
    });
    addElements(first, {{3, "Dios está aquí", "3:45", "Song", dios}, {4, "主耶穌我愛祢", "4:30", "Song", jesus}});
    addElements(second, {{2, "Dios está aquí", "3:45", "Song", dios}});
  }
  std::int64_t dios = 0, jesus = 0;
};

}  // namespace

TEST_F(UsagePdfTest, ThePdfKeepsAccentedAndChineseTitlesReadableWithEmbeddedFonts) {
  robot.chooseMenu("&Browse|Browse the Services file");
  robot.press(kServices, "?SongUsage");
  robot.type(kRange, "?FromDate", shown(vrt::dateFromYmd(2026, 11, 1)));
  robot.type(kRange, "?ToDate", shown(vrt::dateFromYmd(2026, 12, 31)));
  robot.press(kRange, "?OK");
  runToPreview(kProgress);
  // Both services used the first, one the second; the fixture's elements have no entry.
  std::map<std::string, std::string> counts;
  for (const Line& l : tableLines())
    if (l.count("Title") && l.count("Services")) counts[l.at("Title")] = l.at("Services");
  EXPECT_EQ(counts["Dios está aquí"], "2");
  EXPECT_EQ(counts["主耶穌我愛祢"], "1");
  EXPECT_EQ(counts["Candle lighting"], "1");
  const std::string pdf = dir.file("usage.pdf");
  saveAsPdf(pdf);
  closePreview();
  bool found = false;
  const QString text = runTool("pdftotext", {QString::fromStdString(pdf), "-"}, found);
  if (!found) GTEST_SKIP() << "pdftotext is not installed (poppler-utils)";
  for (const char* t : {"Dios está aquí", "主耶穌我愛祢", "Stream of Praise", "2455071", "no bibliography", "2026-11-29"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(t))) << t << "\n" << text.toStdString();
  const auto fonts = pdfFonts(pdf, found);
  ASSERT_FALSE(fonts.empty());
  for (const auto& [name, embedded] : fonts) EXPECT_TRUE(embedded) << name << " is not embedded";
}
