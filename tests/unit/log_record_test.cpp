#include "app/log_record.h"

#include <gtest/gtest.h>

#include <tuple>

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

TEST(LogRecord, BandPlanIncludesBothEndsAndNothingElse) {
  const struct {
    const char* freq;
    const char* band;
  } cases[] = {
      {"14,070.000", "20M"}, {"14,350.000", "20M"}, {"14,350.001", ""},  {"1,800.000", "160M"},
      {"148,000.000", "2M"}, {"472.000", ""},       {"14.070000", ""},   {"", ""},
      {"abc", ""},           {"29,700", "10M"},     {"10,100.5", "30M"},
  };
  for (const auto& c : cases) EXPECT_EQ(BandFromFrequency(c.freq, kUs), c.band) << c.freq;
  EXPECT_EQ(BandFromFrequency("14.070,000", kEurope), "20M");
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
