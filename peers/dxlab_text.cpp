#include "peers/dxlab_text.h"

#include "peers/peer_text.h"

namespace vav::peers {
namespace {

constexpr std::string_view kEndOfRecord = "<eor>";

// The length part of a tag: digits, optionally followed by ":" and a type letter.
std::optional<long long> tag_length(std::string_view text) {
  const auto colon = text.find(':');
  if (colon != std::string_view::npos) text = text.substr(0, colon);
  return parse_digits(text);
}

}  // namespace

FieldRun parse_fields(std::string_view text) {
  FieldRun run;
  for (;;) {
    const auto open = text.find('<');
    if (open == std::string_view::npos) return run;
    text.remove_prefix(open);
    if (starts_with_ignoring_case(text, kEndOfRecord)) {
      run.end_marker = true;
      return run;
    }
    const auto close = text.find('>');
    const auto colon = text.substr(0, close).find(':');
    if (close == std::string_view::npos || colon == std::string_view::npos) break;
    const auto length = tag_length(text.substr(colon + 1, close - colon - 1));
    const std::size_t rest = text.size() - close - 1;
    if (!length || static_cast<unsigned long long>(*length) > rest) break;
    const auto size = static_cast<std::size_t>(*length);
    run.fields.push_back(DxlabField{std::string(text.substr(1, colon - 1)),
                                    std::string(text.substr(close + 1, size))});
    text.remove_prefix(close + 1 + size);
  }
  run.malformed = true;
  return run;
}

std::string encode_field(std::string_view name, std::string_view value) {
  std::string out = "<";
  out += name;
  out += ':';
  out += std::to_string(value.size());
  out += '>';
  out += value;
  return out;
}

const std::string* find_field(const std::vector<DxlabField>& fields, std::string_view name) {
  for (const auto& field : fields) {
    if (equals_ignoring_case(field.name, name)) return &field.value;
  }
  return nullptr;
}

DxlabCommand split_command(std::string_view command, const std::vector<std::string>& words) {
  DxlabCommand out;
  out.text = std::string(command);
  out.index = std::string(command.substr(0, 3));
  const std::string_view rest = command.size() > 3 ? command.substr(3) : std::string_view{};
  std::string_view best;
  for (std::string_view word : words) {
    if (word.size() > best.size() && starts_with_ignoring_case(rest, word)) best = word;
  }
  out.word = ascii_lower(best);
  out.argument = std::string(rest.substr(best.size()));
  return out;
}

}  // namespace vav::peers
