// Rows that exist only for their service, element or series: they go when it goes, when a
// new one is given up, and none is saved under one another station deleted meanwhile.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include "runtime/gui/message_box.h"
#include "runtime/store/sqlite_db.h"
#include "service_data.h"

extern char** environ;

using namespace vesp;
using namespace vesp::testing;

namespace {

namespace KWD = dict::idx::KWD;
namespace SEL = dict::idx::SEL;

constexpr const char* kAddService = "Adding a Service Record";
constexpr const char* kAddElement = "Service Element Will Be Added";

class OwnedRowsTest : public ServiceDataTest {
 protected:
  // The newest service gets a key word, a statistic, a file of its own and an element with
  // a file: what its number would hand down.
  void giveTheNewestServiceRows() {
    onThread([this] {
      add(tables::KeyWords, [this](vrt::RecordRef r) {
        r.set(KWD_SERVICENUMBER, static_cast<double>(undated));
        r.set(KWD_KEYWORD, "Harvest");
      });
      add(tables::Statistics, [this](vrt::RecordRef r) {
        r.set(STA_SERVICENUMBER, static_cast<double>(undated));
        r.set(STA_TYPE, "Evening");
      });
      add(tables::AssociatedFiles, [this](vrt::RecordRef r) {
        r.set(ASF_SERVICENUMBER, static_cast<double>(undated));
        r.set(ASF_DESCRIPTION, "Harvest flyer");
      });
      element(undated, 1, "Harvest hymn", 0);
      add(tables::AssociatedFiles, [this](vrt::RecordRef r) {
        r.set(ASF_SERVICENUMBER, static_cast<double>(undated));
        r.set(ASF_ELEMENTNUMBER, 4.0);  // the element just added
        r.set(ASF_DESCRIPTION, "Harvest hymn lead sheet");
      });
    });
  }

  std::string messageText() {
    vrt::Window* box = robot.messageBox();
    return box ? robot.control(box->caption(), vrt::kMessageTextUse).text() : std::string("<no message>");
  }

