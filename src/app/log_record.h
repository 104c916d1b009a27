#pragma once
// The pieces of a logged QSO record: fields "<NAME:len>value " with "<" removed from values,
// the band, the month abbreviations of MixW's date and the MHz text of a frequency.
#include <cstdint>
#include <string>
#include <string_view>

#include "common/code_page.h"
#include "common/conversions.h"

namespace vav {

class LogRecord {
 public:
  // Field lengths count characters of `code_page`.
  explicit LogRecord(CodePage code_page = CodePage{}) : code_page_(code_page) {}

  void ClearLogRecord() { record_.clear(); }
  // Appends "<name:len>value " unless the value is empty once "<" is removed.
  void AddLogField(std::string_view name, std::string_view value);
  std::string GetLogRecord() const { return record_; }

 private:
  CodePage code_page_;
  std::string record_;
};

std::string StripLessThan(std::string_view value);

// The ADIF band of a frequency in one of the window forms (kHz or MHz, the user's
// separators); "" outside every band or for a text that is no window form.
std::string BandFromFrequency(std::string_view freq, Separators separators);

// 1..12 for "Jan".."Dec" (exact, case-sensitive); 0 otherwise.
std::int16_t Checkmonth(std::string_view name);

// The kHz or MHz text of a frequency (the window forms of frequency_text.h) as ADIF writes
// it: megahertz with six decimals and a point, whatever the user's decimal separator;
// "" for a text whose digits are no whole-Hz digit string.
std::string ConvertedFrequency(std::string_view freq, Separators separators);

// The date value of a QSO date; a year below 1900 counts from 1900. Throws RuntimeError
// (kTypeMismatch) for a date that does not exist.
double LocalDate(std::int16_t month, std::int16_t day, std::int16_t year);

// "yyyymmdd" of a date value.
std::string date_digits(double date);
// "hhmmss" of a time-of-day text "hh:mm" or "hh:mm:ss"; a text that is no time of day
// comes back as it stands, as a date format leaves it.
std::string time_digits(std::string_view time_text);

}  // namespace vav
