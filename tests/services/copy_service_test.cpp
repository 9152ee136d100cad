// Planning a service from another: "Copy Service..." on the service browse and its popup
// menu copies the highlighted service with its elements, passages and key words (not its
// statistics, files or dates), all or nothing, and opens the copy; a cancelled form takes
// the copy away again.
#include <gtest/gtest.h>

#include <map>

#include "runtime/gui/message_box.h"
#include "runtime/gui/threads.h"
#include "runtime/store/sqlite_db.h"
#include "runtime/text/picture.h"
#include "service_data.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

constexpr const char* kCopy = "Copy Service";

std::string shown(vrt::DayNumber d) { return vrt::formatPicture(double(d), "@d17"); }

class CopyServiceTest : public ServiceDataTest {
 protected:
  void SetUp() override {
    ServiceDataTest::SetUp();
    onThread([this] {
      add(tables::ServiceElement, [this](vrt::RecordRef r) {
        r.set(SEL_SERVICENUMBER, static_cast<double>(first));
        r.set(SEL_ELEMENTORDER, 3.0);
        r.set(SEL_TITLE, "Offertory");
        r.set(SEL_DURATION, "4:30");
        r.set(SEL_ELEMENTNOTES, "Key of D, two verses");
        r.set(SEL_PERFORMER, static_cast<double>(bob));
        r.set(SEL_PERFORMERGROUP, static_cast<double>(choir));
      });
    });
  }

  // The browse, opened from the menu, with the service titled `title` highlighted.
  void highlight(const std::string& title) {
    if (!robot.findWindow(kServices)) robot.chooseMenu("&Browse|Browse the Services file");
    const std::vector<std::string> titles = column(kServices, "?BROWSE:1", 1);
    for (std::size_t row = 0; row < titles.size(); ++row)
      if (titles[row].rfind(title + "\n", 0) == 0) return robot.chooseRow(kServices, "?BROWSE:1", static_cast<int>(row) + 1);
    FAIL() << title << " is not listed";
  }

  // The stored records of `table` whose field `link` holds `service`, each as its fields'
  // texts from `from` on (past the record's own number and its service).
  std::vector<std::vector<std::string>> rowsOf(const dict::TableDecl& table, int link, std::int64_t service,
                                               std::vector<int> fields) {
    std::vector<std::vector<std::string>> out;
    onThread([&] {
      FileManager& f = Access(table);
      static_cast<void>(f.Open());
      static_cast<void>(f.Use());
      const auto& schema = f.FILE()->schema().fields;
      for (f.FILE()->setToStart(0); f.FILE()->next();) {
        if (f.BUFFER()->number(schema[static_cast<std::size_t>(link)]) != static_cast<double>(service)) continue;
        std::vector<std::string> row;
        for (int field : fields) row.push_back(f.BUFFER()->text(schema[static_cast<std::size_t>(field)]));
        out.push_back(row);
      }
      static_cast<void>(f.Close());
    });
    std::sort(out.begin(), out.end());
    return out;
  }

  std::vector<std::vector<std::string>> elementsOf(std::int64_t service) {
    namespace SEL = dict::idx::SEL;
    return rowsOf(tables::ServiceElement, SEL::SERVICENUMBER, service,
                  {SEL::ELEMENTORDER, SEL::TITLE, SEL::TYPE, SEL::DURATION, SEL::PRESERVICE, SEL::PERFORMER,
                   SEL::PERFORMERGROUP, SEL::ELEMENTNOTES});
  }

  // The number of the newest service.
  std::int64_t newest() {
    std::int64_t number = 0;
    onThread([&] {
      FileManager& f = Access(tables::Service);
      static_cast<void>(f.Open());
      static_cast<void>(f.Use());
      f.FILE()->setToEnd(dict::idx::SER::keys::ServiceNumberKey);
      if (f.FILE()->previous())
        number = static_cast<std::int64_t>(vrt::RecordRef(*f.BUFFER()).get(SER_SERVICENUMBER));
      static_cast<void>(f.Close());
    });
    return number;
  }

  void expectUnchanged() {
    EXPECT_EQ(records(tables::Service), 3);
    EXPECT_EQ(records(tables::ServiceElement), 4);
    EXPECT_EQ(records(tables::BibleRef), 1);
    EXPECT_EQ(records(tables::KeyWords), 1);
    EXPECT_EQ(records(tables::Statistics), 1);
    EXPECT_EQ(records(tables::AssociatedFiles), 1);
  }
};

}  // namespace

