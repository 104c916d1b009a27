#include "app/wpx_prefix.h"

#include <array>
#include <string_view>

#include "common/conversions.h"

namespace vav {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool ends_with(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// A text that reads as a number ("3", "12"), as the classic IsNumeric sees it.
bool is_numeric(std::string_view text) { return try_locale_number(text, Separators{}).has_value(); }

}  // namespace

std::string CallExceptions(const std::string& SCall) {
  static constexpr std::array<std::string_view, 12> kSuffixes = {
      "/P", "/B", "/A", "/E", "/J", "/M", "/N", "/T", "/MM", "/AM", "/QRP", "/BCN"};
  std::string result = SCall;
  for (std::string_view suffix : kSuffixes) {
    if (ends_with(SCall, suffix)) result = SCall.substr(0, SCall.size() - suffix.size());
  }
  const std::size_t n = SCall.size();
  if (n >= 2 && SCall[n - 2] == '/' && is_digit(SCall[n - 1])) {
    // The part before the call's first digit (a digit in the first place not counting, nor
    // one in the "/" digit suffix); empty when there is none.
    std::string_view base;
    for (std::size_t i = 1; i + 2 < n; ++i) {
      if (is_digit(SCall[i])) {
        base = std::string_view(SCall).substr(0, i);
        break;
      }
    }
    result.assign(SCall, 0, n - 1);
    result += base;
    result += SCall[n - 1];
  }
  return result;
}

std::string WpxPrefixFromCall(std::string szCall) {
  std::string call = to_upper(szCall);
  if (call.size() < 2) return "";
  call = CallExceptions(call);
  std::string word = call;
  std::string right;
  const std::size_t slash = call.find('/');
  if (slash != std::string::npos) {
    const std::string left = call.substr(0, slash);
    right = call.substr(slash + 1);
    word = left.size() <= right.size() || is_numeric(right) ? left : right;
  }
  if (word.size() < 2) return "";
  std::string prefix = word.substr(0, 2);
  std::size_t i = 2;
  while (i < word.size() && is_digit(word[i])) prefix += word[i++];
  if (i < word.size() && word[i] == '/' && !is_digit(prefix.back())) prefix += '0';
  if (right.size() == 1 && is_digit(right[0])) prefix.back() = right[0];
  if (is_digit(prefix.back())) return prefix;
  return prefix.size() == 2 ? prefix + "0" : "";
}

}  // namespace vav
