// A QSO worked in MixW reaches DXKeeper as one record; none is ever lost.
#include <string>

#include "station_fixture.h"

namespace vav::testing {
namespace {

peers::Contact worked_station() {
  peers::Contact c;
  c.call = "q1abc";
  c.rst_rcvd = "599";
  c.rst_sent = "579";
  c.name = "Ann";
  c.qth = "Springfield";
  c.domain = "IL";
  c.county = "Sangamon";
  c.notes = "a<b";
  c.waz = "4";
  c.itu = "8";
  c.loc = "EN59";
  c.date = "27-Nov-2005";
  c.time = "04:44";
  c.end_time = "06:48";
  return c;
}

class QsoLoggingTest : public StationTest {
 protected:
  void SetUp() override {
    station.mixw().start();
    station.dxkeeper().start();
    write_settings({"FrequencyControl=MixW", "LoggedFrequency=Actual", "ConnectDXKeeper=True"});
  }
  void work_and_write(const peers::Contact& contact) {
    station.mixw().work_station(contact);
    run_for(600);
    station.mixw().write_qso();
    run_for(600);
  }
  // Starts the program with MixW's dial at 14070000 Hz and its audio offset at 1500 Hz.
  void start_at_1500_hz() {
    restart_program();
    station.mixw().move_audio(1500);
    run_for(600);
  }
  const peers::LoggedQso& last_logged() {
    const auto& logged = station.dxkeeper().peer().logged();
    EXPECT_FALSE(logged.empty());
    static const peers::LoggedQso kNone{};
    return logged.empty() ? kNone : logged.back();
  }
};

TEST_F(QsoLoggingTest, AWrittenQsoIsLoggedOnceWithTheExactRecordAndTheFieldsCleared) {
  start_program();
  work_and_write(worked_station());

  const auto& journal = station.dxkeeper().journal();
  ASSERT_EQ(journal.size(), 1u);
  const std::string op_freq = app->OpFreq.text();
  EXPECT_EQ(op_freq, "14,071.001");  // dial 14,070.000 plus the nudged 1001 Hz audio
  EXPECT_EQ(journal[0],
            "001log<CALL:5>Q1ABC <RST_RCVD:3>599 <RST_SENT:3>579 <FREQ:9>14.071001 "
            "<BAND:3>20M <MODE:5>PSK31 <QSO_DATE:8>20051127 <TIME_ON:6>044400 "
            "<TIME_OFF:6>064800 <NAME:3>Ann <NOTES:2>ab <STATE:2>IL <QTH:11>Springfield "
            "<CQZ:1>4 <ITUZ:1>8 <PFX:2>Q1 <EOR>");
  EXPECT_EQ(app->qso.Callsign.text(), "");
  EXPECT_EQ(app->qso.NameText.text(), "");
  EXPECT_EQ(app->CurrentCallsign, "");
  EXPECT_EQ(app->qso.RSTRcvd.text(), "599");  // reports, date and end time stay
  EXPECT_EQ(app->qso.UTCEnd.text(), "06:48");
  EXPECT_EQ(app->qso.Mode.text(), "PSK31");  // refilled from MixW
  EXPECT_FALSE(files.exists(path("ErrorLog.txt")));
}

TEST_F(QsoLoggingTest, OptionsAddTheirFields) {
  write_settings({"LoggedFrequency=Rig", "ConnectDXKeeper=True", "SaveCounty=True", "SaveGrid=True",
                  "RequestQSL=True", "ShowContest=True", "SendToeQSL=True"});
  start_program();
  auto contact = worked_station();
  contact.domain = "";
  contact.exch_rcv = "001";
  contact.exch_sent = "002";
  work_and_write(contact);

  ASSERT_EQ(station.dxkeeper().journal().size(), 1u);
  const std::string& sent = station.dxkeeper().journal()[0];
  EXPECT_EQ(sent.rfind("001eqsllog<CALL:5>Q1ABC ", 0), 0u) << sent;
  for (const char* field :
       {"<FREQ:9>14.070000 ", "<BAND:3>20M ", "<CNTY:9>,Sangamon ", "<GRIDSQUARE:4>EN59 ",
        "<QSL_RCVD:1>R <QSL_SENT:1>R ", "<SRX:3>001 <STX:3>002 <EOR>"}) {
    EXPECT_NE(sent.find(field), std::string::npos) << field << " in " << sent;
  }
  EXPECT_EQ(sent.find("<STATE:"), std::string::npos);
}

TEST_F(QsoLoggingTest, ABadDateIsReportedAndNothingIsSentOrCleared) {
  start_program();
  auto contact = worked_station();
  contact.date = "27-nov-2005";
  work_and_write(contact);

  EXPECT_TRUE(station.dxkeeper().journal().empty());
  EXPECT_EQ(app->qso.Callsign.text(), "q1abc");
  EXPECT_EQ(app->CurrentCallsign, "q1abc");
  const std::string log = read_file("ErrorLog.txt");
  EXPECT_NE(log.find("program error 13 in module QuandrelMain.Log: Type mismatch"),
            std::string::npos)
      << log;
  EXPECT_TRUE(app->Timer2.enabled());
}

TEST_F(QsoLoggingTest, AVeryLongNoteIsLoggedWholeWithItsLength) {
  start_program();
  auto contact = worked_station();
  contact.notes = std::string(70000, 'x');
  work_and_write(contact);
  ASSERT_EQ(station.dxkeeper().peer().logged().size(), 1u);
  EXPECT_EQ(station.dxkeeper().peer().logged()[0].value("NOTES"), contact.notes);
}

// A record without CALL would log a contact with nobody, carrying the last QSO's reports, or
// be refused and hold back every QSO behind it: nothing is sent, and the operator is told.
TEST_F(QsoLoggingTest, AQsoWithoutACallsignIsNotLoggedAndTheOperatorIsTold) {
  start_program();
  EXPECT_FALSE(app->qso.Save.enabled());
  work_and_write(worked_station());
  ASSERT_EQ(station.dxkeeper().journal().size(), 1u);
  auto contact = worked_station();
  contact.call = "";
  station.mixw().work_station(contact);
  run_for(600);
  EXPECT_FALSE(app->qso.Save.enabled());
  app->Save_Click();  // a click that reaches the handler all the same
  station.mixw().write_qso();
  run_for(600);
  EXPECT_EQ(station.dxkeeper().journal().size(), 1u);
  EXPECT_TRUE(app->delivery.pending_qsos.empty());
  const std::string log = read_file("ErrorLog.txt");
  std::size_t lines = 0;
  for (std::size_t at = 0; (at = log.find("written without a callsign", at)) != std::string::npos;
       ++at) {
    ++lines;
  }
  EXPECT_EQ(lines, 2u) << log;
  ASSERT_FALSE(app->delivery.notices().empty());
  EXPECT_EQ(app->delivery.notices().back().what, "not logged: no callsign");

  station.mixw().operator_types("Call", "Q2XYZ");
  run_for(600);
  EXPECT_TRUE(app->qso.Save.enabled());
  app->qso.Save.click();
  ASSERT_EQ(station.dxkeeper().peer().logged().size(), 2u);
  EXPECT_EQ(station.dxkeeper().peer().logged()[1].value("CALL"), "Q2XYZ");
}

TEST_F(QsoLoggingTest, AQsoOnAFarBandLogsItsFrequency) {
  start_at_1500_hz();
  const struct {
    double dial;
    const char* freq;
    const char* band;
  } cases[] = {
      {135'700, "<FREQ:8>0.137200 ", "<BAND:5>2190M "},
      {1'296'200'000, "<FREQ:11>1296.201500 ", "<BAND:4>23CM "},
      {10'368'100'000, "<FREQ:12>10368.101500 ", "<BAND:3>3CM "},
      {5'357'000, "<FREQ:8>5.358500 ", "<BAND:3>60M "},
      {432'100'000, "<FREQ:10>432.101500 ", "<BAND:4>70CM "},
      {3'000'000, "<FREQ:8>3.001500 ", "<none>"},  // between 160 m and 80 m
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.freq);
    station.mixw().tune_dial(c.dial);
    run_for(600);
    auto contact = worked_station();
    contact.call = "Q" + std::to_string(++n) + "FAR";
    work_and_write(contact);
    const std::string execute = station.dxkeeper().journal().back();
    EXPECT_NE(execute.find(c.freq), std::string::npos) << execute;
    if (std::string(c.band) == "<none>") {
      EXPECT_EQ(execute.find("<BAND:"), std::string::npos) << execute;
    } else {
      EXPECT_NE(execute.find(c.band), std::string::npos) << execute;
    }
  }
}

TEST_F(QsoLoggingTest, OnAJapaneseWindowsADoubleByteCharacterCountsOnce) {
  // Shift-JIS: "Yamada" and "Tokyo" in two kanji each, two bytes a kanji.
  const std::string name = "\x8E\x52\x93\x63";
  const std::string qth = "\x93\x8C\x8B\x9E";
  system.set_ansi_code_page(932);
  station.dxkeeper().peer().set_code_page(peers::AnsiCodePage{932});
  start_at_1500_hz();
  peers::Contact c = worked_station();
  c.name = name;
  c.domain = "";
  c.qth = qth;
  c.notes = "QSL " + name;
  work_and_write(c);

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

TEST_F(QsoLoggingTest, OnASingleByteCodePageEveryByteIsACharacter) {
  const std::string name = "\x8E\x52\x93\x63";  // four letters of code page 1252
  start_at_1500_hz();
  peers::Contact c = worked_station();
  c.name = name;
  work_and_write(c);
  const std::string execute = station.dxkeeper().journal().back();
  EXPECT_NE(execute.find("<NAME:4>" + name + " "), std::string::npos) << execute;
  EXPECT_EQ(last_logged().value("NAME"), name);
}

}  // namespace
}  // namespace vav::testing
