#include "platform/sim/sim_event_loop.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vav::sim {
namespace {

struct Scheduled {
  Millis delay;
  std::string name;
};

struct OrderCase {
  std::string label;
  std::vector<Scheduled> tasks;
  std::vector<std::string> expected;
};

class SimEventLoopOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(SimEventLoopOrder, RunsByDueTimeThenPostingOrder) {
  SimEventLoop loop(0);
  std::vector<std::string> ran;
  for (const auto& task : GetParam().tasks) {
    loop.call_after(task.delay, [&ran, &loop, task] {
      ran.push_back(task.name);
      EXPECT_EQ(loop.now(), task.delay) << task.name << " ran at the wrong virtual time";
    });
  }
  loop.run_for(1000);
  EXPECT_EQ(ran, GetParam().expected);
  EXPECT_EQ(loop.now(), 1000u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SimEventLoopOrder,
    ::testing::Values(
        OrderCase{"equal_deadlines", {{5, "a"}, {5, "b"}, {5, "c"}}, {"a", "b", "c"}},
        OrderCase{
            "due_order", {{30, "late"}, {10, "early"}, {20, "mid"}}, {"early", "mid", "late"}},
        OrderCase{"mixed",
                  {{10, "x1"}, {0, "now"}, {10, "x2"}, {0, "now2"}},
                  {"now", "now2", "x1", "x2"}},
        OrderCase{"beyond_window", {{999, "in"}, {1000, "edge"}, {1001, "out"}}, {"in", "edge"}}),
    [](const auto& case_info) { return case_info.param.label; });

TEST(SimEventLoop, TaskPostedByTaskForSameMomentRunsAfterEarlierPosts) {
  SimEventLoop loop(0);
  std::vector<std::string> ran;
  loop.post([&] {
    ran.push_back("first");
    loop.post([&] { ran.push_back("posted-by-first"); });
  });
  loop.post([&] { ran.push_back("second"); });
  loop.pump();
  EXPECT_EQ(ran, (std::vector<std::string>{"first", "second", "posted-by-first"}));
}

TEST(SimEventLoop, CancelForgetsPendingTaskAndIgnoresUnknownIds) {
  SimEventLoop loop(0);
  std::vector<std::string> ran;
  const auto a = loop.call_after(10, [&] { ran.push_back("a"); });
  const auto b = loop.call_after(10, [&] { ran.push_back("b"); });
  loop.call_after(5, [&] { loop.cancel(b); });
  loop.cancel(a);
  loop.cancel(a);      // already cancelled
  loop.cancel(12345);  // never existed
  EXPECT_EQ(loop.pending(), 2u);
  loop.run_for(20);
  EXPECT_TRUE(ran.empty());
  EXPECT_EQ(loop.pending(), 0u);
  loop.cancel(b);  // finished ids are ignored too
}

TEST(SimEventLoop, ReentrantPumpRunsOtherDueTasksButNotItselfNorLaterOnes) {
  SimEventLoop loop(0);
  std::vector<std::string> ran;
  loop.post([&] {
    ran.push_back("outer-start");
    loop.pump();
    ran.push_back("outer-end");
  });
  loop.post([&] { ran.push_back("inner"); });
  loop.call_after(1, [&] { ran.push_back("later"); });
  loop.pump();
  EXPECT_EQ(ran, (std::vector<std::string>{"outer-start", "inner", "outer-end"}));
  EXPECT_EQ(loop.now(), 0u);
  loop.run_for(1);
  EXPECT_EQ(ran.back(), "later");
}

TEST(SimEventLoop, QuitStopsEverythingAndRunReturnsAtOnce) {
  SimEventLoop loop(0);
  int ran = 0;
  loop.call_after(10, [&] {
    ++ran;
    loop.quit();
  });
  loop.call_after(10, [&] { ++ran; });
  loop.call_after(20, [&] { ++ran; });
  loop.run_for(100);
  EXPECT_EQ(ran, 1);
  EXPECT_TRUE(loop.quitting());
  loop.pump();
  loop.run();
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(loop.pending(), 2u);
}

TEST(SimEventLoop, RunFollowsTimersUntilQuit) {
  SimEventLoop loop(0);
  int ticks = 0;
  std::function<void()> tick = [&] {
    if (++ticks == 3) {
      loop.quit();
      return;
    }
    loop.call_after(500, tick);
  };
  loop.call_after(500, tick);
  loop.run();
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(loop.now(), 1500u);
}

TEST(SimEventLoop, AdvanceBlockedMovesClockWithoutRunning) {
  SimEventLoop loop(0);
  int ran = 0;
  loop.call_after(100, [&] { ++ran; });
  loop.advance_blocked(150);
  EXPECT_EQ(ran, 0);
  EXPECT_EQ(loop.now(), 150u);
  loop.pump();
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(loop.now(), 150u) << "an overdue task must not move the clock back";
}

TEST(SimEventLoop, TickCountWrapsLikeTimeGetTime) {
  SimEventLoop loop(0xFFFF'FFF0u);
  loop.run_for(0x20);
  EXPECT_EQ(loop.tick_count(), 0x10u);
  EXPECT_EQ(loop.now(), 0x1'0000'0010u);
}

TEST(SimEventLoop, NextDueReportsEarliestTask) {
  SimEventLoop loop(0);
  EXPECT_FALSE(loop.next_due().has_value());
  loop.call_after(70, [] {});
  loop.call_after(30, [] {});
  EXPECT_EQ(loop.next_due(), std::optional<std::uint64_t>(30));
}

}  // namespace
}  // namespace vav::sim
