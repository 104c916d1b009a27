#include "peers/peer_text.h"

namespace vav::peers {
namespace {

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string_view trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::string ascii_upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = upper(c);
  return out;
}

std::string ascii_lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = lower(c);
  return out;
}

bool equals_ignoring_case(std::string_view a, std::string_view b) {
  return a.size() == b.size() && starts_with_ignoring_case(a, b);
}

bool starts_with_ignoring_case(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (lower(text[i]) != lower(prefix[i])) return false;
  }
  return true;
}

std::optional<double> parse_decimal(std::string_view text) {
  text = trim(text);
  double sign = 1.0;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    if (text.front() == '-') sign = -1.0;
    text.remove_prefix(1);
  }
  // Digits gathered whole and scaled once, so "14068.65" reads as the literal 14068.65.
  double digits = 0.0;
  double scale = 1.0;
  bool seen_separator = false;
  bool seen_digit = false;
  for (char c : text) {
    if (is_digit(c)) {
      seen_digit = true;
      digits = digits * 10.0 + (c - '0');
      if (seen_separator) scale *= 10.0;
    } else if ((c == '.' || c == ',') && !seen_separator) {
      seen_separator = true;
    } else {
      return std::nullopt;
    }
  }
  if (!seen_digit) return std::nullopt;
  return sign * (digits / scale);
}

std::optional<long long> parse_digits(std::string_view text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  long long value = 0;
  for (char c : text) {
    if (!is_digit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace vav::peers
