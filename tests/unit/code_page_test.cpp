#include "common/code_page.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace vav {
namespace {

TEST(CodePageTest, LeadBytesOfTheDoubleBytePages) {
  const struct {
    std::uint32_t id;
    unsigned char byte;
    bool lead;
  } cases[] = {
      {932, 0x80, false},  {932, 0x81, true},   {932, 0x9F, true},    {932, 0xA0, false},
      {932, 0xDF, false},  {932, 0xE0, true},   {932, 0xFC, true},    {932, 0xFD, false},
      {936, 0x80, false},  {936, 0x81, true},   {936, 0xFE, true},    {936, 0xFF, false},
      {949, 0x81, true},   {949, 0xA0, true},   {950, 0xFE, true},    {950, 0x41, false},
      {1252, 0x81, false}, {1251, 0xE0, false}, {65001, 0xE0, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CodePage(c.id).is_lead_byte(c.byte), c.lead) << c.id << " " << int(c.byte);
  }
  EXPECT_TRUE(CodePage(950).double_byte());
  EXPECT_FALSE(CodePage(1250).double_byte());
}

TEST(CodePageTest, CharactersAndTheirBytes) {
  const std::string yamada = "\x8E\x52\x93\x63";  // two kanji in Shift-JIS
  const struct {
    std::uint32_t id;
    std::string text;
    std::size_t characters;
  } cases[] = {
      {932, yamada, 2},
      {932, "Q1ABC " + yamada, 8},
      {932, "\xB1\xB2", 2},       // half-width katakana: one byte each
      {932, yamada + "\x8E", 3},  // a lead byte at the end stands alone
      {932, "", 0},
      {936, "\xC4\xE3\xBA\xC3", 2},
      {936, "\xA0\xFF", 1},  // the lead takes whatever byte follows
      {1252, yamada, 4},
      {1252, "\xE9t\xE9", 3},
  };
  for (const auto& c : cases) {
    const CodePage page(c.id);
    EXPECT_EQ(page.characters(c.text), c.characters) << c.id << " " << c.text;
    EXPECT_EQ(page.bytes_of(c.text, c.characters), c.text.size()) << c.id << " " << c.text;
    EXPECT_EQ(page.bytes_of(c.text, c.characters + 1), std::nullopt) << c.id << " " << c.text;
  }
  EXPECT_EQ(CodePage(932).bytes_of(yamada + "<B", 3), 5u);
  EXPECT_EQ(CodePage(1252).bytes_of(yamada + "<B", 3), 3u);
}

}  // namespace
}  // namespace vav
