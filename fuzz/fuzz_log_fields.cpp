// The texts that logging a QSO converts, arbitrary bytes: the frequency ("FREQ" and "BAND"),
// MixW's date ("QSO_DATE", day, month abbreviation and year) and times ("TIME_ON",
// "TIME_OFF"). Each conversion either gives a well-formed field value or fails with the
// program's one error type; nothing else escapes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/frequency_text.h"
#include "app/log_record.h"
#include "common/adif_bands.h"
#include "errors/runtime_error.h"
#include "fuzz_separators.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

bool digits_only(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

void check_frequency(std::string_view text, vav::Separators seps) {
  // A band of the ADIF table, or none.
  const std::string band = vav::BandFromFrequency(text, seps);
  bool known = band.empty();
  for (const auto& b : vav::adif_bands()) known = known || band == b.name;
  check(known);
  // Megahertz with six decimals and a point: the digits left once the separators are
  // removed (those of a frequency the program itself wrote), the point six from the end.
  const std::string freq = vav::ConvertedFrequency(text, seps);
  const std::string rest = vav::remove_chars(text, std::string{seps.thousands, seps.decimal});
  if (!vav::is_whole_hz_digits(rest)) {
    check(freq.empty());
  } else {
    check(freq.size() >= 8 && freq[freq.size() - 7] == '.');
    const std::string digits = freq.substr(0, freq.size() - 7) + freq.substr(freq.size() - 6);
    check(digits == rest || digits == "0" + rest);
  }
}

void check_date(std::string_view text, vav::Separators seps) {
  // As the log reads MixW's date: day-Mon-year.
  const std::size_t first = text.find('-');
  const std::size_t second = first == std::string_view::npos ? first : text.find('-', first + 1);
  if (second == std::string_view::npos) return;
  const std::int16_t month = vav::Checkmonth(text.substr(first + 1, second - first - 1));
  check(month >= 0 && month <= 12);
  try {
    const auto day = vav::round_to_int16(vav::locale_number(text.substr(0, first), seps));
    const auto year = vav::round_to_int16(vav::locale_number(text.substr(second + 1), seps));
    const std::string digits = vav::date_digits(vav::LocalDate(month, day, year));
    check(digits.size() == 8 && digits_only(digits));
  } catch (const vav::RuntimeError&) {
  }
}

// A time of day gives six digits; any other text is logged as it stands, trimmed.
void check_time(std::string_view text) {
  try {
    const std::string digits = vav::time_digits(text);
    check((digits.size() == 6 && digits_only(digits)) || digits == vav::trim_blanks(text));
  } catch (const vav::RuntimeError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const vav::Separators seps = vav::fuzzing::separators_of(data[0]);
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  check_frequency(text, seps);
  check_date(text, seps);
  check_time(text);
  // Any 16-bit month, day and year.
  if (text.size() >= 6) {
    const auto word = [&](std::size_t at) {
      return static_cast<std::int16_t>(static_cast<std::uint8_t>(text[at]) |
                                       (static_cast<std::uint8_t>(text[at + 1]) << 8));
    };
    try {
      const std::string digits = vav::date_digits(vav::LocalDate(word(0), word(2), word(4)));
      check(digits.size() == 8 && digits_only(digits));
    } catch (const vav::RuntimeError&) {
    }
  }
  return 0;
}
