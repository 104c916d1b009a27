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

TEST_F(LoggedTextTest, OnAJapaneseWindowsADoubleByteCharacterCountsOnce) {
  // Shift-JIS: "Yamada" and "Tokyo" in two kanji each, two bytes a kanji.
  const std::string name = "\x8E\x52\x93\x63";
  const std::string qth = "\x93\x8C\x8B\x9E";
  system.set_ansi_code_page(932);
  station.dxkeeper().peer().set_code_page(peers::AnsiCodePage{932});
  start();
  peers::Contact c = contact(name);
  c.qth = qth;
  c.notes = "QSL " + name;
  log(c);

  const std::string execute = station.dxkeeper().journal().back();
  EXPECT_NE(execute.find("<NAME:2>" + name + " <NOTES:6>QSL " + name + " <QTH:2>" + qth + " "),
            std::string::npos)
      << execute;
  const peers::LoggedQso& logged = last_logged();
  EXPECT_EQ(logged.value("NAME"), name);
  EXPECT_EQ(logged.value("NOTES"), "QSL " + name);
  EXPECT_EQ(logged.value("QTH"), qth);
  EXPECT_EQ(logged.value("PFX"), "Q1");  // every field after them read as sent
  EXPECT_TRUE(station.dxkeeper().peer().malformed_records().empty());
}

TEST_F(LoggedTextTest, OnASingleByteCodePageEveryByteIsACharacter) {
  const std::string name = "\x8E\x52\x93\x63";  // four letters of code page 1252
  start();
  log(contact(name));
  const std::string execute = station.dxkeeper().journal().back();
  EXPECT_NE(execute.find("<NAME:4>" + name + " "), std::string::npos) << execute;
  EXPECT_EQ(last_logged().value("NAME"), name);
}

}  // namespace
}  // namespace vav::testing
