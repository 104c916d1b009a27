#pragma once
// The text rules of Windows profile files, applied to a file's content: what
// GetPrivateProfileStringA reads from it and what WritePrivateProfileStringA makes of it.
// Sections are lines "[name]", entries are lines "key=value"; names match without regard to
// letter case; only the first section of a name and the first entry of a key count.
#include <cstddef>
#include <string>
#include <string_view>

namespace vav::sim::profile_text {

// The value of `key` in `section`: blanks around it stripped, one pair of matching quotes
// around it removed, cut to `max_chars`; "" when the section or key is missing.
std::string read_value(std::string_view content, std::string_view section, std::string_view key,
                       std::size_t max_chars);

// The content with key=value in section: an existing entry gets the new value in place
// (everything else stays byte for byte); a missing key is added after the last non-blank
// line of its section; a missing section is added at the end. New lines end in CR LF.
std::string write_value(std::string_view content, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace vav::sim::profile_text
