#pragma once
// Services with their elements and Bible references, for the relation manager's tests.
#include <functional>
#include <thread>

#include "other_program.h"
#include "records_fixture.h"
#include "runtime/data/errors.h"
#include "runtime/store/data_location.h"
#include "runtime/store/pg_db.h"
#include "runtime/store/sqlite_db.h"
#include "support/test_engine.h"

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
  // Runs SQL straight on a table where it lives, its file or the server, as another program
  // could; names quoted ("Service", "SERVICENUMBER") read alike on both engines.
  void asAnotherProgram(const char* table, const std::string& sql) {
    if (!vtest::serverEngineWanted()) return onFile((std::string(table) + ".vdb").c_str(), sql);
    vrt::pg::Connection c;
    vrt::store::ConnectionCheck check;
    ASSERT_TRUE(c.open(vrt::store::currentDataLocation(), "", check)) << check.error;
    // Waiting on this process's own transaction would never end: it fails instead.
    ASSERT_TRUE(c.exec("SET lock_timeout = '5s'").ok());
    vrt::pg::Result r = c.exec(sql);
    ASSERT_TRUE(r.ok()) << sql << ": " << r.error();
  }
  // Whether another program could write to every record of `table` right now, without
  // waiting: no lock on its file, or on the server none on its rows.
  bool writableNow(const char* table) {
    if (!vtest::serverEngineWanted()) return testing::writableNow(std::string(table) + ".vdb");
    vrt::pg::Connection c;
    vrt::store::ConnectionCheck check;
    if (!c.open(vrt::store::currentDataLocation(), "", check)) return false;
    const bool ok = c.exec("BEGIN").ok() &&
                    c.exec(std::string("SELECT 1 FROM \"") + table + "\" FOR UPDATE NOWAIT").ok();
    c.exec("ROLLBACK");
    return ok;
  }
  // Makes `table` refuse each `event` ("UPDATE" or "DELETE") of the rows `when` picks (a
  // condition on old."FIELD"; "" for every row), until allow().
  void refuse(const char* table, const char* event, const std::string& when = {}) {
    const std::string name = std::string("refuse_") + table, quoted = std::string("\"") + table + "\"";
    if (!vtest::serverEngineWanted())
      return asAnotherProgram(table, "CREATE TRIGGER " + name + " BEFORE " + event + " ON " + quoted +
                                         (when.empty() ? "" : " WHEN " + when) +
                                         " BEGIN SELECT RAISE(ABORT, 'refused'); END");
    asAnotherProgram(table, "CREATE OR REPLACE FUNCTION " + name +
                                "() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION 'refused'; END $$");
    asAnotherProgram(table, "CREATE TRIGGER " + name + " BEFORE " + event + " ON " + quoted + " FOR EACH ROW" +
                                (when.empty() ? "" : " WHEN (" + when + ")") + " EXECUTE FUNCTION " + name + "()");
  }
  void allow(const char* table) {
    const std::string name = std::string("refuse_") + table;
    asAnotherProgram(table, "DROP TRIGGER " + name +
                                (vtest::serverEngineWanted() ? std::string(" ON \"") + table + "\"" : std::string()));
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
