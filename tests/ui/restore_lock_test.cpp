// The running program and a restore from outside it: vesp-data may not swap the files
// under the program, and the program's next start finishes or undoes a restore that was
// cut off.
#include <filesystem>
#include <stdexcept>

#include "dictionary/dictionary.h"
#include "program_fixture.h"
#include "records/data_backup.h"
#include "records/data_restore.h"
#include "runtime/gui/message_box.h"
#include "runtime/store/backup_copy.h"
#include "runtime/store/data_file.h"
#include "support/backup_hooks.h"
#include "support/run_vesp_data.h"

using namespace vesp;
using namespace vesp::testing;
namespace fs = std::filesystem;

namespace {

const QDateTime kMonday(QDate(2026, 3, 2), QTime(9, 0));

class RestoreLockTest : public ProgramTest {
 protected:
  static void addTopics(int first, int n) {
    vrt::DataFile file(*dict::table("Topic"));
    if (!fs::exists("Topic.vdb")) {
      ASSERT_TRUE(file.create());
    }
    ASSERT_TRUE(file.open());
    const auto& fields = file.schema().fields;
    for (int i = 0; i < n; ++i) {
      file.buffer().clearAll(fields);
      file.buffer().setNumber(fields[0], first + i);
      ASSERT_TRUE(file.add());
    }
    file.close();
  }
  static std::int64_t topics() {
    vrt::DataFile file(*dict::table("Topic"));
    if (!file.open(vrt::OpenAccess::ReadOnly)) return -1;
    return file.records();
  }
  std::string messageText() {
    vrt::Window* box = robot.messageBox();
    return box ? robot.control(box->caption(), vrt::kMessageTextUse).text() : std::string("<no message>");
  }
  // A set of 2 topics, then a third added: the state before each restore.
  std::string setOfTwoThenThree() {
    addTopics(1, 2);
    const backup::Outcome made = backup::BackUpNow(".", backup::kBackupFolder, kMonday);
    EXPECT_TRUE(made.ok) << made.error;
    addTopics(3, 1);
    return made.setPath;
  }
  // A restore of `set` that stops dead before the first step whose name starts with `at`,
  // leaving the files as a killed process would.
  static void restoreCutOffAt(const std::string& set, const std::string& at) {
    struct Killed {};
    backup::setRestoreStepHookForTesting([&](const std::string& step) {
      if (step.rfind(at, 0) == 0) throw Killed{};
    });
    backup::RestoreOptions options;
    options.now = kMonday.addSecs(60);
    bool killed = false;
    try {
      backup::RestoreSet(".", set, options);
    } catch (const Killed&) {
      killed = true;
    }
    backup::setRestoreStepHookForTesting({});
    EXPECT_TRUE(killed) << at;
  }
};

}  // namespace

TEST_F(RestoreLockTest, VespDataCannotRestoreWhileTheProgramHasTheDataOpen) {
  const std::string set = setOfTwoThenThree();
  start();
  const auto refused = runVespData({"restore", set});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("open in another program"), std::string::npos) << refused.err;
  EXPECT_EQ(topics(), 3);

  // The program's own restore still goes ahead from the File menu.
  robot.chooseMenu("&File|&Restore Data...");
  robot.chooseRow("RestoreData", "?Sets", 2);  // the start-up set is the newest
  robot.press("RestoreData", "?Restore");
  robot.pressMessageButton("Yes");
  EXPECT_NE(messageText().find("was restored"), std::string::npos) << messageText();
  robot.pressMessageButton("Ok");
  EXPECT_EQ(topics(), 2);

  // Once the program has ended, the same command is free to restore.
  vrt::EndAllThreads();
  const auto after = runVespData({"restore", set});
  EXPECT_EQ(after.status, 0) << after.err;
}

TEST_F(RestoreLockTest, TheNextStartFinishesARestoreCutOffOnceTheOldDataWasKept) {
  const std::string set = setOfTwoThenThree();
  restoreCutOffAt(set, "move Topic.vdb in");
  EXPECT_FALSE(fs::exists("Topic.vdb"));
  StartProgram();
  robot.settle();
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_NE(messageText().find("has now been finished"), std::string::npos) << messageText();
  EXPECT_NE(messageText().find("before-restore"), std::string::npos) << messageText();
  robot.pressMessageButton("Ok");
  robot.settle();
  ASSERT_NE(vrt::FrameHost::frame(), nullptr);
  EXPECT_EQ(topics(), 2);
  EXPECT_FALSE(fs::exists(backup::kRestoreJournal));
}

TEST_F(RestoreLockTest, TheNextStartUndoesARestoreCutOffWhileTheOldDataWentAside) {
  const std::string set = setOfTwoThenThree();
  const std::string digest = vrt::store::fileDigest("Topic.vdb");
  restoreCutOffAt(set, "move Topic.vdb aside");
  StartProgram();
  robot.settle();
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_NE(messageText().find("undone"), std::string::npos) << messageText();
  robot.pressMessageButton("Ok");
  robot.settle();
  ASSERT_NE(vrt::FrameHost::frame(), nullptr);
  EXPECT_EQ(topics(), 3);
  EXPECT_EQ(vrt::store::fileDigest("Topic.vdb"), digest);
  for (const auto& s : backup::listSets(backup::kBackupFolder)) EXPECT_NE(s.kind, "before-restore");
}
