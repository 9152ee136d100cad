// "Export to CSV..." from the prayer-request browse as a user reaches it: a name that is
// one of the program's own files is refused, and what is written opens safely in a
// spreadsheet.
#include <filesystem>
#include <fstream>
#include <map>

#include "prayer_fixture.h"
#include "records/data_backup.h"
#include "runtime/gui/message_box.h"
#include "runtime/store/backup_copy.h"
#include "support/python_csv.h"
#include "windows/browse_export.h"
#include "windows/work_progress.h"

using namespace vesp;
using namespace vesp::testing;
namespace fs = std::filesystem;

namespace {

class ExportSafetyTest : public PrayerTest {
 protected:
  void SetUp() override {
    PrayerTest::SetUp();
    WorkProgress::SetTickInterval(100 * 60 * 60);
  }
  void TearDown() override {
    WorkProgress::SetTickInterval(1);
    PrayerTest::TearDown();
  }
  void openFromMenu() {
    robot.chooseMenu("&Browse|Browse the Prayer Request file");
    ASSERT_NE(robot.findWindow(kRequests), nullptr);
  }
  void chooseExport(const std::string& path) {
    robot.rightClickRow(kRequests, "?Browse:1", 1);
    ASSERT_TRUE(robot.popupOpen());
    robot.choosePopup(kExportItemText);
    robot.chooseFile(path);
  }
  std::string messageText() {
    vrt::Window* box = robot.messageBox();
    return box ? robot.control(box->caption(), vrt::kMessageTextUse).text() : std::string("<no message>");
  }
  static std::map<std::string, std::string> everyFile() {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator("."))
      if (e.is_regular_file()) out[e.path().string()] = vrt::store::fileDigest(e.path().string());
    return out;
  }
};

}  // namespace

TEST_F(ExportSafetyTest, TheProgramsOwnFilesAreRefusedAndTheDialogAskedAgain) {
  addRequests({{"Pray for the choir", "Family", kToday}});
  robot.chooseMenu("&File|&Back Up Data Now...");
  ASSERT_NE(robot.messageBox(), nullptr);
  robot.pressMessageButton("Ok");
  const auto sets = backup::listSets(backup::kBackupFolder);
  ASSERT_FALSE(sets.empty());
  fs::create_symlink(fs::absolute("PrayerRequest.vdb"), "requests-link.csv");
  openFromMenu();
  const auto before = everyFile();

  const fs::path here = fs::current_path();
  for (const fs::path& target :
       {here / "PrayerRequest.vdb", here / "prayerrequest.VDB", here / "PrayerRequest.vdb-journal",
        here / "vsp.INI", here / "QUERIES.TPS", here / "requests-link.csv",
        fs::path(sets[0].path) / "PrayerRequest.vdb", fs::path(sets[0].path) / "summary.csv",
        here / backup::kBackupFolder / "summary.csv"}) {
    chooseExport(target.string());
    ASSERT_NE(robot.messageBox(), nullptr) << target;
    EXPECT_NE(messageText().find("cannot be written over"), std::string::npos) << messageText();
    EXPECT_EQ(messageText().find("Replace"), std::string::npos) << messageText();
    robot.pressMessageButton("Ok");
    // The same dialog again, for another name; cancelled, nothing is written.
    robot.cancelFileDialog();
    EXPECT_EQ(robot.findWindow(WorkProgress::kProcedure), nullptr) << target;
    EXPECT_EQ(robot.messageBox(), nullptr) << messageText();
  }
  EXPECT_EQ(everyFile(), before);

  // Refused once, another name is taken at once; another file that exists is replaced
  // only when the user says so.
  std::ofstream("mine.csv") << "kept\n";
  chooseExport((here / "Service.vdb").string());
  robot.pressMessageButton("Ok");
  robot.chooseFile((here / "mine.csv").string());
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_NE(messageText().find("exists already"), std::string::npos) << messageText();
  robot.pressMessageButton("Yes");
  while (robot.findWindow(WorkProgress::kProcedure)) robot.fireTimer(WorkProgress::kProcedure);
  EXPECT_NE(messageText().find("1 record was written"), std::string::npos) << messageText();
  robot.pressMessageButton("Ok");
  EXPECT_EQ(vtest::readCsvWithPython("mine.csv").at(1).at(1), "Pray for the choir");
  EXPECT_EQ(backup::listSets(backup::kBackupFolder).size(), sets.size());
}

TEST_F(ExportSafetyTest, FormulasStayTextNumbersStayNumbersAndBadBytesAreReplaced) {
  addRequests({{"=HYPERLINK(\"http://example.com\",\"click\")", "Family", kToday},
               {"+44 20 7946 0000", "Family", kToday},
               {"-3 days to go", "@home", kToday},
               {"\tindented", "Family", kToday},
               {"Caf\xE9 group", "Family", kToday},
               {"Plain, with a comma", "Family", vrt::dateFromYmd(2025, 12, 24)}});
  openFromMenu();
  const std::string path = (fs::current_path() / "requests.csv").string();
  chooseExport(path);
  while (robot.findWindow(WorkProgress::kProcedure)) robot.fireTimer(WorkProgress::kProcedure);
  EXPECT_NE(messageText().find("6 records were written"), std::string::npos) << messageText();
  robot.pressMessageButton("Ok");

  const vtest::CsvRows rows = vtest::readCsvWithPython(path);
  ASSERT_EQ(rows.size(), 7u);
  EXPECT_EQ(rows[0].at(0), "Request #");
  std::map<std::string, std::vector<std::string>> byNumber;
  for (std::size_t r = 1; r < rows.size(); ++r) byNumber[rows[r].at(0)] = rows[r];
  ASSERT_EQ(byNumber.size(), 6u);
  EXPECT_EQ(byNumber.at("1").at(1), "'=HYPERLINK(\"http://example.com\",\"click\")");
  EXPECT_EQ(byNumber.at("2").at(1), "'+44 20 7946 0000");
  EXPECT_EQ(byNumber.at("3").at(1), "'-3 days to go");
  EXPECT_EQ(byNumber.at("3").at(2), "'@home");
  EXPECT_EQ(byNumber.at("4").at(1), "'\tindented");
  EXPECT_EQ(byNumber.at("5").at(1), "Caf\xEF\xBF\xBD group");
  EXPECT_EQ(byNumber.at("6").at(1), "Plain, with a comma");
  // The request number and the dates as the columns show them, never guarded.
  EXPECT_EQ(byNumber.at("6").at(3), "12-24-2025");
  EXPECT_EQ(byNumber.at("1").at(3), date(kToday));
}
