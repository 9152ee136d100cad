// Where the data lives: chosen from the File menu, settled at start-up, shown in the frame's
// status bar; a server that cannot be reached never leaves the program on empty data.
#include <filesystem>
#include <fstream>

#include "program_fixture.h"
#include "records/data_backup.h"
#include "records/location_file.h"
#include "runtime/gui/message_box.h"
#include "runtime/store/data_location.h"
#include "support/scratch_database.h"

using namespace vesp;
using namespace vesp::testing;
namespace fs = std::filesystem;
using vrt::store::DataLocation;

namespace {

constexpr const char* kMenu = "&File|&Data Location...";
constexpr const char* kWindow = "DataLocation";
constexpr const char* kUnreachable = "DataLocationUnreachable";

class DataLocationTest : public ProgramTest {
 protected:
  void TearDown() override {
    ProgramTest::TearDown();
    vrt::store::forgetSessionPassword();
    vrt::store::openData(DataLocation::files());
  }
  std::string messageText() {
    vrt::Window* box = robot.messageBox();
    return box ? robot.control(box->caption(), vrt::kMessageTextUse).text() : std::string("<no message>");
  }
  std::string statusBar() { return vrt::FrameHost::frame()->statusText(kLocationZone); }
  static bool anyDataFile() {
    for (const auto& e : fs::directory_iterator("."))
      if (e.path().extension() == ".vdb" || e.path().extension() == ".TPS") return true;
    return false;
  }
  // A server whose socket folder holds no socket: nothing answers there.
  DataLocation nowhere() {
    fs::create_directory("no-server");
    return DataLocation::server(fs::absolute("no-server").string(), 5432, "vespera", "pastor",
                                vrt::store::TlsMode::Disable);
  }
  void fillServer(const DataLocation& l) {
    robot.chooseRadio(kWindow, "?Store", "A &server");
    robot.type(kWindow, "?Host", l.host);
    robot.type(kWindow, "?Port", std::to_string(l.port));
    robot.type(kWindow, "?Database", l.database);
    robot.type(kWindow, "?User", l.user);
    robot.chooseItem(kWindow, "?TLSMode", vrt::store::tlsModeName(l.tls));
  }
};

}  // namespace

TEST_F(DataLocationTest, TheMenuRecordsAServerForTheNextStartAndTheStatusBarKeepsTodaysPlace) {
  start();
  EXPECT_EQ(statusBar(), "Data: " + DataLocation::files().describe());
  robot.chooseMenu(kMenu);
  ASSERT_NE(robot.findWindow(kWindow), nullptr);
  // The files are chosen: the server's fields wait until a server is.
  EXPECT_TRUE(robot.control(kWindow, "?Host").disabled());
  EXPECT_TRUE(robot.control(kWindow, "?Test").disabled());
  const DataLocation server = nowhere();
  fillServer(server);
  EXPECT_FALSE(robot.control(kWindow, "?Host").disabled());

  robot.press(kWindow, "?Test");
  EXPECT_NE(messageText().find("cannot reach"), std::string::npos) << messageText();
  robot.pressMessageButton("Ok");
  EXPECT_FALSE(fs::exists(location::kLocationFile));

  // OK tests again; a server that cannot be reached is recorded only when the user says so.
  robot.press(kWindow, "?OK");
  EXPECT_NE(messageText().find("Record this server all the same?"), std::string::npos) << messageText();
  robot.pressMessageButton("No");
  EXPECT_NE(robot.findWindow(kWindow), nullptr);
  EXPECT_FALSE(fs::exists(location::kLocationFile));
  robot.press(kWindow, "?OK");
  robot.pressMessageButton("Yes");
  EXPECT_NE(messageText().find("From its next start"), std::string::npos) << messageText();
  robot.pressMessageButton("Ok");
  EXPECT_EQ(robot.findWindow(kWindow), nullptr);

  const location::ReadResult recorded = location::readLocation(".");
  EXPECT_EQ(recorded.error, "");
  EXPECT_EQ(recorded.location, server);
  // This run goes on with its files, and says so.
  EXPECT_EQ(statusBar(), "Data: " + DataLocation::files().describe());

  // Opened again, the window shows what was recorded.
  robot.chooseMenu(kMenu);
  EXPECT_EQ(robot.control(kWindow, "?Database").text(), "vespera");
  EXPECT_EQ(robot.control(kWindow, "?TLSMode").value(), "disable");
  robot.press(kWindow, "?Cancel");
}

