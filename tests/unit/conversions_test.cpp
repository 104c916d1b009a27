#include "common/conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "errors/runtime_error.h"
#include "tests/support/error_number.h"

namespace vav {
namespace {

constexpr Separators kUs{',', '.'};
constexpr Separators kDe{'.', ','};

using vav::testing::error_number_of;

struct NumberCase {
  std::string text;
  Separators separators;
  double value;
};

TEST(LocaleNumber, ReadsNumbersInTheUsersFormatWithOrWithoutThrowing) {
  const std::vector<NumberCase> cases = {
      {"14070.15", kUs, 14070.15},
      {"14,070.15", kUs, 14070.15},
      {"14.070,15", kDe, 14070.15},
      {"  -1,5  ", kDe, -1.5},
      {"+7", kUs, 7},
      {"1,2,3", kUs, 123},
      {".5", kUs, 0.5},
      {"5.", kUs, 5},
      {"1e3", kUs, 1000},
      {"2.5E-1", kUs, 0.25},
      {"1,000,000", kUs, 1e6},
      {"\t42", kUs, 42},
      {"1.5", Separators{'.', '.'}, 1.5},  // equal separators: the decimal one wins
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(locale_number(c.text, c.separators), c.value) << c.text;
    EXPECT_DOUBLE_EQ(try_locale_number(c.text, c.separators).value_or(NAN), c.value) << c.text;
  }
}

TEST(LocaleNumber, RejectsWhatIsNoNumber) {
  const std::vector<std::pair<std::string, Separators>> cases = {
      {"", kUs},   {"  ", kUs}, {"abc", kUs}, {"1.2.3", kUs}, {"14.070,15", kUs}, {",5", kUs},
      {"1e", kUs}, {"1x", kUs}, {"-", kUs},   {".", kUs},     {"1 2", kUs},       {"True", kUs},
  };
  for (const auto& [text, separators] : cases) {
    EXPECT_EQ(error_number_of([&] { locale_number(text, separators); }), err::kTypeMismatch) << text;
    EXPECT_EQ(try_locale_number(text, separators), std::nullopt) << text;
  }
  EXPECT_EQ(error_number_of([] { locale_number("1e400", kUs); }), err::kOverflow);
  EXPECT_EQ(try_locale_number("1e400", kUs), std::nullopt);
  EXPECT_EQ(locale_number("1e-400", kUs), 0.0);
  EXPECT_EQ(try_locale_number("1e-400", kUs), 0.0);
}

TEST(LeadingNumber, ReadsTheNumberAtTheStart) {
  const std::vector<std::pair<std::string, double>> cases = {
      {"800", 800},   {"  12abc", 12}, {"-5", -5},     {"+5", 5}, {"1.5.7", 1.5},
      {"abc", 0},     {"", 0},         {"1e3x", 1000}, {"1e", 1}, {"1 2 3", 123},
      {"14,070", 14}, {".25", 0.25},   {"-x", 0},      {"0", 0},  {"7.", 7},
  };
  for (const auto& [text, value] : cases) {
    EXPECT_DOUBLE_EQ(leading_number(text), value) << text;
  }
  EXPECT_FALSE(std::signbit(leading_number("-0")));
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  const std::vector<std::pair<double, int>> cases = {
      {0.5, 0}, {1.5, 2},   {2.5, 2},         {-0.5, 0},          {-1.5, -2},   {2.4, 2},
      {2.6, 3}, {-2.6, -3}, {32767.4, 32767}, {-32768.5, -32768}, {1500, 1500},
  };
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(round_to_int16(value), expected) << value;
    EXPECT_EQ(round_to_int32(value), expected) << value;
  }
  for (double value : std::vector<double>{32767.5, -32768.6, 40000.0, NAN, INFINITY}) {
    EXPECT_EQ(error_number_of([&] { round_to_int16(value); }), err::kOverflow) << value;
  }
  EXPECT_EQ(round_to_int32(40000.5), 40000);
  EXPECT_EQ(round_to_int32(-2147483648.5), -2147483647 - 1);
  EXPECT_EQ(error_number_of([] { round_to_int32(2147483647.5); }), err::kOverflow);
}

TEST(ToBoolean, WordsAndNumbers) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"True", true},   {"true", true},   {"TRUE", true}, {"False", false},
      {"fAlSe", false}, {"1", true},      {"0", false},   {"-1", true},
      {"0.0", false},   {" True ", true}, {"2,5", true},
  };
  for (const auto& [text, value] : cases) {
    EXPECT_EQ(to_boolean(text, kUs), value) << text;
  }
  for (const char* text : {"", "Yes", "on", "Truth"}) {
    EXPECT_EQ(error_number_of([&] { to_boolean(text, kUs); }), err::kTypeMismatch) << text;
  }
  EXPECT_EQ(boolean_text(true), "True");
  EXPECT_EQ(boolean_text(false), "False");
}

