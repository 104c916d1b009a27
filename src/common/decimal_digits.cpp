#include "common/decimal_digits.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

namespace vav {
namespace {

constexpr int kSignificant = 15;

// Adds one to a string of decimal digits.
void increment(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
}

}  // namespace

DecimalDigits decimal_digits(double value) {
  DecimalDigits d;
  if (value == 0) {
    d.digits = "0";
    return d;
  }
  d.negative = value < 0;
  std::array<char, 64> buf{};
  const auto result = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(value),
                                    std::chars_format::scientific, kSignificant - 1);
  const std::string_view text(buf.data(), static_cast<std::size_t>(result.ptr - buf.data()));
  const std::size_t e = text.find('e');
  for (char c : text.substr(0, e)) {
    if (c != '.') d.digits += c;
  }
  const std::string_view exponent = text.substr(e + 1);
  const bool minus = exponent.front() == '-';
  int magnitude = 0;
  std::from_chars(exponent.data() + 1, exponent.data() + exponent.size(), magnitude);
  d.exponent = minus ? -magnitude : magnitude;
  const std::size_t last = d.digits.find_last_not_of('0');
  d.digits.erase(last + 1);
  return d;
}

FixedDigits fixed_digits(double value, int decimals) {
  const DecimalDigits d = decimal_digits(value);
  FixedDigits f;
  const int n = static_cast<int>(d.digits.size());
  const int keep = d.digits == "0" ? 0 : d.exponent + decimals + 1;
  // The value times 10^decimals, as whole digits.
  std::string scaled;
  if (keep > 0) {
    scaled = d.digits.substr(0, static_cast<std::size_t>(std::min(keep, n)));
    if (keep > n) scaled.append(static_cast<std::size_t>(keep - n), '0');
  }
  if (keep >= 0 && keep < n && d.digits[static_cast<std::size_t>(keep)] >= '5') {
    if (scaled.empty()) scaled = "0";
    increment(scaled);
  }
  if (scaled.empty()) scaled = "0";
  const auto width = static_cast<std::size_t>(decimals);
  if (scaled.size() <= width) scaled.insert(0, width + 1 - scaled.size(), '0');
  f.fraction = scaled.substr(scaled.size() - width);
  f.whole = scaled.substr(0, scaled.size() - width);
  const std::size_t first = f.whole.find_first_not_of('0');
  f.whole = first == std::string::npos ? "0" : f.whole.substr(first);
  f.negative = d.negative && scaled.find_first_not_of('0') != std::string::npos;
  return f;
}

}  // namespace vav
