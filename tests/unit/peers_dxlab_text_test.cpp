// How the stand-ins read the program's DXLab commands (strictly, so that a malformed command
// shows) and the spot command SpotCollector's stand-in sends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "peers/dxlab_text.h"
#include "peers/spotcollector.h"

namespace vav::peers {
namespace {

TEST(ParseFieldsTest, ReadsFieldsStrictly) {
  const struct {
    std::string text;
    std::vector<DxlabField> fields;
    bool end_marker;
    bool malformed;
  } cases[] = {
      {"<CALL:5>Q1ABC <BAND:3>20M <EOR>", {{"CALL", "Q1ABC"}, {"BAND", "20M"}}, true, false},
      {"junk<A:2>xy", {{"A", "xy"}}, false, false},
      {"<A:3:S>a<b<eor><B:1>z", {{"A", "a<b"}}, true, false},
      {"<X:5><EOR>", {{"X", "<EOR>"}}, false, false},
      {"<A:0><B:1>z", {{"A", ""}, {"B", "z"}}, false, false},
      {"<A:1>x<B:10>abc", {{"A", "x"}}, false, true},
      {"<A>1<B:1>z", {}, false, true},
      {"<A:x>1", {}, false, true},
      {"<A:-1>1", {}, false, true},
      {"<A:1", {}, false, true},
      {"", {}, false, false}};
  for (const auto& c : cases) {
    const FieldRun run = parse_fields(c.text);
    EXPECT_EQ(run.fields, c.fields) << c.text;
    EXPECT_EQ(run.end_marker, c.end_marker) << c.text;
    EXPECT_EQ(run.malformed, c.malformed) << c.text;
  }
}

TEST(ParseFieldsTest, OnJapaneseWindowsCountsCharactersOfShiftJis) {
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

TEST(SpotCollectorTest, SetScNewEntryCarriesNineFieldsInPositionOrder) {
  const Spot spot{" 7035.2 ", "14071", "psk31", "Q1ABC", "PSK31", "", "Q1", "Q1", "JO01"};
  EXPECT_EQ(setscnewentry_command(spot),
            "004setscnewentry<freq:8> 7035.2 <qsx:5>14071<mode:5>psk31<dxcall:5>Q1ABC"
            "<logmode:5>PSK31<spare:0><search:2>Q1<prefix:2>Q1<grid:4>JO01");
}

}  // namespace
}  // namespace vav::peers
