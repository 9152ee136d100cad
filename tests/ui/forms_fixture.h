#pragma once
// The program running, with pick lists filled in; the screens opened from the frame's menu as
// a user opens them, and, for the few framework choices no screen of the program makes, a
// caller on a thread of its own that calls a test-only form the way a browse does.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/tables.h"
#include "program_fixture.h"
#include "records/thread_dictionary.h"
#include "runtime/gui/control.h"
#include "runtime/gui/paged_list.h"
#include "test_screens.h"
#include "windows/thread_globals.h"
#include "windows/window_controller.h"

namespace vesp::testing {

class FormsTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    start();
    ChildFormCalls().clear();
    onThread([] {
      for (const char* t : {"Song", "Video", "Reading"}) addRecord(tables::ElementType, [t](vrt::RecordRef r) { r.set(ELT_ELEMENTTYPE, t); });
      for (const char* t : {"Pastor", "Usher"}) addRecord(tables::Role, [t](vrt::RecordRef r) { r.set(ROL_ROLE, t); });
      addRecord(tables::AssociatedFiles, [](vrt::RecordRef r) {
        r.set(ASF_TYPE, "Song");
        r.set(ASF_DESCRIPTION, "Opening hymn");
      });
    });
  }

  // Calls `form` for `request` on a new thread. For change, view and delete the record
  // numbered `number` is read first; for insert the record is primed and numbered, as a
  // browse does. The outcome lands in `response` and `vcr` when the form returns.
  // `before` runs on the caller's thread first (to set a table's hooks, say).
  void callForm(void (*form)(), const dict::TableDecl& table, Request request, int number = 0,
                std::function<void()> before = {}) {
    response.reset();
    vcr = -1;
    onThread([this, form, &table, request, number, before] {
      if (before) before();
      FileManager& f = Access(table);
      static_cast<void>(f.Open());
      if (request == Request::Insert) {
        static_cast<void>(f.ClearForInsert());
      } else {
        f.BUFFER()->setNumber(f.FILE()->schema().fields[0], number);
        EXPECT_EQ(f.Fetch(0), Level::Benign);
      }
      threadGlobals().GlobalRequest = request;
      threadGlobals().VCRRequest = 0;
      form();
      response = threadGlobals().GlobalResponse;
      vcr = threadGlobals().VCRRequest;
      static_cast<void>(f.Close());
    });
  }

  // A field of the stored record numbered `number`, read as another station would; "" when
  // there is no such record.
  std::string stored(const dict::TableDecl& table, int number, int field) {
    std::string value = "<none>";
    onThread([&] {
      FileManager& f = Access(table);
      static_cast<void>(f.Open());
      f.BUFFER()->setNumber(f.FILE()->schema().fields[0], number);
      if (f.Fetch(numberKey(table)) == Level::Benign) value = f.BUFFER()->text(f.FILE()->schema().fields[static_cast<std::size_t>(field)]);
      static_cast<void>(f.Close());
    });
    return value;
  }

  std::string text(const char* window, const char* use) { return robot.control(window, use).text(); }

  // Chooses the frame's menu item ("&Browse|&Lists|&Roles") and waits for the browse it opens.
  void openMenu(std::string_view path, std::string_view window) {
    robot.chooseMenu(path);
    ASSERT_NE(robot.findWindow(window), nullptr) << path;
  }
  // Highlights `row` of a browse and presses `button` ("?Change") for it.
  void pressOnRow(std::string_view window, int row, std::string_view button) {
    robot.chooseRow(window, "?Browse:1", row);
    robot.press(window, button);
  }
  // The sermon series' browse and change form, by their captions.
  static constexpr const char* kSeriesBrowse = "Browse the Sermon Series File";
  static constexpr const char* kSeriesForm = "Changing a Sermon Series Record";
  // The series "Advent", described "Opening hymn", in its change form, opened from its
  // browse on the frame's menu.
  void changeAdventSeries() {
    onThread([] {
      addRecord(tables::SermonSeries, [](vrt::RecordRef r) {
        r.set(SSE_NAME, "Advent");
        r.set(SSE_DESCRIPTION, "Opening hymn");
      });
    });
    openMenu("&Browse|Browse the Sermon Series file", kSeriesBrowse);
    pressOnRow(kSeriesBrowse, 1, "?Change");
    ASSERT_NE(robot.findWindow(kSeriesForm), nullptr);
  }
  // The first column of every row the browse shows.
  std::vector<std::string> shown(std::string_view window) {
    std::vector<std::string> out;
    vrt::PagedList* l = robot.control(window, "?Browse:1").list();
    for (int r = 1; r <= l->rowCount(); ++r) out.push_back(l->rowAt(r).at(0));
    return out;
  }

  // The key that finds a record of `table` by its number (field 0): the primary one, else
  // the first. Called on a thread with the dictionary set up.
  static int numberKey(const dict::TableDecl& table) {
    const auto& keys = TableFile(table).schema().keys;
    for (std::size_t k = 0; k < keys.size(); ++k)
      if (keys[k].primary) return static_cast<int>(k);
    return 0;
  }

  std::optional<Response> response;  // none until the procedure returns
  int vcr = -1;
};

}  // namespace vesp::testing
