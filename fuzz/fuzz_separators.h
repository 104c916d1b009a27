#pragma once
// The user's number format for a fuzz input: its first byte picks one of the separator pairs
// that locales use (the same character for both included).
#include <cstddef>
#include <cstdint>

#include "common/conversions.h"

namespace vav::fuzzing {

inline Separators separators_of(std::uint8_t choice) {
  static constexpr Separators kPairs[] = {{',', '.'}, {'.', ','}, {' ', ','},   {'\'', '.'},
                                          {',', ','}, {'.', '.'}, {'\xa0', ','}};
  return kPairs[choice % (sizeof kPairs / sizeof kPairs[0])];
}

}  // namespace vav::fuzzing
