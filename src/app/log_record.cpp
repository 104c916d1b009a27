#include "app/log_record.h"

#include <array>
#include <cctype>
#include <cstdio>

#include "app/frequency_text.h"
#include "common/adif_bands.h"
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

namespace {

// The whole-Hz digits of a window form, which gives them back without its separators.
std::string window_form_digits(std::string_view freq, Separators separators) {
  return remove_chars(freq, std::string{separators.thousands, separators.decimal});
}

}  // namespace

std::string BandFromFrequency(std::string_view freq, Separators separators) {
  const std::string digits = window_form_digits(freq, separators);
  if (!is_whole_hz_digits(digits)) return {};
  return std::string(adif_band_of(std::stoll(digits)));
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
  const std::string digits = window_form_digits(freq, separators);
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
