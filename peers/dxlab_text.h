#pragma once
// The DXLab message format as the stand-ins read and write it: "<name:length>value"
// fields, "<EOR>" closing a record, and execute strings made of a three-digit application
// index, a lower-case command word and its argument.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vav::peers {

// The ANSI code page that a DXLab program's text is in. Lengths count its characters: on
// the double-byte pages of Japanese, Chinese and Korean Windows a lead byte takes the byte
// after it into one character.
struct AnsiCodePage {
  std::uint32_t id = 1252;
  bool leads(unsigned char byte) const;
  // The bytes of `count` characters from the start of `text`; more than text.size() when the
  // text holds fewer characters.
  std::size_t bytes_of(std::string_view text, std::size_t count) const;
  std::size_t characters(std::string_view text) const;
};

struct DxlabField {
  std::string name;
  std::string value;
  bool operator==(const DxlabField&) const = default;
};

// Fields read from a run of text. Text around the fields is skipped; "<EOR>" in any
// letter case ends the run. A tag that is not "<name:length>" or "<name:length:type>", or a
// length that runs past the end, ends the run too and marks it malformed: a stand-in is
// strict so that a sender's mistake shows in the test that made it.
struct FieldRun {
  std::vector<DxlabField> fields;
  bool end_marker = false;
  bool malformed = false;
};

FieldRun parse_fields(std::string_view text, AnsiCodePage code_page = {});

// "<" name ":" length ">" value; the length counts characters of `code_page`.
std::string encode_field(std::string_view name, std::string_view value,
                         AnsiCodePage code_page = {});

// The value of the first field of that name (any letter case); nullptr when there is none.
const std::string* find_field(const std::vector<DxlabField>& fields, std::string_view name);

struct DxlabCommand {
  std::string text;      // the whole execute string
  std::string index;     // the first three characters, as sent
  std::string word;      // the recognised command word in lower case; empty when none matched
  std::string argument;  // everything after the word (after the index when no word matched)
};

// Splits an execute string. The word is the longest of `words` that the text after the
// index begins with, in any letter case; a bare argument follows it directly ("checkQ1ABC").
DxlabCommand split_command(std::string_view command, const std::vector<std::string>& words);

}  // namespace vav::peers
