// The File menu's backup and restore, driven as a user would.
#include <filesystem>
#include <fstream>

#include "dictionary/dictionary.h"
#include "program_fixture.h"
#include "records/data_backup.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/paged_list.h"
#include "runtime/store/backup_copy.h"
#include "runtime/store/data_file.h"
#include "windows/work_progress.h"

using namespace vesp;
using namespace vesp::testing;
namespace fs = std::filesystem;

namespace {

constexpr const char* kBackUpMenu = "&File|&Back Up Data Now...";
constexpr const char* kRestoreMenu = "&File|&Restore Data...";
constexpr const char* kRestoreWindow = "RestoreData";  // its procedure: its message boxes share its caption

class DataSafetyMenuTest : public ProgramTest {
 protected:
  // Element types numbered from `first`, added as another program would.
  static void addElementTypes(int first, std::initializer_list<const char*> names) {
    vrt::DataFile file(*dict::table("ElementType"));
    if (!fs::exists("ElementType.vdb")) {
      ASSERT_TRUE(file.create());
    }
    ASSERT_TRUE(file.open());
    const auto& fields = file.schema().fields;
    const auto& number = fields[static_cast<std::size_t>(file.schema().fieldIndex("ELEMENTTYPENUMBER"))];
    const auto& text = fields[static_cast<std::size_t>(file.schema().fieldIndex("ELEMENTTYPE"))];
    for (const char* name : names) {
      file.buffer().clearAll(fields);
      file.buffer().setNumber(number, first++);
      file.buffer().setText(text, name);
      ASSERT_TRUE(file.add());
    }
    file.close();
  }
  static std::int64_t elementTypes() {
    vrt::DataFile file(*dict::table("ElementType"));
    if (!file.open(vrt::OpenAccess::ReadOnly)) return -1;
    const std::int64_t n = file.records();
    file.close();
    return n;
  }
  static std::map<std::string, std::string> digests() {
    std::map<std::string, std::string> out;
    for (const auto& name : backup::dataFileNames())
      if (fs::exists(name)) out[name] = vrt::store::fileDigest(name);
    return out;
  }
  std::string messageText() {
    vrt::Window* box = robot.messageBox();
    return box ? robot.control(box->caption(), vrt::kMessageTextUse).text() : std::string("<no message>");
  }
  // Chooses "Restore Data...", the set in `row`, and Restore.
  void chooseSetAndRestore(int row) {
    robot.chooseMenu(kRestoreMenu);
    ASSERT_NE(robot.findWindow(kRestoreWindow), nullptr) << messageText();
    robot.chooseRow(kRestoreWindow, "?Sets", row);
    robot.press(kRestoreWindow, "?Restore");
  }
  std::vector<backup::BackupSet> sets() { return backup::listSets(backup::kBackupFolder); }
  // The sets counted are the test's own: the day's set that start-up made of the settings goes.
  void start() {
    ProgramTest::start();
    fs::remove_all(backup::kBackupFolder);
  }
};

}  // namespace

TEST_F(DataSafetyMenuTest, BackUpFromTheMenuThenRestoreThatSet) {
  start();
  addElementTypes(1, {"Song", "Reading", "Video"});
  std::ofstream("vsp.INI", std::ios::app) << "[Kept]\nValue=before\n";

  robot.chooseMenu(kBackUpMenu);
  ASSERT_NE(robot.messageBox(), nullptr);
  const std::string told = messageText();
  ASSERT_EQ(sets().size(), 1u);
  const backup::BackupSet made = sets()[0];
  EXPECT_NE(told.find(fs::absolute(made.path).lexically_normal().string()), std::string::npos) << told;
  EXPECT_EQ(made.records("ElementType"), 3);
  robot.pressMessageButton("Ok");
  EXPECT_EQ(robot.findWindow(WorkProgress::kProcedure), nullptr);

  addElementTypes(4, {"Drama", "Anthem"});
  std::ofstream("vsp.INI", std::ios::trunc) << "[Kept]\nValue=after\n";
  const auto changed = digests();
  ASSERT_EQ(elementTypes(), 5);

  robot.chooseMenu(kRestoreMenu);
  vrt::PagedList* list = robot.control(kRestoreWindow, "?Sets").list();
  ASSERT_EQ(list->rowCount(), 1);
  EXPECT_EQ(list->rowAt(1).at(3), "3");  // the records in the set
  EXPECT_NE(robot.control(kRestoreWindow, "?Details").text().find("ElementType 3"), std::string::npos);
  robot.press(kRestoreWindow, "?Restore");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_NE(messageText().find("undoes this restore"), std::string::npos) << messageText();
  robot.pressMessageButton("Yes");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_NE(messageText().find("was restored"), std::string::npos) << messageText();
  robot.pressMessageButton("Ok");

  EXPECT_EQ(elementTypes(), 3);
  EXPECT_EQ(vrt::store::fileDigest("ElementType.vdb"), vrt::store::fileDigest(made.path + "/ElementType.vdb"));
  // The data as it was before sits in a set of its own, ready to undo the restore.
  const auto after = sets();
  ASSERT_EQ(after.size(), 2u);
  const auto aside = std::find_if(after.begin(), after.end(), [](const auto& s) { return s.kind == "before-restore"; });
  ASSERT_NE(aside, after.end());
  EXPECT_EQ(aside->records("ElementType"), 5);
  EXPECT_EQ(vrt::store::fileDigest(aside->path + "/ElementType.vdb"), changed.at("ElementType.vdb"));

  // The program goes on: a browse opens on the restored files, and the settings read
  // afterwards are the restored ones.
  robot.chooseMenu("&Browse|Browse the Performers file");
  EXPECT_NE(robot.findWindow("Browse the Performers File"), nullptr);
  EXPECT_EQ(robot.messageBox(), nullptr) << messageText();
  std::ifstream ini("vsp.INI");
  const std::string settings((std::istreambuf_iterator<char>(ini)), std::istreambuf_iterator<char>());
  EXPECT_NE(settings.find("Value=before"), std::string::npos) << settings;
  EXPECT_EQ(settings.find("Value=after"), std::string::npos) << settings;
}

