#include "peers/mixw_macros.h"

#include <cmath>

#include "peers/peer_text.h"

namespace vav::peers {

std::vector<Macro> parse_macros(std::string_view text) {
  std::vector<Macro> out;
  auto add_plain = [&out](std::string_view plain) {
    if (!plain.empty()) out.push_back(Macro{{}, std::string(plain)});
  };
  while (!text.empty()) {
    const auto open = text.find('<');
    const auto close = text.find('>', open == std::string_view::npos ? text.size() : open);
    if (open == std::string_view::npos || close == std::string_view::npos) {
      add_plain(text);
      break;
    }
    add_plain(text.substr(0, open));
    const std::string_view body = text.substr(open + 1, close - open - 1);
    const auto colon = body.find(':');
    Macro macro{std::string(body.substr(0, colon)), std::nullopt};
    if (colon != std::string_view::npos) macro.argument = std::string(body.substr(colon + 1));
    out.push_back(std::move(macro));
    text.remove_prefix(close + 1);
  }
  return out;
}

std::optional<double> zfq_hz(std::string_view argument) {
  const auto khz = parse_decimal(argument);
  if (!khz || *khz <= 0.0) return std::nullopt;
  return std::round(*khz * 1000.0);
}

std::optional<double> audiofq_hz(std::string_view argument) { return parse_decimal(argument); }

}  // namespace vav::peers
