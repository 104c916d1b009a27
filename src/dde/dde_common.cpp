#include "dde/dde_common.h"

#include <array>
#include <optional>

#include "common/common.h"
#include "common/conversions.h"
#include "errors/runtime_error.h"

namespace vav {
namespace {

// Positions and lengths are 16-bit: a record whose markers lie further apart than this is
// refused at that field.
constexpr std::size_t kMaxPosition = 32767;

bool is_eor(std::string_view s, std::size_t p) {
  constexpr std::string_view kMarker = "<eor>";
  if (s.size() - p < kMarker.size()) return false;
  for (std::size_t i = 1; i < kMarker.size(); ++i) {  // s[p] is the "<" itself
    const char c = s[p + i];
    const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower != kMarker[i]) return false;
  }
  return true;
}

// The length text of a field as a 16-bit integer; 0 when it is no number or does not fit.
int field_length(std::string_view text) {
  // Anything but plain digits (blanks, a sign, a decimal part, an exponent) reads as the
  // locale-neutral number it spells, rounded. Such lengths are ordinary input, so no
  // exception is thrown and caught on the way.
  const std::optional<double> value = try_locale_number(text, Separators{});
  // Within these bounds rounding half to even stays in the 16-bit range.
  if (!value || !(*value >= -32768.5 && *value < 32767.5)) return 0;
  return round_to_int16(*value);
}

// A tag "<name:length>" read from its "<": the first ":" and the ">" that closes the tag
// (npos when missing) and the length it gives.
struct Tag {
  std::size_t colon = std::string_view::npos;
  std::size_t close = std::string_view::npos;
  int length = 0;
};

// One pass over the tag with the usual plain-digit length decoded on the way; tags are
// short, and a call to a search routine per character class costs more than the tag.
Tag read_tag(std::string_view s, std::size_t open) {
  Tag tag;
  std::size_t i = open + 1;
  for (; i < s.size() && s[i] != ':'; ++i) {
    if (s[i] == '>') {
      tag.close = i;  // a tag without a colon
      return tag;
    }
  }
  if (i == s.size()) return tag;
  tag.colon = i++;
  const std::size_t digits_from = i;
  int n = 0;
  while (i < s.size() && i - digits_from < 5 && s[i] >= '0' && s[i] <= '9') {
    n = n * 10 + (s[i++] - '0');
  }
  if (i < s.size() && s[i] == '>' && i > digits_from) {
    tag.close = i;
    tag.length = n <= 32767 ? n : 0;
    return tag;
  }
  tag.close = s.find('>', i);
  if (tag.close != std::string_view::npos) {
    tag.length = field_length(s.substr(tag.colon + 1, tag.close - tag.colon - 1));
  }
  return tag;
}

}  // namespace

void DDECommon::report(int number, std::string_view procedure) {
  if (common_ != nullptr) common_->ReportError(number, procedure);
}

std::string DDECommon::EncodeField(std::string_view name, std::string_view value) {
  if (name.empty()) return "";
  const std::size_t length = code_page_.characters(value);
  if (length > kMaxPosition) {
    report(err::kOverflow, "DDECommon.EncodeField");
    return "";
  }
  std::string field;
  field.reserve(name.size() + value.size() + 8);
  field += '<';
  field += name;
  field += ':';
  field += std::to_string(length);
  field += '>';
  field += value;
  return field;
}

void DDECommon::ParseRecord(std::string_view record) {
  // The fields are located first and the text they lie in is copied once afterwards: one
  // pass over the record and one copy of what was kept, never a copy per field.
  text_.assign(record.substr(0, split_fields(record)));
}

std::size_t DDECommon::split_fields(std::string_view record) {
  count_ = 0;
  std::size_t kept = 0;   // end of the last value stored
  std::size_t start = 0;  // where the unparsed rest of the record begins
  // The 1-based position, in characters, of the byte at `at` in the rest of the record.
  // "<", ":", ">" and digits are never the second byte of a double-byte character, so the
  // markers are found byte by byte.
  const auto position = [&](std::size_t at) {
    return code_page_.characters(record.substr(start, at - start)) + 1;
  };
  while (start < record.size()) {
    const std::size_t open = record.find('<', start);
    if (open == std::string_view::npos) return kept;
    if (position(open) > kMaxPosition) {
      report(err::kOverflow, "DDECommon.ParseRecord");
      return kept;
    }
    if (is_eor(record, open)) return kept;
    const Tag tag = read_tag(record, open);
    if (tag.close == std::string_view::npos) return kept;
    const std::size_t q = position(tag.close);  // 1-based position of ">" in the rest
    if (q > kMaxPosition) {
      report(err::kOverflow, "DDECommon.ParseRecord");
      return kept;
    }
    if (tag.colon == std::string_view::npos) return kept;
    if (tag.length < 0) {
      report(err::kInvalidProcedureCall, "DDECommon.ParseRecord");
      return kept;
    }
    const auto length = static_cast<std::size_t>(tag.length);
    if (q + length + 1 > kMaxPosition) {
      report(err::kOverflow, "DDECommon.ParseRecord");
      return kept;
    }
    const std::optional<std::size_t> value_bytes =
        code_page_.bytes_of(record.substr(tag.close + 1), length);
    if (!value_bytes) {
      report(err::kInvalidProcedureCall, "DDECommon.ParseRecord");
      return kept;
    }
    if (count_ == kMaxTokens) {
      report(err::kSubscriptOutOfRange, "DDECommon.ParseRecord");
      return kept;
    }
    spans_[static_cast<std::size_t>(count_++)] = {open + 1, tag.colon - open - 1, tag.close + 1,
                                                  *value_bytes};
    kept = tag.close + 1 + *value_bytes;
    start = kept;
  }
  return kept;
}

DdeToken DDECommon::GetToken(int index) {
  if (index > count_) return {};
  if (index < 1) {
    report(err::kSubscriptOutOfRange, "DDECommon.GetToken");
    return {};
  }
  const TokenSpan& span = spans_[static_cast<std::size_t>(index - 1)];
  return {text_.substr(span.name_at, span.name_size), text_.substr(span.value_at, span.value_size)};
}

std::string DDECommon::ServerNickName(int index) {
  static constexpr std::array<const char*, 7> kNickNames = {"CC", "DXK", "PF", "DXV",
                                                            "SC", "PV",  "WW"};
  if (index < 0 || index >= static_cast<int>(kNickNames.size())) return "";
  return kNickNames[static_cast<std::size_t>(index)];
}

std::string application_prefix(int index) {
  const std::string digits = std::to_string(index < 0 ? -static_cast<long long>(index) : index);
  const std::string padded =
      digits.size() < 3 ? std::string(3 - digits.size(), '0') + digits : digits;
  return index < 0 ? "-" + padded : padded;
}

}  // namespace vav
