// The server goes away under the program: restarted while a list and a form are open, or
// a save's connection cut in the middle. The user is told, nothing is saved twice or
// reported saved when it was not, and the form's edits can still be saved. Each case has a
// server of its own (own_server.h), so that no other case loses its sessions.
#include <gtest/gtest.h>

#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "program_fixture.h"
#include "records/location_file.h"
#include "runtime/gui/frame_host.h"
#include "runtime/gui/message_box.h"
#include "runtime/gui/paged_list.h"
#include "runtime/store/data_location.h"
#include "runtime/store/pg_db.h"
#include "runtime/store/server_seams.h"
#include "shell/main_frame.h"
#include "support/own_server.h"
#include "support/run_vesp_data.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

constexpr const char* kServices = "Browse the Service File";
constexpr const char* kChangeService = "Changing a Service Record";

class ServerFaultsTest : public ProgramTest {
 protected:
  void TearDown() override {
    vrt::store::beforeServerCommit() = nullptr;
    ProgramTest::TearDown();
    vrt::store::openData(vrt::store::DataLocation::files());
  }
  // The data on `server`, with a few services, and the program started on it.
  void startOn(const vtest::OwnServer& server) {
    ASSERT_EQ(location::writeLocation(".", server.location()), "");
    ASSERT_EQ(runVespData({"create"}).status, 0);
    ASSERT_EQ(runVespData({"generate", "--services", "40", "--elements", "1"}).status, 0);
    start();
  }
  std::string messageText() {
    vrt::Window* box = robot.messageBox();
    return box ? robot.control(box->caption(), vrt::kMessageTextUse).text() : std::string("<no message>");
  }
  // The text of every message shown, one a line, each answered with Ok.
  std::string answerMessages() {
    std::string told;
    for (int shown = 0; robot.messageBox() && shown < 5; ++shown) {
      told += messageText() + "\n";
      robot.pressMessageButton("Ok");
    }
    return told;
  }
  // The services as another station exports them, one CSV line each.
  static std::string exported() {
    const std::string command = std::string(VESP_DATA_TOOL) + " export Service";
    std::FILE* out = ::popen(command.c_str(), "r");
    std::string text;
    char chunk[4096];
    while (out && std::fgets(chunk, sizeof chunk, out)) text += chunk;
    if (out) ::pclose(out);
    return text;
  }
  vrt::PagedList& list() { return *robot.control(kServices, "?Browse:1").list(); }
  std::vector<std::string> titles() {
    std::vector<std::string> out;
    for (int r = 1; r <= list().rowCount(); ++r) out.push_back(list().rowAt(r).at(0));
    return out;
  }
  // The service list from the menu, and the highlighted service's form with a new title.
  void retitleInForm(const std::string& title) {
    robot.chooseMenu("&Browse|Browse the Services file");
    ASSERT_NE(robot.findWindow(kServices), nullptr);
    robot.press(kServices, "?Change");
    ASSERT_NE(robot.findWindow(kChangeService), nullptr);
    robot.type(kChangeService, "?SER:TITLE", title);
  }
  // The number of the service titled `title`, as the data tool exports it.
  static std::string numberOf(const std::string& title) {
    std::istringstream csv(exported());
    for (std::string line; std::getline(csv, line);)
      if (line.find("," + title + ",") != std::string::npos || line.find(",\"" + title + "\",") != std::string::npos)
        return line.substr(0, line.find(','));
    return {};
  }
  static int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }
};

// Ends a session of `server` from a connection of its own, and waits until it is gone.
bool endSession(const vtest::OwnServer& server, int session) {
  vrt::store::ConnectionCheck check;
  vrt::pg::Connection admin;
  if (!admin.open(server.location(), "", check)) return false;
  vrt::pg::Params p;
  p.add(session);
  const vrt::pg::Result r = admin.exec("SELECT pg_terminate_backend($1::int, 5000)", p);
  return r.ok() && r.rows() == 1 && r.text(0, 0) == "t";
}

}  // namespace

