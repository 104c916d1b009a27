#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/win_event_loop.h"
#include "test_support.h"

namespace vav::e2e {
namespace {

using win32::WinEventLoop;

class WinEventLoopTest : public ::testing::Test {
 protected:
  void TearDown() override { drain_quit(); }
  WinEventLoop loop;
  std::vector<std::string> ran;
};

TEST_F(WinEventLoopTest, RunsTasksByDueTimeThenSchedulingOrder) {
  const Millis start = loop.tick_count();
  Millis c_at = 0;
  loop.call_after(30, [&] {
    ran.push_back("c");
    c_at = loop.tick_count();
  });
  loop.post([&] { ran.push_back("a"); });
  loop.call_after(30, [&] { ran.push_back("d"); });
  loop.call_after(0, [&] { ran.push_back("b"); });
  loop.call_after(60, [&] { loop.quit(); });
  loop.run();
  EXPECT_EQ(ran, (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_GE(c_at - start, 30u);
  EXPECT_TRUE(loop.quitting());
}

TEST_F(WinEventLoopTest, CancelledTaskNeverRuns) {
  auto id = loop.call_after(10, [&] { ran.push_back("cancelled"); });
  loop.call_after(40, [&] { ran.push_back("kept"); });
  loop.cancel(id);
  loop.cancel(id);     // twice: ignored
  loop.cancel(12345);  // unknown: ignored
  ASSERT_TRUE(pump_until(loop, [&] { return !ran.empty(); }));
  EXPECT_EQ(ran, (std::vector<std::string>{"kept"}));
}

TEST_F(WinEventLoopTest, PumpInsideTaskRunsWhatIsDueBeforeReturning) {
  loop.post([&] {
    loop.post([&] { ran.push_back("inner 1"); });
    loop.post([&] { ran.push_back("inner 2"); });
    loop.pump();
    ran.push_back("after pump");
  });
  ASSERT_TRUE(pump_until(loop, [&] { return ran.size() == 3; }));
  EXPECT_EQ(ran, (std::vector<std::string>{"inner 1", "inner 2", "after pump"}));
}

TEST_F(WinEventLoopTest, AfterQuitNothingRunsAndRunReturnsAtOnce) {
  loop.post([&] { ran.push_back("late"); });
  loop.quit();
  loop.pump();
  loop.run();
  EXPECT_TRUE(loop.quitting());
  EXPECT_TRUE(ran.empty());
}

TEST_F(WinEventLoopTest, EscapingErrorDoesNotStopLaterTasks) {
  loop.post([] { throw std::runtime_error("escaped"); });
  loop.post([&] { ran.push_back("next"); });
  ASSERT_TRUE(pump_until(loop, [&] { return !ran.empty(); }));
  EXPECT_EQ(ran, (std::vector<std::string>{"next"}));
}

}  // namespace
}  // namespace vav::e2e
