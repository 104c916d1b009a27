#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/locale_info.h"
#include "errors/runtime_error.h"
#include "platform/sim/sim_event_loop.h"
#include "platform/sim/sim_system.h"

namespace vav {
namespace {

class LocaleInfoTest : public ::testing::Test {
 protected:
  sim::SimEventLoop loop;
  sim::SimSystem system{loop, std::filesystem::temp_directory_path().string()};
  LocaleInfo locale{system};
};

TEST_F(LocaleInfoTest, SeparatorsComeFromTheUsersLocale) {
  struct Case {
    std::string thousands, decimal;
    char expected_thousands, expected_decimal;
  };
  const std::vector<Case> cases = {
      {",", ".", ',', '.'},  {".", ",", '.', ','},   {"\xA0", ",", '\xA0', ','},
      {"'", ".", '\'', '.'}, {"", "", ',', '.'},  // nothing given: the usual defaults
      {"", ",", '.', ','},  // a default never clashes with the other separator
      {".", "", '.', ','},   {",,", ".x", ',', '.'},  // only the first character counts
      {",", ",", ',', ','},                           // the locale's own clash is kept as it is
  };
  for (const auto& c : cases) {
    system.set_separators(c.thousands, c.decimal);
    locale.Initialize();
    EXPECT_EQ(locale.ThousandsSeparator, c.expected_thousands) << c.thousands << c.decimal;
    EXPECT_EQ(locale.DecimalSeparator, c.expected_decimal) << c.thousands << c.decimal;
    EXPECT_EQ(locale.separators().decimal, c.expected_decimal);
  }
}

TEST_F(LocaleInfoTest, LanguageAndCountry) {
  EXPECT_EQ(locale.GetLocaleLanguage(), "English (United States)");
  EXPECT_EQ(locale.GetLocaleCountry(), "United States");
  system.set_locale_item(locale_item::kCountryName, "");
  EXPECT_EQ(locale.GetLocaleCountry(), "");
  system.set_user_default_lcid(0);
  EXPECT_EQ(locale.GetLocaleLanguage(), "");
}

TEST_F(LocaleInfoTest, MonthAbbreviations) {
  EXPECT_EQ(locale.month_abbreviation(1), "Jan");
  system.set_locale_item(locale_item::kAbbrevMonthName1 + 2, "mars");
  EXPECT_EQ(locale.month_abbreviation(3), "mars");
  system.set_locale_item(locale_item::kAbbrevMonthName1 + 11, "");
  EXPECT_EQ(locale.month_abbreviation(12), "Dec");  // English when the locale has none
  EXPECT_EQ(locale.month_abbreviation(0), "");
  EXPECT_EQ(locale.month_abbreviation(13), "");
}

TEST(Utc, DateValuesOfClockReadings) {
  struct Case {
    SystemTime time;
    double value;
  };
  const std::vector<Case> cases = {
      {{2024, 2, 29, 12, 0, 0, 0}, 45351.5},
      {{2023, 3, 1, 0, 0, 0, 0}, 44986},
      {{2000, 1, 1, 0, 0, 0, 0}, 36526},
      {{2000, 12, 31, 0, 0, 0, 0}, 36891},
      {{2001, 1, 1, 6, 0, 0, 999}, 36892.25},  // milliseconds dropped
      {{2100, 3, 1, 0, 0, 0, 0}, 73110},       // 2100 is no leap year
      {{1999, 1, 1, 0, 0, 0, 0}, 36526},       // a year before 2000 adds no years
      {{2024, 1, 15, 23, 59, 59, 0}, 45306 + 86399.0 / 86400},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(utc::date_value(c.time), c.value) << c.time.year << "-" << c.time.month;
  }
}

TEST(Utc, MonthDaysIsTheLengthOfThePrecedingMonth) {
  const std::vector<int> plain = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30};
  for (int month = 1; month <= 12; ++month) {
    const int leap = month == 3 ? 29 : plain[static_cast<std::size_t>(month - 1)];
    EXPECT_EQ(utc::MonthDays(static_cast<std::int16_t>(month), false), plain[month - 1]);
    EXPECT_EQ(utc::MonthDays(static_cast<std::int16_t>(month), true), leap);
  }
  EXPECT_EQ(utc::MonthDays(0, false), 0);
  EXPECT_EQ(utc::MonthDays(13, true), 0);
}

TEST(CalendarHelpers, RoundTripsAndInvalidDates) {
  EXPECT_DOUBLE_EQ(date_value_of(1899, 12, 30), 0);
  EXPECT_DOUBLE_EQ(date_value_of(2024, 2, 29), 45351);
  EXPECT_DOUBLE_EQ(date_value_of(100, 1, 1), -657434);
  for (double date : {0.0, 36526.0, 45351.5, 45306.999988425926, 2958465.0, -1.25}) {
    const CivilDateTime c = civil_from_date_value(date);
    const double back = date_value_of(c.year, c.month, c.day);
    const double seconds = c.hour * 3600.0 + c.minute * 60.0 + c.second;
    const double rebuilt = back < 0 ? back - seconds / 86400 : back + seconds / 86400;
    EXPECT_NEAR(rebuilt, date, 1e-5) << date;
  }
  const CivilDateTime leap = civil_from_date_value(45351.5);
  EXPECT_EQ(leap.year, 2024);
  EXPECT_EQ(leap.month, 2);
  EXPECT_EQ(leap.day, 29);
  EXPECT_EQ(leap.hour, 12);
  const CivilDateTime carried = civil_from_date_value(45351.9999999);
  EXPECT_EQ(carried.month, 3);
  EXPECT_EQ(carried.day, 1);
  EXPECT_EQ(carried.hour, 0);
  struct Bad {
    int y, m, d;
  };
  for (const Bad& b : std::vector<Bad>{{2023, 2, 29},
                                       {2024, 4, 31},
                                       {2024, 0, 1},
                                       {2024, 13, 1},
                                       {99, 1, 1},
                                       {10000, 1, 1},
                                       {2024, 1, 0}}) {
    try {
      date_value_of(b.y, b.m, b.d);
      ADD_FAILURE() << b.y << "-" << b.m << "-" << b.d;
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number(), err::kTypeMismatch);
    }
  }
}

}  // namespace
}  // namespace vav
