#include "app/spot_frequency.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace vav {
namespace {

TEST(SpotFrequencyTest, ReadsEitherDecimalMarkAndEitherGrouping) {
  const std::pair<const char*, std::int64_t> cases[] = {
      {"14070.15", 14'070'150},
      {"14070,15", 14'070'150},
      {" 14070.15 ", 14'070'150},
      {"\t14070,15\t", 14'070'150},
      {"7035.2", 7'035'200},
      {"7035,2", 7'035'200},
      {"14070", 14'070'000},
      {"14,070.15", 14'070'150},
      {"14.070,15", 14'070'150},
      {"1296200.0", 1'296'200'000},
      {"1296200,0", 1'296'200'000},
      {"474.2", 474'200},
      {"136.0", 136'000},
      {"10368100.5", 10'368'100'500},
      // A single mark before exactly three digits groups them where decimals would read
      // below 100 kHz ...
      {"14,070", 14'070'000},
      {"14.070", 14'070'000},
      {"1.296", 1'296'000},
      {"99.999", 99'999'000},
      // ... and is the decimal mark where they would not.
      {"474.200", 474'200},
      {"136,000", 136'000},
      {"1296.200", 1'296'200},
      {"14070.150", 14'070'150},
      // Several groups before the decimal mark.
      {"1,296,200.5", 1'296'200'500},
      {"1.296.200,5", 1'296'200'500},
      {"10.368.100,5", 10'368'100'500},
      // Digits past the hertz round half up.
      {"14070.1504", 14'070'150},
      {"14070.1505", 14'070'151},
      {"14070.15049999", 14'070'150},
      {"14070.", 14'070'000},
      {"0014070", 14'070'000},
      // The ends of the range.
      {"100", 100'000},
      {"100.000", 100'000},
      {"300000000", 300'000'000'000},
      {"300000000.000", 300'000'000'000},
      {"299999999.9999", 300'000'000'000},
  };
  for (const auto& [text, hz] : cases) {
    EXPECT_EQ(read_spot_frequency_hz(text), std::optional<std::int64_t>(hz)) << '"' << text << '"';
  }
}

TEST(SpotFrequencyTest, RefusesWhatIsNoFrequencyInRange) {
  const char* refused[] = {"",
                           "   ",
                           "abc",
                           "-14070",
                           "+14070",
                           "0",
                           "0.0",
                           "14070.15.3",
                           "14,070,15",
                           "14.070.15",
                           "14,070.15.3",
                           "14.070,15,3",
                           "14,07.15",
                           "1,2960,200.5",
                           ",070.15",
                           ".",
                           ",",
                           ".5",
                           "14 070",
                           "14070 kHz",
                           "1e4",
                           "14070.15e0",
                           "0x3700",
                           "99.9",
                           "99,9999",
                           "99",
                           "0.136",
                           "300000000.001",
                           "300000001",
                           "1000000000000000000000",
                           "14O70",
                           "14070\xa0",
                           "\xa0"
                           "14070"};
  for (const char* text : refused) {
    EXPECT_EQ(read_spot_frequency_hz(text), std::nullopt) << '"' << text << '"';
  }
}

}  // namespace
}  // namespace vav
