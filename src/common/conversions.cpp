#include "common/conversions.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "common/decimal_digits.h"
#include "errors/runtime_error.h"

namespace vav {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_blank(char c) { return c == ' ' || c == '\t'; }

// A number read, or the classic number of the error that stopped the reading (0 for none).
struct NumberRead {
  double value = 0;
  int error = 0;
};

// Reads "digits[.digits][e[sign]digits]" in C form; the caller has normalised the text.
NumberRead read_normalised_number(const std::string& text) {
  double value = 0;
  const char* first = text.data();
  const char* last = first + text.size();
  const auto [end, ec] = std::from_chars(first, last, value);
  if (ec == std::errc::result_out_of_range) {
    // Underflow reads as zero; only a magnitude too large to hold is an overflow.
    bool tiny = text.find("e-") != std::string::npos;
    if (tiny) return {0.0, 0};
    return {0, err::kOverflow};
  }
  if (ec != std::errc() || end != last) return {0, err::kTypeMismatch};
  if (std::isinf(value)) return {0, err::kOverflow};
  return {value, 0};
}

double read_normalised(const std::string& text) {
  const NumberRead read = read_normalised_number(text);
  if (read.error != 0) throw RuntimeError(read.error);
  return read.value;
}

// Copies an exponent ("e", optional sign, digits) starting at text[i]; returns false when
// what follows the letter is not a complete exponent.
bool take_exponent(std::string_view text, std::size_t& i, std::string& out) {
  std::size_t j = i + 1;
  std::string exponent = "e";
  if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
  std::size_t digits_start = j;
  while (j < text.size() && is_digit(text[j])) exponent += text[j++];
  if (j == digits_start) return false;
  out += exponent;
  i = j;
  return true;
}

bool is_exponent_letter(char c) { return c == 'e' || c == 'E' || c == 'd' || c == 'D'; }

std::int64_t round_half_even(double value) {
  const double floor_value = std::floor(value);
  const double diff = value - floor_value;
  double rounded = floor_value;
  if (diff > 0.5) {
    rounded = floor_value + 1;
  } else if (diff == 0.5) {
    rounded = std::fmod(floor_value, 2.0) == 0 ? floor_value : floor_value + 1;
  }
  return static_cast<std::int64_t>(rounded);
}

template <typename Int>
Int round_to(double value) {
  // Beyond these bounds the rounded value cannot fit; checked before converting to avoid
  // undefined behaviour on huge values and NaN.
  constexpr double kLow = static_cast<double>(std::numeric_limits<Int>::min()) - 0.5;
  constexpr double kHigh = static_cast<double>(std::numeric_limits<Int>::max()) + 0.5;
  if (!(value >= kLow && value <= kHigh)) throw RuntimeError(err::kOverflow);
  const std::int64_t rounded = round_half_even(value);
  if (rounded < std::numeric_limits<Int>::min() || rounded > std::numeric_limits<Int>::max()) {
    throw RuntimeError(err::kOverflow);
  }
  return static_cast<Int>(rounded);
}

std::string exponent_text(int exponent) {
  std::string text = exponent < 0 ? "E-" : "E+";
  const int magnitude = exponent < 0 ? -exponent : exponent;
  if (magnitude < 10) text += '0';
  return text + std::to_string(magnitude);
}

// locale_number without throwing: the error number comes back instead, so that callers that
// only ask "is this a number?" pay no exception on a "no".
NumberRead read_locale_number(std::string_view text, Separators separators) {
  // A locale whose two separators are the same character reads it as the decimal separator.
  const bool grouping = separators.thousands != separators.decimal;
  std::size_t i = 0;
  while (i < text.size() && is_blank(text[i])) ++i;
  std::string normal;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') normal += '-';
    ++i;
  }
  std::size_t digits = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (is_digit(c)) {
      normal += c;
      ++digits;
    } else if (!(grouping && c == separators.thousands && digits > 0)) {
      break;
    }
    ++i;
  }
  if (i < text.size() && text[i] == separators.decimal) {
    normal += '.';
    ++i;
    while (i < text.size() && is_digit(text[i])) {
      normal += text[i++];
      ++digits;
    }
  }
  if (digits == 0) return {0, err::kTypeMismatch};
  if (i < text.size() && is_exponent_letter(text[i])) {
    if (!take_exponent(text, i, normal)) return {0, err::kTypeMismatch};
  }
  while (i < text.size() && is_blank(text[i])) ++i;
  if (i != text.size()) return {0, err::kTypeMismatch};
  return read_normalised_number(normal);
}

}  // namespace

