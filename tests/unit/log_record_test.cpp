#include "app/log_record.h"

#include <gtest/gtest.h>

#include <tuple>

#include "app/frequency_text.h"
#include "errors/runtime_error.h"

namespace vav {
namespace {

const Separators kUs{',', '.'};
const Separators kEurope{'.', ','};

TEST(LogRecord, FieldsCarryTheirLengthAfterLessThanSignsAreRemoved) {
  LogRecord record;
  record.AddLogField("CALL", "Q1ABC");
  record.AddLogField("NOTES", "a<b>c");
  record.AddLogField("QTH", "<<<");
  record.AddLogField("NAME", "");
  EXPECT_EQ(record.GetLogRecord(), "<CALL:5>Q1ABC <NOTES:4>ab>c ");
  record.ClearLogRecord();
  EXPECT_EQ(record.GetLogRecord(), "");
}

// The number formats of the users the program runs for.
const std::pair<const char*, Separators> kUserFormats[] = {
    {"en-US", {',', '.'}},    {"de-DE", {'.', ','}}, {"fr-FR", {'\xa0', ','}},
    {"ru-RU", {'\xa0', ','}}, {"sv-SE", {' ', ','}}, {"de-CH", {'\'', '.'}},
    {"ja-JP", {',', '.'}},
};

TEST(LogRecord, BandOfTheOperatingFrequencyInEitherWindowFormUnderEveryUserFormat) {
  const std::pair<const char*, const char*> cases[] = {
      {"14070000", "20M"},    {"14350000", "20M"},   {"14350001", ""},       {"1800000", "160M"},
      {"148000000", "2M"},    {"472000", "630M"},    {"5357000", "60M"},     {"70200000", "4M"},
      {"223500000", "1.25M"}, {"432100000", "70CM"}, {"1296200000", "23CM"}, {"136000", "2190M"},
      {"10368100500", "3CM"}, {"100000", ""},
  };
  for (const auto& [name, seps] : kUserFormats) {
    SCOPED_TRACE(name);
    for (const auto& [digits, band] : cases) {
      EXPECT_EQ(BandFromFrequency(*khz_form(digits, seps), seps), band) << digits;
      EXPECT_EQ(BandFromFrequency(*mhz_form(digits, seps), seps), band) << digits;
    }
  }
  for (const char* no_form : {"", "abc", "29,700", "14,070.150 kHz"}) {
    EXPECT_EQ(BandFromFrequency(no_form, kUs), "") << no_form;
  }
}

TEST(LogRecord, ConvertedFrequencyGivesMegahertzWithSixDecimalsAndAPoint) {
  const std::tuple<const char*, Separators, const char*> cases[] = {
      {"7,035.000", kUs, "7.035000"},
      {"144,300.000", kUs, "144.300000"},
      {"14.070000", kUs, "14.070000"},
      {"14.070,150", kEurope, "14.070150"},  // ADIF's point, not the user's comma
      {"14,070150", kEurope, "14.070150"},
      {"472.000", kUs, "0.472000"},
      {"0,472700", kEurope, "0.472700"},
      {"1,296,000.000", kUs, "1296.000000"},
      {"10.368.100,500", kEurope, "10368.100500"},
      {"", kUs, ""},
      {"47.200", kUs, ""},
      {"1,000,000,000.000", kUs, ""},
  };
  for (const auto& [text, separators, freq] : cases) {
    EXPECT_EQ(ConvertedFrequency(text, separators), freq) << text;
  }
}

TEST(LogRecord, DatesAndTimes) {
  EXPECT_EQ(date_digits(LocalDate(11, 27, 2005)), "20051127");
  EXPECT_EQ(date_digits(LocalDate(1, 2, 5)), "19050102");
  EXPECT_THROW(LocalDate(0, 27, 2005), RuntimeError);
  EXPECT_THROW(LocalDate(2, 30, 2024), RuntimeError);
  EXPECT_EQ(time_digits("04:44"), "044400");
  EXPECT_EQ(time_digits("6:48:09"), "064809");
  EXPECT_EQ(time_digits(""), "");
  EXPECT_EQ(time_digits("25:00"), "25:00");  // no time of day: logged as it stands
}

}  // namespace
}  // namespace vav
