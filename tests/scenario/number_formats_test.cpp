// Frequencies under the number formats operators use: MixW's texts, Commander's display and
// the spots are read whatever the user's separators, the windows and Commander get the
// user's format, and every QSO is logged with FREQ (a point) and BAND.
#include <string>
#include <vector>

#include "spot_fixture.h"

namespace vav::testing {
namespace {

struct UserFormat {
  const char* name;
  const char* thousands;
  const char* decimal;
};

const UserFormat kFormats[] = {
    {"en-US", ",", "."}, {"de-DE", ".", ","}, {"fr-FR", "\xa0", ","}, {"ru-RU", "\xa0", ","},
    {"sv-SE", " ", ","}, {"de-CH", "'", "."}, {"ja-JP", ",", "."},
};

class NumberFormatTest : public SpotStationTest, public ::testing::WithParamInterface<UserFormat> {
 protected:
  void SetUp() override {
    system.set_separators(GetParam().thousands, GetParam().decimal);
    station.dxkeeper().start();
  }
  // "14" + thousands + "070" + decimal + "150" for ("14", "070", "150").
  static std::string in_format(const char* mhz, const char* khz, const char* decimals) {
    return std::string(mhz) + GetParam().thousands + khz + GetParam().decimal + decimals;
  }
  const peers::LoggedQso& log_a_qso(const char* call = "Q1ABC") {
    peers::Contact contact;
    contact.call = call;
    contact.date = "27-Nov-2005";
    station.mixw().work_station(contact);
    run_for(kSpotPoll);
    station.mixw().write_qso();
    run_for(kSpotPoll);
    static const peers::LoggedQso kNone{};
    const auto& logged = station.dxkeeper().peer().logged();
    EXPECT_EQ(logged.size(), ++logged_count);
    return logged.empty() ? kNone : logged.back();
  }
  std::size_t logged_count = 0;
};

TEST_P(NumberFormatTest, MixWControl) {
  write_settings({"FrequencyControl=MixW", "ConnectDXKeeper=True", "LoggedFrequency=Actual"});
  station.mixw().start();
  start_program();
  run_for(kSpotPoll);
  // MixW's dial at 14070000 Hz, its Khz item "14071.001".
  EXPECT_EQ(app->RigFreq.text(), in_format("14", "070", "000"));
  EXPECT_EQ(app->OpFreq.text(), in_format("14", "071", "001"));
  EXPECT_EQ(app->AudioFreq.text(), std::string("1") + GetParam().decimal + "001");
  for (const std::string& khz :
       std::vector<std::string>{"14080.150", "14,080.150", in_format("14", "080", "150")}) {
    station.mixw().operator_types("Khz", "");
    station.mixw().operator_types("Khz", khz);
    run_for(1);
    EXPECT_EQ(app->OpFreq.text(), in_format("14", "080", "150")) << khz;
  }
  const peers::LoggedQso& qso = log_a_qso();
  EXPECT_EQ(qso.value("FREQ"), "14.080150");
  EXPECT_EQ(qso.value("BAND"), "20M");
  app->setup.Option2.select(0);  // the rig frequency
  EXPECT_EQ(log_a_qso("Q2ABC").value("FREQ"), "14.070000");
}

TEST_P(NumberFormatTest, CommanderControl) {
  start_station({"ConnectDXKeeper=True", "LoggedFrequency=Actual"});
  const std::string display = in_format("7", "035", "15");
  bus.advise(peers::kCommanderService, peers::kCommanderUiTopic, "FreqDisplay", display);
  run_for(kSpotPoll);
  EXPECT_EQ(zfq_macros().back(), std::string("<ZFQ:7035") + GetParam().decimal + "150>");
  EXPECT_EQ(mixw().dial_hz(), 7'035'150);
  EXPECT_EQ(app->RigFreq.text(), std::string("7") + GetParam().decimal + "035150");
  commander().set_radio_mode("LSB");
  run_for(1);
  // MixW at 1001 Hz below the dial.
  EXPECT_EQ(app->frequency.OperatingFrequencyHz, 7'034'149);
  EXPECT_EQ(app->OpFreq.text(), std::string("7") + GetParam().decimal + "034149");  // MHz form
  const peers::LoggedQso& qso = log_a_qso();
  EXPECT_EQ(qso.value("BAND"), "40M");
  EXPECT_EQ(qso.value("FREQ").substr(0, 5), "7.034");
}

// SpotCollector writes the frequency with either decimal mark, grouped or not; Commander is
// told the dial in the user's format and the window shows it so.
TEST_P(NumberFormatTest, ASpotIsReadWithEitherDecimalMark) {
  start_station({"OptiumDigitalFreq=1500"});
  for (const std::string& text : {std::string("14070.15"), std::string("14070,15"),
                                  std::string(" 14070.15 "), std::string("14,070.15"),
                                  std::string("14.070,15"), in_format("14", "070", "15")}) {
    SCOPED_TRACE(text);
    clear_journals();
    pick(spot(text.c_str(), "usb", "VK2ABC", "PSK31"));
    EXPECT_EQ(xcvr_commands(),
              std::vector<std::string>{std::string("000xcvrfreqmode<xcvrfreq:8>14068") +
                                       GetParam().decimal + "65<xcvrmode:3>USB"});
    EXPECT_EQ(commander().frequency_hz(), 14'068'650);
    EXPECT_EQ(app->received_spot.RcvdSpotFreq.text(), in_format("14", "068", "65"));
    run_for(kSpotPoll);
    EXPECT_EQ(mixw().dial_hz(), 14'068'650);
    EXPECT_EQ(app->frequency.OperatingFrequencyHz, 14'070'150);
  }
  // Read as 14.025 kHz it would lie below every band: the comma groups thousands.
  pick(spot("14,025", "cw", "K1ABC", "CW"));
  EXPECT_EQ(commander().frequency_hz(), 14'025'000);
}

INSTANTIATE_TEST_SUITE_P(Formats, NumberFormatTest, ::testing::ValuesIn(kFormats),
                         [](const auto& format) {
                           std::string name = format.param.name;
                           name.erase(name.find('-'), 1);
                           return name;
                         });

}  // namespace
}  // namespace vav::testing
