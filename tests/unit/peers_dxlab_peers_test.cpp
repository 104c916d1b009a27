// The DXLab stand-ins as the scenarios lean on them: Commander retunes on "xcvrfreqmode" and
// advises only real changes, DXKeeper keeps what it logs as ADIF and sets aside records it
// cannot take, and each program takes, refuses or leaves a command unanswered on demand.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "peers/adif.h"
#include "peers/commander.h"
#include "peers/dxkeeper.h"

namespace vav::peers {
namespace {

using Advise = std::tuple<std::string, std::string, std::string>;

TEST(CommanderTest, ShowsTensOfHertzAndReadsEitherDecimalMark) {
  const std::pair<long long, const char*> shown[] = {
      {7033075, "7,033.07"}, {1296000000, "1,296,000.00"}, {59, "0.05"}, {0, "0.00"}};
  for (const auto& [hz, text] : shown) EXPECT_EQ(freq_display_text(hz), text);
  EXPECT_EQ(khz_text_to_hz("7033,07"), 7033070);
  EXPECT_EQ(khz_text_to_hz("14,068.65"), std::nullopt);
  EXPECT_EQ(khz_text_to_hz("-5"), std::nullopt);
}

TEST(CommanderTest, XcvrFreqModeRetunesAndAdvisesOnlyRealChanges) {
  Commander commander(14070000, "USB");
  std::vector<Advise> advised;
  commander.set_item_sink(
      [&advised](const std::string& topic, const std::string& item, const std::string& value) {
        advised.emplace_back(topic, item, value);
      });
  commander.tune(14070004);  // below the display's resolution
  commander.set_radio_mode("USB");
  EXPECT_TRUE(advised.empty());
  EXPECT_EQ(commander.execute("000xcvrfreqmode<xcvrfreq:8>14068.65<xcvrmode:4>RTTY"),
            Answer::accepted);
  EXPECT_EQ(commander.frequency_hz(), 14068650);
  EXPECT_EQ(advised, (std::vector<Advise>{{"CIV_CommanderUI", "FreqDisplay", "14,068.65"},
                                          {"DDEServer", "Mode", "RTTY"},
                                          {"DDEServer", "RadioMode", "RTTY"}}));
  // An empty mode keeps the radio's; a frequency it cannot read moves nothing.
  commander.execute("000xcvrfreqmode<xcvrfreq:7>7033.07<xcvrmode:0>");
  EXPECT_EQ(commander.frequency_hz(), 7033070);
  EXPECT_EQ(commander.radio_mode(), "RTTY");
  const std::string bad = "000xcvrfreqmode<xcvrfreq:3>abc<xcvrmode:3>LSB";
  commander.execute(bad);
  EXPECT_EQ(commander.frequency_hz(), 7033070);
  EXPECT_EQ(commander.radio_mode(), "RTTY");
  EXPECT_EQ(commander.unreadable(), std::vector<std::string>{bad});
  EXPECT_EQ(commander.journal().size(), 3u);
}

TEST(DxlabPeerTest, ResponsivenessDecidesWhetherACommandIsTaken) {
  const struct {
    Responsiveness responsiveness;
    Answer answer;
    std::size_t journaled;
  } cases[] = {{Responsiveness::answering, Answer::accepted, 1},
               {Responsiveness::refusing, Answer::refused, 0},
               {Responsiveness::hung, Answer::none, 0}};
  for (const auto& c : cases) {
    DxKeeper dxkeeper;
    dxkeeper.set_responsiveness(c.responsiveness);
    EXPECT_EQ(dxkeeper.execute("001checkQ1ABC"), c.answer);
    EXPECT_EQ(dxkeeper.journal().size(), c.journaled);
    EXPECT_EQ(dxkeeper.unanswered().size(), 1 - c.journaled);
    EXPECT_EQ(dxkeeper.checked().size(), c.journaled);
  }
}

const char* const kRecord =
    "<CALL:5>Q1ABC <RST_RCVD:3>599 <FREQ:9>14.070150 <MODE:3>PSK <QSO_DATE:8>20051127 <EOR>";

TEST(DxKeeperTest, LogAndEqslLogKeepTheRecordAsAdif) {
  DxKeeper dxkeeper;
  dxkeeper.execute(std::string("001log") + kRecord);
  dxkeeper.execute(std::string("001EQSLLOG") + kRecord);
  ASSERT_EQ(dxkeeper.logged().size(), 2u);
  EXPECT_FALSE(dxkeeper.logged()[0].eqsl);
  EXPECT_TRUE(dxkeeper.logged()[1].eqsl);
  EXPECT_EQ(dxkeeper.logged()[0].value("freq"), "14.070150");
  EXPECT_FALSE(dxkeeper.logged()[0].has("NAME"));
  const std::string line =
      "<CALL:5>Q1ABC <RST_RCVD:3>599 <FREQ:9>14.070150 <MODE:3>PSK <QSO_DATE:8>20051127 ";
  EXPECT_EQ(dxkeeper.adif(),
            adif_header() + line + "<EOR>\n" + line + "<EQSL_QSL_SENT:1>Y <EOR>\n");
}

TEST(DxKeeperTest, RecordsItCannotTakeAreSetAside) {
  for (const char* record : {"<CALL:5>Q1ABC ",       // no end marker
                             "<CALL:9>Q1ABC <EOR>",  // the length swallows the marker
                             "<NAME:2>Jo <EOR>",     // no callsign
                             ""}) {
    DxKeeper dxkeeper;
    const std::string command = std::string("001log") + record;
    EXPECT_EQ(dxkeeper.execute(command), Answer::accepted);
    EXPECT_TRUE(dxkeeper.logged().empty()) << record;
    EXPECT_EQ(dxkeeper.malformed_records(), std::vector<std::string>{command});
  }
}

}  // namespace
}  // namespace vav::peers
