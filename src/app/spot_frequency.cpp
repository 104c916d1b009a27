#include "app/spot_frequency.h"

#include <algorithm>
#include <string>

namespace vav {
namespace {

constexpr std::int64_t kHighestSpotKhz = kHighestSpotHz / 1000;
constexpr std::int64_t kLowestSpotKhz = kLowestSpotHz / 1000;
constexpr std::size_t kGroup = 3;

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_mark(char c) { return c == '.' || c == ','; }

std::string_view without_blanks_around(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

// The digits of a frequency in kHz: the whole part with its grouping marks taken out, and
// the decimals.
struct KhzDigits {
  std::string whole;
  std::string_view fraction;
};

// A whole part grouped by `mark`: one to three digits without a leading zero, then groups
// of exactly three.
std::optional<std::string> ungrouped(std::string_view whole, char mark) {
  std::string digits;
  std::size_t start = 0;
  for (bool first = true;; first = false) {
    const std::size_t end = std::min(whole.find(mark, start), whole.size());
    const std::size_t size = end - start;
    const bool fits = first ? size > 0 && size <= kGroup && whole[start] != '0' : size == kGroup;
    if (!fits) return std::nullopt;
    digits.append(whole.substr(start, size));
    if (end == whole.size()) return digits;
    start = end + 1;
  }
}

// Whole digits that can lead a grouped number (one to three, no leading zero) and read as
// a number below 100 kHz.
bool leads_group_below_lowest(std::string_view whole) {
  if (whole.empty() || whole.size() > kGroup || whole.front() == '0') return false;
  return std::stoi(std::string(whole)) < kLowestSpotKhz;
}

// Splits a text of digits and marks at its decimal mark. nullopt when the marks stand in
// no way that the rules of read_spot_frequency_hz allow.
std::optional<KhzDigits> split_at_decimal_mark(std::string_view text) {
  const std::size_t last_dot = text.rfind('.');
  const std::size_t last_comma = text.rfind(',');
  const bool dots = last_dot != std::string_view::npos;
  const bool commas = last_comma != std::string_view::npos;
  if (!dots && !commas) return KhzDigits{std::string(text), {}};
  if (dots && commas) {
    const std::size_t at = std::max(last_dot, last_comma);
    const char decimal = text[at];
    const std::string_view whole = text.substr(0, at);
    if (whole.find(decimal) != std::string_view::npos) return std::nullopt;
    auto digits = ungrouped(whole, decimal == '.' ? ',' : '.');
    if (!digits) return std::nullopt;
    return KhzDigits{std::move(*digits), text.substr(at + 1)};
  }
  const std::size_t at = dots ? last_dot : last_comma;
  if (text.find(text[at]) != at) return std::nullopt;  // the same mark twice
  const std::string_view whole = text.substr(0, at);
  const std::string_view fraction = text.substr(at + 1);
  if (fraction.size() == kGroup && leads_group_below_lowest(whole)) {
    return KhzDigits{std::string(whole) + std::string(fraction), {}};
  }
  return KhzDigits{std::string(whole), fraction};
}

}  // namespace

std::optional<std::int64_t> read_spot_frequency_hz(std::string_view khz_text) {
  const std::string_view text = without_blanks_around(khz_text);
  const bool allowed =
      std::all_of(text.begin(), text.end(), [](char c) { return is_digit(c) || is_mark(c); });
  if (!allowed || std::none_of(text.begin(), text.end(), is_digit)) return std::nullopt;
  const auto digits = split_at_decimal_mark(text);
  if (!digits) return std::nullopt;

  std::string_view whole = digits->whole;
  while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
  if (whole.size() > std::to_string(kHighestSpotKhz).size()) return std::nullopt;
  const std::int64_t khz = whole.empty() ? 0 : std::stoll(std::string(whole));
  const std::string_view fraction = digits->fraction;
  const bool fraction_zero =
      std::all_of(fraction.begin(), fraction.end(), [](char c) { return c == '0'; });
  // The range holds for the value as written, before it is rounded to whole hertz.
  if (khz < kLowestSpotKhz || khz > kHighestSpotKhz) return std::nullopt;
  if (khz == kHighestSpotKhz && !fraction_zero) return std::nullopt;

  std::int64_t hz = khz * 1000;
  std::int64_t scale = 100;
  for (std::size_t i = 0; i < 3 && i < fraction.size(); ++i, scale /= 10) {
    hz += (fraction[i] - '0') * scale;
  }
  if (fraction.size() > 3 && fraction[3] >= '5') ++hz;
  return hz;
}

}  // namespace vav