// The server restarted while the list and a form are open: OK saves the form's edits on a
// new connection, once; the list pages and shows the change, and still hears the changes
// another station saves.
TEST_F(ServerFaultsTest, AServerRestartedUnderAListAndAFormSavesOnOkAndTheListCarriesOn) {
  VESP_NEEDS_OWN_SERVER();
  vtest::OwnServer server;
  ASSERT_TRUE(server.ok());
  startOn(server);
  retitleInForm("Kept through a restart");

  ASSERT_TRUE(server.restart());
  // The status bar says so, once the program hears the server again.
  std::string status = vrt::FrameHost::frame()->statusText(kLocationZone);
  for (int waited = 0; waited < 100 && status.rfind("Server back at ", 0) != 0; ++waited) {
    QThread::msleep(50);
    robot.settle();
    status = vrt::FrameHost::frame()->statusText(kLocationZone);
  }
  EXPECT_EQ(status.rfind("Server back at ", 0), 0u) << status;
  robot.press(kChangeService, "?OK");
  EXPECT_EQ(robot.messageBox(), nullptr) << messageText();
  EXPECT_EQ(robot.findWindow(kChangeService), nullptr);
  EXPECT_EQ(count(exported(), "Kept through a restart"), 1);

  robot.pressKey(kServices, vrt::kPgDnKey, "?Browse:1");
  robot.pressKey(kServices, vrt::kHomeKey, "?Browse:1");
  EXPECT_EQ(robot.messageBox(), nullptr) << messageText();
  const std::vector<std::string> before = titles();
  ASSERT_GE(before.size(), 3u);

  // Another station deletes a service shown: the list hears it on its new listening connection.
  const std::string number = numberOf(before.back());
  ASSERT_FALSE(number.empty()) << before.back();
  const std::string other = std::string(VESP_DATA_TOOL) + " delete Service " + number + " >/dev/null";
  ASSERT_EQ(std::system(other.c_str()), 0) << other;
  std::vector<std::string> now = titles();
  for (int waited = 0; waited < 100 && now == before; ++waited) {
    QThread::msleep(50);
    robot.settle();
    now = titles();
  }
  EXPECT_NE(now, before) << "the other station's delete shows without a key pressed";
  robot.chooseMenu("&File|E&xit");
}

// The server away when OK is pressed: a clear message, the form stays with its edits, and
// OK once the server is back saves them.
TEST_F(ServerFaultsTest, AServerAwayOnOkIsToldAndTheFormSavesOnceItIsBack) {
  VESP_NEEDS_OWN_SERVER();
  vtest::OwnServer server;
  ASSERT_TRUE(server.ok());
  startOn(server);
  retitleInForm("Kept while the server was away");

  ASSERT_TRUE(server.down());
  robot.press(kChangeService, "?OK");
  const std::string told = answerMessages();
  EXPECT_NE(told.find("cannot be reached"), std::string::npos) << told;
  ASSERT_NE(vrt::FrameHost::frame(), nullptr) << "the program goes on";
  ASSERT_NE(robot.findWindow(kChangeService), nullptr);
  EXPECT_EQ(robot.control(kChangeService, "?SER:TITLE").text(), "Kept while the server was away");

  ASSERT_TRUE(server.up());
  robot.press(kChangeService, "?OK");
  EXPECT_EQ(robot.messageBox(), nullptr) << messageText();
  EXPECT_EQ(robot.findWindow(kChangeService), nullptr);
  EXPECT_EQ(count(exported(), "Kept while the server was away"), 1);
  robot.chooseMenu("&File|E&xit");
}

// The save's connection cut just before it commits: the save is reported failed, the
// stored record is as it was, the form keeps the edits, and OK again saves them once.
TEST_F(ServerFaultsTest, ASaveWhoseConnectionIsCutIsReportedFailedAndCanBeSavedAgain) {
  VESP_NEEDS_OWN_SERVER();
  vtest::OwnServer server;
  ASSERT_TRUE(server.ok());
  startOn(server);
  const std::string stored = exported();
  retitleInForm("Cut before its commit");
  bool cut = false;
  vrt::store::beforeServerCommit() = [&](int session) {
    vrt::store::beforeServerCommit() = nullptr;  // this save only
    cut = endSession(server, session);
  };

  robot.press(kChangeService, "?OK");
  ASSERT_TRUE(cut);
  const std::string told = answerMessages();
  EXPECT_NE(told.find("none of them were kept"), std::string::npos) << told;
  EXPECT_EQ(exported(), stored);
  ASSERT_NE(robot.findWindow(kChangeService), nullptr);
  EXPECT_EQ(robot.control(kChangeService, "?SER:TITLE").text(), "Cut before its commit");

  robot.press(kChangeService, "?OK");
  EXPECT_EQ(robot.messageBox(), nullptr) << messageText();
  EXPECT_EQ(count(exported(), "Cut before its commit"), 1);
  robot.chooseMenu("&File|E&xit");
}
