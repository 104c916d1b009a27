#pragma once
// Small text helpers of the stand-ins (ANSI bytes; ASCII letter case only).
#include <optional>
#include <string>
#include <string_view>

namespace vav::peers {

std::string ascii_upper(std::string_view text);
std::string ascii_lower(std::string_view text);
bool equals_ignoring_case(std::string_view a, std::string_view b);
bool starts_with_ignoring_case(std::string_view text, std::string_view prefix);

// A decimal number as an operator or a DXLab program writes it: blanks around it allowed,
// an optional sign, digits, and one decimal separator that may be "." or ",". No grouping,
// no exponent. nullopt for anything else.
std::optional<double> parse_decimal(std::string_view text);

// The digits of a whole non-negative number; nullopt when the text is empty or holds any
// other character.
std::optional<long long> parse_digits(std::string_view text);

}  // namespace vav::peers
