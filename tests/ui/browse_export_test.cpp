// "Export to CSV..." from a browse's popup menu, driven as a user would: the prayer requests
// opened from the frame's menu and held to one category by a query built in the query
// wizard; the files are read back with Python's csv module, as a spreadsheet program would
// read them.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "dictionary/dictionary.h"
#include "dictionary/tables.h"
#include "program_fixture.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/paged_list.h"
#include "runtime/store/data_file.h"
#include "runtime/text/csv.h"
#include "runtime/text/dates.h"
#include "runtime/text/picture.h"
#include "support/python_csv.h"
#include "querywizard/wizard_layout.h"
#include "windows/browse_export.h"
#include "windows/thread_globals.h"
#include "windows/work_progress.h"

using namespace vesp;
using namespace vesp::testing;
namespace fs = std::filesystem;
namespace PRA = dict::idx::PRA;

namespace {

constexpr const char* kWindow = "Browse the Prayer Request File";
constexpr const char* kList = "?Browse:1";
constexpr std::string_view kWizard = qrywiz::kWizardProcedure;
using Rows = std::vector<std::vector<std::string>>;

struct StoredRequest {
  int number;
  vrt::DayNumber started;
  const char* category;
  const char* text;
};

Rows readWithPython(const std::string& path) { return vtest::readCsvWithPython(path); }

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class BrowseExportTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    // The progress window's ticks come from the test alone.
    WorkProgress::SetTickInterval(100 * 60 * 60);
  }
  void TearDown() override {
    WorkProgress::SetTickInterval(1);
    ProgramTest::TearDown();
  }

  static void addRequests(const std::vector<StoredRequest>& requests) {
    vrt::DataFile file(*dict::table("PrayerRequest"));
    if (!fs::exists("PrayerRequest.vdb")) {
      ASSERT_TRUE(file.create());
    }
    ASSERT_TRUE(file.open());
    const auto& f = file.schema().fields;
    for (const StoredRequest& r : requests) {
      file.buffer().clearAll(f);
      file.buffer().setNumber(f[PRA::REQUESTNUMBER], r.number);
      file.buffer().setNumber(f[PRA::DATESTARTED], r.started);
      file.buffer().setText(f[PRA::REQUESTCATEGORY], r.category);
      file.buffer().setText(f[PRA::REQUEST], r.text);
      ASSERT_TRUE(file.add());
    }
    file.close();
  }

  // The browse from the frame's menu, held by a query of the wizard to the requests whose
  // category holds "health" in any case, as a user asks for it.
  void openBrowse() {
    robot.chooseMenu("&Browse|Browse the Prayer Request file");
    ASSERT_NE(robot.findWindow(kWindow), nullptr);
    robot.chooseItem(kWindow, "?SavedQueries", "Custom Query...");
    ASSERT_NE(robot.findWindow(kWizard), nullptr);
    vrt::PagedList* fields = robot.control(kWizard, "?FieldList").list();
    int row = 0;
    for (int r = 1; r <= fields->rowCount(); ++r)
      if (fields->rowAt(r)[0] == "PRA:Category") row = r;
    ASSERT_NE(row, 0);
    robot.chooseRow(kWizard, "?FieldList", row);
    robot.press(kWizard, "?Next");
    ASSERT_EQ(robot.control(kWizard, "?OperationList").list()->rowAt(kContains)[0], "Contains");
    robot.chooseRow(kWizard, "?OperationList", kContains);
    robot.press(kWizard, "?Next");
    robot.type(kWizard, "?Value", "health");
    robot.press(kWizard, "?Next");
    robot.press(kWizard, "?Finish");
    robot.pressMessageButton("No");  // not kept among the saved queries
    ASSERT_EQ(robot.findWindow(kWizard), nullptr);
  }
  static constexpr int kContains = 8;
  Rows page() {
    Rows rows;
    vrt::PagedList* list = robot.control(kWindow, kList).list();
    for (int r = 1; r <= list->rowCount(); ++r) rows.push_back(list->rowAt(r));
    return rows;
  }
  // The popup's entry, then `path` in the file dialog.
  void exportTo(const std::string& path) {
    robot.rightClickRow(kWindow, kList, 1);
    ASSERT_TRUE(robot.popupOpen());
    robot.choosePopup(kExportItemText);
    robot.chooseFile(path);
  }
  // Lets the export run to its end; the number of ticks it took.
  int runExport() {
    int ticks = 0;
    while (robot.findWindow(WorkProgress::kProcedure) && ticks < 10'000) {
      robot.fireTimer(WorkProgress::kProcedure);
      ++ticks;
    }
    return ticks;
  }
  std::string messageText() {
    vrt::Window* box = robot.messageBox();
    return box ? robot.control(box->caption(), vrt::kMessageTextUse).text() : std::string("<no message>");
  }
};

const std::vector<StoredRequest> kRequests = {
    {1, vrt::dateFromYmd(2026, 3, 1), "Health", "Pray for Anna's surgery, on Monday"},
    {2, vrt::dateFromYmd(2026, 2, 1), "Family", "Not in the filter"},
    {3, vrt::dateFromYmd(2026, 1, 15), "health", "Caf\xC3\xA9 \"\xC3\x9Cmlaut\" group"},
    {4, vrt::dateFromYmd(2026, 3, 1), "Health", "Line one\nline two"},
    {5, vrt::dateFromYmd(2025, 12, 24), "Travel", "Trip"},
    {6, 0, "HEALTH", "No date yet"},
};

