#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/message_window.h"
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

TEST_F(WinEventLoopTest, RunsTasksByDueTimeThenSchedulingOrderAndNeverACancelledOne) {
  const Millis start = loop.tick_count();
  Millis c_at = 0;
  loop.call_after(30, [&] {
    ran.push_back("c");
    c_at = loop.tick_count();
  });
  loop.post([&] { ran.push_back("a"); });
  loop.call_after(30, [&] { ran.push_back("d"); });
  loop.call_after(0, [&] { ran.push_back("b"); });
  const auto cancelled = loop.call_after(10, [&] { ran.push_back("cancelled"); });
  loop.cancel(cancelled);
  loop.cancel(cancelled);  // twice: ignored
  loop.cancel(12345);      // unknown: ignored
  loop.call_after(60, [&] { loop.quit(); });
  loop.run();
  EXPECT_EQ(ran, (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_GE(c_at - start, 30u);
  EXPECT_TRUE(loop.quitting());
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

TEST_F(WinEventLoopTest, EscapingErrorIsReportedAndDoesNotStopLaterTasks) {
  std::vector<std::string> reported;
  loop.boundary().set_reporter([&](const RuntimeError& error, std::string_view procedure) {
    reported.push_back(std::string(procedure) + ": " + error.description());
  });
  loop.post([] { throw std::runtime_error("escaped"); });
  loop.post([&] { ran.push_back("next"); });
  ASSERT_TRUE(pump_until(loop, [&] { return !ran.empty(); }));
  EXPECT_EQ(ran, (std::vector<std::string>{"next"}));
  EXPECT_EQ(reported, (std::vector<std::string>{"EventLoop.Task: " +
                                                standard_description(err::kInternalError) +
                                                " (escaped)"}));

  // A window's handler: reported, and the message takes its default course.
  win32::MessageWindow window(
      [](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_APP + 7) throw std::runtime_error("handler fault");
        return std::nullopt;
      },
      loop.boundary());
  EXPECT_EQ(SendMessageA(window.hwnd(), WM_APP + 7, 0, 0), 0);
  EXPECT_EQ(reported.back(), "MessageWindow.WindowProc(message 0x8007): " +
                                standard_description(err::kInternalError) + " (handler fault)");
}

TEST_F(WinEventLoopTest, TheMessageFilterSeesMessagesBeforeTheyAreDispatched) {
  int dispatched = 0, filtered = 0;
  win32::MessageWindow window(
      [&](UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg >= WM_APP + 1 && msg <= WM_APP + 2) ++dispatched;
        return std::nullopt;
      },
      loop.boundary());
  loop.set_message_filter([&](MSG& msg) {
    if (msg.hwnd != window.hwnd() || msg.message != WM_APP + 1) return false;
    ++filtered;
    return true;  // dealt with: never dispatched
  });
  PostMessageA(window.hwnd(), WM_APP + 1, 0, 0);
  PostMessageA(window.hwnd(), WM_APP + 2, 0, 0);
  ASSERT_TRUE(pump_until(loop, [&] { return dispatched == 1; }));
  EXPECT_EQ(filtered, 1);
  loop.set_message_filter(nullptr);
}

}  // namespace
}  // namespace vav::e2e
