// The window's fixed size, its stored position and "Always on Top".
#include <string>

#include "platform/twips.h"
#include "station_fixture.h"

namespace vav::testing {
namespace {

class PlacementTest : public StationTest {
 protected:
  void SetUp() override { station.mixw().start(); }
};

TEST_F(PlacementTest, StoredNumbersAreReadFromTheStartOfTheTextAndAMissingOneIsLeftAlone) {
  const struct {
    const char* top;
    int expected;
  } cases[] = {{"Top=0", 0},       {"Top=1200.4", 1200}, {"Top=450twips", 450}, {"Top=abc", 0},
               {"Top=-300", -300}, {"Bottom=5", 999}};  // no Top: the window stays where it is
  for (const auto& c : cases) {
    SCOPED_TRACE(c.top);
    if (app) app->Close();  // the close stores the position; the new file comes after
    app.reset();
    write_settings({c.top, "Left=15"});
    frame.set_top(999);
    start_program();
    EXPECT_EQ(frame.top(), c.expected);
    EXPECT_EQ(frame.left(), 15);
  }
}

TEST_F(PlacementTest, TheSizeFollowsTheScreensPixelsPerInch) {
  const struct {
    int dpi;
    int height;
  } cases[] = {{96, 5595}, {120, 5682}, {144, 5682}, {192, 5682}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dpi);
    set_screen_dpi(c.dpi);
    restart_program();
    // The start-up size comes through the resize rule, and so does a drag of the border.
    EXPECT_EQ(frame.height(), c.height);
    EXPECT_EQ(frame.width(), 4815);
    frame.end_resize(6000, 7000);
    EXPECT_EQ(frame.height(), c.height);
    EXPECT_EQ(frame.width(), 4815);
  }
}

TEST_F(PlacementTest, EveryResizeStoresThePosition) {
  start_program();
  frame.set_left(900);
  frame.set_top(450);
  frame.end_resize(5000, 5000);
  EXPECT_EQ(setting("Top"), "450");
  EXPECT_EQ(setting("Left"), "900");
  EXPECT_EQ(setting("WindowState"), "0");
  EXPECT_EQ(frame.height(), 5595);
}

TEST_F(PlacementTest, ClosingWhileMinimizedKeepsTheEarlierPosition) {
  start_program();
  frame.end_move(3000, 1500);
  frame.press_minimize_button();
  ASSERT_EQ(frame.state(), WindowState::minimized);
  frame.set_left(-32000);
  frame.set_top(-32000);
  app->Close();
  EXPECT_EQ(setting("Left"), "3000");
  EXPECT_EQ(setting("Top"), "1500");
  EXPECT_EQ(setting("WindowState"), "0");
}

TEST_F(PlacementTest, TheStoredWindowStateIsRestoredAndAnImpossibleOneIgnored) {
  write_settings({"WindowState=7", "Top=60"});
  start_program();
  EXPECT_EQ(frame.state(), WindowState::normal);
  EXPECT_EQ(frame.top(), 60);
  EXPECT_EQ(app->run_end(), RunEnd::running);
  app->Close();
  write_settings({"WindowState=2"});
  start_program();
  EXPECT_EQ(frame.state(), WindowState::maximized);
  EXPECT_EQ(setting("WindowState"), "2");
  EXPECT_EQ(app->run_end(), RunEnd::running);
}

TEST_F(PlacementTest, AlwaysOnTopConvertsAtTheScreensResolutionAndLeavesTheWindowInPlace) {
  const struct {
    int dpi;
    sim::TopmostCall call;
  } cases[] = {{96, {true, 100, 20, 321, 373}},
               {120, {true, 125, 25, 401, 474}},  // 473.5 pixels high: rounded, not cut
               {144, {true, 150, 30, 482, 568}},
               {192, {true, 200, 40, 642, 758}}};
  for (auto c : cases) {
    SCOPED_TRACE(c.dpi);
    if (app) app->Close();
    write_settings({"Top=300", "Left=1500"});
    set_screen_dpi(c.dpi);
    start_program();
    const int resizes = frame.resize_events();
    app->setup.Check10.set_checked(true);
    EXPECT_EQ(frame.topmost_calls().back(), c.call);
    EXPECT_EQ(frame.resize_events(), resizes);
    EXPECT_EQ(frame.left(), 1500);
    EXPECT_EQ(frame.top(), 300);
    EXPECT_TRUE(app->setup.settings.AlwaysOnTop);
    EXPECT_EQ(setting("AlwaysOnTop"), "True");
    app->setup.Check10.set_checked(false);
    c.call.on_top = false;
    EXPECT_EQ(frame.topmost_calls().back(), c.call);
    EXPECT_EQ(setting("AlwaysOnTop"), "False");
    const auto calls = frame.topmost_calls().size();
    app->setup.Check10.set_value(CheckValue::grayed);  // grayed does nothing
    EXPECT_EQ(frame.topmost_calls().size(), calls);
  }
}

TEST_F(PlacementTest, WithoutAlwaysOnTopTheWindowIsMadeNotTopmostAtStartUp) {
  start_program();
  ASSERT_FALSE(frame.topmost_calls().empty());
  EXPECT_FALSE(frame.topmost_calls().back().on_top);
  EXPECT_FALSE(app->setup.Check10.checked());
}

// At every resolution the window opens where it was left, "Always on Top" or not, and a start
// and close without a move leaves the stored position as it was. The stored twips mean the
// same place at every resolution.
TEST_F(PlacementTest, AStartAndCloseKeepsTheStoredPositionAtEveryResolution) {
  for (const int dpi : {96, 120, 144, 192}) {
    for (const char* on_top : {"False", "True"}) {
      SCOPED_TRACE(std::to_string(dpi) + " dpi, AlwaysOnTop=" + on_top);
      if (app) app->Close();
      write_settings(
          {"Top=1234", "Left=2345", "WindowState=0", std::string("AlwaysOnTop=") + on_top});
      for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        // Each run makes a new window at the top left corner of the screen.
        set_screen_dpi(dpi);
        frame.set_left(0);
        frame.set_top(0);
        restart_program();
        EXPECT_EQ(frame.pixel_left(), twips_to_pixels(2345, dpi));
        EXPECT_EQ(frame.pixel_top(), twips_to_pixels(1234, dpi));
        app->Close();
        EXPECT_EQ(setting("Top"), "1234");
        EXPECT_EQ(setting("Left"), "2345");
        EXPECT_EQ(setting("AlwaysOnTop"), on_top);
      }
    }
  }
}

TEST_F(PlacementTest, ClosingWhileWaitingForMixWKeepsTheStoredPosition) {
  station.mixw().vanish();
  write_settings({"Top=1234", "Left=2345", "WindowState=0"});
  set_screen_dpi(120);
  start_program();
  ASSERT_TRUE(desktop.wait_screen_shown());
  app->Close();
  EXPECT_EQ(setting("Top"), "1234");
  EXPECT_EQ(setting("Left"), "2345");
}

}  // namespace
}  // namespace vav::testing
