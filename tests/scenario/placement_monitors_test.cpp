// The stored position on a desktop of two monitors with different resolutions.
#include <string>
#include <vector>

#include "platform/screen_position.h"
#include "platform/twips.h"
#include "station_fixture.h"

namespace vav::testing {
namespace {

constexpr int kPrimaryWidth = 1920;

struct Desk {
  int primary_dpi, second_dpi;
};

// The primary at 0, 0, 1920 x 1080 pixels; the second of 1920 x 1080 to its right.
std::vector<Monitor> side_by_side(Desk desk) {
  return {{0, 0, kPrimaryWidth, 1080, desk.primary_dpi},
          {kPrimaryWidth, 0, 1920, 1080, desk.second_dpi}};
}

class PlacementOnTwoMonitorsTest : public StationTest {
 protected:
  void SetUp() override { station.mixw().start(); }

  void use_desk(Desk desk) {
    desktop.set_monitors(side_by_side(desk));
    frame.make_anew({0, 0}, frame.width(), frame.height());
  }
  // The program ends and a new run makes its window at the primary's top left corner, as
  // Windows does, before the program puts it back.
  void close_and_start_again() {
    app->Close();
    app.reset();
    frame.make_anew({0, 0}, 4815, 5595);
    start_program();
  }
  int height_twips() { return desktop.screen_logical_dpi() == 96 ? 5595 : 5682; }
};

// The window left on the second monitor opens there again at the same pixels, at that
// monitor's size, and a run without a move stores the same numbers.
TEST_F(PlacementOnTwoMonitorsTest, TheWindowOpensAgainOnTheMonitorItWasLeftOn) {
  const struct {
    Desk desk;
    PixelPoint at;
  } cases[] = {
      {{96, 144}, {2400, 300}},  // 24000 twips at 144 dpi, which is also x = 1600 at 96
      {{96, 144}, {kPrimaryWidth, 0}}, {{96, 144}, {3000, 901}}, {{144, 96}, {2400, 300}},
      {{144, 96}, {3779, 1001}},       {{120, 144}, {1921, 17}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.desk.primary_dpi) + " and " + std::to_string(c.desk.second_dpi) +
                 " dpi, x " + std::to_string(c.at.x) + ", y " + std::to_string(c.at.y));
    if (app) app->Close();
    app.reset();
    use_desk(c.desk);
    write_settings({"Top=0", "Left=0", "WindowState=0"});
    start_program();
    frame.drag_to(c.at.x, c.at.y);
    ASSERT_EQ(frame.dpi(), c.desk.second_dpi);
    const std::string left = setting("Left"), top = setting("Top");

    for (int run = 1; run <= 2; ++run) {
      SCOPED_TRACE(run);
      close_and_start_again();
      EXPECT_EQ(frame.pixel_left(), c.at.x);
      EXPECT_EQ(frame.pixel_top(), c.at.y);
      EXPECT_EQ(frame.dpi(), c.desk.second_dpi);
      EXPECT_EQ(frame.pixel_width(), twips_to_pixels(4815, c.desk.second_dpi));
      EXPECT_EQ(frame.pixel_height(), twips_to_pixels(height_twips(), c.desk.second_dpi));
      app->Close();
      EXPECT_EQ(setting("Left"), left);
      EXPECT_EQ(setting("Top"), top);
    }
  }
}

// A place on the primary and one on the second monitor that the plain conversion at each
// monitor's resolution would store alike (x = 1600 at 96 dpi and x = 2400 at 144 dpi are
// both 24000 twips) are stored apart and each comes back where it was.
TEST_F(PlacementOnTwoMonitorsTest, PlacesOnTheTwoMonitorsAreStoredApart) {
  use_desk({96, 144});
  write_settings({"Top=0", "Left=0"});
  start_program();
  frame.drag_to(1600, 200);
  EXPECT_EQ(setting("Left"), "24000");  // on the primary: plain 96-dpi twips, as ever
  EXPECT_EQ(setting("Top"), "3000");
  close_and_start_again();
  EXPECT_EQ(frame.pixel_left(), 1600);
  EXPECT_EQ(frame.dpi(), 96);

  frame.drag_to(2400, 200);
  // The second monitor begins at 1920 pixels of 15 twips; 480 pixels on it at 144 dpi.
  EXPECT_EQ(setting("Left"), std::to_string(1920 * 15 + 480 * 10));
  EXPECT_EQ(setting("Top"), "2000");
  close_and_start_again();
  EXPECT_EQ(frame.pixel_left(), 2400);
  EXPECT_EQ(frame.pixel_top(), 200);
  EXPECT_EQ(frame.dpi(), 144);
}

// Dragged to a monitor of another resolution, the window takes its size there at once and
// the place it was dropped at is stored.
TEST_F(PlacementOnTwoMonitorsTest, MovedToAMonitorOfAnotherResolutionTheWindowIsSizedForIt) {
  use_desk({96, 144});
  write_settings({"Top=300", "Left=1500"});
  start_program();
  const int resizes = frame.resize_events();
  frame.drag_to(2220, 150);
  EXPECT_GT(frame.resize_events(), resizes);
  EXPECT_EQ(frame.dpi(), 144);
  EXPECT_EQ(frame.pixel_width(), twips_to_pixels(4815, 144));
  EXPECT_EQ(frame.pixel_height(), twips_to_pixels(5595, 144));  // the desktop's is still 96
  EXPECT_EQ(setting("Left"), std::to_string(1920 * 15 + 300 * 10));
  EXPECT_EQ(setting("Top"), "1500");
}

TEST_F(PlacementOnTwoMonitorsTest, AlwaysOnTopOnTheSecondMonitorLeavesTheWindowInPlace) {
  use_desk({96, 144});
  write_settings({"Top=0", "Left=0"});
  start_program();
  frame.drag_to(2400, 300);
  const int resizes = frame.resize_events();
  app->setup.Check10.set_checked(true);
  EXPECT_EQ(
      frame.topmost_calls().back(),
      (sim::TopmostCall{true, 2400, 300, twips_to_pixels(4815, 144), twips_to_pixels(5595, 144)}));
  EXPECT_EQ(frame.resize_events(), resizes);
  EXPECT_EQ(frame.pixel_left(), 2400);
}

// Four monitors in two rows, the primary at 96 dpi and the others at 144. The window is
// made on the primary; putting back the stored top first takes it to the monitor below
// (another resolution, so a resize), then the stored left to the one beside that (the same
// resolution, no resize). What that first resize would store is not the operator's place.
TEST_F(PlacementOnTwoMonitorsTest, TheRestoreStoresNoHalfRestoredPlace) {
  desktop.set_monitors({{0, 0, 1920, 1080, 96},
                        {1920, 0, 1920, 1080, 144},
                        {0, 1080, 1920, 1080, 144},
                        {1920, 1080, 1920, 1080, 144}});
  frame.make_anew({0, 0}, 4815, 5595);
  // x 2400 and y 1500 on the lower right monitor.
  const std::string left = std::to_string(1920 * 15 + 480 * 10);
  const std::string top = std::to_string(1080 * 15 + 420 * 10);
  write_settings({"Top=" + top, "Left=" + left, "WindowState=0"});
  start_program();
  EXPECT_EQ(frame.pixel_left(), 2400);
  EXPECT_EQ(frame.pixel_top(), 1500);
  EXPECT_EQ(setting("Left"), left);
  EXPECT_EQ(setting("Top"), top);
  app->Close();
  EXPECT_EQ(setting("Left"), left);
  EXPECT_EQ(setting("Top"), top);
}

}  // namespace
}  // namespace vav::testing
