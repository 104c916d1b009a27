#pragma once
// The frequency of a spot as SpotCollector writes it, in kHz. SpotCollector formats it with
// whatever decimal mark the PC it runs on uses, so the text is read the same way under every
// number format of this program's user. Pure.
#include <cstdint>
#include <optional>
#include <string_view>

namespace vav {

// The frequencies a spot may name: 100 kHz to 300 GHz, both included.
inline constexpr std::int64_t kLowestSpotHz = 100'000;
inline constexpr std::int64_t kHighestSpotHz = 300'000'000'000;

// Reads a spot frequency in kHz and returns it in whole hertz (rounded half up at the
// fourth decimal). Blanks and tabs around the text are ignored; inside it only digits, "."
// and "," may stand.
// - No mark: whole kHz ("14070").
// - One mark, "." or ",": the decimal mark ("14070.15", "7035,2"), except that a mark
//   followed by exactly three digits, where the value read as decimals would fall below
//   100 kHz, groups digits ("14,070" and "14.070" are 14070 kHz; "0.136" is no grouping).
// - Both marks: the last one is the decimal mark and stands once; the other groups the
//   whole part in threes after a first group of one to three digits that does not start
//   with a zero ("14,070.15", "14.070,15", "1.296.200,5").
// nullopt for anything else (an empty text, a sign, an exponent, the same mark twice
// without the other after it) and for a frequency outside kLowestSpotHz..kHighestSpotHz.
std::optional<std::int64_t> read_spot_frequency_hz(std::string_view khz_text);

}  // namespace vav
