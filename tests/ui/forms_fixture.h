#pragma once
// The program running, with pick lists filled in, and a caller on a thread of its own that
// calls a test-only form the way a browse does: the request in the thread's global, the
// record in the buffer, the response and the navigation request read back afterwards.
#include <functional>
#include <optional>
#include <string>

#include "dictionary/tables.h"
#include "program_fixture.h"
#include "records/thread_dictionary.h"
#include "runtime/gui/control.h"
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
      if (f.Fetch(0) == Level::Benign) value = f.BUFFER()->text(f.FILE()->schema().fields[static_cast<std::size_t>(field)]);
      static_cast<void>(f.Close());
    });
    return value;
  }

  std::string text(const char* window, const char* use) { return robot.control(window, use).text(); }

  std::optional<Response> response;  // none until the procedure returns
  int vcr = -1;
};

}  // namespace vesp::testing