// The requests above and ten more of the category after them: more than the list's page.
std::vector<StoredRequest> withFollowUps() {
  std::vector<StoredRequest> all = kRequests;
  for (int i = 7; i <= 16; ++i) all.push_back({i, vrt::dateFromYmd(2026, 4, i - 6), "Health", "Follow-up"});
  return all;
}

}  // namespace

TEST_F(BrowseExportTest, AFilteredBrowseExportsExactlyItsRecordsInItsOrder) {
  addRequests(withFollowUps());
  start();
  openBrowse();
  const Rows before = page();
  ASSERT_EQ(before.size(), 10u);  // one page of the fourteen the query selects
  const std::string path = (fs::current_path() / "health.csv").string();
  exportTo(path);
  ASSERT_NE(robot.findWindow(WorkProgress::kProcedure), nullptr);
  EXPECT_FALSE(fs::exists(path));  // nothing in place until it is complete
  EXPECT_GE(runExport(), 1);
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_NE(messageText().find("14 records were written to"), std::string::npos) << messageText();
  EXPECT_NE(messageText().find(path), std::string::npos) << messageText();
  robot.pressMessageButton("Ok");

  EXPECT_EQ(fileBytes(path).substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_NE(fileBytes(path).find("\r\n"), std::string::npos);
  Rows expected = {
      {"Request #", "Prayer Request", "Category", "Date Started", "Date Answered", "Answer", "Days"},
      {"6", "No date yet", "HEALTH", "", "", "", ""},
      {"3", "Caf\xC3\xA9 \"\xC3\x9Cmlaut\" group", "health", "01-15-2026", "", "", ""},
      {"1", "Pray for Anna's surgery, on Monday", "Health", "03-01-2026", "", "", ""},
      {"4", "Line one\nline two", "Health", "03-01-2026", "", "", ""},
  };
  for (int i = 7; i <= 16; ++i)
    expected.push_back({std::to_string(i), "Follow-up", "Health", vrt::formatPicture(static_cast<double>(vrt::dateFromYmd(2026, 4, i - 6)), "@d2-"), "", "", ""});
  EXPECT_EQ(readWithPython(path), expected);
  // The browse shows the page it showed before, and goes on working.
  EXPECT_EQ(page(), before);
  robot.pressKey(kWindow, vrt::kPgDnKey, kList);
  EXPECT_EQ(page().back().at(0), "16");
}

TEST_F(BrowseExportTest, ACancelledExportLeavesNoFileAndAnOldOneAsItWas) {
  std::vector<StoredRequest> many;
  for (int i = 1; i <= 300; ++i) many.push_back({i, vrt::dateFromYmd(2026, 1, 1) + i % 40, "Health", "Request"});
  addRequests(many);
  start();
  openBrowse();
  const std::string path = (fs::current_path() / "old.csv").string();
  std::ofstream(path) << "kept\n";

  exportTo(path);
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_NE(messageText().find("exists already"), std::string::npos) << messageText();
  robot.pressMessageButton("No");
  EXPECT_EQ(robot.findWindow(WorkProgress::kProcedure), nullptr);
  EXPECT_EQ(fileBytes(path), "kept\n");

  exportTo(path);
  robot.pressMessageButton("Yes");
  // The headings are written; the records wait for the first tick.
  ASSERT_NE(robot.findWindow(WorkProgress::kProcedure), nullptr);
  robot.press(WorkProgress::kProcedure, "?Cancel");
  EXPECT_EQ(robot.findWindow(WorkProgress::kProcedure), nullptr);
  EXPECT_EQ(robot.messageBox(), nullptr) << messageText();
  EXPECT_EQ(fileBytes(path), "kept\n");
  std::size_t files = 0;
  for (const auto& entry : fs::directory_iterator(fs::current_path()))
    if (entry.path().filename().string().find("old") != std::string::npos) ++files;
  EXPECT_EQ(files, 1u);  // no partial file beside it
  EXPECT_EQ(page().at(0).at(0), "40");

  // Exported to the end, the whole result replaces it.
  exportTo(path);
  robot.pressMessageButton("Yes");
  runExport();
  EXPECT_NE(messageText().find("300 records were written"), std::string::npos) << messageText();
  robot.pressMessageButton("Ok");
  const Rows rows = readWithPython(path);
  ASSERT_EQ(rows.size(), 301u);
  EXPECT_EQ(rows[1].at(0), "40");  // the first day of the order, its lowest number first
}

TEST_F(BrowseExportTest, AFolderThatCannotBeWrittenIsToldAndTheBrowseGoesOn) {
  addRequests(kRequests);
  start();
  openBrowse();
  const Rows before = page();
  exportTo((fs::current_path() / "no such folder" / "health.csv").string());
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_NE(messageText().find("did not succeed"), std::string::npos) << messageText();
  robot.pressMessageButton("Ok");
  EXPECT_EQ(robot.findWindow(WorkProgress::kProcedure), nullptr);
  EXPECT_EQ(page(), before);
}

TEST(CsvLine, QuotesOnlyWhatNeedsItAndDoublesQuotes) {
  using vrt::CsvLine;
  EXPECT_EQ(CsvLine({"a", "b c", ""}), "a,b c,\r\n");
  EXPECT_EQ(CsvLine({"1,5", "say \"hi\"", "two\nlines", "cr\r"}), "\"1,5\",\"say \"\"hi\"\"\",\"two\nlines\",\"cr\r\"\r\n");
}
