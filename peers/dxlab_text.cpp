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

bool AnsiCodePage::leads(unsigned char byte) const {
  switch (id) {
    case 932:  // Shift-JIS
      return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:  // GBK
    case 949:  // Unified Hangul Code
    case 950:  // Big5
      return byte >= 0x81 && byte <= 0xFE;
    default:
      return false;
  }
}

std::size_t AnsiCodePage::bytes_of(std::string_view text, std::size_t count) const {
  std::size_t at = 0;
  for (; count > 0; --count) {
    if (at >= text.size()) return text.size() + 1;
    at += leads(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
  }
  return at;
}

std::size_t AnsiCodePage::characters(std::string_view text) const {
  std::size_t count = 0;
  for (std::size_t at = 0; at < text.size(); ++count) {
    at += leads(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
  }
  return count;
}

FieldRun parse_fields(std::string_view text, AnsiCodePage code_page) {
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
    const std::string_view rest = text.substr(close + 1);
    if (!length || static_cast<unsigned long long>(*length) > rest.size()) break;
    const std::size_t size = code_page.bytes_of(rest, static_cast<std::size_t>(*length));
    if (size > rest.size()) break;
    run.fields.push_back(DxlabField{std::string(text.substr(1, colon - 1)),
                                    std::string(text.substr(close + 1, size))});
    text.remove_prefix(close + 1 + size);
  }
  run.malformed = true;
  return run;
}

std::string encode_field(std::string_view name, std::string_view value, AnsiCodePage code_page) {
  std::string out = "<";
  out += name;
  out += ':';
  out += std::to_string(code_page.characters(value));
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
