#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "peers/adif.h"
#include "peers/dxlab_text.h"

namespace vav::peers {
namespace {

struct FieldRunCase {
  std::string text;
  std::vector<DxlabField> fields;
  bool end_marker;
  bool malformed;
};

class ParseFieldsTest : public ::testing::TestWithParam<FieldRunCase> {};

TEST_P(ParseFieldsTest, ReadsFieldsStrictly) {
  const FieldRunCase& c = GetParam();
  const FieldRun run = parse_fields(c.text);
  EXPECT_EQ(run.fields, c.fields);
  EXPECT_EQ(run.end_marker, c.end_marker);
  EXPECT_EQ(run.malformed, c.malformed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseFieldsTest,
    ::testing::Values(
        FieldRunCase{
            "<CALL:5>Q1ABC <BAND:3>20M <EOR>", {{"CALL", "Q1ABC"}, {"BAND", "20M"}}, true, false},
        FieldRunCase{"junk<A:2>xy", {{"A", "xy"}}, false, false},
        FieldRunCase{"<A:3:S>a<b<eor><B:1>z", {{"A", "a<b"}}, true, false},
        FieldRunCase{"<X:5><EOR>", {{"X", "<EOR>"}}, false, false},
        FieldRunCase{"<A:0><B:1>z", {{"A", ""}, {"B", "z"}}, false, false},
        FieldRunCase{"<A:1>x<B:10>abc", {{"A", "x"}}, false, true},
        FieldRunCase{"<A>1<B:1>z", {}, false, true}, FieldRunCase{"<A:x>1", {}, false, true},
        FieldRunCase{"<A:-1>1", {}, false, true}, FieldRunCase{"<A:1", {}, false, true},
        FieldRunCase{"", {}, false, false}));

struct SplitCase {
  std::string command;
  std::string index;
  std::string word;
  std::string argument;
};

class SplitCommandTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandTest, FindsTheLongestKnownWord) {
  const SplitCase& c = GetParam();
  const DxlabCommand command = split_command(c.command, {"log", "eqsllog", "check"});
  EXPECT_EQ(command.text, c.command);
  EXPECT_EQ(command.index, c.index);
  EXPECT_EQ(command.word, c.word);
  EXPECT_EQ(command.argument, c.argument);
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitCommandTest,
                         ::testing::Values(SplitCase{"001checkQ1ABC", "001", "check", "Q1ABC"},
                                           SplitCase{"001LOG<CALL:1>A<EOR>", "001", "log",
                                                     "<CALL:1>A<EOR>"},
                                           SplitCase{"001eqsllog<EOR>", "001", "eqsllog", "<EOR>"},
                                           SplitCase{"001lookupQ1ABC", "001", "", "lookupQ1ABC"},
                                           SplitCase{"00", "00", "", ""}));

TEST(EncodeFieldTest, CountsBytesAndReadsBack) {
  const std::string value = "a<b>c d>e<f";
  const std::string field = encode_field("NOTES", value);
  EXPECT_EQ(field, "<NOTES:11>" + value);
  EXPECT_EQ(parse_fields(field).fields, (std::vector<DxlabField>{{"NOTES", value}}));
}

TEST(EncodeFieldTest, OnJapaneseWindowsCountsCharactersOfShiftJis) {
  const AnsiCodePage japanese{932};
  const std::string yamada = "\x8E\x52\x93\x63";  // two kanji
  const std::string record = "<NAME:2>" + yamada + " <QTH:1>\x93\x8C <EOR>";
  EXPECT_EQ(encode_field("NAME", yamada, japanese), "<NAME:2>" + yamada);
  const FieldRun run = parse_fields(record, japanese);
  EXPECT_EQ(run.fields, (std::vector<DxlabField>{{"NAME", yamada}, {"QTH", "\x93\x8C"}}));
  EXPECT_TRUE(run.end_marker);
  // Read byte by byte the same record loses its end.
  EXPECT_EQ(parse_fields(record).fields.front(), (DxlabField{"NAME", "\x8E\x52"}));
  EXPECT_TRUE(parse_fields("<NAME:3>" + yamada, japanese).malformed);
}

TEST(AdifTest, WritesUpperCaseNamesWithRecountedLengths) {
  EXPECT_EQ(adif_record({{"call", "Q1ABC"}, {"Name", "Jo"}, {"NOTES", ""}}),
            "<CALL:5>Q1ABC <NAME:2>Jo <NOTES:0> <EOR>\n");
  const std::string header = adif_header();
  EXPECT_NE(header.find("<ADIF_VER:5>3.1.4"), std::string::npos);
  EXPECT_EQ(header.substr(header.size() - 6), "<EOH>\n");
}

}  // namespace
}  // namespace vav::peers
