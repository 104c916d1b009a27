#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "peers/adif.h"
#include "peers/commander.h"
#include "peers/dxkeeper.h"
#include "peers/lookup_peers.h"
#include "unit/sim_temp_folder.h"

namespace vav::peers {
namespace {

using Advise = std::tuple<std::string, std::string, std::string>;

// Every item change a peer reports, in order.
template <class Peer>
std::vector<Advise>& watch(Peer& peer, std::vector<Advise>& out) {
  peer.set_item_sink([&out](const std::string& topic, const std::string& item,
                            const std::string& value) { out.emplace_back(topic, item, value); });
  return out;
}

struct DisplayCase {
  long long hz;
  std::string text;
};

class FreqDisplayTest : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(FreqDisplayTest, ShowsTensOfHertz) {
  EXPECT_EQ(freq_display_text(GetParam().hz), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, FreqDisplayTest,
                         ::testing::Values(DisplayCase{14070150, "14,070.15"},
                                           DisplayCase{7033075, "7,033.07"},
                                           DisplayCase{144300000, "144,300.00"},
                                           DisplayCase{1296000000, "1,296,000.00"},
                                           DisplayCase{999990, "999.99"}, DisplayCase{500, "0.50"},
                                           DisplayCase{59, "0.05"}, DisplayCase{0, "0.00"}));

struct KhzCase {
  std::string text;
  std::optional<long long> hz;
};

class KhzTextTest : public ::testing::TestWithParam<KhzCase> {};

TEST_P(KhzTextTest, ReadsKilohertz) { EXPECT_EQ(khz_text_to_hz(GetParam().text), GetParam().hz); }

INSTANTIATE_TEST_SUITE_P(Cases, KhzTextTest,
                         ::testing::Values(KhzCase{"14068.65", 14068650},
                                           KhzCase{"7033,07", 7033070},
                                           KhzCase{" 14070 ", 14070000},
                                           KhzCase{"14,068.65", std::nullopt},
                                           KhzCase{"abc", std::nullopt}, KhzCase{"", std::nullopt},
                                           KhzCase{"-5", std::nullopt}));

TEST(XcvrFreqModeTest, ReadsBothFieldsByName) {
  const auto both = parse_xcvrfreqmode("<xcvrfreq:8>14068.65<xcvrmode:4>RTTY");
  EXPECT_EQ(both.hz, 14068650);
  EXPECT_EQ(both.mode, "RTTY");
  const auto no_mode = parse_xcvrfreqmode("<xcvrfreq:6>7033.1<xcvrmode:0>");
  EXPECT_EQ(no_mode.hz, 7033100);
  EXPECT_EQ(no_mode.mode, "");
  EXPECT_EQ(parse_xcvrfreqmode("<xcvrmode:3>USB").hz, std::nullopt);
}

TEST(CommanderTest, XcvrFreqModeRetunesAndAdvisesTheDisplay) {
  Commander commander(14070000, "USB");
  std::vector<Advise> advised;
  watch(commander, advised);
  EXPECT_EQ(commander.execute("000xcvrfreqmode<xcvrfreq:8>14068.65<xcvrmode:4>RTTY"),
            Answer::accepted);
  EXPECT_EQ(commander.frequency_hz(), 14068650);
  EXPECT_EQ(commander.item("CIV_CommanderUI", "FreqDisplay"), "14,068.65");
  EXPECT_EQ(commander.item("DDEServer", "RadioMode"), "RTTY");
  EXPECT_EQ(advised, (std::vector<Advise>{{"CIV_CommanderUI", "FreqDisplay", "14,068.65"},
                                          {"DDEServer", "Mode", "RTTY"},
                                          {"DDEServer", "RadioMode", "RTTY"}}));
}

TEST(CommanderTest, AnEmptyModeKeepsTheRadioModeAndABadFrequencyMovesNothing) {
  Commander commander(14070000, "USB");
  commander.execute("000xcvrfreqmode<xcvrfreq:7>7033.07<xcvrmode:0>");
  EXPECT_EQ(commander.frequency_hz(), 7033070);
  EXPECT_EQ(commander.radio_mode(), "USB");
  const std::string bad = "000xcvrfreqmode<xcvrfreq:3>abc<xcvrmode:3>LSB";
  commander.execute(bad);
  EXPECT_EQ(commander.frequency_hz(), 7033070);
  EXPECT_EQ(commander.radio_mode(), "USB");
  EXPECT_EQ(commander.unreadable(), std::vector<std::string>{bad});
  EXPECT_EQ(commander.journal().size(), 2u);
}

TEST(CommanderTest, OnlyRealChangesAreAdvised) {
  Commander commander(14070000, "USB");
  std::vector<Advise> advised;
  watch(commander, advised);
  commander.tune(14070004);  // below the display's resolution
  commander.set_radio_mode("USB");
  EXPECT_TRUE(advised.empty());
  commander.tune(14074000);
  EXPECT_EQ(advised, (std::vector<Advise>{{"CIV_CommanderUI", "FreqDisplay", "14,074.00"}}));
}

TEST(DxlabPeerTest, ResponsivenessDecidesWhetherACommandIsTaken) {
  struct Case {
    Responsiveness responsiveness;
    Answer answer;
    std::size_t journaled;
    std::size_t unanswered;
  };
  for (const Case& c : {Case{Responsiveness::answering, Answer::accepted, 1, 0},
                        Case{Responsiveness::refusing, Answer::refused, 0, 1},
                        Case{Responsiveness::hung, Answer::none, 0, 1}}) {
    DxKeeper dxkeeper;
    dxkeeper.set_responsiveness(c.responsiveness);
    EXPECT_EQ(dxkeeper.execute("001checkQ1ABC"), c.answer);
    EXPECT_EQ(dxkeeper.journal().size(), c.journaled);
    EXPECT_EQ(dxkeeper.unanswered().size(), c.unanswered);
    EXPECT_EQ(dxkeeper.checked().size(), c.journaled);
  }
}

TEST(DxlabPeerTest, ShutdownAsksToExitInAnyLetterCase) {
  for (const char* command : {"001shutdown", "001SHUTDOWN"}) {
    DxKeeper dxkeeper;
    int exits = 0;
    dxkeeper.set_exit_request([&exits] { ++exits; });
    EXPECT_EQ(dxkeeper.execute(command), Answer::accepted);
    EXPECT_EQ(exits, 1) << command;
  }
}

TEST(DxlabPeerTest, ServicesTopicsItemsAndStartNotices) {
  Commander commander;
  DxKeeper dxkeeper;
  DxView dxview;
  Pathfinder pathfinder;
  PropView propview;
  EXPECT_EQ(commander.service(), "CI-V Commander");
  EXPECT_EQ(commander.topics(), (std::vector<std::string>{"CIV_CommanderUI", "DDEServer"}));
  EXPECT_EQ(commander.item("DDEServer", "DDECommand"), "");
  EXPECT_EQ(commander.item("DDEServer", "FreqDisplay"), std::nullopt);
  EXPECT_EQ(dxkeeper.item("DDEServer", "DDECommand"), "");
  EXPECT_EQ(dxview.item("DDEServer", "SpotPrefix"), "");
  EXPECT_EQ(pathfinder.topics(), std::vector<std::string>{"DDEServer"});
  EXPECT_EQ(propview.service(), "PropView");
  EXPECT_EQ(commander.start_notice(), "000start");
  EXPECT_EQ(dxkeeper.start_notice(), "001start");
  EXPECT_EQ(pathfinder.start_notice(), "002start");
  EXPECT_EQ(dxview.start_notice(), "003start");
  EXPECT_EQ(propview.start_notice(), "005start");
}

TEST(LookupPeersTest, NoteWhatTheyAreAsked) {
  DxView dxview;
  dxview.execute("003lookupdl1abc");
  EXPECT_EQ(dxview.looked_up(), std::vector<std::string>{"dl1abc"});
  Pathfinder pathfinder;
  pathfinder.execute("002getqslinfo<callsign:6>Q1ABCD");
  pathfinder.execute("002getqslinfo");
  EXPECT_EQ(pathfinder.queried(), (std::vector<std::string>{"Q1ABCD", ""}));
}

const char* const kRecord =
    "<CALL:5>Q1ABC <RST_RCVD:3>599 <FREQ:9>14.070150 <MODE:3>PSK <QSO_DATE:8>20051127 <EOR>";

TEST(DxKeeperTest, LogAndEqslLogKeepTheRecordAsAdif) {
  DxKeeper dxkeeper;
  dxkeeper.execute(std::string("001log") + kRecord);
  dxkeeper.execute(std::string("001eqsllog") + kRecord);
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

TEST(DxKeeperTest, TheLogFileFollowsEveryLoggedQso) {
  sim::testing::TempFolder folder;
  const std::string path = (folder.path() / "log.adi").string();
  DxKeeper dxkeeper;
  dxkeeper.set_log_file(path);
  const auto file_text = [&path] {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  };
  dxkeeper.execute(std::string("001log") + kRecord);
  EXPECT_EQ(file_text(), dxkeeper.adif());
  dxkeeper.execute(std::string("001eqsllog") + kRecord);
  EXPECT_EQ(file_text(), dxkeeper.adif());
  EXPECT_FALSE(dxkeeper.log_file_failed());
  dxkeeper.set_log_file((folder.path() / "missing" / "log.adi").string());
  dxkeeper.execute(std::string("001log") + kRecord);
  EXPECT_TRUE(dxkeeper.log_file_failed());
  EXPECT_EQ(dxkeeper.logged().size(), 3u);
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
