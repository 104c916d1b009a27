#include "common/common.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "unit/sim_common.h"

namespace vav {
namespace {

class CommonTest : public ::testing::Test, protected testing::SimCommon {
 protected:
  CommonTest() {
    system.set_utc({2024, 2, 29, 12, 0, 0, 0});
    locale.set_reporter(&common);
  }

  std::string debug_log() { return files.read_all(folder + "\\VavizorurDebug.txt").value_or(""); }

  std::vector<std::string> expected_header(const std::string& stamp) {
    return {stamp + " > Vavizorur version " + common.Version(),
            stamp + " > App.Path        : " + folder,
            stamp + " > App.exe         : Vavizorur",
            stamp + " > Operating System: Windows 10 build 19045",
            stamp + " > Country         : United States",
            stamp + " > Language        : English (United States)"};
  }
};

TEST_F(CommonTest, VersionIsThreeNumbers) {
  EXPECT_TRUE(std::regex_match(common.Version(), std::regex(R"(\d+\.\d+\.\d+)")))
      << common.Version();
}

TEST_F(CommonTest, FirstErrorWritesHeaderAndNotesTheCaption) {
  common.Initialize();
  loop.run_for(61'000);
  common.ReportError(5, "DDECommon.GetToken");
  std::vector<std::string> expected = expected_header("29-Feb-2024 12:00:00");
  expected.push_back(
      "29-Feb-2024 12:01:01 > program error 5 in module DDECommon.GetToken: Invalid procedure "
      "call or argument");
  EXPECT_EQ(error_lines(), expected);
  EXPECT_TRUE(common.ErrorNoted);
  EXPECT_EQ(frame.caption(),
            "Vavizorur " + common.Version() + " - see ErrorLog in " + folder + "/ErrorLog.txt");

  loop.run_for(1'000);
  common.ReportError(RuntimeError(err::kDdeTimeout), "QuandrelMain.Log");
  common.Terminate();
  expected.push_back(
      "29-Feb-2024 12:01:02 > program error 286 in module QuandrelMain.Log: Timeout while "
      "waiting for DDE response");
  expected.push_back("29-Feb-2024 12:01:02 > Vavizorur shutdown");
  EXPECT_EQ(error_lines(), expected);
}

TEST_F(CommonTest, EachRunWithErrorsAppendsItsOwnHeader) {
  for (int run = 0; run < 2; ++run) {
    Common fresh{system, files, desktop, frame, locale};
    fresh.Initialize();
    fresh.LogError("boom");
    fresh.Terminate();
  }
  const std::vector<std::string> lines = error_lines();
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[0], lines[8]);
  EXPECT_EQ(lines[6], "29-Feb-2024 12:00:00 > boom");
  EXPECT_EQ(lines[7], "29-Feb-2024 12:00:00 > Vavizorur shutdown");
}

TEST_F(CommonTest, ErrorNumbersAreWrittenAsTheyAre) {
  struct Case {
    int number;
    std::string text;
  };
  const std::vector<Case> cases = {
      {70000, "program error 70000 in module X.Y: Application-defined or object-defined error"},
      {-2147024891,
       "program error -2147024891 in module X.Y: Application-defined or object-defined error"},
      {-1, "program error -1 in module X.Y: Application-defined or object-defined error"},
      {13, "program error 13 in module X.Y: Type mismatch"},
  };
  common.Initialize();
  for (const auto& c : cases) {
    common.ReportError(c.number, "X.Y");
    EXPECT_EQ(error_lines().back(), "29-Feb-2024 12:00:00 > " + c.text);
  }
  common.ReportError(RuntimeError(440, "Automation error 0x80020006"), "X.Y");
  EXPECT_EQ(error_lines().back(),
            "29-Feb-2024 12:00:00 > program error 440 in module X.Y: Automation error 0x80020006");
}

TEST_F(CommonTest, TrapReportsWhatTheBodyThrows) {
  common.Initialize();
  common.reporting_errors("A.B", [] { throw RuntimeError(err::kFileNotFound); });
  EXPECT_EQ(error_lines().back(),
            "29-Feb-2024 12:00:00 > program error 53 in module A.B: File not found");
  common.reporting_errors("A.C", [] { throw std::logic_error("x"); });
  EXPECT_EQ(error_lines().back(),
            "29-Feb-2024 12:00:00 > program error 51 in module A.C: Internal error (x)");
  common.reporting_errors("A.D", [] { throw std::bad_alloc(); });
  EXPECT_EQ(error_lines().back(),
            "29-Feb-2024 12:00:00 > program error 7 in module A.D: Out of memory");
}

TEST_F(CommonTest, UnwritableLogIsSkippedAndTheHeaderWaits) {
  common.Initialize();
  files.make_read_only(folder);
  EXPECT_NO_THROW(common.ReportError(5, "A.B"));
  EXPECT_FALSE(common.ErrorNoted);
  EXPECT_TRUE(frame.captions().empty());
  files.clear_faults();
  common.ReportError(6, "A.C");
  const std::vector<std::string> lines = error_lines();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[6], "29-Feb-2024 12:00:00 > program error 6 in module A.C: Overflow");
  EXPECT_TRUE(common.ErrorNoted);
}

TEST_F(CommonTest, CaptionCarriesConnectedListAndNote) {
  std::string connected;
  common.connected_list = [&] { return connected; };
  common.Initialize();
  common.RefreshCaption();
  EXPECT_EQ(frame.caption(), "Vavizorur " + common.Version());
  connected = "CC,DXK";
  common.RefreshCaption();
  EXPECT_EQ(frame.caption(), "Vavizorur " + common.Version() + " {CC,DXK}");
  common.NoteErrorInCaption();
  EXPECT_EQ(frame.caption(), "Vavizorur " + common.Version() + " {CC,DXK} - see ErrorLog in " +
                                 folder + "/ErrorLog.txt");
  common.connected_list = []() -> std::string { throw RuntimeError(5); };
  EXPECT_NO_THROW(common.RefreshCaption());
}

TEST_F(CommonTest, StampsUseTheLocalesMonthNames) {
  system.set_locale_item(locale_item::kAbbrevMonthName1 + 1, "fevr.");
  common.Initialize();
  common.LogError("x");
  EXPECT_EQ(error_lines().back(), "29-fevr.-2024 12:00:00 > x");
}

TEST_F(CommonTest, WindowsNames) {
  struct Case {
    OsVersion version;
    std::string name;
  };
  const std::vector<Case> cases = {{{1, 4, 0, 950}, "Windows 95"},
                                   {{1, 4, 10, 1998}, "Windows 98"},
                                   {{1, 4, 90, 3000}, "Windows Millennium"},
                                   {{1, 4, 3, 1}, "unknown"},
                                   {{2, 3, 51, 1057}, "Windows NT 3.51"},
                                   {{2, 4, 0, 1381}, "Windows NT 4.0"},
                                   {{2, 5, 0, 2195}, "Windows 2000"},
                                   {{2, 5, 1, 2600}, "Windows XP"},
                                   {{2, 5, 2, 3790}, "Windows Server 2003"},
                                   {{2, 6, 0, 6002}, "Windows Vista"},
                                   {{2, 6, 1, 7601}, "Windows 7"},
                                   {{2, 6, 2, 9200}, "Windows 8"},
                                   {{2, 6, 3, 9600}, "Windows 8.1"},
                                   {{2, 10, 0, 19045}, "Windows 10"},
                                   {{2, 10, 0, 21999}, "Windows 10"},
                                   {{2, 10, 0, 22000}, "Windows 11"},
                                   {{2, 10, 1, 30000}, "unknown"},
                                   {{2, 6, 4, 1}, "unknown"},
                                   {{3, 10, 0, 1}, "unknown"}};
  for (const auto& c : cases) {
    system.set_os_version(c.version);
    common.GetOSVersion();
    EXPECT_EQ(common.GetOSName(), c.name) << c.version.major << "." << c.version.minor;
    EXPECT_EQ(common.GetOSBuild(), c.version.build);
  }
}

TEST_F(CommonTest, FailedVersionQueryKeepsUnknownAndReports) {
  system.fail_os_version(err::kInvalidProcedureCall);
  common.Initialize();
  EXPECT_EQ(common.GetOSName(), "Unknown");
  const std::vector<std::string> lines = error_lines();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[3], "29-Feb-2024 12:00:00 > Operating System: Unknown build 0");
  EXPECT_EQ(lines[6],
            "29-Feb-2024 12:00:00 > program error 5 in module Common.GetOSVersion: Invalid "
            "procedure call or argument");
}

TEST_F(CommonTest, DebugLogIsCreatedThenAppended) {
  system.set_time_format("HH:mm:ss");
  common.Initialize();
  common.DebugSettings("CallsignChange", "Q1ABC");
  EXPECT_EQ(debug_log(), "12:00:00  -  CallsignChange = Q1ABC\r\n");
  loop.run_for(2'000);
  common.DebugSettings("Key", "");
  EXPECT_EQ(debug_log(), "12:00:00  -  CallsignChange = Q1ABC\r\n12:00:02  -  Key = \r\n");
  EXPECT_TRUE(desktop.message_boxes().empty());
}

TEST_F(CommonTest, DebugLogFailureShowsAMessageBox) {
  common.Initialize();
  files.lock(folder + "\\VavizorurDebug.txt");
  common.DebugSettings("K", "V");
  files.clear_faults();
  files.make_read_only(folder);
  common.DebugSettings("K", "V");
  const std::vector<sim::MessageBoxShown> expected = {
      {"Permission denied Debug Settings", "Vavizorur"},
      {"Path/File access error Debug Settings", "Vavizorur"}};
  EXPECT_EQ(desktop.message_boxes(), expected);
  EXPECT_FALSE(files.exists(folder + "\\VavizorurDebug.txt"));
  EXPECT_FALSE(files.exists(folder + "\\ErrorLog.txt"));
}

}  // namespace
}  // namespace vav
