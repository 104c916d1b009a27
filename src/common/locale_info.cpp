#include "common/locale_info.h"

#include <array>
#include <cmath>

#include "common/common.h"
#include "errors/error_trap.h"
#include "errors/runtime_error.h"

namespace vav {
namespace {

constexpr std::array<const char*, 12> kEnglishMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The default of a separator the locale does not give, chosen so that the two never clash.
char fallback_separator(char preferred, char other, char alternative) {
  return preferred == other ? alternative : preferred;
}

bool is_leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Days from 1970-01-01 to a proleptic Gregorian date.
constexpr long long days_from_civil(long long y, long long m, long long d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civil_from_days(long long z, int& year, int& month, int& day) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

constexpr long long kDateZero = days_from_civil(1899, 12, 30);

}  // namespace

template <class Body>
void LocaleInfo::reporting_errors(std::string_view procedure, Body&& body) {
  const auto report = [this](const RuntimeError& e, std::string_view p) {
    if (common_ != nullptr) common_->ReportError(e, p);
  };
  vav::reporting_errors(report, procedure, std::forward<Body>(body));
}

void LocaleInfo::Initialize() {
  reporting_errors("LocaleInfo.Initialize", [this] { GetLocaleSeparators(); });
}

void LocaleInfo::GetLocaleSeparators() {
  reporting_errors("LocaleInfo.GetLocaleSeparators", [this] {
    const std::uint32_t lcid = system_.user_default_lcid();
    const std::string thousands = system_.locale_info(lcid, locale_item::kThousandsSeparator);
    const std::string decimal = system_.locale_info(lcid, locale_item::kDecimalSeparator);
    // A separator the locale does not give keeps its usual default, unless the other one
    // already uses that character.
    if (!decimal.empty()) {
      DecimalSeparator = decimal.front();
    } else {
      const char other = thousands.empty() ? ',' : thousands.front();
      DecimalSeparator = fallback_separator('.', other, ',');
    }
    if (!thousands.empty()) {
      ThousandsSeparator = thousands.front();
    } else {
      ThousandsSeparator = fallback_separator(',', DecimalSeparator, '.');
    }
  });
}

std::string LocaleInfo::GetLocaleLanguage() {
  std::string name;
  reporting_errors("LocaleInfo.GetLocaleLanguage", [&] {
    const std::uint32_t lcid = system_.user_default_lcid();
    if (lcid != 0) name = GetUserLocaleInfo(lcid, locale_item::kLanguageName);
  });
  return name;
}

std::string LocaleInfo::GetLocaleCountry() {
  std::string name;
  reporting_errors("LocaleInfo.GetLocaleCountry", [&] {
    const std::uint32_t lcid = system_.user_default_lcid();
    if (lcid != 0) name = GetUserLocaleInfo(lcid, locale_item::kCountryName);
  });
  return name;
}

std::string LocaleInfo::GetUserLocaleInfo(std::uint32_t lcid, std::uint32_t item) {
  std::string text;
  reporting_errors("LocaleInfo.GetUserLocaleInfo",
                   [&] { text = system_.locale_info(lcid, item); });
  return text;
}

std::string LocaleInfo::month_abbreviation(int month) {
  if (month < 1 || month > 12) return "";
  const auto index = static_cast<std::size_t>(month - 1);
  // Used while writing the error log, which must not report; falls back to English.
  std::string name = passing_over_errors(std::string(), [&] {
    const std::uint32_t lcid = system_.user_default_lcid();
    return system_.locale_info(lcid,
                               locale_item::kAbbrevMonthName1 + static_cast<std::uint32_t>(index));
  });
  return name.empty() ? std::string(kEnglishMonths[index]) : name;
}

namespace utc {

double CurrentTime(System& system) { return date_value(system.utc_now()); }

double date_value(const SystemTime& t) {
  long long days = 36525;  // 31 December 1999
  for (int year = 2000; year < t.year; ++year) days += is_leap(year) ? 366 : 365;
  const bool leap = is_leap(t.year);
  for (int month = 1; month <= t.month && month <= 12; ++month) {
    days += MonthDays(static_cast<std::int16_t>(month), leap);
  }
  days += t.day;
  const double seconds = t.hour * 3600.0 + t.minute * 60.0 + t.second;
  return static_cast<double>(days) + seconds / 86400.0;
}

std::int16_t MonthDays(std::int16_t month, bool leap) {
  static constexpr std::array<std::int16_t, 12> kBefore = {0,  31, 28, 31, 30, 31,
                                                           30, 31, 31, 30, 31, 30};
  if (month < 1 || month > 12) return 0;
  if (month == 3 && leap) return 29;
  return kBefore[static_cast<std::size_t>(month - 1)];
}

}  // namespace utc

CivilDateTime civil_from_date_value(double date) {
  double whole_part = std::trunc(date);
  long long seconds = std::llround(std::fabs(date - whole_part) * 86400.0);
  if (seconds >= 86400) {
    // Rounding carried the time into the next day, away from day zero.
    seconds -= 86400;
    whole_part += date < 0 ? -1 : 1;
  }
  CivilDateTime c;
  civil_from_days(static_cast<long long>(whole_part) + kDateZero, c.year, c.month, c.day);
  c.hour = static_cast<int>(seconds / 3600);
  c.minute = static_cast<int>(seconds / 60 % 60);
  c.second = static_cast<int>(seconds % 60);
  return c;
}

double date_value_of(int year, int month, int day) {
  static constexpr std::array<int, 12> kLength = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1) {
    throw RuntimeError(err::kTypeMismatch);
  }
  const int length = kLength[static_cast<std::size_t>(month - 1)] + (month == 2 && is_leap(year));
  if (day > length) throw RuntimeError(err::kTypeMismatch);
  return static_cast<double>(days_from_civil(year, month, day) - kDateZero);
}

}  // namespace vav
