#include "platform/sim/sim_desktop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vav::sim {
namespace {

TEST(SimDesktop, CloseRequestRunsThroughLoopWhileWindowExists) {
  SimEventLoop loop(0);
  SimDesktop desktop(loop);
  int closes = 0;
  WindowRef spot = 0;
  spot = desktop.add_window("SpotCollector", [&] {
    ++closes;
    desktop.remove_window(spot);
  });
  ASSERT_EQ(desktop.find_window("spotcollector"), spot);
  EXPECT_FALSE(desktop.find_window("Spot").has_value());
  EXPECT_TRUE(desktop.post_close(spot));
  EXPECT_EQ(closes, 0) << "WM_CLOSE is posted, not sent";
  loop.pump();
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(desktop.is_window(spot));
  EXPECT_FALSE(desktop.post_close(spot));
  EXPECT_EQ(desktop.posted_closes(), std::vector<WindowRef>{spot});
}

TEST(SimDesktop, MessageBoxesAreRecordedAndMayRunEvents) {
  SimEventLoop loop(0);
  SimDesktop desktop(loop);
  int ticks = 0;
  loop.call_after(100, [&] { ++ticks; });
  desktop.set_on_message_box([&](const MessageBoxShown&) { loop.run_for(100); });
  desktop.message_box("MixW2 IS NOT LOADED\rBecause of this I must close down", "Vavizorur");
  EXPECT_EQ(ticks, 1);
  ASSERT_EQ(desktop.message_boxes().size(), 1u);
  EXPECT_EQ(desktop.message_boxes()[0].title, "Vavizorur");
}

TEST(SimDesktop, WaitScreenCancelAndCloseReachProgram) {
  SimEventLoop loop(0);
  SimDesktop desktop(loop);
  EXPECT_FALSE(desktop.press_wait_cancel());
  int cancels = 0;
  auto view = desktop.show_wait_screen([&] { ++cancels; });
  EXPECT_TRUE(desktop.wait_screen_shown());
  EXPECT_TRUE(desktop.press_wait_cancel());
  EXPECT_TRUE(desktop.wait_screen_shown()) << "Cancel leaves closing to the program";
  view.reset();
  EXPECT_FALSE(desktop.wait_screen_shown());
  auto second = desktop.show_wait_screen([&] { ++cancels; });
  EXPECT_TRUE(desktop.close_wait_screen());
  EXPECT_FALSE(desktop.wait_screen_shown());
  EXPECT_EQ(cancels, 2);
  EXPECT_EQ(desktop.wait_screens_shown(), 2);
}

TEST(SimWindowFrame, ResizeHandlerRunsOnChangesOnlyAndMayResizeAgain) {
  SimWindowFrame frame;
  std::vector<std::string> seen;
  frame.set_resize_handler([&] {
    seen.push_back(std::to_string(frame.height()) + "x" + std::to_string(frame.width()));
    if (frame.state() == WindowState::minimized) return;
    frame.set_height(5682);
    frame.set_width(4815);
  });
  frame.set_height(5652);
  EXPECT_EQ(seen, (std::vector<std::string>{"5652x4815", "5682x4815"}));
  frame.set_width(4815);
  frame.set_left(1500);
  EXPECT_EQ(seen.size(), 2u) << "same size and moves raise no resize";
  frame.set_state(WindowState::maximized);
  EXPECT_EQ(seen.size(), 3u);
}

TEST(SimWindowFrame, HookSeesMinimizePressBeforeMinimizeAndMoveEnd) {
  SimWindowFrame frame;
  std::vector<std::string> events;
  frame.set_resize_handler([&] { events.push_back("resize"); });
  frame.install_hook({[&] { events.push_back("minimize-button"); },
                      [&] { events.push_back("move-end " + std::to_string(frame.left())); }});
  frame.end_move(1500, 300);
  frame.press_minimize_button();
  frame.remove_hook();
  frame.end_move(10, 10);
  EXPECT_EQ(events, (std::vector<std::string>{"move-end 1500", "minimize-button", "resize"}));
  EXPECT_EQ(frame.state(), WindowState::minimized);
  EXPECT_FALSE(frame.hook_installed());
  frame.set_topmost(true, 100, 20, 321, 379);
  EXPECT_EQ(frame.topmost_calls(), (std::vector<TopmostCall>{{true, 100, 20, 321, 379}}));
}

}  // namespace
}  // namespace vav::sim
