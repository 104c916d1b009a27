#include "peers/spotcollector.h"

#include "peers/dxlab_text.h"

namespace vav::peers {
namespace {
constexpr const char* kIndex = "004";
}  // namespace

const std::vector<std::string>& spot_field_names() {
  static const std::vector<std::string> names = {"freq",  "qsx",    "mode",   "dxcall", "logmode",
                                                 "spare", "search", "prefix", "grid"};
  return names;
}

std::string setscnewentry_command(const Spot& spot) {
  const std::string* values[] = {&spot.frequency_khz, &spot.qsx,      &spot.mode,
                                 &spot.callsign,      &spot.log_mode, &spot.spare,
                                 &spot.search,        &spot.prefix,   &spot.grid};
  std::string out = std::string(kIndex) + "setscnewentry";
  for (std::size_t i = 0; i < spot_field_names().size(); ++i) {
    out += encode_field(spot_field_names()[i], *values[i]);
  }
  return out;
}

std::string invokemacro_command(std::string_view macro) {
  return std::string(kIndex) + "invokemacro" + encode_field("macro", macro);
}

}  // namespace vav::peers
