// The reader of the neighbours' numbers over arbitrary bytes, in kHz and in Hz: every text
// is refused or read to a frequency from 100 kHz to 300 GHz; blanks around a text change
// nothing; and a frequency from 1 MHz up, written back in the kHz window form under every
// number format, reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/frequency_text.h"
#include "common/neighbour_number.h"
#include "fuzz_separators.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

constexpr int kFormats = 7;  // the pairs of fuzz_separators.h

void check_reading(const std::string& text, vav::FrequencyUnit unit) {
  const auto hz = vav::read_frequency_hz(text, unit);
  check(vav::read_frequency_hz(" \t" + text + "\t ", unit) == hz);
  if (!hz) return;
  check(*hz >= vav::kLowestFrequencyHz && *hz <= vav::kHighestFrequencyHz);
  if (*hz < 1'000'000) return;  // "472.000" reads two ways, both inside the range
  for (int f = 0; f < kFormats; ++f) {
    const vav::Separators seps = vav::fuzzing::separators_of(static_cast<std::uint8_t>(f));
    if (seps.thousands == seps.decimal) continue;
    const auto khz = vav::khz_form(std::to_string(*hz), seps);
    check(khz.has_value());
    check(vav::read_frequency_hz(*khz, vav::FrequencyUnit::kilohertz) == hz);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  check_reading(text, vav::FrequencyUnit::kilohertz);
  check_reading(text, vav::FrequencyUnit::hertz);
  const auto readings = vav::number_readings(text);
  check(readings.size() <= 2);
  check(vav::read_plain_number(text).has_value() == (readings.size() == 1));
  return 0;
}
