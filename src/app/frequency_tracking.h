#pragma once
// What the program knows of the frequency: the radio's dial, MixW's audio offset, and the
// operating frequency they make, kept in step between MixW and Commander.
#include <cstdint>
#include <string>

namespace vav {

struct FrequencyTracking {
  double RigFrequencyHz = 0;
  double AudioOffsetHz = 0;
  std::int64_t OperatingFrequencyHz = 0;  // 64-bit: microwave dials do not fit 32 bits
  std::string FrequencyDigits;            // the dial as MixW last reported it, digits only
};

}  // namespace vav
