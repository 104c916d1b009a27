#pragma once
// Calendar arithmetic for the simulated clock: a SystemTime to and from milliseconds since
// 1 January 1970 (proleptic Gregorian calendar).
#include <cstdint>

#include "platform/system.h"

namespace vav::sim {

std::int64_t to_epoch_ms(const SystemTime& time);
SystemTime from_epoch_ms(std::int64_t ms);

}  // namespace vav::sim
