#include "runtime/gui/threads.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/os/thread_state.h"
#include "gui_fixture.h"

namespace vrt {
namespace {

using ThreadsTest = testing::GuiTest;

// Gives ready threads turns until none is ready.
void runAll() {
  while (AnyThreadReady()) RunReadyThreads();
}

// Takes events until close-down, noting each into `log`.
void recordEventsUntilCloseDown(std::vector<Event>& log) {
  for (;;) {
    Event e = TakeEvent();
    if (e.event == kEventCloseDown) return;
    log.push_back(e);
  }
}

TEST_F(ThreadsTest, StartReturnsAtOnceAndNumbersThreadsFromOne) {
  std::vector<int> ran;
  int first = StartThread([&] { ran.push_back(ThreadNumber()); }, 50'000, "Main");
  int second = StartThread([&] { ran.push_back(ThreadNumber()); }, 25'000);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);
  EXPECT_TRUE(ran.empty()) << "a new thread must wait for the scheduler";
  EXPECT_EQ(RequestedStackSize(1), 50'000u);
  EXPECT_EQ(RequestedStackSize(2), 25'000u);
  EXPECT_EQ(ThreadName(1), "Main");
  EXPECT_EQ(ThreadNumber(), 0);

  runAll();
  EXPECT_EQ(ran, (std::vector<int>{1, 2}));
  EXPECT_TRUE(LiveThreads().empty());
  EXPECT_EQ(StartThread([] {}, 1), 1) << "numbering starts again once every thread ended";
}

TEST_F(ThreadsTest, NumbersAreNotReusedWhileAThreadLives) {
  StartThread([] { TakeEvent(); }, 50'000);  // 1 waits
  StartThread([] {}, 50'000);                  // 2 ends at once
  runAll();
  EXPECT_FALSE(ThreadAlive(2));
  EXPECT_EQ(StartThread([] {}, 50'000), 3);
}

TEST_F(ThreadsTest, EachThreadRunsOnItsOwnContext) {
  std::vector<int> seen;
  auto proc = [&] {
    perThread<int>() = ThreadNumber() * 10;
    TakeEvent();  // let the other thread run and set its own value
    seen.push_back(ThreadContext::current().number());
    seen.push_back(perThread<int>());
  };
  StartThread(proc, 50'000);
  StartThread(proc, 50'000);
  ThreadContext& outside = ThreadContext::current();
  runAll();
  EXPECT_EQ(&ThreadContext::current(), &outside) << "the outside context comes back after each turn";
  PostEvent(kEventNotify, 0, 1);
  PostEvent(kEventNotify, 0, 2);
  runAll();
  EXPECT_EQ(seen, (std::vector<int>{1, 10, 2, 20}));
}

TEST_F(ThreadsTest, PostedEventReachesOnlyTheThreadItIsPostedTo) {
  std::vector<Event> one, two;
  StartThread([&] { recordEventsUntilCloseDown(one); }, 50'000);
  StartThread([&] { recordEventsUntilCloseDown(two); }, 50'000);
  runAll();
  EXPECT_TRUE(PostEvent(kEventAccepted, toolbarControl(ToolbarAction::PageDown), 2));
  EXPECT_TRUE(PostEvent(kEventScrollDown, 7, 2));
  EXPECT_EQ(PendingEvents(2), 2u) << "posting never runs the receiver at once";
  runAll();
  EXPECT_TRUE(one.empty());
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0].event, kEventAccepted);
  EXPECT_EQ(two[0].control, toolbarControl(ToolbarAction::PageDown));
  EXPECT_EQ(two[1].event, kEventScrollDown);
  EXPECT_FALSE(PostEvent(kEventAccepted, 1, 99)) << "no such thread";
}

TEST_F(ThreadsTest, AThreadCanPostToItselfAndToOthers) {
  std::vector<Event> one;
  StartThread([&] { recordEventsUntilCloseDown(one); }, 50'000);
  StartThread(
      [] {
        PostEvent(kEventNotify, 5);  // to itself
        Event e = TakeEvent();
        PostEvent(e.event, e.control + 1, 1);
      },
      50'000);
  runAll();
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].event, kEventNotify);
  EXPECT_EQ(one[0].control, 6);
}

TEST_F(ThreadsTest, EventsMeantForAnotherWindowWaitForIt) {
  std::vector<int> order;
  StartThread(
      [&] {
        PostEvent(Event{kEventAccepted, 1, 200, 0}, 0);  // for the older window
        PostEvent(Event{kEventAccepted, 2, 300, 0}, 0);  // for the newer one
        PostEvent(Event{kEventAccepted, 3, 0, 0}, 0);    // for whichever asks
        order.push_back(TakeEvent(300).control);
        order.push_back(TakeEvent(300).control);
        order.push_back(TakeEvent(200).control);
      },
      50'000);
  runAll();
  EXPECT_EQ(order, (std::vector<int>{2, 3, 1}));
}

TEST_F(ThreadsTest, WindowStackNamesTheNewestWindowAndClosedWindowsLoseTheirEvents) {
  StartThread([] { TakeEvent(1); }, 50'000);
  runAll();
  PushThreadWindow(1, 10);
  PushThreadWindow(1, 11);
  EXPECT_EQ(NewestThreadWindow(1), 11);
  PostEvent(Event{kEventAccepted, 1, 11, 0}, 1);
  PostEvent(Event{kEventAccepted, 1, 10, 0}, 1);
  PopThreadWindow(1, 11);
  DiscardWindowEvents(11);
  EXPECT_EQ(NewestThreadWindow(1), 10);
  EXPECT_EQ(PendingEvents(1), 1u);
  EXPECT_EQ(ThreadWindows(1), std::vector<int>{10});
}

TEST_F(ThreadsTest, HooksRunOnTheThreadsOwnContextAroundItsProcedure) {
  std::vector<std::string> log;
  int start = AddThreadStartHook([&] {
    perThread<std::string>() = "set up";
    log.push_back("start " + std::to_string(ThreadContext::current().number()));
  });
  int end = AddThreadEndHook([&] {
    log.push_back("end " + std::to_string(ThreadContext::current().number()) + " " + perThread<std::string>());
  });
  StartThread([&] { log.push_back("run " + perThread<std::string>()); }, 25'000);
  runAll();
  RemoveThreadHook(start);
  RemoveThreadHook(end);
  StartThread([&] { log.push_back("unhooked"); }, 25'000);
  runAll();
  EXPECT_EQ(log, (std::vector<std::string>{"start 1", "run set up", "end 1 set up", "unhooked"}));
}

TEST_F(ThreadsTest, AnEscapingExceptionEndsOnlyItsThreadAndIsReported) {
  std::vector<std::string> reports;
  SetThreadFailureReporter([&](int thread, const std::string& what) {
    reports.push_back(std::to_string(thread) + ": " + what);
  });
  bool endHookRan = false;
  int end = AddThreadEndHook([&] { endHookRan = true; });
  std::vector<Event> survivor;
  StartThread([&] { recordEventsUntilCloseDown(survivor); }, 50'000);
  StartThread(
      [] {
        TakeEvent();
        throw std::runtime_error("disk on fire");
      },
      50'000);
  runAll();
  PostEvent(kEventNotify, 0, 2);
  PostEvent(kEventNotify, 0, 1);
  runAll();
  RemoveThreadHook(end);
  SetThreadFailureReporter([](int, const std::string&) {});
  EXPECT_EQ(reports, std::vector<std::string>{"2: disk on fire"});
  EXPECT_TRUE(endHookRan);
  EXPECT_FALSE(ThreadAlive(2));
  EXPECT_TRUE(ThreadAlive(1));
  EXPECT_EQ(survivor.size(), 1u);
}

TEST_F(ThreadsTest, EndingThreadOneClosesDownTheOthers) {
  std::vector<Event> child;
  StartThread(
      [&] {
        StartThread([&] { recordEventsUntilCloseDown(child); }, 50'000);
        TakeEvent();
      },
      50'000);
  runAll();
  EXPECT_EQ(LiveThreads(), (std::vector<int>{1, 2}));
  PostEvent(kEventCloseWindow, 0, 1);
  runAll();
  EXPECT_TRUE(LiveThreads().empty());
}

TEST_F(ThreadsTest, ClosingDownTheOthersWaitsUntilEveryOneHasEnded) {
  std::vector<std::string> order;
  std::vector<int> liveAfterwards;
  StartThread(
      [&] {
        StartThread(
            [&] {
              std::vector<Event> ignored;
              recordEventsUntilCloseDown(ignored);
              StartThread([&] {  // started while closing down: closed down too
                TakeEvent();
                order.push_back("late one ended");
              }, 50'000);
              order.push_back("browse ended");
            },
            50'000);
        StartThread(
            [&] {
              TakeEvent();
              CloseDownOtherThreads();  // a second such wait: neither waits for the other
              order.push_back("second waiter ended");
            },
            50'000);
        TakeEvent();
        CloseDownOtherThreads();
        liveAfterwards = LiveThreads();
        order.push_back("frame goes on");
      },
      50'000);
  runAll();
  PostEvent(kEventCloseWindow, 0, 1);
  runAll();
  EXPECT_EQ(order, (std::vector<std::string>{"browse ended", "late one ended", "second waiter ended", "frame goes on"}));
  EXPECT_EQ(liveAfterwards, std::vector<int>{1});
  EXPECT_TRUE(LiveThreads().empty());
}

TEST_F(ThreadsTest, OnceClosingDownEveryLaterTakeIsCloseDown) {
  std::vector<int> taken;
  StartThread(
      [&] {
        for (int i = 0; i < 3; ++i) taken.push_back(TakeEvent(7).event);
        taken.push_back(ClosingDown() ? 1 : 0);
      },
      50'000);
  runAll();
  PostEvent(Event{kEventAccepted, 1, 7, 0}, 1);
  PostEvent(kEventCloseDown, 0, 1);
  PostEvent(Event{kEventAccepted, 2, 7, 0}, 1);  // too late: the thread is closing down
  runAll();
  EXPECT_EQ(taken, (std::vector<int>{kEventAccepted, kEventCloseDown, kEventCloseDown, 1}));
  EXPECT_FALSE(ClosingDown()) << "outside every thread";
}

TEST_F(ThreadsTest, APostedOnceEventIsNotQueuedTwice) {
  StartThread([] { TakeEvent(99); }, 50'000);
  runAll();
  const Event tick{kEventTimer, 0, 5, 0};
  EXPECT_TRUE(PostEventOnce(tick, 1));
  EXPECT_TRUE(PostEventOnce(tick, 1));
  EXPECT_EQ(PendingEvents(1), 1u);
  EXPECT_TRUE(PostEventOnce(Event{kEventTimer, 0, 6, 0}, 1)) << "another window's tick is its own";
  EXPECT_EQ(PendingEvents(1), 2u);
  EXPECT_FALSE(PostEventOnce(tick, 42)) << "no such thread";
}

TEST_F(ThreadsTest, AnOwnEventWaitLeavesEventsWithoutAWindowQueued) {
  std::vector<int> order;
  StartThread(
      [&] {
        order.push_back(TakeOwnEvent(300).control);
        order.push_back(TakeEvent(200).control);
        order.push_back(TakeOwnEvent(300).event);
      },
      50'000);
  runAll();
  PostEvent(Event{kEventAccepted, 1, 0, 0}, 1);    // for the thread's newest window
  PostEvent(Event{kEventAccepted, 2, 300, 0}, 1);  // for the wait
  runAll();
  PostEvent(Event{kEventCloseDown, 0, 200, 0}, 1);  // close-down reaches any wait
  runAll();
  EXPECT_EQ(order, (std::vector<int>{2, 1, kEventCloseDown}));
}

TEST_F(ThreadsTest, EndAllThreadsUnwindsAThreadThatIgnoresCloseDown) {
  struct Guard {
    bool& flag;
    ~Guard() { flag = true; }
  };
  bool destroyed = false, endHookRan = false;
  int end = AddThreadEndHook([&] { endHookRan = true; });
  StartThread(
      [&] {
        Guard guard{destroyed};
        while (TakeEvent().event != kEventNone) {
        }  // deaf to close-down
      },
      50'000);
  runAll();
  EndAllThreads();
  RemoveThreadHook(end);
  EXPECT_TRUE(destroyed);
  EXPECT_TRUE(endHookRan);
  EXPECT_TRUE(LiveThreads().empty());
}

TEST_F(ThreadsTest, OutsideAnyThreadTakeEventDoesNotWait) {
  EXPECT_EQ(TakeEvent().event, kEventCloseDown);
}

TEST_F(ThreadsTest, TheQtEventLoopDrivesTheThreadsUntilAllHaveEnded) {
  std::vector<int> done;
  StartThread(
      [&] {
        int child = StartThread([&] {
          TakeEvent();
          done.push_back(2);
        }, 50'000);
        PostEvent(kEventNotify, 0, child);
        TakeEvent();  // the close-down the test's timer posts
        done.push_back(1);
      },
      50'000);
  QTimer::singleShot(0, [] { PostEvent(kEventCloseDown, 0, 1); });
  RunThreads();
  EXPECT_EQ(done, (std::vector<int>{2, 1}));
  EXPECT_TRUE(LiveThreads().empty());
}

TEST_F(ThreadsTest, DeepRecursionFitsInTheStackWhateverSizeWasAsked) {
  std::function<int(int)> depth = [&](int n) {
    volatile char pad[512];
    pad[0] = static_cast<char>(n);
    return n == 0 ? pad[0] : depth(n - 1) + 1;
  };
  int result = 0;
  StartThread([&] { result = depth(1000); }, 25'000);  // ~600 KiB of frames
  runAll();
  EXPECT_EQ(result, 1000);
}

}  // namespace
}  // namespace vrt
