#pragma once
// The text forms of frequencies and the small tables of frequency and mode tracking and spot
// handling. Pure functions; the separators are the user's.
//
// A "whole-Hz digit string" names a frequency in hertz with decimal digits only: 7, 8 or 9
// of them (1, 2 or 3 MHz digits, the usual bands), or, for the bands below 1 MHz and above
// 999 MHz, 6 or 10 to 12 digits without a leading zero that name at most 300 GHz. Every form
// built from one removes back to the same digits when both separators are stripped, which
// the logging of a QSO relies on.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/conversions.h"

namespace vav {

// True when `text` is non-empty and holds only the decimal digits 0-9.
bool all_digits(std::string_view text);

// True for a whole-Hz digit string.
bool is_whole_hz_digits(std::string_view digits);

// kHz form: the kHz digits grouped in threes by the thousands separator, the decimal
// separator, three digits (14070150 gives 14,070.150, 472700 gives 472.700, 1296200000
// gives 1,296,200.000). nullopt unless `digits` is a whole-Hz digit string.
std::optional<std::string> khz_form(std::string_view digits, Separators separators);

// MHz form: MHz digits ("0" below 1 MHz), decimal separator, six digits (14070150 gives
// 14.070150, 472700 gives 0.472700). nullopt unless `digits` is a whole-Hz digit string.
std::optional<std::string> mhz_form(std::string_view digits, Separators separators);

// The dial frequency in kHz with two decimals (truncated, not rounded) from the decimal text
// of a frequency in Hz, the kHz digits grouped as in the kHz form: 14068650 gives 14,068.65,
// 7033075 gives 7,033.07, 472700 gives 472.70. Only the whole-Hz part (before the decimal
// separator) counts; nullopt unless it is a whole-Hz digit string.
std::optional<std::string> khz_two_decimals(std::string_view hz_text, Separators separators);

// A dial frequency as Commander's "xcvrfreq" takes it: kHz truncated to two decimals,
// trailing zeros and a bare decimal separator dropped, no grouping (14068650 gives
// 14068.65, 472700 gives 472.7, 1296200000 gives 1296200).
std::string xcvr_khz_text(std::int64_t dial_hz, Separators separators);

// Which side of the dial the operating frequency lies on, by Commander's radio mode
// (compared case-sensitively).
enum class Sideband { lower, upper, keep };
Sideband sideband_of(std::string_view radio_mode);

// The dial frequency that puts a spot on the operating frequency under `sideband`, in whole
// hertz (the fraction of an offset dropped, as the radio's resolution does): the spot plus
// the audio offset below the dial (lower), the spot less it above the dial (upper, and for
// a radio mode of no known side). Throws RuntimeError(kOverflow) when no dial is left.
std::int64_t spot_dial_hz(std::int64_t spot_hz, double offset_hz, Sideband sideband);

// The operating frequency for a dial frequency and an audio offset (Hz) under `sideband`,
// rounded half to even; `previous` for Sideband::keep. Throws RuntimeError(kOverflow)
// beyond the whole hertz that a double holds exactly (2^53), far past every band.
std::int64_t operating_frequency(double dial_hz, double offset_hz, Sideband sideband,
                                 std::int64_t previous);

// MixW mode names as the window shows them: a leading "BPSK" becomes "PSK" (BPSK31 gives
// PSK31); exactly "THROB" becomes "Thrb". Anything else is returned unchanged.
std::string display_mode_name(std::string_view mode);

// The radio mode sent to Commander for an RTTY spot, by the "RTTY Radio Mode" list index:
// LSB, USB, RTTY, RTTY-R, PKT; the empty text for any other index.
std::string rtty_radio_mode(int index);

// The optimal audio frequency box holds a valid value only when its text is a whole number
// (digits with an optional leading "-") within the signed 16-bit range.
std::optional<std::int16_t> whole_int16(std::string_view text);

// The optimal audio frequency (Hz) that the box stands for: its value while it holds a valid
// one, otherwise (the user is retyping it) the last valid value.
double optimal_audio_offset(std::string_view box_text, std::int16_t last_valid);

}  // namespace vav
