#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>

#include "runtime/data/errors.h"
#include "runtime/store/pg_db.h"
#include "runtime/store/server_seams.h"
#include "runtime/store/transaction.h"
#include "support/temp_dir.h"
#include "support/test_engine.h"
#include "test_schema.h"

using namespace vrt;
using namespace vtest;

namespace {

TableSchema tableNamed(const char* label) {
  TableSchema t = peopleSchema();
  t.label = label;
  return t;
}

// Three tables in three files, each with record 1 holding a counter in GROUPNO.
struct ThreeFiles {
  std::vector<std::unique_ptr<DataFile>> files;
  ThreeFiles() {
    for (const char* label : {"Alpha", "Beta", "Gamma"}) files.push_back(std::make_unique<DataFile>(tableNamed(label)));
  }
  std::vector<DataFile*> all() {
    std::vector<DataFile*> v;
    for (auto& f : files) v.push_back(f.get());
    return v;
  }
  bool open() {
    for (auto& f : files)
      if (!f->open()) return false;
    return true;
  }
  static bool readCounter(DataFile& f, int& value) {
    f.buffer().clearAll(f.schema().fields);
    f.buffer().setNumber(f.schema().fields[kNumber], 1);
    if (!f.get(0)) return false;
    value = static_cast<int>(f.buffer().number(f.schema().fields[kGroup]));
    return true;
  }
  static bool writeCounter(DataFile& f, int value) {
    int old = 0;
    if (!readCounter(f, old)) return false;
    f.buffer().setNumber(f.schema().fields[kGroup], value);
    return f.put();
  }
  static bool addRow(DataFile& f, int number) {
    f.buffer().clearAll(f.schema().fields);
    f.buffer().setNumber(f.schema().fields[kNumber], number);
    f.buffer().setNumber(f.schema().fields[kGroup], -number);
    f.buffer().setText(f.schema().fields[kNote], std::string(300, 'x'));
    return f.add();
  }
  void create() {
    for (auto& f : files) {
      ASSERT_TRUE(f->create());
      ASSERT_TRUE(f->open());
      ASSERT_TRUE(addRow(*f, 1));
      f->buffer().setNumber(f->schema().fields[kGroup], 0);
      ASSERT_TRUE(f->put());
      f->close();
    }
  }
};

}  // namespace

TEST(Transactions, CommitChangesEveryFileAndRollbackNone) {
  TempDir dir;
  ThreeFiles t;
  t.create();
  ASSERT_TRUE(t.open());
  {
    Transaction txn(t.all(), 2);
    ASSERT_TRUE(txn.begin());
    for (auto* f : t.all()) ASSERT_TRUE(ThreeFiles::writeCounter(*f, 7));
    ASSERT_TRUE(txn.commit());
  }
  {
    Transaction txn(t.all(), 2);
    ASSERT_TRUE(txn.begin());
    ASSERT_TRUE(ThreeFiles::writeCounter(*t.files[0], 8));
    ASSERT_TRUE(ThreeFiles::writeCounter(*t.files[1], 8));
    // The third change fails: a duplicate number.
    EXPECT_FALSE(ThreeFiles::addRow(*t.files[2], 1));
    EXPECT_EQ(errorCode(), kDuplicateKey);
    txn.rollback();
  }
  for (auto* f : t.all()) {
    int v = -1;
    ASSERT_TRUE(ThreeFiles::readCounter(*f, v));
    EXPECT_EQ(v, 7) << f->schema().label;
  }
  // A transaction left without commit rolls back when it ends.
  {
    Transaction txn(t.all(), 2);
    ASSERT_TRUE(txn.begin());
    ASSERT_TRUE(ThreeFiles::writeCounter(*t.files[0], 9));
  }
  int v = -1;
  ASSERT_TRUE(ThreeFiles::readCounter(*t.files[0], v));
  EXPECT_EQ(v, 7);
}

