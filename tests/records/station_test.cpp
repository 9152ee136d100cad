// Two stations on one server, each a process of its own: this test program started again
// as the other station, working in the same server schema. On files these cases skip.
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <thread>

#include "records/open_service.h"
#include "relation_fixture.h"
#include "runtime/data/errors.h"
#include "runtime/store/pg_db.h"
#include "runtime/store/transaction.h"
#include "support/other_station.h"

using namespace vesp;
using namespace vesp::testing;

namespace {

pid_t startStation(const std::string& schema, const std::string& job) {
  return vtest::startStation(schema, job, "Station.Work");
}

int waitFor(pid_t pid) { return vtest::waitForStation(pid); }

class StationTest : public RelationManagerTest {
 protected:
  void SetUp() override {
    if (!vtest::serverEngineWanted()) GTEST_SKIP() << "two stations share a server";
  }
};

}  // namespace

// The other station's side: nothing unless this program was started as one.
class Station : public RecordsTest {
 public:
  void TestBody() override {}
  void run(const std::string& work) {
    if (work.rfind("number:", 0) == 0) {
      // Services numbered by the framework, as a user inserting them would.
      const int count = std::atoi(work.c_str() + 7);
      FileManager& fm = Access(tables::Service);
      ASSERT_EQ(fm.Open(), Level::Benign);
      for (int i = 0; i < count; ++i) {
        ASSERT_EQ(fm.ClearForInsert(), Level::Benign) << lastShown();
        Buffer(tables::Service).set(SER_TITLE, "from another station");
        ASSERT_EQ(fm.Insert(false), Level::Benign) << lastShown();
      }
      EXPECT_TRUE(display.messages.empty()) << lastShown();
    } else if (work.rfind("retitle:", 0) == 0 || work.rfind("delete:", 0) == 0) {
      // One service retitled ("retitle:N:title") or deleted ("delete:N") by a user there.
      const std::string rest = work.substr(work.find(':') + 1);
      ASSERT_EQ(Relate(tables::Service).Open(), Level::Benign);
      Buffer(tables::Service).set(SER_SERVICENUMBER, std::atoi(rest.c_str()));
      ASSERT_EQ(Access(tables::Service).Fetch(SER_ServiceNumberKey.index), Level::Benign);
      if (work[0] == 'r') {
        Buffer(tables::Service).set(SER_TITLE, rest.substr(rest.find(':') + 1));
        ASSERT_EQ(Access(tables::Service).Update(0), Level::Benign) << lastShown();
      } else {
        ASSERT_EQ(Relate(tables::Service).Delete(false), Level::Benign) << lastShown();
      }
      static_cast<void>(Relate(tables::Service).Close());
    } else if (work.rfind("delete-service:", 0) == 0) {
      // A service deleted with everything it owns, as the service browse deletes it.
      ASSERT_EQ(Access(tables::Service).Open(), Level::Benign);
      Buffer(tables::Service).set(SER_SERVICENUMBER, std::atoi(work.c_str() + 15));
      ASSERT_EQ(Access(tables::Service).Fetch(SER_ServiceNumberKey.index), Level::Benign);
      static_cast<void>(Relate(tables::Service).Delete(false));  // killed while it waits
    } else if (work.rfind("delete-and-hang:", 0) == 0) {
      // Half of a service's elements and the service itself deleted in one transaction,
      // and then the station dies before it commits.
      const std::string ready = work.substr(16);
      ASSERT_EQ(Access(tables::Service).Open(), Level::Benign);
      ASSERT_EQ(Access(tables::ServiceElement).Open(), Level::Benign);
      ASSERT_EQ(Access(tables::Service).Use(), Level::Benign);
      ASSERT_EQ(Access(tables::ServiceElement).Use(), Level::Benign);
      vrt::DataFile& services = TableFile(tables::Service);
      vrt::DataFile& elements = TableFile(tables::ServiceElement);
      vrt::Transaction t({&services, &elements}, 2);
      ASSERT_TRUE(t.begin()) << vrt::errorMessage();
      elements.setToStart(SEL_ServiceElementKey.index);
      for (int n = 0; n < 50 && elements.next(); ++n) ASSERT_TRUE(elements.erase());
      services.setToStart(SER_ServiceNumberKey.index);
      ASSERT_TRUE(services.next());
      ASSERT_TRUE(services.erase());
      std::ofstream(ready) << "ready\n";
      for (;;) ::pause();
    }
  }
};

