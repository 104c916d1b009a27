#pragma once
// Name comparison shared by the sim adapters: Windows matches DDE service and topic names,
// ProgIDs, registry keys and profile names without regard to ASCII letter case.
#include <string>
#include <string_view>

namespace vav::sim {

std::string ascii_lower(std::string_view text);
bool iequals(std::string_view a, std::string_view b);

}  // namespace vav::sim
