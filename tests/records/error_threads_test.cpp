#include <gtest/gtest.h>

#include <latch>
#include <thread>

#include "records/error_manager.h"
#include "runtime/data/errors.h"
#include "scripted_display.h"

namespace vesp::testing {
namespace {

// Two browse threads fail at the same time: each notes its file and gets its driver error,
// both wait until the other has done the same, then both raise.
TEST(ErrorManagerThreads, TwoThreadsFailingAtOnceEachShowTheirOwnState) {
  ScriptedDisplay display;
  ErrorManager errors;
  errors.Setup();
  errors.SetDisplay(&display);
  errors.SetHistoryThreshold(10);
  errors.SetHistoryViewLevel(Level::Ask);  // collect the notifications, show nothing

  std::latch bothNoted(2);
  std::string shown[2];
  std::string procedure[2];
  auto browse = [&](int i, const char* file, const char* name, int driverCode) {
    errors.NoteProcedure(name);
    errors.NoteFile(file);
    vrt::setDriverError(driverCode, std::string("driver says ") + file);
    bothNoted.arrive_and_wait();
    static_cast<void>(errors.Raise(Msg::RecordChangedOrDeleted));
    shown[i] = ErrorManager::ThreadStatus().shownText;
    procedure[i] = errors.CurrentProcedure();
    errors.NoteProcedure();
  };
  std::thread first(browse, 0, "Service", "BrowseService", 5);
  std::thread second(browse, 1, "Performers", "BrowsePerformers", 6);
  first.join();
  second.join();

  EXPECT_EQ(shown[0],
            "This record was changed or deleted by another station.|Error: (driver says Service (5)) attempting to "
            "access a record from the Service file.");
  EXPECT_EQ(shown[1],
            "This record was changed or deleted by another station.|Error: (driver says Performers (6)) attempting "
            "to access a record from the Performers file.");
  EXPECT_EQ(procedure[0], "BrowseService");
  EXPECT_EQ(procedure[1], "BrowsePerformers");
  EXPECT_EQ(errors.History().size(), 2u);
  EXPECT_TRUE(display.messages.empty());
}

TEST(ErrorManagerThreads, ConcurrentRaisesAllReachTheSharedLists) {
  ScriptedDisplay display;
  ErrorManager errors;
  errors.Setup();
  errors.SetDisplay(&display);
  errors.SetHistoryThreshold(1000);
  errors.SetHistoryViewLevel(Level::Ask);
  constexpr int kThreads = 4, kEach = 100;
  std::latch start(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      start.arrive_and_wait();
      for (int i = 0; i < kEach; ++i) {
        errors.NoteProcedure("Thread" + std::to_string(t));
        errors.NoteFile("File" + std::to_string(t));
        static_cast<void>(errors.Raise(Msg::InvalidKey));
        errors.NoteProcedure();
      }
    });
  }
  for (std::thread& t : threads) t.join();
  const std::vector<HistoryRow> rows = errors.History();
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(kThreads * kEach));
  int perThread[kThreads] = {};
  for (const HistoryRow& row : rows) {
    const int t = row.message[4] - '0';
    ASSERT_TRUE(t >= 0 && t < kThreads) << row.message;
    EXPECT_EQ(row.message, "File" + std::to_string(t) + " key file is invalid. Key must be rebuilt.");
    ++perThread[t];
  }
  for (int count : perThread) EXPECT_EQ(count, kEach);
  EXPECT_EQ(errors.CurrentProcedure(), "");
}

}  // namespace
}  // namespace vesp::testing
