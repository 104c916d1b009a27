// The program's files in a bad state: a read-only folder, a locked or truncated settings file,
// a malformed or unreadable "Mixw2.ini", logs that cannot be written. The program starts,
// runs and logs its QSOs all the same.
#include <string>
#include <vector>

#include "reliability_fixture.h"

namespace vav::testing {
namespace {

class FileFaultTest : public ReliabilityTest {
 protected:
  void SetUp() override {
    station.mixw().start();
    station.dxkeeper().start();
  }
  // The program runs: the poll goes on, DXKeeper is connected by a pass, QSOs are logged.
  void expect_running_and_logging(const std::string& what) {
    ASSERT_TRUE(app) << what;
    EXPECT_EQ(app->run_end(), RunEnd::running) << what;
    EXPECT_TRUE(app->Timer1.enabled()) << what;
    run_for(7000);
    EXPECT_TRUE(app->clients.IsServerConnected(dxlab::kDXKeeper)) << what;
    write_numbered_qso(static_cast<int>(written.size()) + 1);
    EXPECT_EQ(delivered_calls(), written_calls()) << what;
  }
  std::string folder_path() const { return folder.windows_path(""); }
};

TEST_F(FileFaultTest, AReadOnlyFolderWithoutASettingsFileRunsOnDefaultsAndKeepsQsosInMemory) {
  files.make_read_only(folder_path());
  start_program();
  EXPECT_FALSE(files.exists(path("Vavizorur.ini")));
  EXPECT_FALSE(files.exists(path("ErrorLog.txt")));  // the report could not be written either
  EXPECT_EQ(app->setup.settings.FrequencyControl, "MixW");
  EXPECT_EQ(app->setup.Option1.selected(), 0);
  app->setup.Check1.set_checked(true);  // the save fails quietly
  EXPECT_TRUE(app->setup.settings.RequestQSL);
  expect_running_and_logging("read-only folder");

  station.dxkeeper().stop();
  run_for(10);
  for (int i = 0; i < 3; ++i) write_numbered_qso(static_cast<int>(written.size()) + 1);
  EXPECT_EQ(app->delivery.pending_qsos.count(), 3u);  // the waiting file cannot be written
  EXPECT_NE(frame.caption().find(" - 3 waiting"), std::string::npos) << frame.caption();
  station.dxkeeper().start();
  run_for(7100);
  EXPECT_EQ(delivered_calls(), written_calls());
  EXPECT_TRUE(app->delivery.pending_qsos.empty());
  app->Close();
  EXPECT_FALSE(files.exists(path("Vavizorur.ini")));
}

TEST_F(FileFaultTest, AReadOnlyFolderWithASettingsFileReadsItAndSavesNothing) {
  write_settings({"ConnectDXKeeper=True", "SaveGrid=True", "Left=345"});
  const std::string before = read_file("Vavizorur.ini");
  files.make_read_only(folder_path());
  start_program();
  EXPECT_TRUE(app->clients.IsServerConnected(dxlab::kDXKeeper));
  EXPECT_TRUE(app->setup.Check3.checked());
  app->setup.Check3.set_checked(false);
  frame.end_move(999, 888);
  expect_running_and_logging("read-only folder, file present");
  app->Close();
  EXPECT_EQ(read_file("Vavizorur.ini"), before);
}

TEST_F(FileFaultTest, ALockedSettingsFileReadsAsDefaults) {
  write_settings({"ConnectDXKeeper=True", "SaveGrid=True", "FrequencyControl=Commander",
                  "ConnectCommander=True"});
  files.lock(path("Vavizorur.ini"));
  start_program();
  EXPECT_EQ(app->setup.settings.FrequencyControl, "MixW");
  EXPECT_FALSE(app->setup.Check3.checked()) << "nothing could be read";
  EXPECT_FALSE(app->setup.Check11.checked());
  ASSERT_EQ(program_errors().size(), 1u);
  EXPECT_NE(program_errors()[0].find("QuandrelMain.CheckforInIfile"), std::string::npos);
  app->setup.Check3.set_checked(true);
  expect_running_and_logging("locked settings file");
  app->Close();
  files.clear_faults();
  EXPECT_NE(read_file("Vavizorur.ini").find("SaveGrid=True"), std::string::npos);
  EXPECT_NE(read_file("Vavizorur.ini").find("ConnectCommander=True"), std::string::npos);
}

// Every cut of a full settings file, from nothing to the whole: the program starts, and a
// value cut short either still reads or stops the loading with its one error entry.
TEST_F(FileFaultTest, ASettingsFileTruncatedAnywhereStillStarts) {
  const std::string full =
      "[Settings]\r\nFrequencyControl=MixW\r\nLoggedFrequency=Rig\r\nRequestQSL=True\r\n"
      "LookupPrev=True\r\nSaveGrid=True\r\nSaveIota=True\r\nSaveCounty=True\r\n"
      "TickleDXView=True\r\nAlwaysOnTop=True\r\nShowContest=True\r\nTicklePathfinder=True\r\n"
      "RTTYRadioModeSetting= 3\r\nOptiumDigitalFreq=1200\r\nTerminateApps=False\r\n"
      "UseOptimal=True\r\nConnectCommander=False\r\nConnectDXKeeper=True\r\n"
      "ConnectDXView=True\r\nConnectPathFinder=True\r\nSendToeQSL=False\r\nTop=120\r\n"
      "Left=240\r\nWindowState=0\r\n";
  int cuts = 0;
  for (std::size_t length = 0; length <= full.size(); length += 3) {
    files.clear_faults();
    files.write_new(path("Vavizorur.ini"), full.substr(0, length));
    files.remove(path("ErrorLog.txt"));
    start_program();
    const std::string cut = "cut at " + std::to_string(length);
    ASSERT_EQ(app->run_end(), RunEnd::running) << cut;
    for (const auto& error : program_errors()) {
      EXPECT_EQ(error.find("program error 13 in module QuandrelMain.LoadSettings"), 0u)
          << cut << ": " << error;
    }
    EXPECT_LE(program_errors().size(), 1u) << cut;
    write_numbered_qso(static_cast<int>(written.size()) + 1);
    if (!app->clients.IsServerConnected(dxlab::kDXKeeper)) run_for(7000);
    ++cuts;
  }
  run_for(100);
  EXPECT_EQ(delivered_calls(), written_calls()) << "over " << cuts << " cuts";
}

struct MixwIniCase {
  const char* name;
  std::string content;
  bool error_expected;  // LoadSettings stops with an error entry
};

class MalformedMixwIniTest : public FileFaultTest,
                             public ::testing::WithParamInterface<MixwIniCase> {};

TEST_P(MalformedMixwIniTest, TheProgramStartsAndRuns) {
  const MixwIniCase& c = GetParam();
  write_settings({"ConnectDXKeeper=True"});
  write_file("Mixw2.ini", c.content);
  start_program();
  const auto errors = program_errors();
  if (c.error_expected) {
    ASSERT_EQ(errors.size(), 1u) << c.name;
    EXPECT_NE(errors[0].find("in module QuandrelMain.LoadSettings"), std::string::npos)
        << errors[0];
  } else {
    EXPECT_TRUE(errors.empty()) << c.name << ": " << read_file("ErrorLog.txt");
    EXPECT_TRUE(app->clients.IsServerConnected(dxlab::kDXKeeper)) << c.name;
  }
  expect_running_and_logging(c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Contents, MalformedMixwIniTest,
    ::testing::Values(
        MixwIniCase{"empty", "", false},
        MixwIniCase{"binary", std::string("\x00\xff[Cat]\x00=\x01\r\n\x7f", 13), false},
        MixwIniCase{"unclosed_section", "[Cat\r\nm_iFSKPitchHz=2125\r\n", false},
        MixwIniCase{"long_line", "[Cat]\r\nm_iCWPitchHz=" + std::string(100000, '7'), true},
        MixwIniCase{"text_values", "[Cat]\r\nm_iFSKPitchHz=abc\r\nm_bFSKOutViaSoundcard=x\r\n",
                    false},
        MixwIniCase{"out_of_range", "[Cat]\r\nm_iFSKPitchHz=99999\r\n", true}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(FileFaultTest, AnUnreadableMixwIniStopsTheLoadingWithOneErrorAndTheProgramRuns) {
  write_settings({"ConnectDXKeeper=True"});
  write_file("Mixw2.ini", "[Cat]\r\nm_iFSKPitchHz=2125\r\n");
  files.make_unreadable(path("Mixw2.ini"));
  start_program();
  const auto errors = program_errors();
  ASSERT_EQ(errors.size(), 1u) << read_file("ErrorLog.txt");
  EXPECT_NE(errors[0].find("in module QuandrelMain.LoadSettings"), std::string::npos);
  EXPECT_FALSE(app->clients.IsServerConnected(dxlab::kDXKeeper));  // its step came later
  expect_running_and_logging("unreadable Mixw2.ini");
}

TEST_F(FileFaultTest, AnUnwritableDebugLogCostsAMessagePerEntryAndNothingElse) {
  store.save("Vavizorur", "Settings", "DebugMode", "True");
  write_file("VavizorurDebug.txt", "");
  files.lock(path("VavizorurDebug.txt"));
  start_program();
  ASSERT_FALSE(desktop.message_boxes().empty());
  for (const auto& box : desktop.message_boxes()) {
    EXPECT_TRUE(box.text.ends_with(" Debug Settings")) << box.text;
  }
  expect_running_and_logging("locked debug log");
  files.clear_faults();
  EXPECT_EQ(read_file("VavizorurDebug.txt"), "");
  EXPECT_TRUE(program_errors().empty());
}

TEST_F(FileFaultTest, AnUnwritableErrorLogLosesTheEntryOnly) {
  write_file("ErrorLog.txt", "");
  files.lock(path("ErrorLog.txt"));
  start_program();
  auto contact = numbered_contact(1);
  contact.date = "27-nov-2005";  // an error in Log
  station.mixw().work_station(contact);
  station.mixw().write_qso();
  run_for(kWriteGap);
  EXPECT_TRUE(delivered_calls().empty());
  EXPECT_EQ(app->run_end(), RunEnd::running);
  expect_running_and_logging("locked error log");
  files.clear_faults();
  EXPECT_EQ(read_file("ErrorLog.txt"), "");
}

}  // namespace
}  // namespace vav::testing