TEST_F(DataLocationTest, WhatCannotBeAServerIsRefusedAndNothingIsRecorded) {
  start();
  robot.chooseMenu(kMenu);
  robot.chooseRadio(kWindow, "?Store", "A &server");
  robot.type(kWindow, "?Host", "office-pc");
  robot.type(kWindow, "?Port", "99999");
  robot.type(kWindow, "?Database", "vespera");
  robot.press(kWindow, "?OK");
  EXPECT_NE(messageText().find("port"), std::string::npos) << messageText();
  robot.pressMessageButton("Ok");
  robot.type(kWindow, "?Port", "5432");
  robot.type(kWindow, "?Database", "");
  robot.press(kWindow, "?Test");
  EXPECT_NE(messageText().find("database's name is missing"), std::string::npos) << messageText();
  robot.pressMessageButton("Ok");
  robot.press(kWindow, "?Cancel");
  EXPECT_FALSE(fs::exists(location::kLocationFile));
}

TEST_F(DataLocationTest, AnUnreachableServerAtStartUpAsksAndOpensNothingUntilTold) {
  ASSERT_EQ(location::writeLocation(".", nowhere()), "");
  StartProgram();
  robot.settle();
  ASSERT_NE(robot.findWindow(kUnreachable), nullptr);
  EXPECT_EQ(vrt::FrameHost::frame(), nullptr);
  const std::string told = robot.control(kUnreachable, "?What").text();
  EXPECT_NE(told.find("cannot reach your data"), std::string::npos) << told;
  EXPECT_NE(told.find("no-server"), std::string::npos) << told;
  EXPECT_NE(robot.control(kUnreachable, "?FilesNote").text().find("no data files"), std::string::npos);

  robot.press(kUnreachable, "?Retry");
  ASSERT_NE(robot.findWindow(kUnreachable), nullptr);
  EXPECT_EQ(vrt::FrameHost::frame(), nullptr);
  EXPECT_FALSE(anyDataFile());

  robot.press(kUnreachable, "?Files");
  ASSERT_NE(vrt::FrameHost::frame(), nullptr);
  EXPECT_EQ(statusBar(), "Data: " + DataLocation::files().describe());
  // The choice was for this run: the server stays recorded for the next.
  EXPECT_TRUE(location::readLocation(".").location.onServer());
}

TEST_F(DataLocationTest, EndingAtTheUnreachableServerLeavesTheFolderAsItWas) {
  ASSERT_EQ(location::writeLocation(".", nowhere()), "");
  StartProgram();
  robot.settle();
  robot.press(kUnreachable, "?End");
  EXPECT_EQ(vrt::FrameHost::frame(), nullptr);
  EXPECT_TRUE(vrt::LiveThreads().empty());
  EXPECT_FALSE(anyDataFile());
  EXPECT_FALSE(fs::exists(vesp::backup::kBackupFolder));
}

TEST_F(DataLocationTest, ALocationFileThatCannotBeReadOffersTheFilesOrTheEnd) {
  std::ofstream(location::kLocationFile) << "[DataLocation]\nStore=Cloud\n";
  StartProgram();
  robot.settle();
  ASSERT_NE(robot.findWindow(kUnreachable), nullptr);
  EXPECT_NE(robot.control(kUnreachable, "?What").text().find("Store=Cloud"), std::string::npos);
  EXPECT_EQ(robot.findWindow(kUnreachable)->control("?Retry"), nullptr);
  robot.press(kUnreachable, "?Files");
  ASSERT_NE(vrt::FrameHost::frame(), nullptr);
  // The window says what is wrong, and choosing again puts the file right.
  robot.chooseMenu(kMenu);
  EXPECT_NE(messageText().find("Store=Cloud"), std::string::npos) << messageText();
  robot.pressMessageButton("Ok");
  robot.press(kWindow, "?OK");
  EXPECT_EQ(location::readLocation(".").error, "");
}

TEST_F(DataLocationTest, AServerThatAnswersIsWhereTheDataLivesFromStartUpOn) {
  VESP_NEEDS_SCRATCH_DATABASE();
  vtest::ScratchDatabase db;
  ASSERT_TRUE(db.ok());
  // Tested and recorded from the menu...
  start();
  robot.chooseMenu(kMenu);
  fillServer(db.location());
  robot.press(kWindow, "?Test");
  EXPECT_NE(messageText().find("Vespera reached"), std::string::npos) << messageText();
  EXPECT_NE(messageText().find("holds no data yet"), std::string::npos) << messageText();
  robot.pressMessageButton("Ok");
  robot.press(kWindow, "?OK");
  robot.pressMessageButton("Ok");
  vrt::EndAllThreads();

  // ... and used from the next start.
  StartProgram();
  robot.settle();
  EXPECT_EQ(robot.findWindow(kUnreachable), nullptr);
  ASSERT_NE(vrt::FrameHost::frame(), nullptr);
  EXPECT_EQ(statusBar(), "Data: " + db.location().describe());
  EXPECT_EQ(vrt::store::currentDataLocation(), db.location());
}
