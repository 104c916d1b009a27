#include "app/log_record.h"

#include <array>
#include <cctype>
#include <cstdio>

#include "app/frequency_text.h"
#include "common/locale_info.h"
#include "errors/runtime_error.h"

namespace vav {

std::string StripLessThan(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (const char c : value) {
    if (c != '<') out += c;
  }
  return out;
}

void LogRecord::AddLogField(std::string_view name, std::string_view value) {
  const std::string v = StripLessThan(value);
  if (v.empty()) return;
  record_ += '<';
  record_ += name;
  record_ += ':';
  record_ += std::to_string(code_page_.characters(v));
  record_ += '>';
  record_ += v;
  record_ += ' ';
}

std::string BandFromFrequency(std::string_view freq, Separators separators) {
  struct Band {
    double from, to;
    const char* name;
  };
  static constexpr std::array<Band, 11> kBandPlan{{
      {1800, 2000, "160M"},
      {3500, 4000, "80M"},
      {7000, 7300, "40M"},
      {10100, 10150, "30M"},
      {14000, 14350, "20M"},
      {18068, 18168, "17M"},
      {21000, 21450, "15M"},
      {24890, 24990, "12M"},
      {28000, 29700, "10M"},
      {50000, 54000, "6M"},
      {144000, 148000, "2M"},
  }};
  const std::optional<double> khz = try_locale_number(freq, separators);
  if (!khz) return {};
  for (const auto& band : kBandPlan) {
    if (*khz >= band.from && *khz <= band.to) return band.name;
  }
  return {};
}

std::int16_t Checkmonth(std::string_view name) {
  static constexpr std::array<std::string_view, 12> kMonths{
      "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (std::size_t i = 0; i < kMonths.size(); ++i) {
    if (kMonths[i] == name) return static_cast<std::int16_t>(i + 1);
  }
  return 0;
}

std::string ConvertedFrequency(std::string_view freq, Separators separators) {
  const std::string digits =
      remove_chars(freq, std::string{separators.thousands, separators.decimal});
  // ADIF numbers carry a point whatever the user's decimal separator.
  return mhz_form(digits, Separators{',', '.'}).value_or("");
}

double LocalDate(std::int16_t month, std::int16_t day, std::int16_t year) {
  int full_year = year;
  if (full_year < 1900) full_year += 1900;
  return date_value_of(full_year, month, day);
}

std::string date_digits(double date) {
  const CivilDateTime t = civil_from_date_value(date);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", t.year % 10000, t.month % 100, t.day % 100);
  return buf;
}

std::string time_digits(std::string_view time_text) {
  const std::string text = trim_blanks(time_text);
  std::array<int, 3> parts{0, 0, 0};
  std::size_t count = 0;
  std::size_t pos = 0;
  bool valid = !text.empty();
  while (valid && pos <= text.size() && count < parts.size()) {
    std::size_t end = text.find(':', pos);
    if (end == std::string::npos) end = text.size();
    const std::string_view piece(text.data() + pos, end - pos);
    if (piece.empty() || piece.size() > 2) valid = false;
    for (const char c : piece) {
      if (!std::isdigit(static_cast<unsigned char>(c))) valid = false;
    }
    if (valid) parts[count++] = std::stoi(std::string(piece));
    pos = end + 1;
    if (end == text.size()) break;
  }
  valid =
      valid && count >= 2 && pos > text.size() && parts[0] < 24 && parts[1] < 60 && parts[2] < 60;
  // A text that is no time of day is logged as it stands, as a date format leaves it.
  if (!valid) return text;
  // Room for any three ints (3 x 11 characters and the terminator): each part is at most two
  // digits, but the compiler cannot see that through std::stoi, and with this size it need not.
  char buf[3 * 11 + 1];
  std::snprintf(buf, sizeof buf, "%02d%02d%02d", parts[0], parts[1], parts[2]);
  return buf;
}

}  // namespace vav