TEST(StrNumber, LeadingBlankWhenNotNegative) {
  EXPECT_EQ(str_number(2), " 2");
  EXPECT_EQ(str_number(0), " 0");
  EXPECT_EQ(str_number(-15), "-15");
  EXPECT_EQ(str_number(1500), " 1500");
}

TEST(NumberText, ShortestFifteenDigitText) {
  const std::vector<std::tuple<double, Separators, std::string>> cases = {
      {1.5, kUs, "1.5"},
      {1500, kUs, "1500"},
      {0.001, kUs, "0.001"},
      {14068.65, kUs, "14068.65"},
      {14068.65, kDe, "14068,65"},
      {0.1 + 0.2, kUs, "0.3"},
      {-2.25, kUs, "-2.25"},
      {0, kUs, "0"},
      {-0.0, kUs, "0"},
      {1e14, kUs, "100000000000000"},
      {123456789012345.0, kUs, "123456789012345"},
      {1e15, kUs, "1E+15"},
      {1.5e20, kDe, "1,5E+20"},
      {0.0001, kUs, "0.0001"},
      {0.00001, kUs, "1E-05"},
      {0.000001, kUs, "1E-06"},
      {14.07015, kUs, "14.07015"},
      {2.0 / 3.0, kUs, "0.666666666666667"},
  };
  for (const auto& [value, separators, text] : cases) {
    EXPECT_EQ(number_text(value, separators), text) << value;
  }
}

TEST(FormatThreeDecimals, PatternWithOptionalWholeDigits) {
  const std::vector<std::tuple<double, Separators, std::string>> cases = {
      {14070.15, kUs, "14070.150"},   {14070.15, kDe, "14070,150"},
      {7074.0, kUs, "7074.000"},      {0.5, kUs, ".500"},
      {14070.1505, kUs, "14070.151"}, {14070.1504, kUs, "14070.150"},
      {0.0004, kUs, ".000"},          {0.0005, kUs, ".001"},
      {-1.25, kUs, "-1.250"},         {-0.0001, kUs, ".000"},
      {999.9996, kUs, "1000.000"},    {1234567.891, kUs, "1234567.891"},
  };
  for (const auto& [value, separators, text] : cases) {
    EXPECT_EQ(format_three_decimals(value, separators), text) << value;
  }
}

TEST(TextHelpers, CaseTrimAndRemoval) {
  EXPECT_EQ(to_upper("q1abc/p"), "Q1ABC/P");
  EXPECT_EQ(to_lower("[Cat] Key=V"), "[cat] key=v");
  EXPECT_EQ(trim_blanks("  a b  "), "a b");
  EXPECT_EQ(trim_blanks("\ta\t"), "\ta\t");
  EXPECT_EQ(trim_blanks("   "), "");
  EXPECT_EQ(remove_chars("14,070.150", ",."), "14070150");
  EXPECT_EQ(remove_chars("abc", ""), "abc");
}

}  // namespace
}  // namespace vav
