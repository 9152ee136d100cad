#pragma once
// The whole program running in a fresh folder, with a fake desktop opener, and helpers that
// fill tables, call a screen procedure by name on a thread of its own the way its caller
// would, and read back what was stored, as another station would: the base of the screens'
// end-to-end tests.
#include <functional>
#include <optional>
#include <memory>
#include <string>

#include "dictionary/tables.h"
#include "records/thread_dictionary.h"
#include "runtime/gui/control.h"
#include "runtime/gui/paged_list.h"
#include "runtime/testing/fake_desktop_opener.h"
#include "ui/program_fixture.h"
#include "windows/procedures.h"
#include "windows/thread_globals.h"
#include "windows/window_controller.h"

namespace vesp::testing {

class ScreensTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    auto fake = std::make_unique<vrt::FakeDesktopOpener>();
    opener = fake.get();
    previousOpener_ = vrt::installDesktopOpener(std::move(fake));
    start();
  }
  void TearDown() override {
    ProgramTest::TearDown();
    vrt::installDesktopOpener(std::move(previousOpener_));
  }

  // Adds one record; its number.
  std::int64_t add(const dict::TableDecl& table, const std::function<void(vrt::RecordRef)>& fill) {
    std::int64_t number = 0;
    onThread([&] {
      FileManager& f = Access(table);
      static_cast<void>(f.Open());
      static_cast<void>(f.ClearForInsert());
      fill(*f.BUFFER());
      EXPECT_EQ(f.Insert(), Level::Benign);
      number = static_cast<std::int64_t>(f.BUFFER()->number(key(f)));
      static_cast<void>(f.Close());
    });
    return number;
  }

  // Calls the procedure named `procedure` for `request` on a new thread, as a browse does:
  // for change and view the record numbered `number` is read first (by its numbered key),
  // for insert the record is primed and numbered. `before` fills in what the caller holds.
  // The response lands in `response` when the procedure returns.
  void call(const std::string& procedure, const dict::TableDecl& table, Request request, std::int64_t number = 0,
            std::function<void()> before = {}) {
    response.reset();
    onThread([this, procedure, &table, request, number, before] {
      FileManager& f = Access(table);
      static_cast<void>(f.Open());
      if (request == Request::Insert) {
        static_cast<void>(f.ClearForInsert());
      } else if (request != Request::Select && request != Request::None) {
        f.BUFFER()->setNumber(key(f), static_cast<double>(number));
        EXPECT_EQ(f.Fetch(numberedKey(f)), Level::Benign);
      }
      if (before) before();
      threadGlobals().GlobalRequest = request;
      FindProcedure(procedure)();
      response = threadGlobals().GlobalResponse;
      if (after) after();
      static_cast<void>(f.Close());
    });
  }

  // A field of the stored record numbered `number`; "<none>" when there is no such record.
  std::string stored(const dict::TableDecl& table, std::int64_t number, int field) {
    std::string value = "<none>";
    onThread([&] {
      FileManager& f = Access(table);
      static_cast<void>(f.Open());
      f.BUFFER()->setNumber(key(f), static_cast<double>(number));
      if (f.Fetch(numberedKey(f)) == Level::Benign)
        value = f.BUFFER()->text(f.FILE()->schema().fields[static_cast<std::size_t>(field)]);
      static_cast<void>(f.Close());
    });
    return value;
  }

  std::string text(std::string_view window, std::string_view use) { return robot.control(window, use).text(); }

  // The shown rows of a list, column by column.
  std::vector<std::vector<std::string>> rows(std::string_view window, std::string_view list = "?Browse:1") {
    std::vector<std::vector<std::string>> out;
    vrt::PagedList* l = robot.control(window, list).list();
    for (int r = 1; r <= l->rowCount(); ++r) out.push_back(l->rowAt(r));
    return out;
  }
  std::vector<std::string> column(std::string_view window, int column, std::string_view list = "?Browse:1") {
    std::vector<std::string> out;
    for (const auto& r : rows(window, list)) out.push_back(r.at(static_cast<std::size_t>(column - 1)));
    return out;
  }

  std::optional<Response> response;  // none until the procedure returns
  std::function<void()> after;  // runs on the caller's thread when the procedure returned
  vrt::FakeDesktopOpener* opener = nullptr;

 protected:
  // The primary (numbered) key and its field.
  static int numberedKey(FileManager& f) {
    const auto& keys = f.FILE()->schema().keys;
    for (std::size_t k = 0; k < keys.size(); ++k)
      if (keys[k].primary) return static_cast<int>(k);
    return 0;
  }
  static const vrt::FieldDesc& key(FileManager& f) {
    const auto& schema = f.FILE()->schema();
    const int field = schema.keys[static_cast<std::size_t>(numberedKey(f))].components.front();
    return schema.fields[static_cast<std::size_t>(field)];
  }

 private:
  std::unique_ptr<vrt::DesktopOpener> previousOpener_;
};

}  // namespace vesp::testing
