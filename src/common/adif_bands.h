#pragma once
// The amateur bands of ADIF 3.1.4's Band enumeration, from 2190 m to 1 mm, with their edges.
// The one band table of the program: it names BAND in the logged record and tells which of
// two readings of an ambiguous frequency text is meant. Pure.
#include <cstdint>
#include <span>
#include <string_view>

namespace vav {

struct AdifBand {
  std::string_view name;  // upper case, as the record carries it: "20M", "70CM", "2190M"
  std::int64_t lowest_hz;
  std::int64_t highest_hz;  // both edges belong to the band
};

// Every band, from the lowest frequency up.
std::span<const AdifBand> adif_bands();

// The name of the band that holds `hz`; empty outside every band.
std::string_view adif_band_of(std::int64_t hz);

}  // namespace vav
