#include <filesystem>
#include <fstream>

#include "program_fixture.h"
#include "dictionary/dictionary.h"
#include "records/data_backup.h"
#include "runtime/gui/message_box.h"
#include "runtime/store/data_file.h"

using namespace vesp;
using namespace vesp::testing;
namespace fs = std::filesystem;

namespace {

class StartupBackupTest : public ProgramTest {
 protected:
  void makeTopicFile() {
    vrt::DataFile file(*dict::table("Topic"));
    ASSERT_TRUE(file.create());
  }
};

}  // namespace

TEST_F(StartupBackupTest, TheDaysSetIsMadeBeforeTheFrameOpens) {
  makeTopicFile();
  start();
  EXPECT_EQ(robot.messageBox(), nullptr);
  const auto sets = backup::listSets(backup::kBackupFolder);
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].records("Topic"), 0);
}

TEST_F(StartupBackupTest, AFailedBackupIsToldOnceAndTheProgramStillStarts) {
  makeTopicFile();
  {
    // The second page's type byte: the file can no longer be read whole.
    std::fstream f("Topic.vdb", std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(4096);
    f.put('\x7f');
  }
  StartProgram();
  robot.settle();
  vrt::Window* box = robot.messageBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->caption(), "Backup");
  const std::string text = robot.control("Backup", vrt::kMessageTextUse).text();
  EXPECT_NE(text.find("automatic backup"), std::string::npos) << text;
  EXPECT_NE(text.find("Topic.vdb"), std::string::npos) << text;
  robot.pressMessageButton("Ok");
  EXPECT_EQ(robot.messageBox(), nullptr);
  EXPECT_NE(vrt::FrameHost::frame(), nullptr);
  EXPECT_TRUE(backup::listSets(backup::kBackupFolder).empty());
}

TEST_F(StartupBackupTest, TheDaysSetTakesWhatDidNotChangeSinceYesterdaysByLink) {
  makeTopicFile();
  const QDateTime yesterday = QDateTime::currentDateTime().addDays(-1);
  ASSERT_TRUE(backup::BackUpNow(".", backup::kBackupFolder, yesterday, {}, {}, backup::Checking::Full).ok);
  start();
  EXPECT_EQ(robot.messageBox(), nullptr);
  const auto sets = backup::listSets(backup::kBackupFolder);
  ASSERT_EQ(sets.size(), 2u);
  // The one table in use is carried; the tables never used are kept as empty files.
  const auto topic = std::find_if(sets[0].files.begin(), sets[0].files.end(),
                                  [](const backup::SetFile& f) { return f.name == "Topic.vdb"; });
  ASSERT_NE(topic, sets[0].files.end());
  EXPECT_TRUE(topic->carried);
  EXPECT_TRUE(fs::equivalent(fs::path(sets[0].path) / "Topic.vdb", fs::path(sets[1].path) / "Topic.vdb"));
  EXPECT_EQ(sets[0].records("Topic"), 0);
}
