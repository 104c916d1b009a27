#include "app/frequency_text.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "errors/runtime_error.h"

namespace vav {
namespace {

constexpr std::size_t kMinDigits = 7;  // 1 MHz digit
constexpr std::size_t kMaxDigits = 9;  // 3 MHz digits
// Below 1 MHz and above 999 MHz: 100 kHz to 300 GHz.
constexpr std::size_t kFewestFarDigits = 6;
constexpr std::size_t kMostFarDigits = 12;
constexpr std::string_view kHighestHz = "300000000000";
// Beyond 2^53 a double holds no longer every whole hertz.
constexpr double kLargestExactHz = 9007199254740992.0;

// The part of a decimal number text before its decimal separator.
std::string_view whole_part(std::string_view text, Separators separators) {
  return text.substr(0, text.find(separators.decimal));
}

// Digits grouped in threes from the right by `separator` (14070 gives 14,070).
std::string grouped(std::string_view digits, char separator) {
  std::string text;
  const std::size_t lead = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
  text.append(digits.substr(0, lead));
  for (std::size_t i = lead; i < digits.size(); i += 3) {
    text += separator;
    text.append(digits.substr(i, 3));
  }
  return text;
}

}  // namespace

bool all_digits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool is_whole_hz_digits(std::string_view digits) {
  if (!all_digits(digits)) return false;
  const std::size_t n = digits.size();
  if (n >= kMinDigits && n <= kMaxDigits) return true;
  if (n < kFewestFarDigits || n > kMostFarDigits || digits.front() == '0') return false;
  return n < kHighestHz.size() || digits <= kHighestHz;
}

std::optional<std::string> khz_form(std::string_view digits, Separators separators) {
  if (!is_whole_hz_digits(digits)) return std::nullopt;
  const std::size_t khz = digits.size() - 3;
  return grouped(digits.substr(0, khz), separators.thousands) + separators.decimal +
         std::string(digits.substr(khz));
}

std::optional<std::string> mhz_form(std::string_view digits, Separators separators) {
  if (!is_whole_hz_digits(digits)) return std::nullopt;
  const std::size_t mhz = digits.size() - 6;
  std::string text = mhz == 0 ? "0" : std::string(digits.substr(0, mhz));
  text += separators.decimal;
  text += digits.substr(mhz);
  return text;
}

std::optional<std::string> khz_two_decimals(std::string_view hz_text, Separators separators) {
  const std::string_view digits = whole_part(hz_text, separators);
  if (!is_whole_hz_digits(digits)) return std::nullopt;
  const std::size_t khz = digits.size() - 3;
  return grouped(digits.substr(0, khz), separators.thousands) + separators.decimal +
         std::string(digits.substr(khz, 2));
}

std::int64_t spot_dial_hz(std::int64_t spot_hz, double offset_hz, Sideband sideband) {
  const double signed_offset = sideband == Sideband::lower ? offset_hz : -offset_hz;
  const double dial = std::floor(static_cast<double>(spot_hz) + signed_offset);
  if (!(dial >= 1 && dial <= kLargestExactHz)) throw RuntimeError(err::kOverflow);
  return static_cast<std::int64_t>(dial);
}

std::string xcvr_khz_text(std::int64_t dial_hz, Separators separators) {
  const std::int64_t tens = dial_hz / 10;
  std::string text = std::to_string(tens / 100);
  const auto hundredths = static_cast<int>(tens % 100);
  if (hundredths == 0) return text;
  text += separators.decimal;
  text += static_cast<char>('0' + hundredths / 10);
  if (hundredths % 10 != 0) text += static_cast<char>('0' + hundredths % 10);
  return text;
}

Sideband sideband_of(std::string_view radio_mode) {
  static constexpr std::array<std::string_view, 6> kLower{"LSB",  "LSB-D", "CW",
                                                          "RTTY", "FSK",   "PKT"};
  static constexpr std::array<std::string_view, 5> kUpper{"USB", "USB-D", "CW-R", "RTTY-R",
                                                          "FSK-R"};
  if (std::find(kLower.begin(), kLower.end(), radio_mode) != kLower.end()) {
    return Sideband::lower;
  }
  if (std::find(kUpper.begin(), kUpper.end(), radio_mode) != kUpper.end()) {
    return Sideband::upper;
  }
  return Sideband::keep;
}

std::int64_t operating_frequency(double dial_hz, double offset_hz, Sideband sideband,
                                 std::int64_t previous) {
  // Halves to even: the default rounding of nearbyint.
  const auto whole_hz = [](double hz) {
    if (!(std::fabs(hz) <= kLargestExactHz)) throw RuntimeError(err::kOverflow);
    return static_cast<std::int64_t>(std::nearbyint(hz));
  };
  switch (sideband) {
    case Sideband::lower:
      return whole_hz(dial_hz - offset_hz);
    case Sideband::upper:
      return whole_hz(dial_hz + offset_hz);
    case Sideband::keep:
      break;
  }
  return previous;
}

std::string display_mode_name(std::string_view mode) {
  std::string name(mode);
  if (name.starts_with("BPSK")) name = "PSK" + name.substr(4);
  if (name == "THROB") name = "Thrb";
  return name;
}

std::string rtty_radio_mode(int index) {
  static constexpr std::array<const char*, 5> kModes{"LSB", "USB", "RTTY", "RTTY-R", "PKT"};
  if (index < 0 || index >= static_cast<int>(kModes.size())) return {};
  return kModes[static_cast<std::size_t>(index)];
}

std::optional<std::int16_t> whole_int16(std::string_view text) {
  const bool negative = text.starts_with('-');
  const std::string_view digits = negative ? text.substr(1) : text;
  if (!all_digits(digits)) return std::nullopt;
  long value = 0;
  for (char c : digits) {
    value = value * 10 + (c - '0');
    if (value > 32768) return std::nullopt;  // stops long digit runs before they overflow
  }
  if (negative) value = -value;
  if (value < -32768 || value > 32767) return std::nullopt;
  return static_cast<std::int16_t>(value);
}

double optimal_audio_offset(std::string_view box_text, std::int16_t last_valid) {
  return whole_int16(box_text).value_or(last_valid);
}

}  // namespace vav
