#include "common/adif_bands.h"

#include <array>

namespace vav {
namespace {

constexpr std::int64_t kKhz = 1'000;
constexpr std::int64_t kMhz = 1'000'000;

// ADIF 3.1.4, Band enumeration (lower and upper edge, both included).
constexpr std::array<AdifBand, 32> kBands{{
    {"2190M", 135'700, 137'800},
    {"630M", 472 * kKhz, 479 * kKhz},
    {"560M", 501 * kKhz, 504 * kKhz},
    {"160M", 1'800 * kKhz, 2 * kMhz},
    {"80M", 3'500 * kKhz, 4 * kMhz},
    {"60M", 5'060 * kKhz, 5'450 * kKhz},
    {"40M", 7 * kMhz, 7'300 * kKhz},
    {"30M", 10'100 * kKhz, 10'150 * kKhz},
    {"20M", 14 * kMhz, 14'350 * kKhz},
    {"17M", 18'068 * kKhz, 18'168 * kKhz},
    {"15M", 21 * kMhz, 21'450 * kKhz},
    {"12M", 24'890 * kKhz, 24'990 * kKhz},
    {"10M", 28 * kMhz, 29'700 * kKhz},
    {"8M", 40 * kMhz, 45 * kMhz},
    {"6M", 50 * kMhz, 54 * kMhz},
    {"5M", 54'000'001, 69'900 * kKhz},
    {"4M", 70 * kMhz, 71 * kMhz},
    {"2M", 144 * kMhz, 148 * kMhz},
    {"1.25M", 222 * kMhz, 225 * kMhz},
    {"70CM", 420 * kMhz, 450 * kMhz},
    {"33CM", 902 * kMhz, 928 * kMhz},
    {"23CM", 1'240 * kMhz, 1'300 * kMhz},
    {"13CM", 2'300 * kMhz, 2'450 * kMhz},
    {"9CM", 3'300 * kMhz, 3'500 * kMhz},
    {"6CM", 5'650 * kMhz, 5'925 * kMhz},
    {"3CM", 10'000 * kMhz, 10'500 * kMhz},
    {"1.25CM", 24'000 * kMhz, 24'250 * kMhz},
    {"6MM", 47'000 * kMhz, 47'200 * kMhz},
    {"4MM", 75'500 * kMhz, 81'000 * kMhz},
    {"2.5MM", 119'980 * kMhz, 123'000 * kMhz},
    {"2MM", 134'000 * kMhz, 149'000 * kMhz},
    {"1MM", 241'000 * kMhz, 250'000 * kMhz},
}};

}  // namespace

std::span<const AdifBand> adif_bands() { return kBands; }

std::string_view adif_band_of(std::int64_t hz) {
  for (const AdifBand& band : kBands) {
    if (hz >= band.lowest_hz && hz <= band.highest_hz) return band.name;
  }
  return {};
}

}  // namespace vav
