// The recorded desktop: WM_CLOSE is posted, not sent, and the wait screen's Cancel leaves
// closing it to the program.
#include "platform/sim/sim_desktop.h"

#include <gtest/gtest.h>

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
  EXPECT_TRUE(desktop.post_close(spot));
  EXPECT_EQ(closes, 0) << "WM_CLOSE is posted, not sent";
  loop.pump();
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(desktop.post_close(spot));
  EXPECT_EQ(desktop.posted_closes(), std::vector<WindowRef>{spot});
}

TEST(SimDesktop, WaitScreenCancelAndCloseReachProgram) {
  SimEventLoop loop(0);
  SimDesktop desktop(loop);
  int cancels = 0;
  auto view = desktop.show_wait_screen([&] { ++cancels; });
  EXPECT_TRUE(desktop.press_wait_cancel());
  EXPECT_TRUE(desktop.wait_screen_shown()) << "Cancel leaves closing to the program";
  view.reset();
  EXPECT_FALSE(desktop.wait_screen_shown());
  EXPECT_FALSE(desktop.press_wait_cancel());
  auto second = desktop.show_wait_screen([&] { ++cancels; });
  EXPECT_TRUE(desktop.close_wait_screen());
  EXPECT_FALSE(desktop.wait_screen_shown());
  EXPECT_EQ(cancels, 2);
}

}  // namespace
}  // namespace vav::sim
