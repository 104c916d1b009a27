// The virtual-time loop every scenario runs on: due order, re-entrant pumps, cancel, quit,
// a blocked call moving the clock, and the 32-bit tick count.
#include "platform/sim/sim_event_loop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vav::sim {
namespace {

TEST(SimEventLoop, RunsByDueTimeThenPostingOrderAtTheirVirtualTime) {
  SimEventLoop loop(0);
  std::vector<std::string> ran;
  const std::pair<Millis, const char*> tasks[] = {{30, "late"}, {10, "a"},      {0, "now"},
                                                  {10, "b"},    {1000, "edge"}, {1001, "out"}};
  for (const auto& [delay, name] : tasks) {
    loop.call_after(delay, [&ran, &loop, delay, name] {
      ran.push_back(name);
      EXPECT_EQ(loop.now(), delay) << name;
    });
  }
  loop.run_for(1000);
  EXPECT_EQ(ran, (std::vector<std::string>{"now", "a", "b", "late", "edge"}));
  EXPECT_EQ(loop.now(), 1000u);
}

TEST(SimEventLoop, ReentrantPumpRunsOtherDueTasksButNotItselfNorLaterOnes) {
  SimEventLoop loop(0);
  std::vector<std::string> ran;
  loop.post([&] {
    ran.push_back("outer-start");
    loop.post([&] { ran.push_back("posted-by-outer"); });
    loop.pump();
    ran.push_back("outer-end");
  });
  loop.post([&] { ran.push_back("inner"); });
  loop.call_after(1, [&] { ran.push_back("later"); });
  loop.pump();
  EXPECT_EQ(ran,
            (std::vector<std::string>{"outer-start", "inner", "posted-by-outer", "outer-end"}));
  EXPECT_EQ(loop.now(), 0u);
  loop.run_for(1);
  EXPECT_EQ(ran.back(), "later");
}

TEST(SimEventLoop, CancelQuitAndABlockedCall) {
  SimEventLoop loop(0);
  int ran = 0;
  const auto cancelled = loop.call_after(10, [&] { ran += 100; });
  loop.cancel(cancelled);
  loop.cancel(12345);  // never existed
  loop.call_after(100, [&] { ++ran; });
  loop.advance_blocked(150);  // a hung transaction: the clock moves, nothing runs
  EXPECT_EQ(ran, 0);
  loop.pump();
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(loop.now(), 150u) << "an overdue task must not move the clock back";
  loop.call_after(10, [&] {
    ++ran;
    loop.quit();
  });
  loop.call_after(10, [&] { ++ran; });
  loop.run_for(100);
  EXPECT_EQ(ran, 2);
  EXPECT_TRUE(loop.quitting());
  loop.run();
  EXPECT_EQ(ran, 2);
  EXPECT_EQ(loop.pending(), 1u);
}

TEST(SimEventLoop, TickCountWrapsLikeTimeGetTime) {
  SimEventLoop loop(0xFFFF'FFF0u);
  loop.run_for(0x20);
  EXPECT_EQ(loop.tick_count(), 0x10u);
  EXPECT_EQ(loop.now(), 0x1'0000'0010u);
}

}  // namespace
}  // namespace vav::sim
