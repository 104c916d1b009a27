#include "common/neighbour_number.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "app/frequency_text.h"

namespace vav {
namespace {

using Hz = std::optional<std::int64_t>;

TEST(NeighbourNumberTest, ReadingsByShape) {
  const std::pair<const char*, std::vector<NumberReading>> cases[] = {
      {"14070", {{"14070", ""}}},
      {"14070.15", {{"14070", "15"}}},
      {"14070,", {{"14070", ""}}},
      {"14,070", {{"14070", ""}, {"14", "070"}}},
      {"14.070", {{"14070", ""}, {"14", "070"}}},
      {"14 070", {{"14070", ""}}},
      {"14\xa0"
       "070,15",
       {{"14070", "15"}}},
      {"14'070.15", {{"14070", "15"}}},
      {"14 070,15", {{"14070", "15"}}},
      {"1.296.200,5", {{"1296200", "5"}}},
      {"1,296,200", {{"1296200", ""}}},
      {"0,136", {{"0", "136"}}},
      {"14,07015", {{"14", "07015"}}},
      {"14,070,15", {}},
      {"14'070'15", {}},
      {"14 070 15", {}},
      {"14,070 150", {}},
      {"14.070.15", {}},
      {"14,07.15", {}},
      {"14  070", {}},
      {"14'070'150,5.5", {}},
      {"14070'", {}},
      {",5", {}},
      {"-5", {}},
  };
  for (const auto& [text, readings] : cases) {
    EXPECT_EQ(number_readings(text), readings) << '"' << text << '"';
  }
}

TEST(NeighbourNumberTest, FrequencyInKhz) {
  const std::pair<const char*, std::int64_t> cases[] = {
      {"14070.15", 14'070'150},
      {"14070,15", 14'070'150},
      {" 14070.15 ", 14'070'150},
      {"\t14070,15\t", 14'070'150},
      {"7035,2", 7'035'200},
      {"14070", 14'070'000},
      {"14,070.15", 14'070'150},
      {"14.070,15", 14'070'150},
      {"14 070,15", 14'070'150},
      {"14\xa0"
       "070,15",
       14'070'150},
      {"14'070.15", 14'070'150},
      {"1296200,0", 1'296'200'000},
      {"474.2", 474'200},
      {"10368100.5", 10'368'100'500},
      // Two readings: the one below 100 kHz, or the one outside every band, gives way.
      {"14,070", 14'070'000},
      {"14.070", 14'070'000},
      {"99.999", 99'999'000},
      {"474.200", 474'200},
      {"136,000", 136'000},
      {"144.300", 144'300'000},
      {"1296.200", 1'296'200},
      {"7.035", 7'035'000},
      // Groups of one kind, the decimal mark the other or none.
      {"1,296,200.5", 1'296'200'500},
      {"10.368.100,5", 10'368'100'500},
      {"1'296'200", 1'296'200'000},
      // Digits past the hertz round half up.
      {"14070.1504", 14'070'150},
      {"14070.1505", 14'070'151},
      {"14070.", 14'070'000},
      {"0014070", 14'070'000},
      // The ends of the range.
      {"100", 100'000},
      {"300000000", 300'000'000'000},
      {"299999999.9999", 300'000'000'000},
  };
  for (const auto& [text, hz] : cases) {
    EXPECT_EQ(read_frequency_hz(text, FrequencyUnit::kilohertz), Hz(hz)) << '"' << text << '"';
  }
}

TEST(NeighbourNumberTest, FrequencyInHertz) {
  const std::pair<const char*, Hz> cases[] = {
      {"14070000", 14'070'000},   {"14,070,000", 14'070'000},     {"14 070 000", 14'070'000},
      {"14070000.4", 14'070'000}, {"14070000,5", 14'070'001},     {"472000", 472'000},
      {"99999", std::nullopt},    {"300000000001", std::nullopt},
  };
  for (const auto& [text, hz] : cases) {
    EXPECT_EQ(read_frequency_hz(text, FrequencyUnit::hertz), hz) << '"' << text << '"';
  }
}

TEST(NeighbourNumberTest, RefusesWhatIsNoFrequencyOrReadsTwoWays) {
  const char* refused[] = {"", "   ", "abc", "-14070", "+14070", "0", "0.0", "14070.15.3",
                           "14,070,15", "14.070.15", "14,07.15", ",070.15", ".", ".5", "14070 kHz",
                           "1e4", "0x3700", "99.9", "99", "0.136", "300000000.001", "300000001",
                           "1000000000000000000000", "14O70", "14070\xa0", "--.---",
                           // both readings in range and neither, or both, in a band
                           "200.000", "250,000"};
  for (const char* text : refused) {
    EXPECT_EQ(read_frequency_hz(text, FrequencyUnit::kilohertz), std::nullopt)
        << '"' << text << '"';
  }
}

// The number formats of the users the program runs for.
const std::pair<const char*, Separators> kUserFormats[] = {
    {"en-US", {',', '.'}},    {"de-DE", {'.', ','}}, {"fr-FR", {'\xa0', ','}},
    {"ru-RU", {'\xa0', ','}}, {"sv-SE", {' ', ','}}, {"de-CH", {'\'', '.'}},
    {"ja-JP", {',', '.'}},
};

TEST(NeighbourNumberTest, TheFormsWrittenUnderEveryUserFormatReadBack) {
  for (const auto& [name, seps] : kUserFormats) {
    SCOPED_TRACE(name);
    for (const std::int64_t hz : {14'070'150LL, 7'035'000LL, 144'300'000LL, 1'296'200'000LL}) {
      const std::string digits = std::to_string(hz);
      EXPECT_EQ(read_frequency_hz(*khz_form(digits, seps), FrequencyUnit::kilohertz), hz);
      // Commander's display in the same format, to the ten hertz.
      EXPECT_EQ(read_frequency_hz(*khz_two_decimals(digits, seps), FrequencyUnit::kilohertz),
                hz / 10 * 10);
    }
  }
}

TEST(NeighbourNumberTest, PlainNumberHasOneReading) {
  const std::pair<const char*, std::optional<double>> cases[] = {
      {"1500", 1500.0},        {"1500.5", 1500.5}, {"1500,5", 1500.5},      {"1 500", 1500.0},
      {"1,500", std::nullopt}, {"", std::nullopt}, {"-1500", std::nullopt},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(read_plain_number(text), value) << text;
}

}  // namespace
}  // namespace vav
