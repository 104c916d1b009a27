#pragma once
// Text and number conversions with the classic semantics the behaviour relies on. Every
// failure throws RuntimeError with the classic number (13 type mismatch, 6 overflow).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vav {

struct Separators {
  char thousands = ',';
  char decimal = '.';
};

// Reads a number the way the user's locale reads it (CDbl): blanks around it allowed, an
// optional sign, digits with thousands separators anywhere in the whole part after its first
// digit, one decimal separator, an optional exponent (E or D). Throws kTypeMismatch for
// anything else, "" included, and kOverflow beyond the double range. When the two
// separators are the same character it is read as the decimal separator.
double locale_number(std::string_view text, Separators separators);
// The same reading without the throw: nullopt wherever locale_number throws.
std::optional<double> try_locale_number(std::string_view text, Separators separators);

// Reads the number at the start of the text (Val): blanks, tabs and line feeds are ignored
// wherever they stand ("1 2" reads 12), "." is the decimal point, an exponent (E or D) may
// follow, reading stops at the first character that cannot continue the number; 0 when the
// text does not start with a number. Throws kOverflow beyond the double range.
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

// CStr() of a floating-point number: the value rounded to 15 significant digits, trailing
// zeros dropped, the user's decimal separator. 1.5 gives "1.5", 1500 gives "1500", 0.001
// gives "0.001", 0.1 + 0.2 gives "0.3". Magnitudes from 1E+15 up and below 1E-04 take the
// exponent form "1E+15", "1,5E-05".
std::string number_text(double value, Separators separators);

// Format(value, "#####.#00"): the whole digits without grouping (none when the whole part
// is 0, as the "#" placeholders ask: 0.5 gives ".500"), the user's decimal separator, three
// decimals rounded half away from zero on the 15-digit value. Throws kOverflow for infinity
// and NaN.
std::string format_three_decimals(double value, Separators separators);

// Letter case of the ASCII letters only.
std::string to_upper(std::string_view text);
std::string to_lower(std::string_view text);
std::string trim_blanks(std::string_view text);  // blanks only, both ends
// Every occurrence of any of the characters in `chars` removed.
std::string remove_chars(std::string_view text, std::string_view chars);

}  // namespace vav
