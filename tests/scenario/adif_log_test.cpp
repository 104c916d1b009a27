// The program's own ADIF log: every QSO it builds a record for, appended before DXKeeper is
// handed it, readable by any ADIF reader whatever happened to DXKeeper or to the run.
#include <string>
#include <vector>

#include "app/adif_log.h"
#include "reliability_fixture.h"
#include "tests/support/adif_reader.h"

namespace vav::testing {
namespace {

class AdifLogTest : public ReliabilityTest {
 protected:
  void SetUp() override {
    station.mixw().start();
    write_settings({"ConnectDXKeeper=True"});
  }
  std::vector<std::string> adif_calls() {
    std::vector<std::string> calls;
    for (const auto& r : read_adif(read_file(kAdifLogFileName)).records) {
      calls.push_back(adif_value(r, "CALL"));
    }
    return calls;
  }
};

TEST_F(AdifLogTest, EveryQsoIsInTheFileWithTheFieldsDXKeeperGetsWhenEverItGetsThem) {
  station.dxkeeper().start();
  start_program();
  write_numbered_qso(1);
  const AdifFile first = read_adif(read_file(kAdifLogFileName));
  EXPECT_EQ(adif_value(first.header, "ADIF_VER"), "3.1.4");
  EXPECT_EQ(adif_value(first.header, "PROGRAMID"), "Vavizorur");
  EXPECT_EQ(adif_value(first.header, "PROGRAMVERSION"), app->common.Version());
  EXPECT_EQ(adif_value(first.header, "CREATED_TIMESTAMP").size(), 15u);
  ASSERT_EQ(first.records.size(), 1u);
  // The same fields, in the same order, as the record DXKeeper took, but for the mode that
  // ADIF writes as a mode and its submode.
  const std::string& execute = station.dxkeeper().journal().at(0);
  std::vector<peers::DxlabField> expected;
  for (const auto& f : peers::parse_fields(execute.substr(6)).fields) {
    if (f.name != "MODE") {
      expected.push_back(f);
      continue;
    }
    ASSERT_EQ(f.value, "PSK31");
    expected.push_back({"MODE", "PSK"});
    expected.push_back({"SUBMODE", "PSK31"});
  }
  EXPECT_EQ(first.records[0], expected);

  // DXKeeper away: the QSOs are in the file at once, and once each when delivered later.
  station.dxkeeper().stop();
  run_for(10);
  write_numbered_qso(2);
  write_numbered_qso(3);
  EXPECT_EQ(adif_calls(), written_calls());
  station.dxkeeper().start();
  run_for(7100);
  EXPECT_EQ(delivered_calls(), written_calls());
  EXPECT_EQ(adif_calls(), written_calls());
  EXPECT_EQ(read_file(kAdifLogFileName).find("<EOH>"), read_file(kAdifLogFileName).rfind("<EOH>"))
      << "one header";
}

TEST_F(AdifLogTest, ModesAndExchangesFollowTheAdifTablesWhileDXKeeperGetsThemAsShown) {
  write_settings({"ConnectDXKeeper=True", "ShowContest=True"});
  station.dxkeeper().start();
  start_program();
  const struct {
    const char* mixw_mode;
    const char* exch_rcv;
    const char* exch_snt;
    const char* dxkeeper_mode;  // the window's name, which DXKeeper is sent
    const char* mode;
    const char* submode;
    const char* srx;
    const char* srx_string;
    const char* stx;
    const char* stx_string;
  } cases[] = {
      {"BPSK31", "001", "599 NY", "PSK31", "PSK", "PSK31", "001", "<none>", "<none>", "599 NY"},
      {"THROB", "5NN 14", "002", "Thrb", "THRB", "<none>", "<none>", "5NN 14", "002", "<none>"},
      {"BPSK63", "12", "34", "PSK63", "PSK", "PSK63", "12", "<none>", "34", "<none>"},
      {"QPSK31", "", "", "QPSK31", "PSK", "QPSK31", "<none>", "<none>", "<none>", "<none>"},
      {"MFSK16", "NY", "IL", "MFSK16", "MFSK", "MFSK16", "<none>", "NY", "<none>", "IL"},
      {"RTTY", "0", "599001", "RTTY", "RTTY", "<none>", "0", "<none>", "599001", "<none>"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    SCOPED_TRACE(c.mixw_mode);
    station.mixw().select_mode(c.mixw_mode);
    peers::Contact contact = numbered_contact(static_cast<int>(i) + 1);
    contact.exch_rcv = c.exch_rcv;
    contact.exch_sent = c.exch_snt;
    station.mixw().work_station(contact);
    run_for(kWriteGap);
    station.mixw().write_qso();
    run_for(kWriteGap);
    const AdifFile file = read_adif(read_file(kAdifLogFileName));
    ASSERT_EQ(file.records.size(), i + 1);
    const auto& r = file.records.back();
    EXPECT_EQ(adif_value(r, "MODE"), c.mode);
    EXPECT_EQ(adif_value(r, "SUBMODE"), c.submode);
    EXPECT_EQ(adif_value(r, "SRX"), c.srx);
    EXPECT_EQ(adif_value(r, "SRX_STRING"), c.srx_string);
    EXPECT_EQ(adif_value(r, "STX"), c.stx);
    EXPECT_EQ(adif_value(r, "STX_STRING"), c.stx_string);
    ASSERT_EQ(station.dxkeeper().peer().logged().size(), i + 1);
    const auto& sent = station.dxkeeper().peer().logged().back();
    EXPECT_EQ(sent.value("MODE"), c.dxkeeper_mode);
    EXPECT_EQ(sent.value("SRX"), c.exch_rcv);
    EXPECT_EQ(sent.value("STX"), c.exch_snt);
  }
}

TEST_F(AdifLogTest, ATornLastRecordIsClosedAndHidesNothing) {
  station.dxkeeper().start();
  start_program();
  write_numbered_qso(1);
  app->Close();
  app.reset();
  // A crash in the middle of the next append.
  const std::string whole = read_file(kAdifLogFileName);
  write_file(kAdifLogFileName, whole + "<CALL:5>Q9TOR <RST_RC");
  start_program();
  write_numbered_qso(2);
  const AdifFile file = read_adif(read_file(kAdifLogFileName));
  ASSERT_EQ(file.records.size(), 3u);
  EXPECT_EQ(adif_value(file.records[0], "CALL"), "Q1N1");
  EXPECT_EQ(adif_value(file.records[1], "CALL"), "Q9TOR");  // the torn one, visibly short
  EXPECT_EQ(adif_value(file.records[1], "MODE"), "<none>");
  EXPECT_EQ(adif_value(file.records[2], "CALL"), "Q2N2");
  EXPECT_EQ(adif_value(file.records[2], "RST_RCVD"), "599");

  EXPECT_EQ(adif_tail_repair(""), "");
  EXPECT_EQ(adif_tail_repair("x<EOR>\r\n"), "");
  EXPECT_EQ(adif_tail_repair("x<eor>"), "\r\n");
  EXPECT_EQ(adif_tail_repair("x<EOR>\r"), "\n");
}

TEST_F(AdifLogTest, AnUnwritableFileCostsOneReportAndNoQso) {
  station.dxkeeper().start();
  write_file(kAdifLogFileName, "");
  files.lock(path(kAdifLogFileName));
  start_program();
  write_numbered_qso(1);
  write_numbered_qso(2);
  EXPECT_EQ(delivered_calls(), written_calls());
  ASSERT_EQ(program_errors().size(), 1u);
  EXPECT_NE(program_errors()[0].find("QuandrelMain.AdifLog"), std::string::npos);

  files.clear_faults();
  write_numbered_qso(3);
  EXPECT_EQ(adif_calls(), std::vector<std::string>{"Q3N3"});
  EXPECT_EQ(delivered_calls(), written_calls());
}

}  // namespace
}  // namespace vav::testing
