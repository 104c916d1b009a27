#pragma once
// What the program knows of the frequency: the radio's dial, MixW's audio offset, and the
// operating frequency they make.
#include <cstdint>
#include <optional>

namespace vav {

struct FrequencyTracking {
  // The dial as the mirror of MixW's dial or of Commander's display last read it, in hertz.
  std::optional<std::int64_t> DialHz;
  double RigFrequencyHz = 0;
  double AudioOffsetHz = 0;
  std::int64_t OperatingFrequencyHz = 0;  // 64-bit: microwave dials do not fit 32 bits
};

}  // namespace vav
