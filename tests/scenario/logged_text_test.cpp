// The text of a logged record whatever the user's number format and code page: FREQ is an
// ADIF number with a point, and field lengths count characters, not bytes.
#include <string>

#include "station_fixture.h"

namespace vav::testing {
namespace {

peers::Contact contact(const std::string& name) {
  peers::Contact c;
  c.call = "Q1ABC";
  c.rst_rcvd = "599";
  c.rst_sent = "579";
  c.name = name;
  c.qth = "Springfield";
  c.date = "27-Nov-2005";
  c.time = "04:44";
  c.end_time = "06:48";
  return c;
}

class LoggedTextTest : public StationTest {
 protected:
  void SetUp() override {
    station.mixw().start();
    station.dxkeeper().start();
    write_settings({"FrequencyControl=MixW", "LoggedFrequency=Actual", "ConnectDXKeeper=True"});
  }
  // Starts the program with MixW's dial at 14070000 Hz and its audio offset at 1500 Hz.
  void start() {
    restart_program();
    station.mixw().move_audio(1500);
    run_for(600);
  }
  void log(const peers::Contact& c) {
    station.mixw().work_station(c);
    run_for(600);
    station.mixw().write_qso();
    run_for(600);
  }
  const peers::LoggedQso& last_logged() {
    const auto& logged = station.dxkeeper().peer().logged();
    EXPECT_FALSE(logged.empty());
    static const peers::LoggedQso kNone{};
    return logged.empty() ? kNone : logged.back();
  }
};

TEST_F(LoggedTextTest, FreqIsWrittenWithAPointWhateverTheDecimalSeparator) {
  for (const auto& [thousands, decimal] : {std::pair{".", ","}, {",", "."}}) {
    SCOPED_TRACE(decimal);
    system.set_separators(thousands, decimal);
    start();
    for (const char* logged : {"Actual", "Rig"}) {
      SCOPED_TRACE(logged);
      app->settings.LoggedFrequency = logged;
      log(contact("Ann"));
      const std::string execute = station.dxkeeper().journal().back();
      const bool rig = std::string(logged) == "Rig";
      EXPECT_NE(execute.find(rig ? "<FREQ:9>14.070000 " : "<FREQ:9>14.071500 "), std::string::npos)
          << execute;
      EXPECT_NE(execute.find("<BAND:3>20M "), std::string::npos) << execute;
      // The windows keep the user's format.
      EXPECT_EQ(app->OpFreq.text(), std::string("14") + thousands + "071" + decimal + "500");
    }
  }
}

TEST_F(LoggedTextTest, AQsoOnAFarBandLogsItsFrequency) {
  start();
  const std::pair<double, const char*> cases[] = {
      {135'700, "<FREQ:8>0.137200 "},
      {1'296'200'000, "<FREQ:11>1296.201500 "},
      {10'368'100'000, "<FREQ:12>10368.101500 "},
  };
  for (const auto& [dial, freq] : cases) {
    SCOPED_TRACE(freq);
    station.mixw().tune_dial(dial);
    run_for(600);
    log(contact("Ann"));
    const std::string execute = station.dxkeeper().journal().back();
    EXPECT_NE(execute.find(freq), std::string::npos) << execute;
    EXPECT_EQ(execute.find("<BAND:"), std::string::npos) << execute;
  }
}

}  // namespace
}  // namespace vav::testing
