#pragma once
// The whole program with the query wizard's own windows, some categories and prayer
// requests stored, driven by the test robot as a user would.
#include <functional>
#include <string>
#include <vector>

#include "dictionary/tables.h"
#include "querywizard/hooks.h"
#include "querywizard/library_windows.h"
#include "querywizard/wizard_layout.h"
#include "qwwindows/wizard_texts.h"
#include "records/thread_dictionary.h"
#include "runtime/gui/control.h"
#include "runtime/gui/paged_list.h"
#include "runtime/gui/threads.h"
#include "runtime/testing/pinned_clock.h"
#include "runtime/text/dates.h"
#include "runtime/text/picture.h"
#include "runtime/text/utf8.h"
#include "shell/browse_menu.h"
#include "ui/program_fixture.h"

namespace vesp::testing {

inline constexpr const char* kRequests = "Browse the Prayer Request File";
inline constexpr const char* kPrayerCategories = "Browse the Prayer Category File";
inline constexpr const char* kJournalCategories = "Browse the Journal Category File";
inline constexpr std::string_view kWizard = qrywiz::kWizardProcedure;
inline constexpr std::string_view kQueryDescription = qrywiz::kDescriptionProcedure;

struct StoredRequest {
  std::string request, category;
  vrt::DayNumber started = 0, answered = 0;
};

class PrayerTest : public ProgramTest {
 protected:
  static inline const vrt::DayNumber kToday = vrt::dateFromYmd(2026, 3, 10);

  void SetUp() override {
    vrt::pinClockForTesting(kToday, 1);
    ProgramTest::SetUp();
    start();
    // What start-up gives the wizard.
    qrywiz::useLibraryWindows();
    qwtest::setWizardTexts();
    qrywiz::XB_SETQWDISPLAYTEXT(303, "Custom Query...");
    onThread([] {
      // The categories as an older file holds them: a list number for each kind.
      for (const char* c : {"Family", "Healing", "Missions"}) addRecord(tables::Lookups, [c](vrt::RecordRef r) {
          r.set(LOO_LOOKUPNUMBER, 1);
          r.set(LOO_LOOKUPTYPE, c);
        });
    });
  }
  void TearDown() override {
    ProgramTest::TearDown();
    qrywiz::resetHooks();
    vrt::unpinClockForTesting();
  }

  void addRequests(const std::vector<StoredRequest>& requests) {
    onThread([&] {
      for (const StoredRequest& q : requests) addRecord(tables::PrayerRequest, [&](vrt::RecordRef r) {
          r.set(PRA_REQUEST, q.request);
          r.set(PRA_REQUESTCATEGORY, q.category);
          r.set(PRA_DATESTARTED, q.started);
          r.set(PRA_DATEANSWERED, q.answered);
        });
    });
  }

  // A stored field of the request numbered `number`, read as another station would.
  std::string stored(int number, int field) {
    std::string value = "<none>";
    onThread([&] {
      FileManager& f = Access(tables::PrayerRequest);
      static_cast<void>(f.Open());
      vrt::RecordRef(*f.BUFFER()).set(PRA_REQUESTNUMBER, number);
      if (f.Fetch(dict::idx::PRA::keys::RequestNumberKey) == Level::Benign)
        value = f.BUFFER()->text(f.FILE()->schema().fields[static_cast<std::size_t>(field)]);
      static_cast<void>(f.Close());
    });
    return value;
  }

  void openBrowse(const char* procedure) {
    StartBrowse(*browseEntry(procedure));
    robot.settle();
  }

  // One column of every row the list shows.
  std::vector<std::string> column(std::string_view window, int column = 2) {
    std::vector<std::string> out;
    vrt::PagedList* l = robot.control(window, "?Browse:1").list();
    for (int r = 1; r <= l->rowCount(); ++r)
      out.emplace_back(vrt::clip(l->rowAt(r).at(static_cast<std::size_t>(column - 1))));
    return out;
  }
  std::vector<std::string> savedQueries(std::string_view window = kRequests) {
    return robot.control(window, "?SavedQueries").items();
  }
  int savedQuery(std::string_view window = kRequests) { return robot.control(window, "?SavedQueries").selected(); }
  std::string text(std::string_view window, std::string_view use) { return robot.control(window, use).text(); }

  static std::string date(vrt::DayNumber d) { return vrt::formatPicture(static_cast<double>(d), "@d2-"); }

  // The wizard's pages 1 to 4 for a field, an operation row and a typed value.
  void addElement(std::string_view field, int operation, std::string_view value) {
    vrt::PagedList* fields = robot.control(kWizard, "?FieldList").list();
    int row = 0;
    for (int r = 1; r <= fields->rowCount(); ++r)
      if (fields->rowAt(r)[0] == field) row = r;
    ASSERT_NE(row, 0) << "the wizard offers no field " << field;
    robot.chooseRow(kWizard, "?FieldList", row);
    robot.press(kWizard, "?Next");
    robot.chooseRow(kWizard, "?OperationList", operation);
    robot.press(kWizard, "?Next");
    robot.type(kWizard, "?Value", value);
    robot.press(kWizard, "?Next");
  }
  // Finishes the wizard, saving the query under `description` or, when empty, not at all.
  void finishWizard(std::string_view description = {}) {
    robot.press(kWizard, "?Finish");
    if (description.empty()) {
      robot.pressMessageButton("No");
      return;
    }
    robot.pressMessageButton("Yes");
    robot.type(kQueryDescription, "?Description", description);
    robot.press(kQueryDescription, "?OK");
  }
  // A saved query of the requests whose text contains `word`.
  void saveContainsQuery(std::string_view word, std::string_view description) {
    robot.chooseItem(kRequests, "?SavedQueries", "Custom Query...");
    addElement("PRA:Request", kContains, word);
    finishWizard(description);
  }

  static constexpr int kContains = 8;
};

}  // namespace vesp::testing
