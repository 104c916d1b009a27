#include "station_e2e/journal_file.h"

#include "station_e2e/text_file.h"

namespace vav::e2e {

std::vector<std::string> JournalFile::lines() const {
  return complete_lines(read_shared(path_).value_or(""));
}

std::vector<std::string> JournalFile::unread() const {
  std::vector<std::string> all = lines();
  if (cursor_ >= all.size()) return {};
  return {all.begin() + static_cast<std::ptrdiff_t>(cursor_), all.end()};
}

std::optional<std::string> JournalFile::find(const std::string& text) const {
  for (const std::string& line : unread()) {
    if (line.find(text) != std::string::npos) return line;
  }
  return std::nullopt;
}

bool JournalFile::has(const std::string& text) const {
  for (const std::string& line : lines()) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

::testing::AssertionResult JournalFile::await(const std::string& text, DWORD limit) {
  return await_match(
      [&text](const std::string& line) { return line.find(text) != std::string::npos; },
      "a line containing '" + text + "'", limit);
}

::testing::AssertionResult JournalFile::await_line(const std::string& line, DWORD limit) {
  return await_match([&line](const std::string& candidate) { return candidate == line; },
                     "the line '" + line + "'", limit);
}

::testing::AssertionResult JournalFile::await_match(
    const std::function<bool(const std::string&)>& match, const std::string& wanted, DWORD limit) {
  std::optional<std::size_t> found;
  eventually(
      [&] {
        const std::vector<std::string> all = lines();
        for (std::size_t i = cursor_; i < all.size(); ++i) {
          if (match(all[i])) {
            found = i;
            return true;
          }
        }
        return false;
      },
      limit);
  if (!found) {
    return ::testing::AssertionFailure() << "no " << wanted << " after line " << cursor_ << " of "
                                         << path_ << " within " << limit << " ms\n"
                                         << dump();
  }
  cursor_ = *found + 1;
  return ::testing::AssertionSuccess();
}

std::string JournalFile::dump() const {
  std::string out;
  const std::vector<std::string> all = lines();
  std::size_t polls = 0;
  for (std::size_t i = 0; i < all.size(); ++i) {
    // The program reads MixW's state every 500 ms: those lines are only counted.
    if (all[i].rfind("automation get ", 0) == 0) {
      ++polls;
      continue;
    }
    // ">" marks the lines not yet passed by a wait.
    out += "  " + std::to_string(i) + (i < cursor_ ? "  " : "> ") + all[i] + "\n";
  }
  if (polls > 0) out += "  (and " + std::to_string(polls) + " \"automation get\" lines)\n";
  return all.empty() ? "  (empty or missing)\n" : out;
}

}  // namespace vav::e2e
