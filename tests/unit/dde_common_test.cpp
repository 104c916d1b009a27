#include "dde/dde_common.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "unit/sim_common.h"

namespace vav {
namespace {

using Tokens = std::vector<std::pair<std::string, std::string>>;

// A DDECommon wired to a real error log in a temporary folder, so that each case can see
// which errors were reported.
class DdeCommonTest : public ::testing::Test, protected testing::SimCommon {
 protected:
  DdeCommonTest() { common.Initialize(); }

  // The error lines written so far, without the run header and without their stamps.
  std::vector<std::string> errors() {
    std::vector<std::string> out;
    const std::vector<std::string> lines = error_lines();
    for (std::size_t i = 6; i < lines.size(); ++i) {
      out.push_back(lines[i].substr(lines[i].find(" > ") + 3));
    }
    return out;
  }

  Tokens parsed() {
    Tokens out;
    for (int i = 1; i <= dde.ParsedTokenCount(); ++i) {
      const DdeToken t = dde.GetToken(i);
      out.emplace_back(t.Name, t.Value);
    }
    return out;
  }

  DDECommon dde{&common};
};

TEST_F(DdeCommonTest, EncodeField) {
  struct Case {
    std::string name, value, field;
  };
  const std::vector<Case> cases = {
      {"xcvrfreq", "14070.00", "<xcvrfreq:8>14070.00"},
      {"callsign", "", "<callsign:0>"},
      {"", "Q1ABC", ""},
      {"Mode", "a<b>c:d<e>", "<Mode:10>a<b>c:d<e>"},
      {"big", std::string(32767, 'x'), "<big:32767>" + std::string(32767, 'x')},
  };
  for (const auto& c : cases) EXPECT_EQ(dde.EncodeField(c.name, c.value), c.field) << c.name;
  EXPECT_TRUE(errors().empty());
  EXPECT_EQ(dde.EncodeField("big", std::string(32768, 'x')), "");
  EXPECT_EQ(errors(),
            std::vector<std::string>{"program error 6 in module DDECommon.EncodeField: Overflow"});
}

TEST_F(DdeCommonTest, EncodedFieldsReadBackIntact) {
  const Tokens fields = {{"A", "a<b>c:d<e>"}, {"xcvrmode", "RTTY"}, {"empty", ""}, {"<", ">"}};
  std::string record;
  for (const auto& [name, value] : fields) record += dde.EncodeField(name, value);
  dde.ParseRecord(record);
  EXPECT_EQ(parsed(), fields);
}

TEST_F(DdeCommonTest, ParseRecordCases) {
  const std::string past_end =
      "program error 5 in module DDECommon.ParseRecord: Invalid "
      "procedure call or argument";
  const std::string overflow = "program error 6 in module DDECommon.ParseRecord: Overflow";
  struct Case {
    std::string record;
    Tokens tokens;
    std::vector<std::string> errors;
  };
  const std::vector<Case> cases = {
      {"junk<MODE:4>RTTY<BAND:3>20M<eor><X:1>Y", {{"MODE", "RTTY"}, {"BAND", "20M"}}, {}},
      {"<A:x>rest<B:1>Z", {{"A", ""}, {"B", "Z"}}, {}},
      {"<A>1<B:1>Z", {}, {}},
      {"<A:10>abc", {}, {past_end}},
      {"<A:1>x<B:-1>y<C:1>z", {{"A", "x"}}, {past_end}},
      {"<A:1>x<EOR><B:1>y", {{"A", "x"}}, {}},
      {"<A:1>x<EoR", {{"A", "x"}}, {}},
      {"<eo", {}, {}},
      {"no fields at all", {}, {}},
      {"", {}, {}},
      {"<A:1>x<B:1", {{"A", "x"}}, {}},
      {"<:3>abc", {{"", "abc"}}, {}},
      {"<DATE:8:D>20240229", {{"DATE", ""}}, {}},  // a type letter makes the length no number
      {"<A: 3 >abc", {{"A", "abc"}}, {}},
      {"<A:2.5>abcd", {{"A", "ab"}}, {}},                   // read as a number, halves to even
      {"<A:99999>abc<B:1>Z", {{"A", ""}, {"B", "Z"}}, {}},  // does not fit: 0
      {"<A:123456>abc<B:1>Z", {{"A", ""}, {"B", "Z"}}, {}},
      {"<A:32767.5>abc<B:1>Z", {{"A", ""}, {"B", "Z"}}, {}},  // rounds past 16 bits: 0
      {"<A:+2>abc", {{"A", "ab"}}, {}},
      {"<A:1e1>abcdefghijk", {{"A", "abcdefghij"}}, {}},
      {"<A:-0.4>x<B:1>Y", {{"A", ""}, {"B", "Y"}}, {}},
      {"<A:>x<B:1>Y", {{"A", ""}, {"B", "Y"}}, {}},
      {"<A:-2>xy", {}, {past_end}},
      {"<A:00003>abc", {{"A", "abc"}}, {}},
      {"<A:2", {}, {}},
      {"<A<B:1>x", {{"A<B", "x"}}, {}},
      {"<A:1:2>x<B:0><C:2>yz", {{"A", ""}, {"B", ""}, {"C", "yz"}}, {}},
      {"<a:3>a<b>c", {{"a", "a<b"}}, {}},
      {"<x:0>" + std::string(32760, 'j') + "<y:1>z", {{"x", ""}, {"y", "z"}}, {}},
      {"<x:0>" + std::string(32761, 'j') + "<y:1>z", {{"x", ""}}, {overflow}},
      {"<x:0>" + std::string(32767, 'j') + "<y:1>z", {{"x", ""}}, {overflow}},
      {"<x:32000>" + std::string(32000, 'v'), {{"x", std::string(32000, 'v')}}, {}},
      {"junk<x:32760>" + std::string(32760, 'v'), {}, {overflow}},
  };
  for (const auto& c : cases) {
    const std::size_t before = errors().size();
    dde.ParseRecord(c.record);
    EXPECT_EQ(parsed(), c.tokens) << c.record.substr(0, 60);
    const std::vector<std::string> all = errors();
    EXPECT_EQ(std::vector<std::string>(all.begin() + static_cast<long>(before), all.end()),
              c.errors)
        << c.record.substr(0, 60);
  }
}

TEST_F(DdeCommonTest, AHundredTokensAtMost) {
  std::string record;
  for (int i = 1; i <= 101; ++i) record += dde.EncodeField("F" + std::to_string(i), "v");
  dde.ParseRecord(record);
  EXPECT_EQ(dde.ParsedTokenCount(), 100);
  EXPECT_EQ(dde.GetToken(100).Name, "F100");
  EXPECT_EQ(errors(), std::vector<std::string>{"program error 9 in module DDECommon.ParseRecord: "
                                               "Subscript out of range"});
  record.resize(record.find("<F101"));
  dde.ParseRecord(record);
  EXPECT_EQ(dde.ParsedTokenCount(), 100);
  EXPECT_EQ(errors().size(), 1u);
}

TEST_F(DdeCommonTest, GetTokenOutsideTheParse) {
  dde.ParseRecord("<A:1>x<B:1>y");
  const DdeToken past = dde.GetToken(3);
  EXPECT_EQ(past.Name, "");
  EXPECT_EQ(past.Value, "");
  EXPECT_TRUE(errors().empty());
  const DdeToken zero = dde.GetToken(0);
  EXPECT_EQ(zero.Name, "");
  EXPECT_EQ(zero.Value, "");
  EXPECT_EQ(dde.GetToken(-4).Name, "");
  EXPECT_EQ(errors(), (std::vector<std::string>{
                          "program error 9 in module DDECommon.GetToken: Subscript out of range",
                          "program error 9 in module DDECommon.GetToken: Subscript out of range"}));
  // The table keeps older entries, but only the last parse's count is meaningful.
  dde.ParseRecord("<C:1>z");
  EXPECT_EQ(dde.GetToken(2).Name, "");
  EXPECT_EQ(dde.GetToken(1).Value, "z");
}

TEST_F(DdeCommonTest, TokensOutliveTheRecordTheyCameFrom) {
  {
    std::string record = "<MODE:4>RTTY<BAND:3>20M";
    dde.ParseRecord(record);
    record.assign(record.size(), '#');
  }
  EXPECT_EQ(parsed(), (Tokens{{"MODE", "RTTY"}, {"BAND", "20M"}}));
}

TEST_F(DdeCommonTest, OnADoubleByteCodePageLengthsAndPositionsCountCharacters) {
  DDECommon japanese{&common, CodePage(932)};
  const std::string yamada = "\x8E\x52\x93\x63";  // two kanji in Shift-JIS
  EXPECT_EQ(japanese.EncodeField("NAME", yamada), "<NAME:2>" + yamada);
  EXPECT_EQ(japanese.EncodeField("NAME", "Q" + yamada + "\x8E"), "<NAME:4>Q" + yamada + "\x8E");
  EXPECT_EQ(dde.EncodeField("NAME", yamada), "<NAME:4>" + yamada);  // 1252: every byte

  const std::string pairs(40000, '\x8E');  // 20000 two-byte characters
  struct Case {
    std::string record;
    Tokens tokens;
  };
  const std::vector<Case> cases = {
      {"<NAME:2>" + yamada + "<QTH:1>\x93\x8C<X:1>y",
       {{"NAME", yamada}, {"QTH", "\x93\x8C"}, {"X", "y"}}},
      {"<A:3>" + yamada + "<B:1>z",
       {
           {"A", yamada + "<"},
       }},
      {"<x:0>" + pairs + "<y:1>z", {{"x", ""}, {"y", "z"}}},  // 20000 characters in: no overflow
  };
  for (const auto& c : cases) {
    japanese.ParseRecord(c.record);
    Tokens got;
    for (int i = 1; i <= japanese.ParsedTokenCount(); ++i) {
      got.emplace_back(japanese.GetToken(i).Name, japanese.GetToken(i).Value);
    }
    EXPECT_EQ(got, c.tokens) << c.record.substr(0, 40);
  }
  EXPECT_TRUE(errors().empty());
  japanese.ParseRecord("<A:3>" + yamada);  // two characters where three are announced
  EXPECT_EQ(japanese.ParsedTokenCount(), 0);
  EXPECT_EQ(errors().size(), 1u);
}

TEST(DdeCommonNames, NickNamesAndPrefixes) {
  DDECommon dde;
  const std::vector<std::pair<int, std::string>> names = {
      {0, "CC"}, {1, "DXK"}, {2, "PF"}, {3, "DXV"}, {4, "SC"},
      {5, "PV"}, {6, "WW"},  {7, ""},   {-1, ""},   {32767, ""}};
  for (const auto& [index, name] : names) EXPECT_EQ(dde.ServerNickName(index), name) << index;
  const std::vector<std::pair<int, std::string>> prefixes = {
      {0, "000"}, {1, "001"}, {42, "042"}, {999, "999"}, {1000, "1000"}, {-1, "-001"}};
  for (const auto& [index, text] : prefixes) EXPECT_EQ(application_prefix(index), text);
}

TEST(DdeCommonNames, NoReporterMeansNoReport) {
  DDECommon dde;
  dde.ParseRecord("<A:10>abc");
  EXPECT_EQ(dde.ParsedTokenCount(), 0);
  EXPECT_EQ(dde.GetToken(0).Name, "");
  EXPECT_EQ(dde.EncodeField("x", std::string(40000, 'y')), "");
}

}  // namespace
}  // namespace vav