double locale_number(std::string_view text, Separators separators) {
  const NumberRead read = read_locale_number(text, separators);
  if (read.error != 0) throw RuntimeError(read.error);
  return read.value;
}

std::optional<double> try_locale_number(std::string_view text, Separators separators) {
  const NumberRead read = read_locale_number(text, separators);
  if (read.error != 0) return std::nullopt;
  return read.value;
}

double leading_number(std::string_view text) {
  // Val ignores blanks, tabs and line feeds anywhere in the number.
  std::string packed;
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\n') packed += c;
  }
  std::size_t i = 0;
  std::string normal;
  if (i < packed.size() && (packed[i] == '+' || packed[i] == '-')) {
    if (packed[i] == '-') normal += '-';
    ++i;
  }
  std::size_t digits = 0;
  while (i < packed.size() && is_digit(packed[i])) {
    normal += packed[i++];
    ++digits;
  }
  if (i < packed.size() && packed[i] == '.') {
    normal += '.';
    ++i;
    while (i < packed.size() && is_digit(packed[i])) {
      normal += packed[i++];
      ++digits;
    }
  }
  if (digits == 0) return 0.0;
  if (i < packed.size() && is_exponent_letter(packed[i])) take_exponent(packed, i, normal);
  if (normal.back() == '.') normal.pop_back();
  const double value = read_normalised(normal);
  return value == 0 ? 0.0 : value;  // no negative zero
}

std::int16_t round_to_int16(double value) { return round_to<std::int16_t>(value); }
std::int32_t round_to_int32(double value) { return round_to<std::int32_t>(value); }

bool to_boolean(std::string_view text, Separators separators) {
  const std::string word = to_lower(trim_blanks(text));
  if (word == "true") return true;
  if (word == "false") return false;
  return locale_number(text, separators) != 0;
}

std::string boolean_text(bool value) { return value ? "True" : "False"; }

std::string str_number(long long value) {
  return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

std::string number_text(double value, Separators separators) {
  if (std::isnan(value)) return "-1" + std::string(1, separators.decimal) + "#IND";
  if (std::isinf(value)) {
    return (value < 0 ? "-1" : "1") + std::string(1, separators.decimal) + "#INF";
  }
  const DecimalDigits d = decimal_digits(value);
  if (d.digits == "0") return "0";
  std::string text = d.negative ? "-" : "";
  const int n = static_cast<int>(d.digits.size());
  if (d.exponent >= 15 || d.exponent < -4) {
    // Scientific form: one digit, the rest after the separator, then the exponent.
    text += d.digits[0];
    if (n > 1) text += separators.decimal + d.digits.substr(1);
    return text + exponent_text(d.exponent);
  }
  if (d.exponent < 0) {
    text += '0';
    text += separators.decimal;
    text += std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
    return text;
  }
  const int whole = d.exponent + 1;
  if (n <= whole) return text + d.digits + std::string(static_cast<std::size_t>(whole - n), '0');
  return text + d.digits.substr(0, whole) + separators.decimal + d.digits.substr(whole);
}

std::string format_three_decimals(double value, Separators separators) {
  if (!std::isfinite(value)) throw RuntimeError(err::kOverflow);
  const FixedDigits f = fixed_digits(value, 3);
  std::string text = f.negative ? "-" : "";
  // "#" placeholders: a zero whole part shows no digit, as the pattern's "#####" asks.
  if (f.whole != "0") text += f.whole;
  return text + separators.decimal + f.fraction;
}

std::string to_upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::string to_lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string trim_blanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return "";
  const std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string remove_chars(std::string_view text, std::string_view chars) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (chars.find(c) == std::string_view::npos) out += c;
  }
  return out;
}

}  // namespace vav
