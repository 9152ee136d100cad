#pragma once
// The whole program running in a fresh folder with a fake desktop opener, plus helpers to
// put records in and read them back as another station would, and to start a screen by
// name on a thread of its own as the frame's menu does.
#include <functional>
#include <string>
#include <vector>

#include "dictionary/tables.h"
#include "records/thread_dictionary.h"
#include "runtime/gui/control.h"
#include "runtime/gui/paged_list.h"
#include "runtime/os/fake_desktop_opener.h"
#include "ui/program_fixture.h"
#include "windows/procedures.h"
#include "windows/thread_globals.h"
#include "windows/window_controller.h"

namespace vesp::testing {

class ServicesTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    auto fake = std::make_unique<vrt::FakeDesktopOpener>();
    opener = fake.get();
    previous_ = vrt::installDesktopOpener(std::move(fake));
    start();
  }
  void TearDown() override {
    ProgramTest::TearDown();
    vrt::installDesktopOpener(std::move(previous_));
  }

  // Runs `body` on a new thread until it ends or waits for the user.
  void onThread(std::function<void()> body) {
    vrt::StartThread(std::move(body), 50'000);
    robot.settle();
  }

  // Adds a record; its number.
  static std::int64_t add(const dict::TableDecl& table, const std::function<void(vrt::RecordRef)>& fill) {
    FileManager& f = Access(table);
    f.Open();
    f.ClearForInsert();
    fill(*f.BUFFER);
    EXPECT_EQ(f.Insert(), Level::Benign);
    const auto number = static_cast<std::int64_t>(f.BUFFER->number(f.FILE->schema().fields[0]));
    f.Close();
    return number;
  }
  std::int64_t addRecord(const dict::TableDecl& table, const std::function<void(vrt::RecordRef)>& fill) {
    std::int64_t number = 0;
    onThread([&] { number = add(table, fill); });
    return number;
  }

  // Starts the procedure by name for `request` (0: as the frame's menu; 4: a look-up), with
  // the record numbered `number` read first for change requests.
  void open(const char* procedure, int request = 0, const dict::TableDecl* table = nullptr, std::int64_t number = 0) {
    response = -1;
    onThread([this, procedure, request, table, number] {
      FileManager* f = table ? &Access(*table) : nullptr;
      if (f) {
        f->Open();
        if (request == Request::Insert) {
          f->ClearForInsert();
        } else {
          f->BUFFER->setNumber(f->FILE->schema().fields[0], static_cast<double>(number));
          EXPECT_EQ(f->Fetch(numberKey(*f)), Level::Benign);
        }
      }
      threadGlobals().GlobalRequest = request;
      FindProcedure(procedure)();
      response = threadGlobals().GlobalResponse;
      if (f) f->Close();
    });
  }

  // A field of the stored record numbered `number`; "<none>" when there is none.
  std::string stored(const dict::TableDecl& table, std::int64_t number, int field) {
    std::string value = "<none>";
    onThread([&] {
      FileManager& f = Access(table);
      f.Open();
      f.BUFFER->setNumber(f.FILE->schema().fields[0], static_cast<double>(number));
      if (f.Fetch(numberKey(f)) == Level::Benign) value = f.BUFFER->text(f.FILE->schema().fields[static_cast<std::size_t>(field)]);
      f.Close();
    });
    return value;
  }

  std::int64_t records(const dict::TableDecl& table) {
    std::int64_t count = -1;
    onThread([&] {
      FileManager& f = Access(table);
      f.Open();
      f.Use();
      count = f.FILE->records();
      f.Close();
    });
    return count;
  }

  // Column `column` (1-based cell as shown) of every row of a list.
  std::vector<std::string> column(const char* window, const char* list, int columnNumber = 1) {
    std::vector<std::string> out;
    vrt::PagedList* l = robot.control(window, list).list();
    for (int r = 1; r <= l->rowCount(); ++r) out.push_back(l->cellText(r, columnNumber));
    return out;
  }

  std::string text(const char* window, const char* use) { return robot.control(window, use).text(); }

  // The number key: a record is found by its number (the first key is not always that).
  static int numberKey(const FileManager& f) {
    const auto& keys = f.FILE->schema().keys;
    for (std::size_t k = 0; k < keys.size(); ++k)
      if (keys[k].primary) return static_cast<int>(k);
    return 0;
  }

  vrt::FakeDesktopOpener* opener = nullptr;
  int response = -1;

 private:
  std::unique_ptr<vrt::DesktopOpener> previous_;
};

}  // namespace vesp::testing