TEST_F(CopyServiceTest, TheCopyHasTheElementsPassagesAndKeyWordsButNotTheStatisticsFilesOrDates) {
  highlight("Waiting");
  robot.press(kServices, "?CopyService");
  ASSERT_NE(robot.findWindow(kCopy), nullptr);
  // Next week's service of the same title, unless the user says otherwise.
  EXPECT_EQ(text(kCopy, "?WeekOf"), shown(vrt::dateFromYmd(2026, 12, 6)));
  EXPECT_EQ(text(kCopy, "?Title"), "Waiting");
  // A date not written the way dates are read is refused with an example of that way.
  robot.type(kCopy, "?WeekOf", "next Sunday");
  robot.press(kCopy, "?OK");
  ASSERT_NE(robot.messageBox(), nullptr);
  const std::string said = robot.messageBox()->control(vrt::kMessageTextUse)->text();
  EXPECT_NE(said.find("written like " + shown(vrt::today())), std::string::npos) << said;
  robot.pressMessageButton("Ok");
  EXPECT_EQ(records(tables::Service), 3);
  robot.type(kCopy, "?WeekOf", shown(vrt::dateFromYmd(2027, 1, 3)));
  robot.type(kCopy, "?Title", "Waiting again");
  robot.press(kCopy, "?OK");

  // The copy opens in the change form.
  ASSERT_NE(robot.findWindow(kChangeService), nullptr);
  EXPECT_EQ(robot.findWindow(kCopy), nullptr);
  EXPECT_EQ(text(kChangeService, "?SER:TITLE"), "Waiting again");
  EXPECT_EQ(text(kChangeService, "?SER:WEEKOFDATE_DATE"), shown(vrt::dateFromYmd(2027, 1, 3)));
  EXPECT_EQ(text(kChangeService, "?LOC:SpeakerName"), "Ann Lee");
  robot.chooseTab(kChangeService, "?CurrentTab", "Service Elements");
  EXPECT_EQ(column(kChangeService, "?List:ServiceElements"),
            (std::vector<std::string>{"Opening hymn", "Psalm 23", "Offertory"}));
  robot.press(kChangeService, "?OK");
  EXPECT_EQ(robot.findWindow(kChangeService), nullptr);

  const std::int64_t copy = newest();
  ASSERT_NE(copy, first);
  EXPECT_EQ(records(tables::Service), 4);
  namespace SER = dict::idx::SER;
  EXPECT_EQ(stored(tables::Service, copy, SER::TITLE), "Waiting again");
  for (int field : {SER::SERMONSERIES, SER::SPEAKER, SER::WORSHIPLEADER, SER::TOPIC1, SER::TOPIC3})
    EXPECT_EQ(stored(tables::Service, copy, field), stored(tables::Service, first, field)) << field;
  // Created now, not when the original was.
  EXPECT_EQ(stored(tables::Service, copy, SER::DATECREATED_DATE), std::to_string(vrt::today()));
  EXPECT_EQ(elementsOf(copy), elementsOf(first));
  EXPECT_EQ(elementsOf(copy).size(), 3u);
  namespace BIB = dict::idx::BIB;
  namespace KWD = dict::idx::KWD;
  EXPECT_EQ(rowsOf(tables::BibleRef, BIB::SERVICENUMBER, copy, {BIB::BIBLEVERSION, BIB::BOOK}),
            (std::vector<std::vector<std::string>>{{"NIV", "Isaiah"}}));
  EXPECT_EQ(rowsOf(tables::KeyWords, KWD::SERVICENUMBER, copy, {KWD::KEYWORD}),
            (std::vector<std::vector<std::string>>{{"Advent"}}));
  EXPECT_EQ(records(tables::Statistics), 1);
  EXPECT_EQ(records(tables::AssociatedFiles), 1);
  // The original is as it was, and the browse stands on the copy.
  EXPECT_EQ(elementsOf(first).size(), 3u);
  vrt::PagedList* list = robot.control(kServices, "?BROWSE:1").list();
  EXPECT_EQ(list->cellText(list->selectedRow(), 1), "Waiting again\nAdvent");
  EXPECT_EQ(column(kServices, "?LIST"), (std::vector<std::string>{"Opening hymn", "Psalm 23", "Offertory"}));
}

