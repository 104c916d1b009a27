#pragma once
// The WPX prefix of a callsign.
#include <string>

namespace vav {

// The callsign with a portable or operating suffix removed, or with a portable call-area
// digit folded in ("Q1ABC/3" gives "Q1ABC/Q3").
std::string CallExceptions(const std::string& SCall);

// The WPX prefix of a callsign; "" when none can be formed.
std::string WpxPrefixFromCall(std::string szCall);

}  // namespace vav
