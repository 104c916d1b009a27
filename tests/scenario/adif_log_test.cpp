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
