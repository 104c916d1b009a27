#pragma once
// The DXLab message format: fields "<name:length>value", the token table that a parse
// fills, and the applications' nicknames. Lengths and positions count characters of the
// ANSI code page, as the DXLab programs count them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/code_page.h"

namespace vav {

class Common;

struct DdeToken {
  std::string Name;
  std::string Value;
};

class DDECommon {
 public:
  static constexpr int kMaxTokens = 100;

  // Errors are reported through `common` (may be null in tests: then nothing is reported).
  explicit DDECommon(Common* common = nullptr, CodePage code_page = CodePage{})
      : common_(common), code_page_(code_page) {}

  std::string EncodeField(std::string_view name, std::string_view value);
  void ParseRecord(std::string_view record);
  DdeToken GetToken(int index);
  std::string ServerNickName(int index);

  int ParsedTokenCount() const { return count_; }
  CodePage code_page() const { return code_page_; }

 private:
  // Where a stored field's name and value lie in text_.
  struct TokenSpan {
    std::size_t name_at = 0, name_size = 0, value_at = 0, value_size = 0;
  };

  void report(int number, std::string_view procedure);
  // Locates the fields of `record` into spans_ and count_; returns the end of the last value
  // stored.
  std::size_t split_fields(std::string_view record);

  Common* common_;
  CodePage code_page_;
  std::string text_;  // the parsed record up to the end of the last value stored
  std::array<TokenSpan, kMaxTokens> spans_{};
  int count_ = 0;
};

// The three-digit application index of an execute string ("001").
std::string application_prefix(int index);

}  // namespace vav
