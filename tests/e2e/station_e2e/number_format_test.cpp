// Spots picked in SpotCollector under Commander frequency control, in the user's number
// format under Wine: spots written with either decimal mark retune MixW and the radio the
// same under either separator style (one spot per form here; the scenarios hold every band).
// The logged FREQ in a comma locale: qso_test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "station_e2e/station.h"

namespace vav::e2e {
namespace {

class NumberFormat : public StationTest {
 protected:
  // Commander owns the radio. Every program a connection pass looks for runs: Wine's DDEML
  // client of SpotCollector's stand-in, waiting for an execute's answer, wakes only for
  // posted messages: a WM_DDE_INITIATE the program broadcasts meanwhile (a link being
  // started, a connection pass looking for an absent program) waits for the client, and
  // the client for the program, until the execute times out.
  void start_spot_station() {
    write_settings({{"ConnectCommander", "True"},
                    {"ConnectDXKeeper", "True"},
                    {"ConnectDXView", "True"},
                    {"ConnectPathFinder", "True"},
                    {"FrequencyControl", "Commander"}});
    mixw_ = &start_mixw();
    commander_ = &start_dxlab("Commander");
    for (const char* program : {"DXKeeper", "DXView", "Pathfinder"}) start_dxlab(program);
    spotcollector_ = &start_spotcollector();
    ASSERT_FALSE(HasFailure());
    HWND window = nullptr;
    ASSERT_TRUE(start_program_connected(window, "{CC,DXK,PF,DXV}"));
    ASSERT_TRUE(mixw_->journal.await("automation call ExecuteMacros(\"<AUDIOFQ:1001>\")"));
  }
  // Picks a spot in SpotCollector ("frequency|mode|log mode") and checks what Commander is
  // told and, in order, what MixW is told: `mixw_before_dial`, the dial, `mixw_before_call`
  // and the callsign.
  void pick(const std::string& khz, const std::string& mode, const std::string& log_mode,
            const std::string& xcvrfreqmode, const std::string& zfq,
            const std::vector<std::string>& mixw_before_dial = {},
            const std::vector<std::string>& mixw_before_call = {}) {
    SCOPED_TRACE(khz);
    ASSERT_TRUE(control("SpotCollector", "spot " + khz + "||" + mode + "|Q1XYZ|" + log_mode));
    EXPECT_TRUE(
        commander_->journal.await("execute accepted DDEServer 000xcvrfreqmode" + xcvrfreqmode));
    for (const std::string& line : mixw_before_dial) EXPECT_TRUE(mixw_->journal.await(line));
    EXPECT_TRUE(mixw_->journal.await("automation call ExecuteMacros(\"<ZFQ:" + zfq + ">\")"));
    for (const std::string& line : mixw_before_call) EXPECT_TRUE(mixw_->journal.await(line));
    EXPECT_TRUE(mixw_->journal.await("automation call SetQsoData(0, \"Q1XYZ\")"));
  }

  Standin* mixw_ = nullptr;
  Standin* commander_ = nullptr;
  Standin* spotcollector_ = nullptr;
};

TEST_F(NumberFormat, SpotsInEitherDecimalFormWithAPointAsDecimalSeparator) {
  ScopedNumberFormat format(",", ".");
  ASSERT_TRUE(format.set());
  ASSERT_NO_FATAL_FAILURE(start_spot_station());
  // MixW cleared, put in the spot's mode at the optimal audio offset, its dial set 1500 Hz
  // below the spot, the callsign entered; the same dial in Commander's terms, and the
  // radio's display moved before the execute was answered.
  pick("14070.15", "psk31", "PSK31", "<xcvrfreq:8>14068.65<xcvrmode:5>PSK31", "14068.650",
       {"automation call ExecuteMacros(\"<CLEARQSO>\")", "automation put Mode(\"BPSK31\")",
        "automation call ExecuteMacros(\"<AUDIOFQ: 1500>\")"},
       {"automation call ExecuteMacros(\"<JUMPTOTXFQ>\")"});
  EXPECT_TRUE(spotcollector_->journal.await("sent accepted 004setscnewentry"));
  EXPECT_TRUE(commander_->journal.has("item CIV_CommanderUI FreqDisplay 14,068.65"))
      << commander_->journal.dump();
  pick("14070,25", "psk31", "PSK31", "<xcvrfreq:8>14068.75<xcvrmode:5>PSK31", "14068.750");
  EXPECT_EQ(error_log(), "");
}

TEST_F(NumberFormat, SpotsInEitherDecimalFormWithACommaAsDecimalSeparator) {
  ScopedNumberFormat format(".", ",");
  ASSERT_TRUE(format.set());
  ASSERT_NO_FATAL_FAILURE(start_spot_station());
  pick("14070.15", "psk31", "PSK31", "<xcvrfreq:8>14068,65<xcvrmode:5>PSK31", "14068,650");
  pick("7035,2", "cw", "CW", "<xcvrfreq:6>7035,2<xcvrmode:2>CW", "7035,200");
  // A far band in a comma locale: the scenarios run far bands under point separators only.
  pick("10368100.5", "cw", "CW", "<xcvrfreq:10>10368100,5<xcvrmode:2>CW", "10368100,500");
  EXPECT_EQ(error_log(), "");
}

}  // namespace
}  // namespace vav::e2e
