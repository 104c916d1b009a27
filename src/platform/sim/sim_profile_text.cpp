#include "platform/sim/sim_profile_text.h"

#include <optional>
#include <vector>

#include "platform/sim/sim_text.h"

namespace vav::sim::profile_text {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kNewLine = "\r\n";

std::string_view trim(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

struct Line {
  std::size_t begin;  // offset of its first character
  std::size_t end;    // offset just past its text, before CR LF or LF
  std::size_t next;   // offset of the following line
};

std::vector<Line> split_lines(std::string_view content) {
  std::vector<Line> lines;
  std::size_t begin = 0;
  while (begin < content.size()) {
    const auto newline = content.find('\n', begin);
    const std::size_t next = newline == std::string_view::npos ? content.size() : newline + 1;
    std::size_t end = newline == std::string_view::npos ? content.size() : newline;
    if (end > begin && content[end - 1] == '\r') --end;
    lines.push_back({begin, end, next});
    begin = next;
  }
  return lines;
}

std::string_view text_of(std::string_view content, const Line& line) {
  return content.substr(line.begin, line.end - line.begin);
}

// The name of a section line, or nullopt for any other line.
std::optional<std::string_view> section_name(std::string_view line) {
  const std::string_view text = trim(line);
  if (text.empty() || text.front() != '[') return std::nullopt;
  const std::string_view inner = text.substr(1);
  return trim(inner.substr(0, inner.find(']')));
}

std::string_view key_name(std::string_view line) { return trim(line.substr(0, line.find('='))); }

struct SectionSpan {
  std::size_t header;  // index of the "[name]" line
  std::size_t end;     // index of the next section line, or the line count
};

std::optional<SectionSpan> find_section(std::string_view content, const std::vector<Line>& lines,
                                        std::string_view section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto name = section_name(text_of(content, lines[i]));
    if (!name || !iequals(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && !section_name(text_of(content, lines[end]))) ++end;
    return SectionSpan{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> find_key(std::string_view content, const std::vector<Line>& lines,
                                    const SectionSpan& span, std::string_view key) {
  for (std::size_t i = span.header + 1; i < span.end; ++i) {
    const std::string_view text = trim(text_of(content, lines[i]));
    if (!text.empty() && iequals(key_name(text), key)) return i;
  }
  return std::nullopt;
}

std::string_view unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string entry(std::string_view key, std::string_view value) {
  std::string text(key);
  text += '=';
  text += value;
  text += kNewLine;
  return text;
}

// Content that ends with a line break, so that a line can follow it.
std::string terminated(std::string_view content) {
  std::string text(content);
  if (!text.empty() && text.back() != '\n') text += kNewLine;
  return text;
}

}  // namespace

std::string read_value(std::string_view content, std::string_view section, std::string_view key,
                       std::size_t max_chars) {
  const std::vector<Line> lines = split_lines(content);
  const auto span = find_section(content, lines, section);
  if (!span) return {};
  const auto index = find_key(content, lines, *span, key);
  if (!index) return {};
  const std::string_view text = text_of(content, lines[*index]);
  const auto equals = text.find('=');
  if (equals == std::string_view::npos) return {};
  return std::string(unquote(trim(text.substr(equals + 1))).substr(0, max_chars));
}

std::string write_value(std::string_view content, std::string_view section, std::string_view key,
                        std::string_view value) {
  const std::vector<Line> lines = split_lines(content);
  const auto span = find_section(content, lines, section);
  if (!span) {
    return terminated(content) + "[" + std::string(section) + "]" + std::string(kNewLine) +
           entry(key, value);
  }
  if (const auto index = find_key(content, lines, *span, key)) {
    const Line& line = lines[*index];
    const auto equals = text_of(content, line).find('=');
    std::string result(content.substr(0, line.begin));
    if (equals == std::string_view::npos) {
      result += std::string(trim(text_of(content, line))) + "=";
    } else {
      result += content.substr(line.begin, equals + 1);
    }
    result += value;
    result += content.substr(line.end);
    return result;
  }
  std::size_t last = span->header;
  for (std::size_t i = span->header + 1; i < span->end; ++i) {
    if (!trim(text_of(content, lines[i])).empty()) last = i;
  }
  const std::size_t at = lines[last].next;
  return terminated(content.substr(0, at)) + entry(key, value) + std::string(content.substr(at));
}

}  // namespace vav::sim::profile_text
