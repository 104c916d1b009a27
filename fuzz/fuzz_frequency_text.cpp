// The frequency text forms over arbitrary bytes and every separator pair: the kHz and MHz
// forms, the spot frequency in hertz, the dial frequency in kHz and in Commander's display
// units, the display digits and the optimal audio frequency box. Every form built from
// whole-hertz digits gives the same digits back once its separators are removed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/frequency_text.h"
#include "common/neighbour_number.h"
#include "fuzz_separators.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

std::string without(const std::string& text, vav::Separators seps) {
  return vav::remove_chars(text, std::string{seps.thousands, seps.decimal});
}

bool usual_hz_digits(std::string_view text) {
  return text.size() >= 7 && text.size() <= 9 && vav::all_digits(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const vav::Separators seps = vav::fuzzing::separators_of(data[0]);
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const bool distinct = seps.thousands != seps.decimal;

  const auto khz = vav::khz_form(text, seps);
  const auto mhz = vav::mhz_form(text, seps);
  const bool whole_hz = vav::is_whole_hz_digits(text);
  check(!usual_hz_digits(text) || whole_hz);
  check(khz.has_value() == whole_hz);
  check(mhz.has_value() == whole_hz);
  if (khz && distinct) {
    check(without(*khz, seps) == text);
    const std::string mhz_digits = without(*mhz, seps);
    check(mhz_digits == text || mhz_digits == "0" + text);
  }

  // The dial in kHz with two decimals, as the mirror holds it under Commander control,
  // reads back as the dial to the ten hertz.
  const auto two = vav::khz_two_decimals(text, seps);
  if (two && distinct) {
    // Only the whole hertz before the decimal separator count.
    const std::string whole = text.substr(0, text.find(seps.decimal));
    check(vav::is_whole_hz_digits(whole));
    const auto hz = vav::read_frequency_hz(*two, vav::FrequencyUnit::kilohertz);
    // A 7- to 9-digit string with a leading zero makes a form but names no frequency.
    if (whole.front() != '0') check(hz == std::stoll(whole) / 10 * 10);
  }

  if (const auto value = vav::whole_int16(text)) {
    check(vav::optimal_audio_offset(text, 0) == *value);
  } else {
    check(vav::optimal_audio_offset(text, 1234) == 1234);
  }
  static_cast<void>(vav::rtty_radio_mode(static_cast<int>(data[0]) - 128));
  static_cast<void>(vav::display_mode_name(text));
  return 0;
}
