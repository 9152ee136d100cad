#pragma once
// Services with their elements and Bible references, for the relation manager's tests.
#include <functional>
#include <thread>

#include "other_program.h"
#include "records_fixture.h"
#include "runtime/data/errors.h"
#include "runtime/store/sqlite_db.h"

namespace vesp::testing {


// Services with their elements and Bible references.
class RelationManagerTest : public RecordsTest {
 protected:
  void service(int number, const char* title = "Service") {
    addRaw(tables::Service, [&](vrt::RecordRef r) {
      r.set(SER_SERVICENUMBER, number);
      r.set(SER_TITLE, title);
    });
  }
  void element(int number, int serviceNumber, int order) {
    addRaw(tables::ServiceElement, [&](vrt::RecordRef r) {
      r.set(SEL_ELEMENTNUMBER, number);
      r.set(SEL_SERVICENUMBER, serviceNumber);
      r.set(SEL_ELEMENTORDER, order);
    });
  }
  void passage(int number, int serviceNumber) {
    addRaw(tables::BibleRef, [&](vrt::RecordRef r) {
      r.set(BIB_REFERENCENUMBER, number);
      r.set(BIB_SERVICENUMBER, serviceNumber);
    });
  }
  // A service with three elements and two passages, and another service with one of each.
  void plan() {
    service(1, "Easter");
    service(2, "Pentecost");
    for (int i = 1; i <= 3; ++i) element(i, 1, i);
    element(4, 2, 1);
    passage(1, 1);
    passage(2, 1);
    passage(3, 2);
  }
  bool fetchService(int number) {
    Buffer(tables::Service).set(SER_SERVICENUMBER, number);
    return Access(tables::Service).Fetch(SER_ServiceNumberKey.index) == Level::Benign;
  }
  std::int64_t count(const dict::TableDecl& t) { return TableFile(t).records(); }
  // Runs SQL straight on a table's file, as another program could.
  void onFile(const char* file, const std::string& sql) {
    vrt::sql::Database db;
    ASSERT_EQ(db.open(file, false, false), SQLITE_OK);
    ASSERT_EQ(db.exec(sql), SQLITE_OK) << db.lastError();
  }
  // Another station: a thread with its own copy of the dictionary, doing `work` there.
  void otherStation(const std::function<void()>& work) {
    std::thread([&work] {
      SetupDictionaryForThread();
      work();
      KillDictionaryForThread();
    }).join();
  }
  void otherStationRetitles(int number, const char* title) {
    otherStation([&] {
      static_cast<void>(Relate(tables::Service).Open());
      Buffer(tables::Service).set(SER_SERVICENUMBER, number);
      ASSERT_EQ(Access(tables::Service).Fetch(SER_ServiceNumberKey.index), Level::Benign);
      Buffer(tables::Service).set(SER_TITLE, title);
      ASSERT_EQ(Access(tables::Service).Update(0), Level::Benign);
      static_cast<void>(Relate(tables::Service).Close());
    });
  }
  std::vector<int> elementsOf(int serviceNumber) {
    std::vector<int> out;
    vrt::DataFile& f = TableFile(tables::ServiceElement);
    f.setToStart(SEL_ServiceElementKey.index);
    while (f.next())
      if (f.buffer().get(SEL_SERVICENUMBER) == serviceNumber) out.push_back(f.buffer().get(SEL_ELEMENTNUMBER));
    return out;
  }
};


}  // namespace vesp::testing