TEST_F(DataSafetyMenuTest, ARestoreIsRefusedWhileABrowseIsOpen) {
  start();
  addElementTypes(1, {"Song"});
  robot.chooseMenu(kBackUpMenu);
  robot.pressMessageButton("Ok");
  addElementTypes(2, {"Drama"});
  robot.chooseMenu("&Browse|Browse the Performers file");
  ASSERT_NE(robot.findWindow("Browse the Performers File"), nullptr);
  const auto before = digests();
  chooseSetAndRestore(1);
  ASSERT_NE(robot.messageBox(), nullptr);
  const std::string told = messageText();
  EXPECT_NE(told.find("cannot be restored while"), std::string::npos) << told;
  EXPECT_NE(told.find("Browse the Performers File"), std::string::npos) << told;
  robot.pressMessageButton("Ok");
  // The list stays for another try; nothing was touched.
  ASSERT_NE(robot.findWindow(kRestoreWindow), nullptr);
  robot.press(kRestoreWindow, "?Cancel");
  EXPECT_EQ(robot.findWindow(kRestoreWindow), nullptr);
  EXPECT_EQ(digests(), before);
  EXPECT_EQ(sets().size(), 1u);
  EXPECT_EQ(elementTypes(), 2);
}

TEST_F(DataSafetyMenuTest, ADamagedSetIsRefusedAndTheDataIsAsItWas) {
  start();
  addElementTypes(1, {"Song", "Reading"});
  robot.chooseMenu(kBackUpMenu);
  robot.pressMessageButton("Ok");
  addElementTypes(3, {"Drama"});
  const auto before = digests();
  {
    std::fstream f(sets()[0].path + "/ElementType.vdb", std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(4096 + 100);
    f.put('\x5a');
  }
  chooseSetAndRestore(1);
  robot.pressMessageButton("Yes");
  ASSERT_NE(robot.messageBox(), nullptr);
  const std::string told = messageText();
  EXPECT_NE(told.find("not restored; your data is as it was"), std::string::npos) << told;
  EXPECT_NE(told.find("changed or damaged"), std::string::npos) << told;
  robot.pressMessageButton("Ok");
  EXPECT_EQ(digests(), before);
  EXPECT_EQ(sets().size(), 1u);
}

// The first start in an empty folder has nothing to back up before it makes its lists.
class FirstStartDataSafetyTest : public DataSafetyMenuTest {
  bool emptyFolder() const override { return true; }
};

TEST_F(FirstStartDataSafetyTest, WithoutSetsTheRestoreSaysSoAndABackupOfNothingFailsClearly) {
  start();
  robot.chooseMenu(kRestoreMenu);
  EXPECT_EQ(robot.findWindow(kRestoreWindow), nullptr);
  EXPECT_NE(messageText().find("There are no backup sets"), std::string::npos) << messageText();
  robot.pressMessageButton("Ok");
  for (const auto& name : backup::dataFileNames()) fs::remove(name);
  robot.chooseMenu(kBackUpMenu);
  EXPECT_NE(messageText().find("did not succeed"), std::string::npos) << messageText();
  robot.pressMessageButton("Ok");
  EXPECT_TRUE(sets().empty());
}
