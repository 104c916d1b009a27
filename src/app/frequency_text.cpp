#include "app/frequency_text.h"

#include <algorithm>
#include <array>

#include "common/runtime_error.h"

namespace vav {
namespace {

constexpr std::size_t kMinDigits = 7;  // 1 MHz digit
constexpr std::size_t kMaxDigits = 9;  // 3 MHz digits

bool is_whole_hz_digits(std::string_view digits) {
  return digits.size() >= kMinDigits && digits.size() <= kMaxDigits && all_digits(digits);
}

// The part of a decimal number text before its decimal separator.
std::string_view whole_part(std::string_view text, Separators separators) {
  return text.substr(0, text.find(separators.decimal));
}

}  // namespace

bool all_digits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<std::string> khz_form(std::string_view digits, Separators separators) {
  if (!is_whole_hz_digits(digits)) return std::nullopt;
  const std::size_t mhz = digits.size() - 6;
  std::string text(digits.substr(0, mhz));
  text += separators.thousands;
  text += digits.substr(mhz, 3);
  text += separators.decimal;
  text += digits.substr(mhz + 3);
  return text;
}

std::optional<std::string> mhz_form(std::string_view digits, Separators separators) {
  if (!is_whole_hz_digits(digits)) return std::nullopt;
  const std::size_t mhz = digits.size() - 6;
  std::string text(digits.substr(0, mhz));
  text += separators.decimal;
  text += digits.substr(mhz);
  return text;
}

std::string spot_frequency_digits(std::string_view khz_text, Separators separators) {
  const std::string both{separators.thousands, separators.decimal};
  return remove_chars(format_three_decimals(locale_number(khz_text, separators), separators), both);
}

std::optional<std::string> spot_hz_text(std::string_view digits, Separators separators) {
  if (!is_whole_hz_digits(digits)) return std::nullopt;
  const std::size_t mhz = digits.size() - 6;
  std::string text(digits.substr(0, mhz));
  text += separators.thousands;
  text += digits.substr(mhz);
  return text;
}

std::optional<std::string> khz_two_decimals(std::string_view hz_text, Separators separators) {
  const std::string_view digits = whole_part(hz_text, separators);
  if (!is_whole_hz_digits(digits)) return std::nullopt;
  const std::size_t mhz = digits.size() - 6;
  std::string text(digits.substr(0, mhz));
  text += separators.thousands;
  text += digits.substr(mhz, 3);
  text += separators.decimal;
  text += digits.substr(mhz + 3, 2);
  return text;
}

std::optional<std::string> display_tens_of_hertz(std::string_view hz_text, Separators separators) {
  const std::string_view digits = whole_part(hz_text, separators);
  if (!is_whole_hz_digits(digits)) return std::nullopt;
  return std::string(digits.substr(0, digits.size() - 1));
}

std::optional<std::string> display_digits(std::string_view display_text) {
  std::string digits = remove_chars(display_text, ".,");
  if (!all_digits(digits)) return std::nullopt;
  return digits;
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

std::int32_t operating_frequency(double dial_hz, double offset_hz, Sideband sideband,
                                 std::int32_t previous) {
  switch (sideband) {
    case Sideband::lower:
      return round_to_int32(dial_hz - offset_hz);
    case Sideband::upper:
      return round_to_int32(dial_hz + offset_hz);
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