TEST(Transactions, AfterARollbackEachFileStandsWhereTheFileDoes) {
  TempDir dir;
  ThreeFiles t;
  t.create();
  ASSERT_TRUE(t.open());
  for (auto* f : t.all()) f->watch();  // writes check that no one changed the record since
  DataFile& changed = *t.files[0];
  DataFile& erased = *t.files[1];
  DataFile& added = *t.files[2];
  int v = 0;
  ASSERT_TRUE(ThreeFiles::readCounter(changed, v));
  ASSERT_TRUE(ThreeFiles::readCounter(erased, v));
  ASSERT_TRUE(ThreeFiles::readCounter(added, v));
  {
    Transaction txn(t.all(), 2);
    ASSERT_TRUE(txn.begin());
    changed.buffer().setNumber(changed.schema().fields[kGroup], 5);
    ASSERT_TRUE(changed.put());
    ASSERT_TRUE(erased.erase());
    ASSERT_TRUE(ThreeFiles::addRow(added, 2));
    EXPECT_FALSE(ThreeFiles::addRow(added, 1));  // fails, and the failure must survive the rollback
    txn.rollback();
    EXPECT_EQ(errorCode(), kDuplicateKey);
  }
  // Each copy can write its record again, as the file now has it.
  changed.buffer().setNumber(changed.schema().fields[kGroup], 6);
  EXPECT_TRUE(changed.put()) << errorMessage();
  EXPECT_TRUE(erased.hasCurrent());
  EXPECT_TRUE(erased.put()) << errorMessage();
  EXPECT_TRUE(added.hasCurrent());
  EXPECT_EQ(added.records(), 1);
  added.buffer().setNumber(added.schema().fields[kNumber], 1);
  added.buffer().setNumber(added.schema().fields[kGroup], 4);
  EXPECT_TRUE(added.put()) << errorMessage();
  ASSERT_TRUE(ThreeFiles::readCounter(added, v));
  EXPECT_EQ(v, 4);
}

TEST(Transactions, RefuseFilesThatCannotTakePart) {
  TempDir dir;
  ThreeFiles t;
  t.create();
  ASSERT_TRUE(t.files[0]->open());
  ASSERT_TRUE(t.files[1]->open(OpenAccess::ReadOnly));
  Transaction notOpen({t.files[0].get(), t.files[2].get()}, 2);
  EXPECT_FALSE(notOpen.begin());
  EXPECT_EQ(errorCode(), kFileNotOpen);
  Transaction readOnly({t.files[0].get(), t.files[1].get()}, 2);
  EXPECT_FALSE(readOnly.begin());
  EXPECT_EQ(errorCode(), kAccessDenied);
  // Neither failure left anything attached: a proper transaction still works.
  ASSERT_TRUE(t.files[2]->open());
  Transaction ok({t.files[0].get(), t.files[2].get()}, 2);
  ASSERT_TRUE(ok.begin());
  ASSERT_TRUE(ThreeFiles::writeCounter(*t.files[2], 3));
  ASSERT_TRUE(ok.commit());
}

TEST(Transactions, WaitForAnotherStationsLockThenGiveUp) {
  TempDir dir;
  ThreeFiles t;
  t.create();
  ASSERT_TRUE(t.open());
  DataFile other(tableNamed("Beta"));
  ASSERT_TRUE(other.open());
  ASSERT_TRUE(other.stream());  // holds Beta for writing
  Transaction txn(t.all(), 1);
  EXPECT_FALSE(txn.begin());
  EXPECT_EQ(errorCode(), kFileLocked);
  ASSERT_TRUE(other.flush());
  EXPECT_TRUE(txn.begin());
  EXPECT_TRUE(txn.commit());
}

