// Spots picked in SpotCollector tune MixW and, through Commander, the transceiver.
#include <algorithm>

#include "spot_fixture.h"

namespace vav::testing {
namespace {

constexpr Millis kPoll = kSpotPoll;
constexpr const char* kCommanderNeeded =
    "Commander needs to be used for Transciever Control when Using SpotCollector";

using SpotsTest = SpotStationTest;

TEST_F(SpotsTest, APskSpotTunesMixWAndCommander) {
  start_station({"OptiumDigitalFreq=1500"});
  pick(spot("14070.15", "psk31", "VK2ABC", "PSK31"));

  EXPECT_TRUE(in_order(
      mixw().journal_lines(),
      {"call ExecuteMacros(\"<CLEARQSO>\")", "put Mode(\"BPSK31\")",
       "call ExecuteMacros(\"<AUDIOFQ: 1500>\")", "call ExecuteMacros(\"<ZFQ:14068.650>\")",
       "call ExecuteMacros(\"<JUMPTOTXFQ>\")", "call SetQsoData(0, \"VK2ABC\")"}))
      << ::testing::PrintToString(mixw().journal_lines());
  EXPECT_EQ(xcvr_commands(),
            (std::vector<std::string>{"000xcvrfreqmode<xcvrfreq:8>14068.65<xcvrmode:5>PSK31"}));
  EXPECT_EQ(commander().frequency_hz(), 14'068'650);
  EXPECT_EQ(app->received_spot.RcvdSpotFreq.text(), "14,068.65");
  EXPECT_EQ(app->received_spot.RcvdSpotMode.text(), "PSK31");
  EXPECT_EQ(app->received_spot.RcvdSpotLogMode.text(), "BPSK31");
  EXPECT_EQ(app->received_spot.RcvdSpotCallsign.text(), "VK2ABC");
  EXPECT_EQ(app->received_spot.RcvdSpotGrid.text(), "QF56");
  EXPECT_EQ(app->RigFreq.text(), "14.068650");
  EXPECT_EQ(app->AudioFreq.text(), "1.5");
  EXPECT_EQ(mixw().dial_hz(), 14'068'650);
  EXPECT_EQ(mixw().item("Call"), "VK2ABC");
  // The rig-frequency mirror holds Commander's display under Commander control; the spot
  // writes the dial in that form, so MixW is only ever told the dial.
  for (int i = 0; i < 4; ++i) run_for(kPoll);
  for (const auto& m : zfq_macros()) EXPECT_EQ(m, "<ZFQ:14068.650>");
  EXPECT_EQ(app->MixWRigFreq.text(), "14,068.65");  // Commander's display, after the poll
}

TEST_F(SpotsTest, AnRttySpotWithHardwareFskUsesTheFskPitch) {
  write_file("Mixw2.ini", "[Cat]\r\nm_iFSKPitchHz=2125\r\nm_bFSKOutViaSoundcard=0\r\n");
  start_station({"RTTYRadioModeSetting= 3"});
  pick(spot("7035.2", "rtty", "JA1XYZ", "RTTY"));
  EXPECT_EQ(xcvr_commands(),
            (std::vector<std::string>{"000xcvrfreqmode<xcvrfreq:7>7033.07<xcvrmode:6>RTTY-R"}));
  EXPECT_EQ(commander().frequency_hz(), 7'033'070);
  EXPECT_EQ(mixw().mode(), "RTTY");
  EXPECT_EQ(app->received_spot.RcvdSpotFreq.text(), "7,033.07");
  for (const auto& m : mixw().macros()) EXPECT_FALSE(m.starts_with("<AUDIOFQ")) << m;
  for (const auto& m : zfq_macros()) EXPECT_EQ(m, "<ZFQ:7033.070>");
  EXPECT_EQ(mixw().dial_hz(), 7'033'070);
}

TEST_F(SpotsTest, APsk63SpotSetsBpsk63AndItsBaudRate) {
  start_station();
  pick(spot("14070.15", "psk63", "VK2ABC", "PSK63"));
  EXPECT_TRUE(
      in_order(mixw().journal_lines(),
               {"put Mode(\"BPSK63\")", "call ExecuteMacros(\"<MODE:BPSK31><BAUDRATE:62.5>\")",
                "call ExecuteMacros(\"<JUMPTOTXFQ>\")"}));
  EXPECT_EQ(mixw().baud_rate(), "62.5");
  EXPECT_EQ(app->received_spot.RcvdSpotLogMode.text(), "BPSK63");
}

TEST_F(SpotsTest, ACwSpotKeepsTheDialAtTheSpotFrequency) {
  start_station();
  pick(spot("14025", "cw", "K1ABC", "CW"));
  EXPECT_EQ(xcvr_commands(),
            (std::vector<std::string>{"000xcvrfreqmode<xcvrfreq:5>14025<xcvrmode:2>CW"}));
  EXPECT_EQ(commander().frequency_hz(), 14'025'000);
  EXPECT_EQ(mixw().dial_hz(), 14'025'000);
  EXPECT_EQ(mixw().audio_hz(), 0);
}

TEST_F(SpotsTest, WithCommanderDisconnectedOneMessageAndMixWUntouched) {
  write_settings({"FrequencyControl=Commander", "ConnectCommander=True"});
  station.mixw().start();
  station.spotcollector().start();
  start_program();
  run_for(kPoll);
  station.mixw().peer().clear_journal();
  pick(spot("14070.15", "psk31", "VK2ABC", "PSK31"));
  ASSERT_EQ(desktop.message_boxes().size(), 1u);
  EXPECT_EQ(desktop.message_boxes()[0].text, kCommanderNeeded);
  run_for(kPoll);
  EXPECT_TRUE(station.mixw().journal_lines().empty())
      << ::testing::PrintToString(station.mixw().journal_lines());
  EXPECT_EQ(desktop.message_boxes().size(), 1u);
  // The fields hold the spot as received.
  EXPECT_EQ(app->received_spot.RcvdSpotFreq.text(), "14070.15");
}

TEST_F(SpotsTest, AnOverlongSpotNeverStopsTheProgram) {
  start_station();
  ASSERT_TRUE(station.spotcollector()
                  .send_command("004setscnewentry<freq:8>14070.15<qsx:0><mode:3000>" +
                                std::string(3000, 'x'))
                  .accepted);
  run_for(kPoll);
  EXPECT_EQ(app->run_end(), RunEnd::running);
  EXPECT_TRUE(desktop.message_boxes().empty());
}

}  // namespace
}  // namespace vav::testing
