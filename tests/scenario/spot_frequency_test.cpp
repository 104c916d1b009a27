// The frequency of a spot as SpotCollector writes it: bands far below and above the usual
// ones, and texts that are no frequency (either decimal mark: number_formats_test).
#include <string>
#include <vector>

#include "spot_fixture.h"

namespace vav::testing {
namespace {

class SpotFrequencyTest : public SpotStationTest {};

struct FarCase {
  const char* text;
  const char* mode;
  const char* log_mode;
  const char* xcvr;          // the "xcvrfreqmode" argument
  long long dial_hz;         // where Commander and MixW end up
  const char* zfq;           // the dial as MixW is told it
  const char* spot_freq;     // the spot field, showing the dial in kHz
  const char* rig_freq;      // the rig frequency under Commander control (MHz form)
  const char* commander_op;  // the operating frequency under Commander control, USB
};

const FarCase kFarBands[] = {
    {"136.0", "cw", "CW", "<xcvrfreq:3>136<xcvrmode:2>CW", 136'000, "<ZFQ:136.000>", "136.00",
     "0.136000", "0.136000"},
    {"474.2", "psk31", "PSK31", "<xcvrfreq:5>472.7<xcvrmode:5>PSK31", 472'700, "<ZFQ:472.700>",
     "472.70", "0.472700", "0.474200"},
    {"1296200", "cw", "CW", "<xcvrfreq:7>1296200<xcvrmode:2>CW", 1'296'200'000, "<ZFQ:1296200.000>",
     "1,296,200.00", "1296.200000", "1296.200000"},
    {"10368100.5", "cw", "CW", "<xcvrfreq:10>10368100.5<xcvrmode:2>CW", 10'368'100'500,
     "<ZFQ:10368100.500>", "10,368,100.50", "10368.100500", "10368.100500"},
};

TEST_F(SpotFrequencyTest, FarBandsUnderCommanderControl) {
  start_station({"OptiumDigitalFreq=1500"});
  for (const FarCase& c : kFarBands) {
    SCOPED_TRACE(c.text);
    clear_journals();
    pick(spot(c.text, c.mode, "VK2ABC", c.log_mode));
    EXPECT_EQ(xcvr_commands(), std::vector<std::string>{std::string("000xcvrfreqmode") + c.xcvr});
    EXPECT_EQ(commander().frequency_hz(), c.dial_hz);
    EXPECT_EQ(app->received_spot.RcvdSpotFreq.text(), c.spot_freq);
    for (int i = 0; i < 3; ++i) run_for(kSpotPoll);
    ASSERT_FALSE(zfq_macros().empty());
    for (const auto& m : zfq_macros()) EXPECT_EQ(m, c.zfq);
    EXPECT_EQ(mixw().dial_hz(), c.dial_hz);
    EXPECT_EQ(app->RigFreq.text(), c.rig_freq);
    // The radio in USB: the operating frequency lies the audio offset above the dial.
    commander().set_radio_mode("USB");
    run_for(1);
    EXPECT_EQ(app->OpFreq.text(), c.commander_op);
  }
  EXPECT_EQ(read_file("ErrorLog.txt"), "<missing>");
}

TEST_F(SpotFrequencyTest, FarBandsUnderMixWControlShowTheDialInKhz) {
  start_station({"OptiumDigitalFreq=1500"});
  app->setup.settings.FrequencyControl = "MixW";
  const std::pair<const char*, const char*> shown[] = {
      {"136.000", "136.0"},
      {"472.700", "474.2"},
      {"1,296,200.000", "1296200"},
      {"10,368,100.500", "10368100.5"},
  };
  for (std::size_t i = 0; i < std::size(kFarBands); ++i) {
    const FarCase& c = kFarBands[i];
    SCOPED_TRACE(c.text);
    pick(spot(c.text, c.mode, "VK2ABC", c.log_mode));
    EXPECT_EQ(commander().frequency_hz(), c.dial_hz);
    EXPECT_EQ(app->MixWRigFreq.text(), std::to_string(c.dial_hz));
    EXPECT_EQ(app->RigFreq.text(), shown[i].first);
    EXPECT_EQ(app->received_spot.RcvdSpotFreq.text(), c.spot_freq);
  }
  EXPECT_TRUE(zfq_macros().empty());
}

TEST_F(SpotFrequencyTest, ASpotThatCannotBeReadTunesNothingAndOnlyLeavesADebugLine) {
  store.save("Vavizorur", "Settings", "DebugMode", "True");
  start_station();
  const char* refused[] = {"",       "abc",         "-14070", "0",         "14070.15.3",
                           "99.9",   "300000000.5", "1e4",    "14 070 15", "14,070.15.3",
                           "+14070", "0.0",         "200.000"};
  for (const char* text : refused) {
    SCOPED_TRACE(text);
    pick(spot(text, "psk31", "VK2ABC", "PSK31"));
    EXPECT_TRUE(mixw().journal_lines().empty()) << ::testing::PrintToString(mixw().journal_lines());
    EXPECT_TRUE(xcvr_commands().empty());
    EXPECT_EQ(app->received_spot.RcvdSpotFreq.text(), text);
    EXPECT_NE(read_file("VavizorurDebug.txt").find(std::string("Spot frequency refused = ") + text),
              std::string::npos);
  }
  EXPECT_TRUE(desktop.message_boxes().empty());
  EXPECT_EQ(app->run_end(), RunEnd::running);
  EXPECT_EQ(read_file("ErrorLog.txt"), "<missing>");
}

TEST_F(SpotFrequencyTest, ARefusedSpotWritesNoDebugLineOutsideDebugMode) {
  start_station();
  pick(spot("-14070", "psk31", "VK2ABC", "PSK31"));
  EXPECT_TRUE(mixw().journal_lines().empty());
  EXPECT_EQ(read_file("VavizorurDebug.txt"), "<missing>");
}

}  // namespace
}  // namespace vav::testing
