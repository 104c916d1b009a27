#include "common/code_page.h"

#include <array>

namespace vav {
namespace {

struct DoubleBytePage {
  std::uint32_t id;
  CodePage::LeadBytes leads[2];
};

// Shift-JIS (Japanese), GBK (Simplified Chinese), Unified Hangul (Korean), Big5
// (Traditional Chinese).
constexpr std::array<DoubleBytePage, 4> kDoubleBytePages{{
    {932, {{0x81, 0x9F}, {0xE0, 0xFC}}},
    {936, {{0x81, 0xFE}, {}}},
    {949, {{0x81, 0xFE}, {}}},
    {950, {{0x81, 0xFE}, {}}},
}};

}  // namespace

CodePage::CodePage(std::uint32_t id) : id_(id) {
  for (const auto& page : kDoubleBytePages) {
    if (page.id != id) continue;
    double_byte_ = true;
    leads_[0] = page.leads[0];
    leads_[1] = page.leads[1];
  }
}

std::size_t CodePage::width_at(std::string_view text, std::size_t at) const {
  const bool pair = at + 1 < text.size() && is_lead_byte(static_cast<unsigned char>(text[at]));
  return pair ? 2 : 1;
}

std::size_t CodePage::double_byte_characters(std::string_view text) const {
  std::size_t count = 0;
  for (std::size_t at = 0; at < text.size(); at += width_at(text, at)) ++count;
  return count;
}

std::optional<std::size_t> CodePage::bytes_of(std::string_view text, std::size_t count) const {
  if (!double_byte_) {
    if (count > text.size()) return std::nullopt;
    return count;
  }
  std::size_t at = 0;
  for (std::size_t taken = 0; taken < count; ++taken) {
    if (at >= text.size()) return std::nullopt;
    at += width_at(text, at);
  }
  return at;
}

}  // namespace vav
