#pragma once
// Files that other processes write while a test reads them (journals, logs).
#include <optional>
#include <string>
#include <vector>

namespace vav::e2e {

// The whole file, read while its writer keeps it open; nullopt when it does not exist.
std::optional<std::string> read_shared(const std::string& path);

// Creates or replaces the file with exactly `content`; false on failure.
bool write_file(const std::string& path, const std::string& content);

// The complete lines of `text` (a last line without its line feed is still being written and
// left out); a CR before the LF is dropped.
std::vector<std::string> complete_lines(const std::string& text);

}  // namespace vav::e2e
