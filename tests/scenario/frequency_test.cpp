// Frequency and mode tracking under "MixW" and "Commander" frequency control (the user's
// number formats: number_formats_test).
#include <algorithm>

#include "station_fixture.h"

namespace vav::testing {
namespace {

constexpr Millis kPoll = 500;

class FrequencyTest : public StationTest {
 protected:
  // MixW at 14070000 Hz with its audio offset at 1000 Hz (1001 once the links start).
  void start_mixw_control() {
    station.mixw().start();
    start_program();
    run_for(kPoll);
  }
  // Commander at 14070000 Hz in USB, owning the transceiver.
  void start_commander_control(std::vector<std::string> extra = {}) {
    extra.push_back("FrequencyControl=Commander");
    extra.push_back("ConnectCommander=True");
    write_settings(extra);
    station.mixw().start();
    station.commander().start();
    start_program();
    run_for(kPoll);
  }
  sim::SimMixw& mixw() { return station.mixw(); }
  peers::Commander& commander() { return station.commander().peer(); }
  std::vector<std::string> zfq_macros() {
    std::vector<std::string> out;
    for (const auto& m : mixw().macros()) {
      if (m.starts_with("<ZFQ:")) out.push_back(m);
    }
    return out;
  }
  std::string error_log() { return read_file("ErrorLog.txt"); }
};

TEST_F(FrequencyTest, MixWControlShowsMixWsFrequenciesInKhzForm) {
  start_mixw_control();
  EXPECT_EQ(app->RigFreq.text(), "14,070.000");
  EXPECT_EQ(app->AudioFreq.text(), "1.001");
  EXPECT_EQ(app->OpFreq.text(), "14,071.001");
  EXPECT_EQ(app->qso.Mode.text(), "PSK31");  // MixW's "BPSK31", renamed for the window

  mixw().tune_dial(7'035'000);
  run_for(1);
  EXPECT_EQ(app->OpFreq.text(), "7,036.001");  // MixW's Khz item at once
  EXPECT_EQ(app->RigFreq.text(), "14,070.000");
  run_for(kPoll);
  EXPECT_EQ(app->RigFreq.text(), "7,035.000");  // the dial at the next poll

  mixw().move_audio(1500);
  run_for(kPoll);
  EXPECT_EQ(app->AudioFreq.text(), "1.5");
  EXPECT_EQ(app->OpFreq.text(), "7,036.500");
  // MixW is never told a frequency under its own control.
  EXPECT_TRUE(zfq_macros().empty());
  EXPECT_EQ(mixw().peer().tx_jumps(), 0);
}

TEST_F(FrequencyTest, FarBandsAreShownAndTextsOfNoFrequencyLeaveTheFieldsAsTheyWere) {
  start_mixw_control();
  const struct {
    double dial_hz;
    const char* rig;
    const char* op;
  } cases[] = {
      {472'000, "472.000", "473.001"},
      {144'300'000, "144,300.000", "144,301.001"},
      {301'000'000'000, "144,300.000", "144,301.001"},  // above 300 GHz
  };
  for (const auto& c : cases) {
    mixw().tune_dial(c.dial_hz);
    run_for(kPoll);
    EXPECT_EQ(app->RigFreq.text(), c.rig) << c.dial_hz;
    EXPECT_EQ(app->OpFreq.text(), c.op) << c.dial_hz;
  }
  // Khz texts of no frequency, or of one that reads two ways outside every band.
  for (const char* khz : {"--.---", "72.0", "200.000"}) {
    mixw().operator_types("Khz", khz);
    run_for(1);
    EXPECT_EQ(app->OpFreq.text(), "144,301.001") << khz;
  }
  mixw().tune_dial(98'000);  // below 100 kHz
  run_for(kPoll);
  EXPECT_EQ(app->RigFreq.text(), "144,300.000");
}

TEST_F(FrequencyTest, CommanderControlTellsMixWTheDialFrequency) {
  start_commander_control();
  // The mirror holds Commander's display as it stands; MixW gets the dial in kHz.
  EXPECT_EQ(app->MixWRigFreq.text(), "14,070.00");
  EXPECT_EQ(app->RigFreq.text(), "14.070000");
  EXPECT_EQ(app->OpFreq.text(), "14.071001");  // USB: dial plus MixW's offset
  ASSERT_FALSE(zfq_macros().empty());
  for (const auto& m : zfq_macros()) EXPECT_EQ(m, "<ZFQ:14070.000>");
  EXPECT_GE(mixw().peer().tx_jumps(), 1);

  commander().tune(7'035'150);
  run_for(kPoll + 1);
  EXPECT_EQ(app->MixWRigFreq.text(), "7,035.15");
  EXPECT_EQ(app->RigFreq.text(), "7.035150");
  EXPECT_EQ(mixw().peer().dial_hz(), 7'035'150);
  EXPECT_EQ(zfq_macros().back(), "<ZFQ:7035.150>");
}

TEST_F(FrequencyTest, MixWIsToldTheDialOnceForEveryChangeOfTheDisplay) {
  start_commander_control();
  mixw().peer().clear_journal();
  run_for(3 * kPoll);
  EXPECT_TRUE(zfq_macros().empty());
  commander().tune(14'071'000);
  run_for(3 * kPoll);
  EXPECT_EQ(zfq_macros(), std::vector<std::string>{"<ZFQ:14071.000>"});
}

TEST_F(FrequencyTest, SidebandTableByCommandersRadioModeAndAmKeepsTheOldFrequency) {
  start_commander_control();
  const struct {
    const char* radio_mode;
    const char* op_freq;
  } cases[] = {
      // The whole table is in the unit tests; here one mode of each kind.
      // AM and an empty mode keep the operating frequency of the mode before.
      {"LSB", "14.068999"},
      {"AM", "14.068999"},
      {"USB", "14.071001"},
      {"", "14.071001"},
  };
  for (const auto& c : cases) {
    commander().set_radio_mode(c.radio_mode);
    run_for(1);
    EXPECT_EQ(app->OpFreq.text(), c.op_freq) << c.radio_mode;
  }
  // In AM a new dial keeps the old operating frequency, and MixW is still told to jump.
  commander().set_radio_mode("AM");
  run_for(1);
  const int jumps = mixw().peer().tx_jumps();
  commander().tune(14'100'000);
  run_for(kPoll);
  EXPECT_EQ(app->RigFreq.text(), "14.100000");
  EXPECT_EQ(app->frequency.OperatingFrequencyHz, 14'071'001);
  EXPECT_GT(mixw().peer().tx_jumps(), jumps);
}

struct OffsetCase {
  const char* mixw_mode;
  std::vector<std::string> settings;
  std::string mixw_ini;
  double offset;
  const char* audio_freq;
};

class AudioOffsetTest : public FrequencyTest, public ::testing::WithParamInterface<OffsetCase> {};

TEST_P(AudioOffsetTest, CommanderControlSetsMixWsAudioOffsetByMode) {
  const OffsetCase& c = GetParam();
  if (!c.mixw_ini.empty()) write_file("Mixw2.ini", c.mixw_ini);
  mixw().select_mode(c.mixw_mode);
  start_commander_control(c.settings);
  commander().set_radio_mode("LSB");  // every radio-mode change runs the audio update
  run_for(1);
  EXPECT_EQ(mixw().peer().audio_hz(), c.offset);
  EXPECT_EQ(app->AudioFreq.text(), c.audio_freq);
  EXPECT_EQ(app->frequency.OperatingFrequencyHz, 14'070'000 - static_cast<int>(c.offset));
}

const char kHardwareFsk[] = "[Cat]\r\nm_iFSKPitchHz=2125\r\nm_bFSKOutViaSoundcard=0\r\n";
const char kSoundcardFsk[] = "[Cat]\r\nm_iFSKPitchHz=2125\r\nm_bFSKOutViaSoundcard=1\r\n";

INSTANTIATE_TEST_SUITE_P(
    Modes, AudioOffsetTest,
    ::testing::Values(
        OffsetCase{"CW", {}, "", 0, "0"}, OffsetCase{"SSB", {"UseOptimal=True"}, "", 0, "0"},
        OffsetCase{"AM", {}, "", 0, "0"}, OffsetCase{"FM", {}, "", 0, "0"},
        OffsetCase{"BPSK31", {"UseOptimal=True", "OptiumDigitalFreq=1500"}, "", 1500, "1.5"},
        OffsetCase{"BPSK31", {"OptiumDigitalFreq=1500"}, "", 1001, "1.001"},
        OffsetCase{"RTTY", {"UseOptimal=True"}, kHardwareFsk, 2125, "2.125"},
        OffsetCase{
            "RTTY", {"UseOptimal=True", "OptiumDigitalFreq=1200"}, kSoundcardFsk, 1200, "1.2"},
        OffsetCase{"RTTY", {}, kSoundcardFsk, 1001, "1.001"}),
    [](const auto& test) {
      return std::string(test.param.mixw_mode) + "_at_" +
             std::to_string(static_cast<int>(test.param.offset));
    });

TEST_F(FrequencyTest, ACommanderDisplayOfNoFrequencyTellsMixWNothing) {
  start_commander_control();
  mixw().peer().clear_journal();
  for (const char* display :
       {"--.---", "", "OFF", "14,070.15 kHz", "1", "99.99", "999,999,999,999,999.99"}) {
    bus.advise(peers::kCommanderService, peers::kCommanderUiTopic, "FreqDisplay", display);
    run_for(kPoll);
    EXPECT_TRUE(zfq_macros().empty()) << display;
    EXPECT_EQ(app->RigFreq.text(), "14.070000");
  }
  EXPECT_EQ(mixw().peer().dial_hz(), 14'070'000);
  EXPECT_EQ(app->run_end(), RunEnd::running);
  // A radio-mode update then has no frequency to work from: reported, nothing changed.
  bus.advise(peers::kCommanderService, peers::kCommanderUiTopic, "FreqDisplay", "--.---");
  run_for(kPoll);
  commander().set_radio_mode("LSB");
  run_for(1);
  EXPECT_NE(error_log().find("QuandrelMain.AudioFreq_Change"), std::string::npos);
  EXPECT_EQ(mixw().peer().dial_hz(), 14'070'000);
  EXPECT_EQ(app->frequency.OperatingFrequencyHz, 14'071'001);
}

TEST_F(FrequencyTest, TextsOfNoFrequencyLeaveADebugLineInDebugMode) {
  store.save("Vavizorur", "Settings", "DebugMode", "True");
  start_commander_control();
  mixw().operator_types("Khz", "200.000");
  bus.advise(peers::kCommanderService, peers::kCommanderUiTopic, "FreqDisplay", "--.---");
  run_for(kPoll);
  const std::string log = read_file("VavizorurDebug.txt");
  for (const char* line : {"MixKhz refused = 200.000", "Commander frequency refused = --.---"}) {
    EXPECT_NE(log.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(error_log(), "<missing>");
}

TEST_F(FrequencyTest, DebugModeStoresMixWsFrequencyText) {
  store.save("Vavizorur", "Settings", "DebugMode", "True");
  start_mixw_control();
  EXPECT_EQ(profile.read_string(path("Vavizorur.ini"), "Debug", "MixKhz.Text"), "14071.001");
  const std::string log = read_file("VavizorurDebug.txt");
  for (const char* key : {"OpFreq.Text = 14,071.001", "MixWRigFreq.Text = 14070000",
                          "RigFreq.Text = 14,070.000", "AudioFreq.Text"}) {
    EXPECT_NE(log.find(key), std::string::npos) << key;
  }
}

}  // namespace
}  // namespace vav::testing
