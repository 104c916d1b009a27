#pragma once
// Characters of an ANSI code page over the bytes that hold them. Text in this program is
// ANSI bytes, as DDE's CF_TEXT carries it, and the DXLab programs count a field's length in
// characters: one byte each on the single-byte pages (1250-1258), but on the double-byte
// pages of Japanese, Chinese and Korean Windows (932, 936, 949, 950) a lead byte and the
// byte after it are one character. Pure: the lead-byte ranges are a table here, not a call
// to the system.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vav {

class CodePage {
 public:
  static constexpr std::uint32_t kWesternEuropean = 1252;

  explicit CodePage(std::uint32_t id = kWesternEuropean);

  std::uint32_t id() const { return id_; }
  // True for the pages whose characters may take two bytes.
  bool double_byte() const { return double_byte_; }
  bool is_lead_byte(unsigned char byte) const {
    return double_byte_ && ((byte >= leads_[0].first && byte <= leads_[0].last) ||
                            (byte >= leads_[1].first && byte <= leads_[1].last));
  }

  // The number of characters in `text`. A lead byte and the byte after it count once, as
  // CharNextA steps over them; a lead byte that ends the text counts once on its own.
  std::size_t characters(std::string_view text) const {
    return double_byte_ ? double_byte_characters(text) : text.size();
  }
  // The number of bytes that the first `count` characters of `text` take; nullopt when the
  // text holds fewer characters.
  std::optional<std::size_t> bytes_of(std::string_view text, std::size_t count) const;

  // A range of lead bytes, both ends included.
  struct LeadBytes {
    unsigned char first = 1, last = 0;  // empty
  };

 private:
  std::size_t double_byte_characters(std::string_view text) const;
  // The width of the character that starts at text[at].
  std::size_t width_at(std::string_view text, std::size_t at) const;

  std::uint32_t id_;
  bool double_byte_ = false;
  LeadBytes leads_[2];
};

}  // namespace vav
