#include "app/frequency_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "common/runtime_error.h"

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
      // Wrong lengths and non-digits leave the target as it was.
      {"472000", kUs, std::nullopt, std::nullopt},
      {"1296000000", kUs, std::nullopt, std::nullopt},
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

TEST(FrequencyTextTest, BothFormsStripBackToTheSameDigits) {
  for (const char* digits : {"1800000", "14070150", "432100000"}) {
    for (Separators s : {kUs, kGerman}) {
      const std::string both{s.thousands, s.decimal};
      EXPECT_EQ(remove_chars(*khz_form(digits, s), both), digits);
      EXPECT_EQ(remove_chars(*mhz_form(digits, s), both), digits);
      EXPECT_EQ(remove_chars(*spot_hz_text(digits, s), both), digits);
    }
  }
}

struct SpotCase {
  const char* khz_text;
  Separators separators;
  const char* digits;
  std::optional<std::string> hz_text;
};

TEST(FrequencyTextTest, ASpotFrequencyThatIsNoNumberHasNoDigits) {
  for (const char* text : {"", "abc", "14070.15.3", "14O70", "14070.15 kHz"}) {
    try {
      spot_frequency_digits(text, kUs);
      ADD_FAILURE() << text;
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number(), err::kTypeMismatch) << text;
    }
  }
}

TEST(FrequencyTextTest, SpotFrequencyDigitsAndHzText) {
  const SpotCase cases[] = {
      {"14070.15", kUs, "14070150", "14,070150"},
      {"7035.2", kUs, "7035200", "7,035200"},
      {"14070", kUs, "14070000", "14,070000"},
      {"14,070.15", kUs, "14070150", "14,070150"},
      {"14070,15", kGerman, "14070150", "14.070150"},
      {"144300.0004", kUs, "144300000", "144,300000"},  // rounded to three decimals
      {"472.5", kUs, "472500", std::nullopt},           // below 1 MHz: left as it was
      {"1296000", kUs, "1296000000", std::nullopt},     // 10 digits
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.khz_text);
    const std::string digits = spot_frequency_digits(c.khz_text, c.separators);
    EXPECT_EQ(digits, c.digits);
    EXPECT_EQ(spot_hz_text(digits, c.separators), c.hz_text);
  }
}

struct DialCase {
  const char* hz_text;
  Separators separators;
  std::optional<std::string> khz;
  std::optional<std::string> tens;
};

TEST(FrequencyTextTest, DialFrequencyInTwoDecimalKhzAndTensOfHertz) {
  const DialCase cases[] = {
      {"14068650", kUs, "14,068.65", "1406865"},
      {"7033075", kUs, "7,033.07", "703307"},  // truncated, as Commander is tuned
      {"7033075.5", kUs, "7,033.07", "703307"},
      {"7033075,5", kGerman, "7.033,07", "703307"},
      {"144298500", kGerman, "144.298,50", "14429850"},
      {"-1027.5", kUs, std::nullopt, std::nullopt},
      {"472500", kUs, std::nullopt, std::nullopt},
      {"", kUs, std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hz_text);
    EXPECT_EQ(khz_two_decimals(c.hz_text, c.separators), c.khz);
    EXPECT_EQ(display_tens_of_hertz(c.hz_text, c.separators), c.tens);
  }
}

TEST(FrequencyTextTest, TensOfHertzAgreeWithTheKhzSentToCommander) {
  // Commander is sent the two-decimal kHz form; its display then shows that frequency, and
  // the mirror written from the spot must count the same hertz.
  for (const char* hz : {"14068650", "7033075", "3580999", "50313010"}) {
    const std::string sent = remove_chars(*khz_two_decimals(hz, kUs), ",.");
    EXPECT_EQ(*display_tens_of_hertz(hz, kUs), sent) << hz;
  }
}

TEST(FrequencyTextTest, CommanderDisplayDigits) {
  const std::pair<const char*, std::optional<std::string>> cases[] = {
      {"14,070.15", "1407015"}, {"14.070,15", "1407015"},    {"14,07015", "1407015"},
      {"7.035.20", "703520"},   {"", std::nullopt},          {"--.---", std::nullopt},
      {".,", std::nullopt},     {"14 070.15", std::nullopt}, {"14,070.15 MHz", std::nullopt},
  };
  for (const auto& [text, digits] : cases) {
    EXPECT_EQ(display_digits(text), digits) << text;
  }
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

TEST(FrequencyTextTest, OperatingFrequencyOutsideThe32BitRangeOverflows) {
  try {
    operating_frequency(21474836470.0, 1500, Sideband::upper, 0);
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number(), err::kOverflow);
  }
  // The kept value needs no arithmetic.
  EXPECT_EQ(operating_frequency(21474836470.0, 1500, Sideband::keep, 5), 5);
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
