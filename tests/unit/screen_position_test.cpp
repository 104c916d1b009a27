// Positions in twips on a desktop of monitors with their own resolutions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/screen_position.h"

namespace vav::testing {
namespace {

// A 96-dpi primary, a 144-dpi monitor to its right, a 120-dpi one above the primary and a
// 192-dpi one to its left, lower down.
const std::vector<Monitor> kDesk = {{0, 0, 1920, 1080, 96},
                                    {1920, 0, 2560, 1440, 144},
                                    {0, -1200, 1600, 1200, 120},
                                    {-3840, 500, 3840, 2160, 192}};

TEST(ScreenPositionTest, APointGoesToTheMonitorHoldingItElseTheNearest) {
  const struct {
    PixelPoint p;
    int expected;
  } cases[] = {{{0, 0}, 0},       {{1919, 1079}, 0},  {{1920, 0}, 1},    {{4479, 1439}, 1},
               {{100, -1}, 2},    {{-1, 500}, 3},     {{-1, 499}, 0},    {{5000, 100}, 1},
               {{800, -5000}, 2}, {{-9000, 9000}, 3}, {{1950, 1500}, 1}, {{1800, 1100}, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.p.x) + ", " + std::to_string(c.p.y));
    EXPECT_EQ(&monitor_at(kDesk, c.p), &kDesk[static_cast<std::size_t>(c.expected)]);
  }
}

TEST(ScreenPositionTest, OnThePrimaryTwipsAreThePlainConversionAtItsResolution) {
  for (const int dpi : {96, 120, 144, 192}) {
    const std::vector<Monitor> one = {{0, 0, 1920, 1080, dpi}};
    for (const int x : {-700, -1, 0, 1, 103, 1919, 2500}) {
      EXPECT_EQ(to_twips(one, {x, x}),
                (TwipsPoint{pixels_to_twips(x, dpi), pixels_to_twips(x, dpi)}));
      EXPECT_EQ(to_pixels(one, {x * 15, 0}).x, twips_to_pixels(x * 15, dpi));
    }
  }
}

// Every pixel of every monitor, and some beside them, comes back from its twips, and no two
// pixels share a position in twips.
TEST(ScreenPositionTest, EveryPixelComesBackFromItsTwips) {
  const struct {
    const char* line;
    PixelPoint from;
    PixelPoint step;
    int count;
  } lines[] = {{"across the primary and the right one", {-10, 700}, {1, 0}, 4500},
               {"across the left one, the primary and the right one", {-3900, 1000}, {1, 0}, 8400},
               {"down the top one and the primary", {900, -1250}, {0, 1}, 2400},
               {"down the left one", {-2000, 400}, {0, 1}, 2300}};
  for (const auto& line : lines) {
    SCOPED_TRACE(line.line);
    TwipsPoint previous{};
    for (int i = 0; i < line.count; ++i) {
      const PixelPoint p{line.from.x + i * line.step.x, line.from.y + i * line.step.y};
      const TwipsPoint t = to_twips(kDesk, p);
      ASSERT_EQ(to_pixels(kDesk, t), p) << p.x << ", " << p.y;
      if (i > 0) {
        ASSERT_TRUE(line.step.x ? t.x > previous.x : t.y > previous.y) << p.x << ", " << p.y;
      }
      previous = t;
    }
  }
}

TEST(ScreenPositionTest, APositionSetReadsBackAsSetUntilTheWindowMoves) {
  TwipsPosition position;
  // 20000 twips at 144 dpi on the right monitor: 28800 + 20000 is not a whole pixel.
  const TwipsPoint set{28800 + 1234, 1234};
  const PixelPoint at = position.set(set, kDesk);
  EXPECT_EQ(at, (PixelPoint{1920 + 123, 123}));
  EXPECT_EQ(position.twips(at, kDesk), set);
  EXPECT_EQ(position.twips({at.x + 1, at.y}, kDesk), (TwipsPoint{28800 + 1240, 1230}));
  // The same pixels on a desk whose monitor there has another resolution.
  std::vector<Monitor> changed = kDesk;
  changed[1].dpi = 120;
  EXPECT_EQ(position.twips(at, changed), (TwipsPoint{28800 + 1476, 1476}));
}

}  // namespace
}  // namespace vav::testing
