// ParseRecord over arbitrary bytes, then every token position read back. Checks that a parse
// never yields more than the table holds, never invents text, and that re-encoding the
// tokens parses back to the same tokens.
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view record(reinterpret_cast<const char*>(data), size);
  vav::DdeCommon dde;
  dde.ParseRecord(record);
  const int count = dde.ParsedTokenCount();
  check(count >= 0 && count <= vav::DdeCommon::kMaxTokens);

  std::vector<vav::DdeToken> tokens;
  std::size_t text = 0;
  for (int i = -1; i <= count + 1; ++i) {
    vav::DdeToken token = dde.GetToken(i);
    if (i < 1 || i > count) {
      check(token.Name.empty() && token.Value.empty());
      continue;
    }
    check(token.Name.find_first_of(":>") == std::string::npos);
    check(token.Value.size() <= 32767);
    text += token.Name.size() + token.Value.size();
    tokens.push_back(std::move(token));
  }
  check(text <= size);

  // Re-encoding is longer only by the canonical length texts; keep well inside 16 bits.
  if (count < vav::DdeCommon::kMaxTokens && size < 16000) {
    std::string encoded;
    for (const auto& token : tokens) {
      const std::string field = dde.EncodeField(token.Name, token.Value);
      check(!token.Name.empty() || field.empty());
      if (token.Name.empty()) return 0;  // an empty name cannot be written back
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
  return 0;
}
