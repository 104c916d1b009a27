#pragma once
// MixW's macro text as ExecuteMacros takes it: "<NAME>" and "<NAME:argument>" macros,
// possibly several in one text, with plain text between them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vav::peers {

struct Macro {
  std::string name;                     // as written; empty for a run of plain text
  std::optional<std::string> argument;  // after the first ":", as written (blanks kept)
  bool operator==(const Macro&) const = default;
};

// Splits macro text in order. An unclosed "<" starts plain text that runs to the end.
std::vector<Macro> parse_macros(std::string_view text);

// The dial frequency of "<ZFQ:f>", f in kHz with "." or "," as the decimal separator, in
// whole hertz; nullopt when f is no positive number.
std::optional<double> zfq_hz(std::string_view argument);

// The audio offset of "<AUDIOFQ:n>" (a leading blank allowed), in hertz; nullopt when n is
// no number.
std::optional<double> audiofq_hz(std::string_view argument);

}  // namespace vav::peers
