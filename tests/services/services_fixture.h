#pragma once
// The program with the service-planning screens, and helpers to put records in on the
// calling thread and to start a screen by name as the frame's menu does.
#include <functional>
#include <string>
#include <vector>

#include "ui/screens_fixture.h"

namespace vesp::testing {

class ServicesTest : public ScreensTest {
 protected:
  // Adds a record on the calling thread; its number.
  static std::int64_t add(const dict::TableDecl& table, const std::function<void(vrt::RecordRef)>& fill) {
    FileManager& f = Access(table);
    static_cast<void>(f.Open());
    static_cast<void>(f.ClearForInsert());
    fill(*f.BUFFER());
    EXPECT_EQ(f.Insert(), Level::Benign);
    const auto number = static_cast<std::int64_t>(f.BUFFER()->number(f.FILE()->schema().fields[0]));
    static_cast<void>(f.Close());
    return number;
  }
  std::int64_t addRecord(const dict::TableDecl& table, const std::function<void(vrt::RecordRef)>& fill) {
    return ScreensTest::add(table, fill);
  }

  // Starts the procedure by name for `request` (0: as the frame's menu; 4: a look-up), with
  // the record numbered `number` read first for change requests.
  void open(const char* procedure, Request request = Request::None, const dict::TableDecl* table = nullptr, std::int64_t number = 0) {
    response.reset();
    onThread([this, procedure, request, table, number] {
      FileManager* f = table ? &Access(*table) : nullptr;
      if (f) {
        static_cast<void>(f->Open());
        if (request == Request::Insert) {
          static_cast<void>(f->ClearForInsert());
        } else {
          f->BUFFER()->setNumber(f->FILE()->schema().fields[0], static_cast<double>(number));
          EXPECT_EQ(f->Fetch(numberedKey(*f)), Level::Benign);
        }
      }
      threadGlobals().GlobalRequest = request;
      FindProcedure(procedure)();
      response = threadGlobals().GlobalResponse;
      if (f) static_cast<void>(f->Close());
    });
  }

  // Column `column` (1-based cell as shown) of every row of a list (hides the rows-based one).
  std::vector<std::string> column(const char* window, const char* list, int columnNumber = 1) {
    std::vector<std::string> out;
    vrt::PagedList* l = robot.control(window, list).list();
    for (int r = 1; r <= l->rowCount(); ++r) out.push_back(l->cellText(r, columnNumber));
    return out;
  }

};

}  // namespace vesp::testing
