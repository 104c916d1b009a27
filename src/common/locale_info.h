#pragma once
// The user's number separators, language and country, and the UTC clock as a date value.
#include <cstdint>
#include <string>
#include <string_view>

#include "common/conversions.h"
#include "platform/system.h"

namespace vav {

class Common;

class LocaleInfo {
 public:
  explicit LocaleInfo(System& system) : system_(system) {}
  // Errors are reported through `common` (set after construction; may be null in tests).
  void set_reporter(Common* common) { common_ = common; }

  void Initialize();  // reads the separators
  void GetLocaleSeparators();
  std::string GetLocaleLanguage();
  std::string GetLocaleCountry();
  std::string GetUserLocaleInfo(std::uint32_t lcid, std::uint32_t item);
  // The locale's abbreviated name of a month 1..12 (for log stamps); the English name when the
  // locale gives none, "" for any other month. Never throws and never reports: the error log
  // itself uses it.
  std::string month_abbreviation(int month);

  char ThousandsSeparator = ',';
  char DecimalSeparator = '.';
  Separators separators() const { return {ThousandsSeparator, DecimalSeparator}; }

 private:
  // Runs `body`, reporting what it throws through `common` under `procedure`.
  template <class Body>
  void reporting_errors(std::string_view procedure, Body&& body);
  System& system_;
  Common* common_ = nullptr;
};

// Date values are days since 30 December 1899, the fraction the time of day.
namespace utc {
// Now, in UTC, to the second.
double CurrentTime(System& system);
// The date value of a clock reading, as CurrentTime computes it.
double date_value(const SystemTime& t);
// The number of days of the month before `month` (1..12); 0 for any other value.
std::int16_t MonthDays(std::int16_t month, bool leap);
}  // namespace utc

// Calendar helpers on date values.
struct CivilDateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
CivilDateTime civil_from_date_value(double date);
// Days since 30 December 1899 of a calendar date; throws kTypeMismatch for a date that does
// not exist (month 0, 31 April, ...) or a year outside 100..9999.
double date_value_of(int year, int month, int day);

}  // namespace vav
