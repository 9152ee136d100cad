// A station of a new version started on a server where an older version made a table: the
// table is converted when its list first opens, after a set of the data as it stood.
#include <string>
#include <vector>

#include "dictionary/dictionary.h"
#include "program_fixture.h"
#include "records/backup_sets.h"
#include "records/data_backup.h"
#include "records/location_file.h"
#include "runtime/data/errors.h"
#include "runtime/gui/paged_list.h"
#include "runtime/store/backup_copy.h"
#include "runtime/store/data_file.h"
#include "support/backup_hooks.h"
#include "support/scratch_database.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

constexpr const char* kTopics = "Browse the Topic File";

class ServerUpgradeTest : public ProgramTest {
 protected:
  void TearDown() override {
    ProgramTest::TearDown();
    vrt::store::openData(vrt::store::DataLocation::files());
  }
};

}  // namespace

TEST_F(ServerUpgradeTest, AnOlderTableOnTheServerOpensConvertedAfterABackupOfItAsItWas) {
  VESP_NEEDS_SCRATCH_DATABASE();
  vtest::ScratchDatabase db;
  ASSERT_TRUE(db.ok());
  // The topics as an older version kept them: without their synonyms.
  vrt::TableSchema old = *dict::table("Topic");
  old.fields.pop_back();
  old.recordSize = old.fields.back().offset + old.fields.back().size;
  old.version = 0;
  {
    vrt::DataFile file(old, "", db.location());
    ASSERT_TRUE(file.create() && file.open()) << vrt::errorMessage();
    int number = 0;
    for (const char* topic : {"Mission", "Grace", "Hope"}) {
      file.buffer().clearAll(old.fields);
      file.buffer().setNumber(old.fields[0], ++number);
      file.buffer().setText(old.fields[1], topic);
      ASSERT_TRUE(file.add());
    }
  }
  ASSERT_EQ(location::writeLocation(".", db.location()), "");
  backup::ResetUpgradeBackupForTesting();
  start();

  robot.chooseMenu("&Browse|&Lists|&Topics");
  EXPECT_EQ(robot.messageBox(), nullptr);
  ASSERT_NE(robot.findWindow(kTopics), nullptr);
  vrt::PagedList* list = robot.control(kTopics, "?Browse:1").list();
  std::vector<std::string> rows;
  for (int r = 1; r <= list->rowCount(); ++r) rows.push_back(list->rowAt(r).at(0));
  EXPECT_EQ(rows, (std::vector<std::string>{"Grace", "Hope", "Mission"}));

  // The set made before the conversion holds the table in its old structure.
  const backup::BackupSet* before = nullptr;
  const auto sets = backup::listSets(backup::kBackupFolder);
  for (const auto& set : sets)
    if (set.kind == "before-upgrade") before = &set;
  ASSERT_NE(before, nullptr);
  EXPECT_EQ(before->records("Topic"), 3);
  EXPECT_EQ(vrt::store::metadataValues(before->path + "/Topic.vdb", "version").at("Topic"), 0);
  robot.chooseMenu("&File|E&xit");
}
