#pragma once
// Text and number conversions with the classic semantics the behaviour relies on. Every
// failure throws RuntimeError with the classic number (13 type mismatch, 6 overflow).
#include <cstdint>
#include <string>
#include <string_view>

namespace vav {

struct Separators {
  char thousands = ',';
  char decimal = '.';
};

// Reads a number the way the user's locale reads it (CDbl): blanks around it allowed, an
// optional sign, digits with thousands separators anywhere in the whole part, one decimal
// separator, an optional exponent. Throws kTypeMismatch for anything else, "" included.
double locale_number(std::string_view text, Separators separators);

// Reads the number at the start of the text (Val): leading blanks skipped, "." is the
// decimal point, reading stops at the first character that cannot continue the number;
// 0 when the text does not start with a number.
double leading_number(std::string_view text);

// Rounds to a whole number, halves to the even neighbour; throws kOverflow outside the
// target range.
std::int16_t round_to_int16(double value);
std::int32_t round_to_int32(double value);

// CBool of a text: True or False in any letter case, or a number (0 false, else true).
// Throws kTypeMismatch for anything else.
bool to_boolean(std::string_view text, Separators separators);
// The words True and False.
std::string boolean_text(bool value);

// Str(): the decimal text of a whole number, with one leading blank when not negative.
std::string str_number(long long value);

// CStr() of a floating-point number: the shortest text that reads back as the same double
// (at most 15 significant digits), no exponent for ordinary magnitudes, the user's decimal
// separator. 1.5 gives "1.5", 1500 gives "1500", 0.001 gives "0.001".
std::string number_text(double value, Separators separators);

// Format(value, "#####.#00"): at least one integer digit... three decimals, rounded; no
// digit grouping; the user's decimal separator.
std::string format_three_decimals(double value, Separators separators);

std::string to_upper(std::string_view text);
std::string to_lower(std::string_view text);
std::string trim_blanks(std::string_view text);  // blanks only, both ends
// Every occurrence of any of the characters in `chars` removed.
std::string remove_chars(std::string_view text, std::string_view chars);

}  // namespace vav
