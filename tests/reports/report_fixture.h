#pragma once
// The program running with a prayer journal in its data folder; reports are started the way
// a print button starts them, by name on a thread of their own, and driven by the robot.
#include <QDir>
#include <algorithm>
#include <string>
#include <vector>

#include "../ui/program_fixture.h"
#include "dictionary/tables.h"
#include "records/thread_dictionary.h"
#include "runtime/gui/paged_list.h"
#include "runtime/print/page_store.h"
#include "runtime/text/picture.h"
#include "runtime/text/dates.h"
#include "windows/procedures.h"
#include "windows/report_manager.h"

namespace vesp::testing {

class ReportTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    start();
    // A clock that stands still: each timer event reads until the view runs out.
    ReportSettings s;
    s.clock = [] { return 1000L; };
    SetReportSettings(s);
  }
  void TearDown() override {
    SetReportSettings({});
    ProgramTest::TearDown();
  }

  struct Request {
    std::string text;
    int started = 0, answered = 0;  // days after 1 January 2026; answered 0 = open
    std::string category = "Family";
  };
  void addRequests(const std::vector<Request>& requests) {
    onThread([requests] {
      FileManager& f = Access(tables::PrayerRequest);
      static_cast<void>(f.Open());
      const vrt::DayNumber base = vrt::dateFromYmd(2026, 1, 1);
      for (const Request& r : requests) {
        static_cast<void>(f.ClearForInsert());
        vrt::RecordRef rec = *f.BUFFER();
        rec.set(PRA_REQUEST, r.text);
        rec.set(PRA_DATESTARTED, base + r.started);
        rec.set(PRA_DATEANSWERED, r.answered ? base + r.answered : 0);
        rec.set(PRA_REQUESTCATEGORY, r.category);
        rec.set(PRA_ANSWER, r.answered ? "Yes" : "");
        EXPECT_EQ(f.Insert(), Level::Benign);
      }
      static_cast<void>(f.Close());
    });
  }

  // Starts a report as its print button does.
  void startReport(const char* name) {
    auto procedure = FindProcedure(name);
    ASSERT_TRUE(procedure) << name;
    vrt::StartThread(procedure, 25'000, name);
    robot.settle();
  }
  // Accepts the order window's highlighted entry and lets the batches run to the preview.
  void acceptOrderAndRun(int row = 1) {
    ASSERT_NE(robot.findWindow("Select the Order"), nullptr);
    robot.chooseRow("Select the Order", "?OrderList", row);
    robot.press("Select the Order", "?OK");
    ASSERT_NE(robot.findWindow("Report Prayer Request"), nullptr);
    for (int i = 0; i < 100 && robot.findWindow("Report Prayer Request"); ++i) robot.fireTimer("Report Prayer Request");
    ASSERT_EQ(robot.findWindow("Report Prayer Request"), nullptr);
  }
  std::vector<std::string> orderNames() {
    std::vector<std::string> out;
    vrt::PagedList* l = robot.control("Select the Order", "?OrderList").list();
    for (int r = 1; r <= l->rowCount(); ++r) out.push_back(l->rowAt(r).at(0));
    return out;
  }

  // The pages of the open report, read back from its page files.
  std::vector<vrt::RecordedPage> pages() {
    std::vector<vrt::RecordedPage> out;
    const auto folders = vrt::PageStore::liveFolders();
    EXPECT_EQ(folders.size(), 1u);
    if (folders.empty()) return out;
    QDir dir(folders.front());
    for (const QString& name : dir.entryList({"*.vpg"}, QDir::Files, QDir::Name)) {
      vrt::RecordedPage p;
      EXPECT_TRUE(vrt::loadPage(dir.filePath(name), p));
      out.push_back(p);
    }
    return out;
  }
  std::string allText() {
    std::string out;
    for (const auto& p : pages()) out += p.allText().toStdString();
    return out;
  }
  // The requests printed (the test data's texts all start "Req "), in printing order,
  // without the category printed beside each.
  std::vector<std::string> requestsPrinted() {
    std::vector<std::string> out;
    for (const auto& p : pages())
      for (const auto& i : p.items)
        if (i.kind == vrt::PageItem::Text && i.text.startsWith("Req ")) {
          const qsizetype beside = i.text.endsWith(')') ? i.text.lastIndexOf(" (") : -1;
          out.push_back((beside > 0 ? i.text.left(beside) : i.text).toStdString());
        }
    return out;
  }
  void closePreview() {
    robot.chooseMenu("Report Preview", "&File|E&xit");
    EXPECT_EQ(robot.findWindow("Report Preview"), nullptr);
  }
};

}  // namespace vesp::testing