// A child process changes the three files in transactions, one counter value per transaction,
// and tells its parent after each commit. The parent times one transaction, then kills the
// child at a random moment inside the next one; every file must then show the same counter
// and the same number of records.
TEST(Transactions, AKilledProcessLeavesEachFileWhollyBeforeOrAfter) {
  TempDir dir;
  ThreeFiles setup;
  setup.create();
  std::mt19937 random(20261209);
  for (int round = 0; round < 60; ++round) {
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(pipeFds[0]);
      ThreeFiles t;
      if (!t.open()) ::_exit(2);
      int value = 0;
      ThreeFiles::readCounter(*t.files[0], value);
      for (int n = value + 1;; ++n) {
        Transaction txn(t.all(), 5);
        if (!txn.begin()) ::_exit(3);
        for (auto* f : t.all()) {
          if (!ThreeFiles::writeCounter(*f, n) || !ThreeFiles::addRow(*f, 1000 + n)) ::_exit(4);
        }
        if (!txn.commit()) ::_exit(5);
        const char done = 1;
        if (::write(pipeFds[1], &done, 1) != 1) ::_exit(6);
      }
    }
    ::close(pipeFds[1]);
    char signal;
    ASSERT_EQ(::read(pipeFds[0], &signal, 1), 1);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(::read(pipeFds[0], &signal, 1), 1);
    const auto oneTransaction = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start).count();
    ::usleep(static_cast<useconds_t>(std::uniform_int_distribution<long long>(0, oneTransaction)(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(pipeFds[0]);
    ASSERT_TRUE(WIFSIGNALED(status)) << "child ended by itself with " << WEXITSTATUS(status);

    ThreeFiles check;
    ASSERT_TRUE(check.open()) << "round " << round << ": " << errorMessage();
    int first = -1;
    for (auto* f : check.all()) {
      int v = -1;
      ASSERT_TRUE(ThreeFiles::readCounter(*f, v)) << "round " << round;
      if (first < 0) first = v;
      EXPECT_EQ(v, first) << "round " << round << ", " << f->schema().label;
      EXPECT_EQ(f->records(), v + 1) << "round " << round << ", " << f->schema().label;
    }
    EXPECT_GE(first, 2 * (round + 1)) << "round " << round;  // at least the two commits seen
  }
}

// The server's session of this thread ended from another connection, as a server's
// administrator or its restart ends it; waits until it is gone.
namespace {

bool endSession(int serverProcess) {
  store::ConnectionCheck check;
  pg::Connection admin;
  if (!admin.open(store::currentDataLocation(), "", check)) return false;
  pg::Params p;
  p.add(serverProcess);
  const pg::Result r = admin.exec("SELECT pg_terminate_backend($1::int, 5000)", p);
  return r.ok() && r.rows() == 1 && r.text(0, 0) == "t";
}

int mySession() { return PQbackendPID(pg::serverConnection(store::currentDataLocation())->handle()); }

std::vector<int> counters(ThreeFiles& t) {
  std::vector<int> out;
  for (auto* f : t.all()) {
    int v = -1;
    EXPECT_TRUE(ThreeFiles::readCounter(*f, v)) << errorMessage();
    out.push_back(v);
  }
  return out;
}

}  // namespace

// The connection goes between two writes of a transaction: the writes after it fail too,
// rather than run by themselves on a new connection, and the server keeps none of them.
// The next use after the rollback connects again by itself.
TEST(Transactions, AConnectionLostInsideATransactionKeepsNothingAndTheNextUseConnectsAgain) {
  if (!serverEngineWanted()) GTEST_SKIP() << "a connection to lose is a server's";
  TempDir dir;
  ThreeFiles t;
  t.create();
  ASSERT_TRUE(t.open());
  {
    Transaction txn(t.all(), 2);
    ASSERT_TRUE(txn.begin());
    ASSERT_TRUE(ThreeFiles::writeCounter(*t.files[0], 5));
    ASSERT_TRUE(endSession(mySession()));
    EXPECT_FALSE(ThreeFiles::writeCounter(*t.files[1], 5));
    EXPECT_EQ(errorCode(), kDriverError);
    EXPECT_NE(errorMessage().find("none of the changes begun were kept"), std::string::npos) << errorMessage();
    EXPECT_FALSE(ThreeFiles::addRow(*t.files[2], 2)) << "nothing runs outside the lost transaction";
    EXPECT_FALSE(txn.commit());
    EXPECT_EQ(errorCode(), kDriverError);
  }
  EXPECT_EQ(counters(t), std::vector<int>({0, 0, 0}));
  for (auto* f : t.all()) EXPECT_EQ(f->records(), 1) << f->schema().label;
  Transaction again(t.all(), 2);
  ASSERT_TRUE(again.begin()) << errorMessage();
  for (auto* f : t.all()) ASSERT_TRUE(ThreeFiles::writeCounter(*f, 6));
  ASSERT_TRUE(again.commit()) << errorMessage();
  EXPECT_EQ(counters(t), std::vector<int>({6, 6, 6}));
}

// The connection goes just before COMMIT: the answer never comes, the server is asked what
// became of the transaction, and the commit is a failure that changed nothing. An idle
// connection ended meanwhile is made again on its next use, reads and writes alike.
TEST(Transactions, ACommitWhoseConnectionIsCutFailsAndKeepsNothing) {
  if (!serverEngineWanted()) GTEST_SKIP() << "a connection to lose is a server's";
  TempDir dir;
  ThreeFiles t;
  t.create();
  ASSERT_TRUE(t.open());
  bool cut = false;
  store::beforeServerCommit() = [&cut](int session) { cut = endSession(session); };
  {
    Transaction txn(t.all(), 2);
    ASSERT_TRUE(txn.begin());
    for (auto* f : t.all()) ASSERT_TRUE(ThreeFiles::writeCounter(*f, 7));
    EXPECT_FALSE(txn.commit());
    EXPECT_EQ(errorCode(), kDriverError);
    EXPECT_NE(errorMessage().find("none of them were kept"), std::string::npos) << errorMessage();
  }
  store::beforeServerCommit() = nullptr;
  ASSERT_TRUE(cut);
  EXPECT_EQ(counters(t), std::vector<int>({0, 0, 0}));

  ASSERT_TRUE(endSession(mySession()));  // idle: nobody notices until the next use
  EXPECT_TRUE(ThreeFiles::writeCounter(*t.files[0], 8)) << errorMessage();
  ASSERT_TRUE(endSession(mySession()));
  EXPECT_EQ(counters(t), std::vector<int>({8, 0, 0}));
}
