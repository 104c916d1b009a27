#include "dde/dde_common.h"

#include <array>

#include "common/common.h"
#include "common/conversions.h"
#include "common/runtime_error.h"

namespace vav {
namespace {

// Positions and lengths are 16-bit: a record whose markers lie further apart than this is
// refused at that field.
constexpr std::size_t kMaxPosition = 32767;

bool is_eor(std::string_view s, std::size_t p) {
  constexpr std::string_view kMarker = "<eor>";
  if (s.size() - p < kMarker.size()) return false;
  for (std::size_t i = 0; i < kMarker.size(); ++i) {
    const char c = s[p + i];
    const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    if (lower != kMarker[i]) return false;
  }
  return true;
}

// The length text of a field as a 16-bit integer; 0 when it is no number or does not fit.
int field_length(std::string_view text) {
  if (!text.empty() && text.size() <= 5 &&
      text.find_first_not_of("0123456789") == std::string_view::npos) {
    int n = 0;
    for (char c : text) n = n * 10 + (c - '0');
    return n <= 32767 ? n : 0;
  }
  try {
    return round_to_int16(locale_number(text, Separators{}));
  } catch (const RuntimeError&) {
    return 0;
  }
}

}  // namespace

void DdeCommon::report(int number, std::string_view procedure) {
  if (common_ != nullptr) common_->ReportError(number, procedure);
}

std::string DdeCommon::EncodeField(std::string_view name, std::string_view value) {
  if (name.empty()) return "";
  if (value.size() > kMaxPosition) {
    report(err::kOverflow, "DDECommon.EncodeField");
    return "";
  }
  std::string field;
  field.reserve(name.size() + value.size() + 8);
  field += '<';
  field += name;
  field += ':';
  field += std::to_string(value.size());
  field += '>';
  field += value;
  return field;
}

void DdeCommon::ParseRecord(std::string_view record) {
  count_ = 0;
  // `start` is where the unparsed rest of the record begins; nothing is copied but the
  // stored names and values, so a parse is linear in the record's length.
  std::size_t start = 0;
  while (start < record.size()) {
    const std::size_t open = record.find('<', start);
    if (open == std::string_view::npos) return;
    if (open - start + 1 > kMaxPosition) {
      report(err::kOverflow, "DDECommon.ParseRecord");
      return;
    }
    if (is_eor(record, open)) return;
    const std::size_t close = record.find('>', open + 1);
    if (close == std::string_view::npos) return;
    if (close - start + 1 > kMaxPosition) {
      report(err::kOverflow, "DDECommon.ParseRecord");
      return;
    }
    const std::string_view tag = record.substr(open + 1, close - open - 1);
    const std::size_t colon = tag.find(':');
    if (colon == std::string_view::npos) return;
    const int n = field_length(tag.substr(colon + 1));
    const std::size_t q = close - start + 1;  // 1-based position of ">" in the rest
    if (n < 0) {
      report(err::kInvalidProcedureCall, "DDECommon.ParseRecord");
      return;
    }
    const auto length = static_cast<std::size_t>(n);
    if (q + length + 1 > kMaxPosition) {
      report(err::kOverflow, "DDECommon.ParseRecord");
      return;
    }
    if (close + 1 + length > record.size()) {
      report(err::kInvalidProcedureCall, "DDECommon.ParseRecord");
      return;
    }
    if (count_ == kMaxTokens) {
      report(err::kSubscriptOutOfRange, "DDECommon.ParseRecord");
      return;
    }
    DdeToken& token = tokens_[static_cast<std::size_t>(count_++)];
    token.Name.assign(tag.substr(0, colon));
    token.Value.assign(record.substr(close + 1, length));
    start = close + 1 + length;
  }
}

DdeToken DdeCommon::GetToken(int index) {
  if (index > count_) return {};
  if (index < 1) {
    report(err::kSubscriptOutOfRange, "DDECommon.GetToken");
    return {};
  }
  return tokens_[static_cast<std::size_t>(index - 1)];
}

std::string DdeCommon::ServerNickName(int index) {
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
