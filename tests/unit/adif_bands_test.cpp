#include "common/adif_bands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

namespace vav {
namespace {

// ADIF 3.1.4's Band enumeration as the standard prints it: band, lower and upper edge in MHz.
struct Edges {
  const char* band;
  double lower_mhz, upper_mhz;
};

const Edges kAdif314[] = {
    {"2190M", .1357, .1378}, {"630M", .472, .479},    {"560M", .501, .504},
    {"160M", 1.8, 2.0},      {"80M", 3.5, 4.0},       {"60M", 5.06, 5.45},
    {"40M", 7.0, 7.3},       {"30M", 10.1, 10.15},    {"20M", 14.0, 14.35},
    {"17M", 18.068, 18.168}, {"15M", 21.0, 21.45},    {"12M", 24.890, 24.99},
    {"10M", 28.0, 29.7},     {"8M", 40, 45},          {"6M", 50, 54},
    {"5M", 54.000001, 69.9}, {"4M", 70, 71},          {"2M", 144, 148},
    {"1.25M", 222, 225},     {"70CM", 420, 450},      {"33CM", 902, 928},
    {"23CM", 1240, 1300},    {"13CM", 2300, 2450},    {"9CM", 3300, 3500},
    {"6CM", 5650, 5925},     {"3CM", 10000, 10500},   {"1.25CM", 24000, 24250},
    {"6MM", 47000, 47200},   {"4MM", 75500, 81000},   {"2.5MM", 119980, 123000},
    {"2MM", 134000, 149000}, {"1MM", 241000, 250000},
};

std::int64_t hz(double mhz) { return std::llround(mhz * 1e6); }

TEST(AdifBandsTest, BothEdgesOfEveryBandInsideAndJustOutside) {
  ASSERT_EQ(adif_bands().size(), std::size(kAdif314));
  for (const Edges& e : kAdif314) {
    SCOPED_TRACE(e.band);
    EXPECT_EQ(adif_band_of(hz(e.lower_mhz)), e.band);
    EXPECT_EQ(adif_band_of(hz(e.upper_mhz)), e.band);
    EXPECT_EQ(adif_band_of((hz(e.lower_mhz) + hz(e.upper_mhz)) / 2), e.band);
    EXPECT_NE(adif_band_of(hz(e.lower_mhz) - 1), e.band);
    EXPECT_NE(adif_band_of(hz(e.upper_mhz) + 1), e.band);
  }
}

TEST(AdifBandsTest, NoBandBetweenTheBandsOrBeyondThem) {
  for (const std::int64_t f : {0LL, 135'699LL, 137'801LL, 1'799'999LL, 2'000'001LL,
                               150'000'000'000LL, 250'000'000'001LL, 300'000'000'000LL}) {
    EXPECT_EQ(adif_band_of(f), "") << f;
  }
  // 6 m ends at 54 MHz; 5 m starts one hertz above it.
  EXPECT_EQ(adif_band_of(54'000'000), "6M");
  EXPECT_EQ(adif_band_of(54'000'001), "5M");
}

}  // namespace
}  // namespace vav
