#include "common/neighbour_number.h"

#include <algorithm>
#include <cstdlib>

#include "common/adif_bands.h"

namespace vav {
namespace {

constexpr std::size_t kGroup = 3;
constexpr char kNoBreakSpace = '\xA0';
constexpr std::size_t kMostHzDigits = 12;  // 300 GHz

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_decimal_mark(char c) { return c == '.' || c == ','; }
bool is_mark(char c) { return is_decimal_mark(c) || c == ' ' || c == kNoBreakSpace || c == '\''; }

std::string_view without_blanks_around(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

// A text cut into its runs of digits and the single marks between them; runs.size() is
// marks.size() + 1. The last run is empty only for a text that ends in a mark.
struct Runs {
  std::vector<std::string_view> runs;
  std::string marks;
};

std::optional<Runs> runs_of(std::string_view text) {
  Runs out;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && is_digit(text[i])) continue;
    if (i < text.size() && !is_mark(text[i])) return std::nullopt;
    const std::string_view run = text.substr(start, i - start);
    const bool last = i == text.size();
    if (run.empty() && !(last && !out.marks.empty())) return std::nullopt;
    out.runs.push_back(run);
    if (!last) out.marks += text[i];
    start = i + 1;
  }
  return out;
}

// The runs [0, count) joined by one grouping mark each: one to three digits not starting
// with 0, then groups of three. nullopt when they are not grouped so.
std::optional<std::string> grouped_whole(const Runs& r, std::size_t count) {
  if (count == 1) return std::string(r.runs[0]);
  const std::string_view first = r.runs[0];
  if (first.size() > kGroup || first.front() == '0') return std::nullopt;
  std::string whole(first);
  for (std::size_t i = 1; i < count; ++i) {
    if (r.marks[i - 1] != r.marks[0] || r.runs[i].size() != kGroup) return std::nullopt;
    whole.append(r.runs[i]);
  }
  return whole;
}

// The exact hertz of a reading, when it lies in the frequency range; rounded half up.
std::optional<std::int64_t> hertz_in_range(const NumberReading& reading, FrequencyUnit unit) {
  const std::size_t shift = unit == FrequencyUnit::kilohertz ? 3 : 0;
  std::string fraction = reading.fraction;
  if (fraction.size() < shift) fraction.append(shift - fraction.size(), '0');
  std::string_view hz = reading.whole;
  hz.remove_prefix(std::min(hz.find_first_not_of('0'), hz.size()));
  const std::string digits = std::string(hz) + fraction.substr(0, shift);
  const std::string_view below = std::string_view(fraction).substr(shift);
  const std::size_t lead = std::min(digits.find_first_not_of('0'), digits.size());
  if (digits.size() - lead > kMostHzDigits) return std::nullopt;
  const std::int64_t whole = lead == digits.size() ? 0 : std::stoll(digits.substr(lead));
  const bool below_zero = below.find_first_not_of('0') == std::string_view::npos;
  if (whole < kLowestFrequencyHz || whole > kHighestFrequencyHz) return std::nullopt;
  if (whole == kHighestFrequencyHz && !below_zero) return std::nullopt;
  return !below.empty() && below.front() >= '5' ? whole + 1 : whole;
}

}  // namespace

std::vector<NumberReading> number_readings(std::string_view text) {
  const auto r = runs_of(without_blanks_around(text));
  if (!r) return {};
  std::vector<NumberReading> readings;
  const std::size_t n = r->runs.size();
  if (!r->runs.back().empty()) {
    if (auto whole = grouped_whole(*r, n)) readings.push_back({std::move(*whole), {}});
  }
  if (n >= 2) {
    const char decimal = r->marks.back();
    const bool once = r->marks.find(decimal) == n - 2;
    if (is_decimal_mark(decimal) && once) {
      if (auto whole = grouped_whole(*r, n - 1)) {
        readings.push_back({std::move(*whole), std::string(r->runs.back())});
      }
    }
  }
  return readings;
}

std::optional<std::int64_t> read_frequency_hz(std::string_view text, FrequencyUnit unit) {
  std::vector<std::int64_t> in_range;
  for (const NumberReading& reading : number_readings(text)) {
    if (auto hz = hertz_in_range(reading, unit)) in_range.push_back(*hz);
  }
  if (in_range.size() == 2) {
    std::erase_if(in_range, [](std::int64_t hz) { return adif_band_of(hz).empty(); });
  }
  if (in_range.size() != 1) return std::nullopt;
  return in_range.front();
}

std::optional<double> read_plain_number(std::string_view text) {
  const std::vector<NumberReading> readings = number_readings(text);
  if (readings.size() != 1) return std::nullopt;
  const std::string plain = readings[0].whole + "." + readings[0].fraction;
  return std::strtod(plain.c_str(), nullptr);
}

}  // namespace vav
