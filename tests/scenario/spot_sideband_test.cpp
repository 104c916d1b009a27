// A spot puts the signal on the operating frequency whatever the radio mode: the dial lies
// the audio offset above the spot in the modes that receive below the dial (LSB, RTTY, PKT)
// and below it in the others (USB, RTTY-R), and the operating frequency shown and logged is
// the spot's.
#include <algorithm>
#include <string>
#include <vector>

#include "spot_fixture.h"

namespace vav::testing {
namespace {

struct SidebandCase {
  const char* spot_mode;  // the spot's mode, Commander's radio mode but for RTTY
  const char* log_mode;
  int rtty_radio_mode;     // the "RTTY Radio Mode" list index
  const char* radio_mode;  // what Commander is told
  long long dial_hz;       // for a spot at 14080.15 kHz, 1500 Hz audio offset
};

const SidebandCase kCases[] = {
    {"rtty", "RTTY", 0, "LSB", 14'081'650},  {"rtty", "RTTY", 1, "USB", 14'078'650},
    {"rtty", "RTTY", 2, "RTTY", 14'081'650}, {"rtty", "RTTY", 3, "RTTY-R", 14'078'650},
    {"rtty", "RTTY", 4, "PKT", 14'081'650},  {"usb", "PSK31", 0, "USB", 14'078'650},
    {"lsb", "PSK31", 0, "LSB", 14'081'650},  {"psk31", "PSK31", 0, "PSK31", 14'078'650},
};

class SpotSidebandTest : public SpotStationTest,
                         public ::testing::WithParamInterface<SidebandCase> {};

TEST_P(SpotSidebandTest, TheOperatingFrequencyShownAndLoggedIsTheSpots) {
  const SidebandCase& c = GetParam();
  station.dxkeeper().start();
  write_file("Mixw2.ini", "[Cat]\r\nm_iFSKPitchHz=2125\r\nm_bFSKOutViaSoundcard=1\r\n");
  // Soundcard RTTY at MixW's own 1500 Hz, PSK at the optimal 1500 Hz.
  start_station({"OptiumDigitalFreq=1500", "ConnectDXKeeper=True", "LoggedFrequency=Actual",
                 "RTTYRadioModeSetting=" + std::to_string(c.rtty_radio_mode)});
  station.mixw().move_audio(1500);
  run_for(kSpotPoll);
  pick(spot("14080.15", c.spot_mode, "VK2ABC", c.log_mode));
  EXPECT_EQ(xcvr_commands().at(0).substr(xcvr_commands().at(0).find("<xcvrmode:")),
            "<xcvrmode:" + std::to_string(std::string(c.radio_mode).size()) + ">" + c.radio_mode);
  EXPECT_EQ(commander().frequency_hz(), c.dial_hz);
  for (int i = 0; i < 3; ++i) run_for(kSpotPoll);
  EXPECT_EQ(mixw().dial_hz(), c.dial_hz);
  if (std::string(c.radio_mode) != "PSK31") {  // a mode of no known side keeps the old one
    EXPECT_EQ(app->frequency.OperatingFrequencyHz, 14'080'150);
  }
  EXPECT_EQ(remove_chars(app->OpFreq.text(), ",."), "14080150") << app->OpFreq.text();

  peers::Contact contact;
  contact.call = "VK2ABC";
  contact.date = "27-Nov-2005";
  station.mixw().work_station(contact);
  run_for(kSpotPoll);
  station.mixw().write_qso();
  run_for(kSpotPoll);
  ASSERT_FALSE(station.dxkeeper().peer().logged().empty());
  EXPECT_EQ(station.dxkeeper().peer().logged().back().value("FREQ"), "14.080150");
  EXPECT_EQ(station.dxkeeper().peer().logged().back().value("BAND"), "20M");
}

INSTANTIATE_TEST_SUITE_P(RadioModes, SpotSidebandTest, ::testing::ValuesIn(kCases),
                         [](const auto& c) {
                           std::string name =
                               std::string(c.param.log_mode) + "_in_" + c.param.radio_mode;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace vav::testing
