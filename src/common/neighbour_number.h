#pragma once
// The one reader of the numbers the neighbours write: MixW's "Khz" item and dial frequency,
// Commander's frequency display, SpotCollector's spot frequency, MixW's audio offset. Each
// of them writes in the number format of its own PC (or of no PC at all), so a text is read
// by its shape, never by this program's user's separators. Pure.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vav {

// One way of reading a text: the whole digits (grouping taken out) and the decimals.
struct NumberReading {
  std::string whole;
  std::string fraction;
  bool operator==(const NumberReading&) const = default;
};

// Every reading the shape of `text` allows, none, one or two. Blanks and tabs around the
// text are ignored. Inside it stand runs of digits, each pair of runs joined by one mark:
// "." or "," (either may be the decimal mark or group digits), a blank, a no-break space
// (byte 0xA0) or an apostrophe (these only group). A text may end in its decimal mark.
// - Grouped or plain: no decimal mark; every mark the same, a first run of one to three
//   digits not starting with 0, then runs of exactly three ("14 070", "1'296'200", "14070").
// - Decimal: the last mark is "." or ",", and it stands once; the marks before it are all
//   the same other mark and group the whole part as above ("14 070,15", "14'070.15",
//   "14.070,15", "14070.150").
// "14,070" reads both ways (14070 and 14.070); the caller decides between them.
std::vector<NumberReading> number_readings(std::string_view text);

// The frequencies a neighbour may name: 100 kHz to 300 GHz, both included.
inline constexpr std::int64_t kLowestFrequencyHz = 100'000;
inline constexpr std::int64_t kHighestFrequencyHz = 300'000'000'000;

// What the digits of a frequency text count.
enum class FrequencyUnit { hertz, kilohertz };

// A frequency text in whole hertz (rounded half up at the first decimal of a hertz). Of the
// readings of the text only those from kLowestFrequencyHz to kHighestFrequencyHz count (the
// value as written, before rounding); of two such, the one inside an amateur band of the
// ADIF band table wins. nullopt when no reading remains, or two remain.
std::optional<std::int64_t> read_frequency_hz(std::string_view text, FrequencyUnit unit);

// A plain number (an audio offset in hertz): the value of the text's only reading; nullopt
// for a text with no reading or two ("1,500").
std::optional<double> read_plain_number(std::string_view text);

}  // namespace vav