TEST(Station, Work) {
  const char* job = vtest::stationJob();
  if (!job) GTEST_SKIP() << "started only as another station";
  Station station;
  station.run(job);
}

TEST_F(StationTest, TwoStationsNumberTwoThousandServicesWithoutAClash) {
  const pid_t a = startStation(dir.engine().schema(), "number:1000");
  const pid_t b = startStation(dir.engine().schema(), "number:1000");
  EXPECT_EQ(waitFor(a), 0);
  EXPECT_EQ(waitFor(b), 0);
  ASSERT_EQ(Access(tables::Service).Open(), Level::Benign);
  ASSERT_EQ(Access(tables::Service).Use(), Level::Benign);
  vrt::DataFile& f = TableFile(tables::Service);
  EXPECT_EQ(f.records(), 2000);
  std::set<int> numbers;
  f.setToStart(SER_ServiceNumberKey.index);
  while (f.next()) numbers.insert(static_cast<int>(f.buffer().get(SER_SERVICENUMBER)));
  ASSERT_EQ(numbers.size(), 2000u);
  EXPECT_EQ(*numbers.begin(), 1);
  EXPECT_EQ(*numbers.rbegin(), 2000);
}

TEST_F(StationTest, AStationKilledInTheMiddleOfADeleteLeavesEverything) {
  for (int s = 1; s <= 3; ++s) {
    addRaw(tables::Service, [&](vrt::RecordRef r) {
      r.set(SER_SERVICENUMBER, s);
      r.set(SER_TITLE, "Sunday");
    });
    for (int e = 1; e <= 40; ++e)
      addRaw(tables::ServiceElement, [&](vrt::RecordRef r) {
        r.set(SEL_ELEMENTNUMBER, (s - 1) * 40 + e);
        r.set(SEL_SERVICENUMBER, s);
        r.set(SEL_ELEMENTORDER, e);
      });
  }
  const std::string ready = dir.file("ready");
  const pid_t station = startStation(dir.engine().schema(), "delete-and-hang:" + ready);
  // The station tells through the file when its transaction has done its deletes.
  for (int i = 0; i < 6000 && !std::ifstream(ready).good(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(std::ifstream(ready).good()) << "the other station never got half-way";
  ::kill(station, SIGKILL);
  waitFor(station);
  EXPECT_EQ(TableFile(tables::Service).records(), 3);
  EXPECT_EQ(TableFile(tables::ServiceElement).records(), 120);
}

TEST_F(StationTest, SavingOverAnotherStationsChangeIsMessage7Or8AndOverItsDeletionMessage9) {
  service(1, "Easter");
  service(2, "Pentecost");
  const std::string schema = dir.engine().schema();
  ASSERT_EQ(Relate(tables::Service).Open(), Level::Benign);
  ASSERT_TRUE(fetchService(1));
  ASSERT_EQ(waitFor(startStation(schema, "retitle:1:Theirs")), 0);
  Buffer(tables::Service).set(SER_TITLE, "Mine");
  EXPECT_EQ(Relate(tables::Service).Update(false), Level::Notify);
  EXPECT_EQ(lastShown(), "This record was changed by another station.");
  EXPECT_EQ(Buffer(tables::Service).get(SER_TITLE), "Theirs");
  ASSERT_EQ(waitFor(startStation(schema, "retitle:1:Theirs again")), 0);
  Buffer(tables::Service).set(SER_TITLE, "Mine");
  EXPECT_EQ(Relate(tables::Service).Update(true), Level::Notify);
  EXPECT_NE(lastShown().find("Use the Ditto Button or Ctrl+H"), std::string::npos) << lastShown();
  // Having seen their version, the user saves over it.
  Buffer(tables::Service).set(SER_TITLE, "Mine after all");
  EXPECT_EQ(Relate(tables::Service).Update(true), Level::Benign) << lastShown();
  ASSERT_TRUE(fetchService(1));
  EXPECT_EQ(Buffer(tables::Service).get(SER_TITLE), "Mine after all");

  // The other station deletes the service this one has open.
  ASSERT_TRUE(fetchService(2));
  ASSERT_EQ(waitFor(startStation(schema, "delete:2")), 0);
  display.messages.clear();
  Buffer(tables::Service).set(SER_TITLE, "Mine");
  EXPECT_EQ(Relate(tables::Service).Update(true), Level::Notify);
  ASSERT_EQ(display.messages.size(), 1u);
  EXPECT_EQ(display.messages.front().title, "Record Retrieval Error");
  EXPECT_EQ(lastShown().rfind("This record was changed or deleted by another station.", 0), 0u) << lastShown();
  EXPECT_FALSE(fetchService(2)) << "nothing is saved in its place";
  EXPECT_EQ(count(tables::Service), 1);
}

TEST_F(StationTest, AStationKilledInTheMiddleOfARelationWideDeleteLeavesTheServiceWhole) {
  addRaw(tables::Service, [&](vrt::RecordRef r) {
    r.set(SER_SERVICENUMBER, 1);
    r.set(SER_TITLE, "Easter");
  });
  for (int e = 1; e <= 30; ++e)
    addRaw(tables::ServiceElement, [&](vrt::RecordRef r) {
      r.set(SEL_ELEMENTNUMBER, e);
      r.set(SEL_SERVICENUMBER, 1);
      r.set(SEL_ELEMENTORDER, e);
    });
  for (int b = 1; b <= 4; ++b)
    addRaw(tables::BibleRef, [&](vrt::RecordRef r) {
      r.set(BIB_REFERENCENUMBER, b);
      r.set(BIB_SERVICENUMBER, 1);
    });
  // A third party holds the service's row, so the station deletes every child and then
  // waits for the service itself: it is caught with its deletes done and nothing committed.
  vrt::pg::Connection holder;
  vrt::store::ConnectionCheck check;
  ASSERT_TRUE(holder.open(*vtest::testServer(), "", check)) << check.error;
  ASSERT_TRUE(holder.exec("BEGIN").ok());
  ASSERT_TRUE(holder.exec("SELECT 1 FROM \"Service\" FOR UPDATE").ok()) << holder.lastError();
  const std::string holderPid(holder.exec("SELECT pg_backend_pid()").text(0, 0));

  // Watched from a connection of its own: inside the holder's transaction the server's list
  // of sessions would stay as it was when first read.
  vrt::pg::Connection watcher;
  ASSERT_TRUE(watcher.open(*vtest::testServer(), "", check)) << check.error;
  const pid_t station = startStation(dir.engine().schema(), "delete-service:1");
  vrt::pg::Params p;
  p.add(holderPid);
  bool waiting = false;
  for (int i = 0; i < 6000 && !waiting; ++i) {
    vrt::pg::Result r =
        watcher.exec("SELECT count(*) FROM pg_stat_activity WHERE $1::int = ANY (pg_blocking_pids(pid))", p);
    waiting = r.ok() && r.int64(0, 0) > 0;
    if (!waiting) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  // The children are gone inside the station's transaction, and no other station sees it.
  ::kill(station, SIGKILL);
  EXPECT_EQ(waitFor(station), -1);
  ASSERT_TRUE(waiting) << "the station never reached the service itself";
  holder.exec("ROLLBACK");
  EXPECT_EQ(TableFile(tables::Service).records(), 1);
  EXPECT_EQ(TableFile(tables::ServiceElement).records(), 30);
  EXPECT_EQ(TableFile(tables::BibleRef).records(), 4);
}
