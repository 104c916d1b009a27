#pragma once
// Decimal digits of a double as the classic runtime shows them: 15 significant digits, the
// way CStr and Format see a number.
#include <string>

namespace vav {

struct DecimalDigits {
  bool negative = false;
  std::string digits;  // significant digits without trailing zeros; "0" for zero
  int exponent = 0;    // value = d.ddd... x 10^exponent
};

// The value rounded to 15 significant digits. The value must be finite.
DecimalDigits decimal_digits(double value);

struct FixedDigits {
  bool negative = false;  // false when the rounded value is zero
  std::string whole;      // no leading zeros; "0" when the whole part is zero
  std::string fraction;   // exactly `decimals` digits
};

// The 15-digit value rounded to `decimals` places, halves away from zero.
FixedDigits fixed_digits(double value, int decimals);

}  // namespace vav
