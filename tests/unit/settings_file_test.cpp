#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "errors/runtime_error.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_profile.h"
#include "unit/sim_temp_folder.h"

namespace vav {
namespace {

class SettingsFileTest : public ::testing::Test {
 protected:
  std::string content() { return files.read_all(settings.path()).value_or("<missing>"); }

  sim::testing::TempFolder temp;
  std::string folder = temp.path().string();
  sim::SimFiles files;
  sim::SimProfileFiles profile{files};
  SettingsFile settings{profile, files, folder};
};

TEST_F(SettingsFileTest, NewFileHoldsTheTwentyFourDefaultLines) {
  const std::string expected =
      "[Settings]\r\nFrequencyControl=MixW\r\nLoggedFrequency=Actual\r\nRequestQSL=False\r\n"
      "LookupPrev=False\r\nSaveGrid=False\r\nSaveIota=False\r\nSaveCounty=False\r\n"
      "TickleDXView=False\r\nAlwaysOnTop=False\r\nShowContest=False\r\nTicklePathfinder=False\r\n"
      "RTTYRadioModeSetting=0\r\nOptiumDigitalFreq=1500\r\nTerminateApps=False\r\n"
      "UseOptimal=False\r\nConnectCommander=False\r\nConnectDXKeeper=False\r\n"
      "ConnectDXView=False\r\nConnectPathFinder=False\r\nSendToeQSL=False\r\nTop=0\r\nLeft=0\r\n"
      "WindowState=0\r\n";
  ASSERT_EQ(std::count(expected.begin(), expected.end(), '\n'), 24);
  EXPECT_EQ(settings.path(), folder + "\\Vavizorur.ini");
  EXPECT_FALSE(files.exists(settings.path()));
  settings.CheckforInIfile();
  EXPECT_EQ(content(), expected);
  EXPECT_EQ(std::string(kDefaultSettingsFile), expected);
}

class ReadIniValueTest : public SettingsFileTest {
 protected:
  std::string ini() { return folder + "\\Mixw2.ini"; }
  std::string read(const std::string& text, const std::string& section, const std::string& key) {
    files.write_new(ini(), text);
    return ReadIniValue(files, section, key, ini());
  }
};

TEST_F(ReadIniValueTest, Cases) {
  struct Case {
    std::string text, section, key, value;
  };
  const std::vector<Case> cases = {
      {"[Cat]\r\nm_iCWPitchHz=800\r\n", "Cat", "m_iCWPitchHz", "800"},
      {"[CAT]\r\nM_ICWPITCHHZ=800\r\n", "cat", "m_icwpitchhz", "800"},
      {"  [Cat]  \r\n  m_iFSKPitchHz=  2125 \r\n", "Cat", "m_iFSKPitchHz", "2125"},
      {"[Cat]\r\nName=MixedCase Value\r\n", "Cat", "name", "MixedCase Value"},
      {"[Cat]\r\nm_iCWPitchHz =800\r\n", "Cat", "m_iCWPitchHz", ""},  // blank before "="
      {"[Other]\r\nKey=1\r\n[Cat]\r\nKey=2\r\n", "Cat", "Key", "2"},
      {"[Other]\r\nKey=1\r\n[Cat]\r\nX=2\r\n", "Cat", "Key", ""},      // other section
      {"[Cat]\r\nX=1\r\n[Other]\r\nKey=1\r\n", "Cat", "Key", ""},      // next section ends
      {"[Cat]\r\nX=1\r\n[Cat]\r\nKey=2\r\n", "Cat", "Key", ""},        // first section only
      {"[Cat]\r\nX=1\r\n[\r\n[Cat]\r\nKey=2\r\n", "Cat", "Key", "2"},  // "[" ends the scan
      {"[Cat]\r\n[\r\nKey=2\r\n", "Cat", "Key", ""},
      {"[Catalogue]\r\nKey=1\r\n", "Cat", "Key", ""},  // name matched whole
      {"[Cat]\r\nKey=a=b\r\n", "Cat", "Key", "a=b"},
      {"[Cat]\r\nKey=\r\n", "Cat", "Key", ""},
      {"[Cat]\r\n; comment\r\n\r\nKey=3", "Cat", "Key", "3"},  // no final line end
      {"[Cat]\nKey=4\n", "Cat", "Key", "4"},                   // LF only
      {"[Cat]\rKey=5\r", "Cat", "Key", "5"},                   // CR only
      {"Key=1\r\n", "Cat", "Key", ""},
      {"", "Cat", "Key", ""},
      {"[\r\n[Cat]\r\nKey=6\r\n", "Cat", "Key", "6"},
      {"[]\r\nKey=7\r\n", "", "Key", "7"},
      {"[Cat]\r\nKey]=8\r\n", "Cat", "Key]", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(read(c.text, c.section, c.key), c.value) << c.text;
  }
}

TEST_F(ReadIniValueTest, MissingOrUnreadableFile) {
  EXPECT_EQ(ReadIniValue(files, "Cat", "Key", ini()), "");
  files.write_new(ini(), "[Cat]\r\nKey=1\r\n");
  files.make_unreadable(ini());
  EXPECT_THROW(ReadIniValue(files, "Cat", "Key", ini()), RuntimeError);
}

}  // namespace
}  // namespace vav
