// ParseRecord over arbitrary bytes, on a single-byte and a double-byte code page, then every
// token position read back. Checks that a parse never yields more than the table holds,
// never invents text, and that re-encoding the tokens parses back to the same tokens.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "dde/dde_common.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

// A value that ends in a lead byte with nothing after it would take the next field's first
// byte as its second once written before it: such values cannot be written back as read.
bool ends_in_lone_lead_byte(const std::string& value, vav::CodePage code_page) {
  return code_page.characters(value + "x") == code_page.characters(value);
}

void parse_and_write_back(std::string_view record, vav::CodePage code_page) {
  const std::size_t size = record.size();
  vav::DDECommon dde(nullptr, code_page);
  dde.ParseRecord(record);
  const int count = dde.ParsedTokenCount();
  check(count >= 0 && count <= vav::DDECommon::kMaxTokens);

  std::vector<vav::DdeToken> tokens;
  std::size_t text = 0;
  for (int i = -1; i <= count + 1; ++i) {
    vav::DdeToken token = dde.GetToken(i);
    if (i < 1 || i > count) {
      check(token.Name.empty() && token.Value.empty());
      continue;
    }
    check(token.Name.find_first_of(":>") == std::string::npos);
    check(code_page.characters(token.Value) <= 32767);
    text += token.Name.size() + token.Value.size();
    tokens.push_back(std::move(token));
  }
  check(text <= size);

  // Re-encoding is longer only by the canonical length texts; keep well inside 16 bits.
  if (count < vav::DDECommon::kMaxTokens && size < 16000) {
    std::string encoded;
    for (const auto& token : tokens) {
      const std::string field = dde.EncodeField(token.Name, token.Value);
      check(!token.Name.empty() || field.empty());
      if (token.Name.empty()) return;  // an empty name cannot be written back
      if (ends_in_lone_lead_byte(token.Value, code_page)) return;
      encoded += field;
    }
    dde.ParseRecord(encoded);
    check(dde.ParsedTokenCount() == count);
    for (int i = 1; i <= count; ++i) {
      const vav::DdeToken again = dde.GetToken(i);
      check(again.Name == tokens[static_cast<std::size_t>(i - 1)].Name);
      check(again.Value == tokens[static_cast<std::size_t>(i - 1)].Value);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view record(reinterpret_cast<const char*>(data), size);
  parse_and_write_back(record, vav::CodePage(1252));
  parse_and_write_back(record, vav::CodePage(932));
  return 0;
}
