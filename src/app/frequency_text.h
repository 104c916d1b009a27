#pragma once
// The text forms of frequencies and the small tables of frequency and mode tracking and spot
// handling. Pure functions; the separators are the user's.
//
// A "whole-Hz digit string" is 7, 8 or 9 decimal digits (1, 2 or 3 MHz digits). Every form
// built from one removes back to the same digits when both separators are stripped, which the
// logging of a QSO relies on.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/conversions.h"

namespace vav {

// True when `text` is non-empty and holds only the decimal digits 0-9.
bool all_digits(std::string_view text);

// kHz form: MHz digits, thousands separator, three digits, decimal separator, three digits
// (14070150 gives 14,070.150). nullopt unless `digits` is a whole-Hz digit string.
std::optional<std::string> khz_form(std::string_view digits, Separators separators);

// MHz form: MHz digits, decimal separator, six digits (14070150 gives 14.070150). nullopt
// unless `digits` is a whole-Hz digit string.
std::optional<std::string> mhz_form(std::string_view digits, Separators separators);

// The whole-Hz digits of a spot frequency given in kHz: the text formatted with three
// decimals and no grouping, then both separators removed ("14070.15" gives "14070150").
// Throws RuntimeError(kTypeMismatch) for a text that is no number in the user's format:
// stripping the separators from "14070.15.3" would make a frequency of it.
std::string spot_frequency_digits(std::string_view khz_text, Separators separators);

// A spot frequency in Hz as text that the locale reads back as the same whole number: MHz
// digits, thousands separator, six digits (14070150 gives 14,070150). nullopt unless
// `digits` is a whole-Hz digit string.
std::optional<std::string> spot_hz_text(std::string_view digits, Separators separators);

// The dial frequency in kHz with two decimals (truncated, not rounded) from the decimal text
// of a frequency in Hz: 14068650 gives 14,068.65, 7033075 gives 7,033.07. Only the whole-Hz
// part (before the decimal separator) counts; nullopt unless it is 7 to 9 digits.
std::optional<std::string> khz_two_decimals(std::string_view hz_text, Separators separators);

// The same dial frequency as Commander's display counts it, in tens of hertz, without
// separators: 14068650 gives 1406865. Reading it as display text and appending "0" gives
// back the frequency that Commander is tuned to (the two-decimal kHz form above). nullopt
// unless the whole-Hz part of `hz_text` is 7 to 9 digits.
std::optional<std::string> display_tens_of_hertz(std::string_view hz_text, Separators separators);

// The digits of Commander's frequency display with "." and "," removed, which count tens of
// hertz; nullopt when anything but digits remains or nothing does.
std::optional<std::string> display_digits(std::string_view display_text);

// Which side of the dial the operating frequency lies on, by Commander's radio mode
// (compared case-sensitively).
enum class Sideband { lower, upper, keep };
Sideband sideband_of(std::string_view radio_mode);

// The operating frequency for a dial frequency and an audio offset (Hz) under `sideband`,
// rounded half to even; `previous` for Sideband::keep. Throws RuntimeError(kOverflow)
// outside the signed 32-bit range.
std::int32_t operating_frequency(double dial_hz, double offset_hz, Sideband sideband,
                                 std::int32_t previous);

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