  // How many rows of `table` have `value` in the number field `field`, as another station reads them.
  std::int64_t rowsWith(const dict::TableDecl& table, int field, std::int64_t value) {
    std::int64_t n = 0;
    onThread([&] {
      FileManager& f = Access(table);
      static_cast<void>(f.Open());
      static_cast<void>(f.Use());
      const auto& desc = f.FILE()->schema().fields[static_cast<std::size_t>(field)];
      f.FILE()->setToStart(vrt::DataFile::kFileOrder);
      while (f.FILE()->next())
        if (f.BUFFER()->number(desc) == static_cast<double>(value)) ++n;
      static_cast<void>(f.Close());
    });
    return n;
  }
};

// The other station: the data tool, run as its own process on the same folder.
int runDataTool(std::vector<std::string> words) {
  std::vector<char*> argv;
  std::string tool = VESP_DATA_TOOL;
  argv.push_back(tool.data());
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, tool.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace

TEST_F(OwnedRowsTest, DeletingTheNewestServiceTakesItsRowsAndTheNextNewServiceStartsEmpty) {
  giveTheNewestServiceRows();
  open("BrowseService");
  robot.chooseRow(kServices, "?BROWSE:1", 1);  // Undated, the newest
  robot.press(kServices, "?Delete");
  robot.pressMessageButton("Yes");
  EXPECT_EQ(column(kServices, "?BROWSE:1").size(), 2u);
  // The other services' rows stay.
  EXPECT_EQ(records(tables::KeyWords), 1);
  EXPECT_EQ(records(tables::Statistics), 1);
  EXPECT_EQ(records(tables::AssociatedFiles), 1);
  EXPECT_EQ(records(tables::ServiceElement), 3);
  // The next new service is given the deleted one's number, and nothing of it.
  robot.press(kServices, "?Insert");
  ASSERT_NE(robot.findWindow(kAddService), nullptr);
  for (const auto& [tab, list] : std::vector<std::pair<const char*, const char*>>{
           {"Key Words", "?List:KeyWords"},
           {"Statistics", "?List:Statistics"},
           {"Associated Files", "?List:AssociatedFiles"},
           {"Service Elements", "?List:ServiceElements"}}) {
    robot.chooseTab(kAddService, "?CurrentTab", tab);
    EXPECT_TRUE(column(kAddService, list).empty()) << tab;
  }
}

TEST_F(OwnedRowsTest, DeletingAnElementTakesItsFilesAndLeavesTheServicesOwn) {
  giveTheNewestServiceRows();
  open("UpdateService", Request::Change, &tables::Service, undated);
  robot.chooseTab(kChangeService, "?CurrentTab", "Service Elements");
  robot.chooseRow(kChangeService, "?List:ServiceElements", 1);
  robot.press(kChangeService, "?Delete:13");
  robot.pressMessageButton("Yes");
  EXPECT_TRUE(column(kChangeService, "?List:ServiceElements").empty());
  robot.chooseTab(kChangeService, "?CurrentTab", "Associated Files");
  EXPECT_EQ(column(kChangeService, "?List:AssociatedFiles", 2), std::vector<std::string>{"Harvest flyer"});
  EXPECT_EQ(rowsWith(tables::AssociatedFiles, dict::idx::ASF::ELEMENTNUMBER, 4), 0);
}

TEST_F(OwnedRowsTest, AServiceWhoseStatisticCannotGoKeepsEveryRow) {
  giveTheNewestServiceRows();
  keepRowsOf("Statistics");
  open("BrowseService");
  robot.chooseRow(kServices, "?BROWSE:1", 1);
  robot.press(kServices, "?Delete");
  robot.pressMessageButton("Yes");
  declineEveryMessage();
  EXPECT_EQ(records(tables::Service), 3);
  EXPECT_EQ(records(tables::KeyWords), 2);
  EXPECT_EQ(records(tables::Statistics), 2);
  EXPECT_EQ(records(tables::AssociatedFiles), 3);
  EXPECT_EQ(records(tables::ServiceElement), 4);
}

// Two stations: this one still lists a service that the other deletes.
TEST_F(OwnedRowsTest, AnElementForAServiceDeletedAtAnotherStationIsRefusedAndTheFormStaysOpen) {
  open("BrowseService");
  robot.chooseRow(kServices, "?BROWSE:1", 3);  // Preparing
  ASSERT_EQ(runDataTool({"delete", "Service", std::to_string(second)}), 0);
  robot.press(kServices, "?Insert:2");
  ASSERT_NE(robot.findWindow(kAddElement), nullptr);
  robot.type(kAddElement, "?SEL:TITLE", "Benediction, as the choir sings it");
  robot.press(kAddElement, "?OK");
  ASSERT_NE(robot.messageBox(), nullptr);
  EXPECT_EQ(messageText(), "The service this element belongs to was deleted at another station.");
  robot.pressMessageButton("Ok");
  ASSERT_NE(robot.findWindow(kAddElement), nullptr);
  EXPECT_EQ(text(kAddElement, "?SEL:TITLE"), "Benediction, as the choir sings it");
  robot.press(kAddElement, "?Cancel");
  while (robot.messageBox()) robot.pressMessageButton("No");
  EXPECT_EQ(robot.findWindow(kAddElement), nullptr);
  EXPECT_EQ(rowsWith(tables::ServiceElement, SEL::SERVICENUMBER, second), 0);
}

TEST_F(OwnedRowsTest, AKeyWordForAServiceDeletedAtAnotherStationIsRefused) {
  onThread([] { add(tables::KeyWordsDefault, [](vrt::RecordRef r) { r.set(KWF_KEYWORD, "Grace"); }); });
  open("UpdateService", Request::Change, &tables::Service, first);
  ASSERT_EQ(runDataTool({"delete", "Service", std::to_string(first)}), 0);
  robot.chooseTab(kChangeService, "?CurrentTab", "Key Words");
  robot.press(kChangeService, "?Insert:14");
  constexpr const char* kAddKeyWord = "Adding a Key Words Record";
  ASSERT_NE(robot.findWindow(kAddKeyWord), nullptr);
  robot.type(kAddKeyWord, "?KWD:KEYWORD", "Grace");
  robot.press(kAddKeyWord, "?OK");
  EXPECT_EQ(messageText(), "The service this key word belongs to was deleted at another station.");
  robot.pressMessageButton("Ok");
  EXPECT_NE(robot.findWindow(kAddKeyWord), nullptr);
  robot.press(kAddKeyWord, "?Cancel");
  while (robot.messageBox()) robot.pressMessageButton("No");
  EXPECT_EQ(rowsWith(tables::KeyWords, KWD::SERVICENUMBER, first), 0);
}