TEST_F(CopyServiceTest, CancellingTheCopysFormDeletesTheCopyAndAllThatCameWithIt_FromThePopupMenu) {
  highlight("Waiting");
  robot.rightClickRow(kServices, "?BROWSE:1", robot.control(kServices, "?BROWSE:1").list()->selectedRow());
  robot.choosePopup("Co&py Service...");
  ASSERT_NE(robot.findWindow(kCopy), nullptr);
  // A date that is no date is refused, and the window stays for another.
  robot.type(kCopy, "?WeekOf", "");
  robot.press(kCopy, "?OK");
  ASSERT_NE(robot.messageBox(), nullptr);
  robot.pressMessageButton("Ok");
  ASSERT_NE(robot.findWindow(kCopy), nullptr);
  robot.type(kCopy, "?WeekOf", shown(vrt::dateFromYmd(2026, 12, 13)));
  robot.press(kCopy, "?OK");
  ASSERT_NE(robot.findWindow(kChangeService), nullptr);
  EXPECT_EQ(records(tables::Service), 4);
  EXPECT_EQ(records(tables::ServiceElement), 7);
  robot.press(kChangeService, "?Cancel");
  while (robot.messageBox()) robot.pressMessageButton("Yes");
  EXPECT_EQ(robot.findWindow(kChangeService), nullptr);
  expectUnchanged();
  EXPECT_EQ(elementsOf(first).size(), 3u);
  vrt::PagedList* list = robot.control(kServices, "?BROWSE:1").list();
  EXPECT_EQ(list->cellText(list->selectedRow(), 1), "Waiting\nAdvent");

  // Cancelling the question copies nothing at all.
  robot.press(kServices, "?CopyService");
  robot.press(kCopy, "?Cancel");
  EXPECT_EQ(robot.findWindow(kCopy), nullptr);
  EXPECT_EQ(robot.findWindow(kChangeService), nullptr);
  expectUnchanged();
}

TEST_F(CopyServiceTest, ACopyThatCannotBeWrittenWholeWritesNothingAndSaysWhy) {
  {
    vrt::sql::Database db;
    ASSERT_EQ(db.open("KeyWords.vdb", false, false), SQLITE_OK);
    ASSERT_EQ(db.exec("CREATE TRIGGER refuse BEFORE INSERT ON KeyWords BEGIN SELECT RAISE(ABORT, 'refused'); END"),
              SQLITE_OK);
  }
  highlight("Waiting");
  robot.press(kServices, "?CopyService");
  robot.press(kCopy, "?OK");
  ASSERT_NE(robot.messageBox(), nullptr) << "the failure is told";
  robot.pressMessageButton("Ok");
  EXPECT_EQ(robot.findWindow(kChangeService), nullptr);
  expectUnchanged();
  // Nothing half-done stays behind to trip the next copy: without the key word it goes through.
  onThread([] {
    vrt::sql::Database db;
    ASSERT_EQ(db.open("KeyWords.vdb", false, false), SQLITE_OK);
    ASSERT_EQ(db.exec("DROP TRIGGER refuse"), SQLITE_OK);
  });
  highlight("Preparing");
  robot.press(kServices, "?CopyService");
  robot.press(kCopy, "?OK");
  ASSERT_NE(robot.findWindow(kChangeService), nullptr);
  robot.press(kChangeService, "?OK");
  EXPECT_EQ(records(tables::Service), 4);
  EXPECT_EQ(elementsOf(newest()).size(), 1u);
}

TEST_F(CopyServiceTest, TheProgramEndingWhileTheCopyIsBeingPlannedKeepsTheCopyAsItWas) {
  highlight("Waiting");
  robot.press(kServices, "?CopyService");
  ASSERT_NE(robot.findWindow(kCopy), nullptr);
  robot.type(kCopy, "?WeekOf", shown(vrt::dateFromYmd(2026, 12, 13)));
  robot.press(kCopy, "?OK");
  ASSERT_NE(robot.findWindow(kChangeService), nullptr);
  // A move is saved as it is made; then the program is ended from its menu.
  robot.chooseTab(kChangeService, "?CurrentTab", "Service Elements");
  robot.chooseRow(kChangeService, "?List:ServiceElements", 1);
  robot.press(kChangeService, "?MoveDown");
  robot.chooseMenu("&File|E&xit");
  while (robot.messageBox()) robot.pressMessageButton("No");
  ASSERT_TRUE(vrt::LiveThreads().empty());

  // Read as another station would, once the program has ended (the frame's would be the
  // first thread, so the reading one comes second).
  vrt::StartThread([] { vrt::TakeEvent(); }, 50'000);
  EXPECT_EQ(records(tables::Service), 4);
  const std::int64_t copy = newest();
  ASSERT_NE(copy, first);
  std::map<std::string, std::string> orders;
  for (const auto& row : elementsOf(copy)) orders[row.at(1)] = row.at(0);
  EXPECT_EQ(orders, (std::map<std::string, std::string>{{"Psalm 23", "10"}, {"Opening hymn", "20"}, {"Offertory", "30"}}));
  vrt::EndAllThreads();
}
