// The transceiver kept in step under Commander frequency control: a spot picked in
// SpotCollector retunes MixW and the radio; a turn of the radio's knob reaches MixW.
#include <gtest/gtest.h>

#include "station_e2e/station.h"

namespace vav::e2e {
namespace {

class Frequency : public StationTest {};

TEST_F(Frequency, ASpotPickedInSpotCollectorRetunesMixWAndTheTransceiver) {
  write_settings({{"ConnectCommander", "True"},
                  {"ConnectDXKeeper", "True"},
                  {"ConnectDXView", "True"},
                  {"ConnectPathFinder", "True"},
                  {"FrequencyControl", "Commander"}});
  Standin& mixw = start_mixw();
  Standin& commander = start_dxlab("Commander");
  // Wine's DDEML client, as SpotCollector's stand-in uses it, wakes only for posted
  // messages while it waits for an execute's answer: a WM_DDE_INITIATE that the program
  // broadcasts meanwhile (a link being started, a connection pass looking for an absent
  // program) waits for the client, and the client for the program, until the execute
  // times out. So the spot comes when the program's links stand and every program that a
  // connection pass looks for runs.
  for (const char* program : {"DXKeeper", "DXView", "Pathfinder"}) start_dxlab(program);
  Standin& spotcollector = start_spotcollector();
  ASSERT_FALSE(HasFailure());
  HWND window = nullptr;
  ASSERT_TRUE(start_program_connected(window, "{CC,DXK,PF,DXV}"));
  ASSERT_TRUE(mixw.journal.await("automation call ExecuteMacros(\"<AUDIOFQ:1001>\")"));

  ASSERT_TRUE(control("SpotCollector", "spot 14070.15||psk31|Q1XYZ|PSK31||||JN18"));
  ASSERT_TRUE(spotcollector.journal.await("sent accepted 004setscnewentry"));
  // MixW cleared, put in the spot's mode at the optimal audio offset, the callsign entered.
  EXPECT_TRUE(mixw.journal.await("automation call ExecuteMacros(\"<CLEARQSO>\")"));
  EXPECT_TRUE(mixw.journal.await("automation put Mode(\"BPSK31\")"));
  EXPECT_TRUE(mixw.journal.await("automation call ExecuteMacros(\"<AUDIOFQ: 1500>\")"));
  EXPECT_TRUE(mixw.journal.await("automation call ExecuteMacros(\"<JUMPTOTXFQ>\")"));
  EXPECT_TRUE(mixw.journal.await("automation call SetQsoData(0, \"Q1XYZ\")"));
  // The dial goes 1500 Hz below the spot, in Commander's terms.
  EXPECT_TRUE(commander.journal.await(
      "execute accepted DDEServer 000xcvrfreqmode<xcvrfreq:8>14068.65<xcvrmode:5>PSK31"));
  // The radio's display moved before the execute was answered.
  EXPECT_TRUE(commander.journal.has("item CIV_CommanderUI FreqDisplay 14,068.65"))
      << commander.journal.dump();
  // And the radio's new frequency comes back to MixW's dial.
  EXPECT_TRUE(mixw.journal.await("automation call ExecuteMacros(\"<ZFQ:14068.650>\")"));
  EXPECT_EQ(error_log(), "");
}

TEST_F(Frequency, ACommanderFrequencyChangeReachesMixW) {
  write_settings({{"ConnectCommander", "True"}, {"FrequencyControl", "Commander"}});
  Standin& mixw = start_mixw();
  Standin& commander = start_dxlab("Commander");
  ASSERT_FALSE(HasFailure());
  HWND window = nullptr;
  ASSERT_TRUE(start_program_connected(window, "{CC}"));
  EXPECT_TRUE(mixw.journal.await("automation call ExecuteMacros(\"<ZFQ:14070.000>\")"));

  ASSERT_TRUE(control("Commander", "tune 7074000"));
  ASSERT_TRUE(commander.journal.await("item CIV_CommanderUI FreqDisplay 7,074.00"));
  EXPECT_TRUE(mixw.journal.await("automation call ExecuteMacros(\"<ZFQ:7074.000>\")"));
  EXPECT_TRUE(mixw.journal.await("automation call ExecuteMacros(\"<JUMPTOTXFQ>\")"));
  // MixW's dial moved: its operating frequency is the dial plus its audio offset.
  EXPECT_TRUE(mixw.journal.has("item QSO Khz 7075.001")) << mixw.journal.dump();
  EXPECT_EQ(error_log(), "");
}

}  // namespace
}  // namespace vav::e2e
