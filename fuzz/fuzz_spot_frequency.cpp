// The spot-frequency reader over arbitrary bytes: every text is refused or read to a
// frequency from 100 kHz to 300 GHz; blanks around a text change nothing; and a frequency
// read, written back in kHz with three decimals and either mark, reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/spot_frequency.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

// Whole hertz as kHz with three decimals and `mark` ("14070.150").
std::string khz_text(std::int64_t hz, char mark) {
  std::string decimals = std::to_string(hz % 1000);
  decimals.insert(0, 3 - decimals.size(), '0');
  return std::to_string(hz / 1000) + mark + decimals;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto hz = vav::read_spot_frequency_hz(text);
  check(vav::read_spot_frequency_hz(" \t" + text + "\t ") == hz);
  if (!hz) return 0;
  check(*hz >= vav::kLowestSpotHz && *hz <= vav::kHighestSpotHz);
  check(vav::read_spot_frequency_hz(khz_text(*hz, '.')) == hz);
  check(vav::read_spot_frequency_hz(khz_text(*hz, ',')) == hz);
  return 0;
}
