#include "app/frequency_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "errors/runtime_error.h"

namespace vav {
namespace {

constexpr Separators kUs{',', '.'};
constexpr Separators kGerman{'.', ','};

struct FormCase {
  const char* digits;
  Separators separators;
  std::optional<std::string> khz;
  std::optional<std::string> mhz;
};

TEST(FrequencyTextTest, KhzAndMhzFormsOfWholeHzDigits) {
  const FormCase cases[] = {
      {"14070150", kUs, "14,070.150", "14.070150"},
      {"7035000", kUs, "7,035.000", "7.035000"},
      {"144300000", kUs, "144,300.000", "144.300000"},
      {"14070150", kGerman, "14.070,150", "14,070150"},
      {"1800000", kGerman, "1.800,000", "1,800000"},
      {"0472700", kUs, "0,472.700", "0.472700"},  // seven digits, whatever they are
      // Below 1 MHz and above 999 MHz, up to 300 GHz.
      {"472700", kUs, "472.700", "0.472700"},
      {"136000", kGerman, "136,000", "0,136000"},
      {"1296200000", kUs, "1,296,200.000", "1296.200000"},
      {"10368100500", kGerman, "10.368.100,500", "10368,100500"},
      {"300000000000", kUs, "300,000,000.000", "300000.000000"},
      // Anything else leaves the target as it was.
      {"99999", kUs, std::nullopt, std::nullopt},
      {"047270", kUs, std::nullopt, std::nullopt},
      {"0296200000", kUs, std::nullopt, std::nullopt},
      {"300000000001", kUs, std::nullopt, std::nullopt},
      {"1000000000000", kUs, std::nullopt, std::nullopt},
      {"", kUs, std::nullopt, std::nullopt},
      {"1407015a", kUs, std::nullopt, std::nullopt},
      {"-7035000", kUs, std::nullopt, std::nullopt},
      {" 7035000", kUs, std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.digits);
    EXPECT_EQ(khz_form(c.digits, c.separators), c.khz);
    EXPECT_EQ(mhz_form(c.digits, c.separators), c.mhz);
  }
}

TEST(FrequencyTextTest, DialFrequencyInTwoDecimalKhz) {
  const std::pair<const char*, std::optional<std::string>> us[] = {
      {"14068650", "14,068.65"}, {"7033075", "7,033.07"},  // truncated, as Commander is tuned
      {"7033075.5", "7,033.07"}, {"472700", "472.70"},    {"1296200000", "1,296,200.00"},
      {"-1027.5", std::nullopt}, {"99999", std::nullopt}, {"", std::nullopt},
  };
  for (const auto& [hz_text, khz] : us) EXPECT_EQ(khz_two_decimals(hz_text, kUs), khz) << hz_text;
  EXPECT_EQ(khz_two_decimals("7033075,5", kGerman), "7.033,07");
  EXPECT_EQ(khz_two_decimals("10368100500", kGerman), "10.368.100,50");
}

TEST(FrequencyTextTest, DialOfASpotAndWhatCommanderIsSent) {
  const struct {
    std::int64_t spot_hz;
    double offset;
    Sideband sideband;
    std::int64_t dial;
    const char* us;
    const char* german;
  } cases[] = {
      {14'070'150, 1500, Sideband::upper, 14'068'650, "14068.65", "14068,65"},
      {14'070'150, 1500, Sideband::lower, 14'071'650, "14071.65", "14071,65"},
      {7'035'200, 2125, Sideband::upper, 7'033'075, "7033.07", "7033,07"},
      {7'035'200, 2125, Sideband::lower, 7'037'325, "7037.32", "7037,32"},
      {14'070'150, 1500, Sideband::keep, 14'068'650, "14068.65", "14068,65"},
      {14'025'000, 0, Sideband::lower, 14'025'000, "14025", "14025"},
      {474'200, 1500, Sideband::upper, 472'700, "472.7", "472,7"},
      {1'296'200'000, 0, Sideband::upper, 1'296'200'000, "1296200", "1296200"},
      {10'368'100'500, 0, Sideband::upper, 10'368'100'500, "10368100.5", "10368100,5"},
      // The fraction of an offset is dropped.
      {14'070'000, 1000.5, Sideband::upper, 14'068'999, "14068.99", "14068,99"},
      {14'070'000, 1000.5, Sideband::lower, 14'071'000, "14071", "14071"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.spot_hz);
    EXPECT_EQ(spot_dial_hz(c.spot_hz, c.offset, c.sideband), c.dial);
    EXPECT_EQ(xcvr_khz_text(c.dial, kUs), c.us);
    EXPECT_EQ(xcvr_khz_text(c.dial, kGerman), c.german);
  }
  EXPECT_THROW(spot_dial_hz(100'000, 100'000, Sideband::upper), RuntimeError);
  EXPECT_THROW(spot_dial_hz(100'000, -100'000, Sideband::lower), RuntimeError);
  EXPECT_THROW(spot_dial_hz(100'000, std::numeric_limits<double>::quiet_NaN(), Sideband::lower),
               RuntimeError);
}

TEST(FrequencyTextTest, SidebandTable) {
  const std::pair<const char*, Sideband> cases[] = {
      {"LSB", Sideband::lower},    {"LSB-D", Sideband::lower}, {"CW", Sideband::lower},
      {"RTTY", Sideband::lower},   {"FSK", Sideband::lower},   {"PKT", Sideband::lower},
      {"USB", Sideband::upper},    {"USB-D", Sideband::upper}, {"CW-R", Sideband::upper},
      {"RTTY-R", Sideband::upper}, {"FSK-R", Sideband::upper}, {"AM", Sideband::keep},
      {"FM", Sideband::keep},      {"", Sideband::keep},       {"usb", Sideband::keep},
      {"USB ", Sideband::keep},
  };
  for (const auto& [mode, sideband] : cases) {
    EXPECT_EQ(sideband_of(mode), sideband) << mode;
  }
}

TEST(FrequencyTextTest, OperatingFrequencyRoundsHalvesToEven) {
  EXPECT_EQ(operating_frequency(14070000, 1500, Sideband::upper, 0), 14071500);
  EXPECT_EQ(operating_frequency(14070000, 1500, Sideband::lower, 0), 14068500);
  EXPECT_EQ(operating_frequency(14070000, 1500, Sideband::keep, 7000000), 7000000);
  EXPECT_EQ(operating_frequency(14070000, 0.5, Sideband::upper, 0), 14070000);
  EXPECT_EQ(operating_frequency(14070001, 0.5, Sideband::upper, 0), 14070002);
  EXPECT_EQ(operating_frequency(14070000, 1.5, Sideband::lower, 0), 14069998);
}

TEST(FrequencyTextTest, OperatingFrequenciesAboveTheUsualBandsAndTheirLimit) {
  EXPECT_EQ(operating_frequency(10'368'100'500.0, 1500, Sideband::upper, 0), 10'368'102'000);
  EXPECT_EQ(operating_frequency(300'000'000'000.0, 0.5, Sideband::lower, 0), 300'000'000'000);
  try {
    operating_frequency(1e17, 1500, Sideband::upper, 0);
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), err::kOverflow);
  }
  // The kept value needs no arithmetic.
  EXPECT_EQ(operating_frequency(1e17, 1500, Sideband::keep, 5), 5);
}

TEST(FrequencyTextTest, ModeNamesAsShown) {
  const std::pair<const char*, const char*> cases[] = {
      {"BPSK31", "PSK31"}, {"BPSK63", "PSK63"},  {"BPSK", "PSK"},      {"THROB", "Thrb"},
      {"Throb", "Throb"},  {"bpsk31", "bpsk31"}, {"QPSK31", "QPSK31"}, {"", ""},
      {"PSK31", "PSK31"},  {"THROBX", "THROBX"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(display_mode_name(in), out) << in;
}

TEST(FrequencyTextTest, RttyRadioModeTable) {
  const std::pair<int, const char*> cases[] = {
      {0, "LSB"}, {1, "USB"}, {2, "RTTY"}, {3, "RTTY-R"},
      {4, "PKT"}, {5, ""},    {-1, ""},    {32767, ""},
  };
  for (const auto& [index, mode] : cases) EXPECT_EQ(rtty_radio_mode(index), mode) << index;
}

TEST(FrequencyTextTest, OptimalFrequencyBoxValues) {
  const std::pair<const char*, std::optional<std::int16_t>> cases[] = {
      {"1500", 1500},
      {"0", 0},
      {"0100", 100},
      {"32767", 32767},
      {"-32768", -32768},
      {"32768", std::nullopt},
      {"-32769", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"15a0", std::nullopt},
      {"1500.5", std::nullopt},
      {" 1500", std::nullopt},
      {"1,500", std::nullopt},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(whole_int16(text), value) << text;
  EXPECT_EQ(optimal_audio_offset("1000", 1500), 1000);
  EXPECT_EQ(optimal_audio_offset("", 1500), 1500);
  EXPECT_EQ(optimal_audio_offset("abc", 2125), 2125);
}

}  // namespace
}  // namespace vav
