// The profile files emulate GetPrivateProfileString and WritePrivateProfileString, which the
// scenarios' settings files go through.
#include "platform/sim/sim_profile.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/sim/sim_files.h"
#include "platform/sim/sim_profile_text.h"
#include "unit/sim_temp_folder.h"

namespace vav::sim {
namespace {

const std::string kFile =
    "[Settings]\r\n"
    "FrequencyControl=MixW\r\n"
    "  Padded  =  \t spaced value \t \r\n"
    "Quoted=\"in quotes\"\r\n"
    "Single='x'\r\n"
    "Half=\"open\r\n"
    "Empty=\r\n"
    "NoEquals\r\n"
    "Dup=first\r\n"
    "Dup=second\r\n"
    "\r\n"
    "[Other]\r\n"
    "Only=other\r\n"
    "[settings]\r\n"
    "Late=second section\r\n"
    "[Unix]\n"
    "Lf=line feed only\n";

TEST(ProfileText, ReadsLikeGetPrivateProfileString) {
  const struct {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {{"Settings", "FrequencyControl", "MixW"},
               {"SETTINGS", "frequencycontrol", "MixW"},
               {"Settings", "Padded", "spaced value"},
               {"Settings", "Quoted", "in quotes"},
               {"Settings", "Single", "x"},
               {"Settings", "Half", "\"open"},  // an unpaired quote is kept
               {"Settings", "Empty", ""},
               {"Settings", "NoEquals", ""},
               {"Settings", "Dup", "first"},
               {"Settings", "Only", ""},  // a key of another section
               {"Settings", "Late", ""},  // only the first section of a name counts
               {"Nowhere", "Only", ""},
               {"Unix", "Lf", "line feed only"}};
  for (const auto& c : cases) {
    EXPECT_EQ(profile_text::read_value(kFile, c.section, c.key, 254), c.expected) << c.key;
  }
  const std::string content = "[S]\r\nK=  " + std::string(300, 'v') + "  \r\n";
  EXPECT_EQ(profile_text::read_value(content, "S", "K", ProfileFiles::kMaxValue),
            std::string(254, 'v'));
}

TEST(ProfileText, EditsLikeWritePrivateProfileString) {
  const struct {
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
  } cases[] = {{"; note\r\n[Settings]\r\nTop=0\r\nLeft=0\r\n", "settings", "TOP", "1500",
                "; note\r\n[Settings]\r\nTop=1500\r\nLeft=0\r\n"},
               {"[S]\nKey = old \nNext=1\n", "S", "key", "new", "[S]\nKey =new\nNext=1\n"},
               {"[S]\r\nFlag\r\n", "S", "flag", "1", "[S]\r\nFlag=1\r\n"},
               {"[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "a", "z", "3",
                "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
               {"[A]\r\n[B]\r\n", "B", "k", "v", "[A]\r\n[B]\r\nk=v\r\n"},
               {"[A]\r\nx=1", "A", "y", "2", "[A]\r\nx=1\r\ny=2\r\n"},
               {"[Settings]\r\nTop=0\r\n", "Debug", "MixKhz.Text", "14,070.150",
                "[Settings]\r\nTop=0\r\n[Debug]\r\nMixKhz.Text=14,070.150\r\n"},
               {"[A]\r\nx=1", "B", "k", "", "[A]\r\nx=1\r\n[B]\r\nk=\r\n"},
               {"", "Settings", "Top", "0", "[Settings]\r\nTop=0\r\n"},
               {"[S]\r\nk=1\r\n", "S", "k", " 2", "[S]\r\nk= 2\r\n"}};
  for (const auto& c : cases) {
    EXPECT_EQ(profile_text::write_value(c.before, c.section, c.key, c.value), c.after) << c.before;
  }
}

TEST(SimProfileFiles, FailedWriteReturnsFalseAndLeavesFileAlone) {
  testing::TempFolder folder;
  SimFiles files;
  SimProfileFiles profile{files};
  const std::string ini = folder.windows_path("Vavizorur.ini");
  files.write_new(ini, "[Settings]\r\nTop=0\r\n");
  files.lock(ini);
  EXPECT_FALSE(profile.write_string(ini, "Settings", "Top", "1"));
  EXPECT_EQ(profile.read_string(ini, "Settings", "Top"), "") << "a locked file reads as missing";
  files.clear_faults();
  files.make_unreadable(ini);
  EXPECT_FALSE(profile.write_string(ini, "Settings", "Left", "1"))
      << "an unreadable file must not be replaced by one holding only the new key";
  files.clear_faults();
  files.make_read_only(folder.path().string());
  EXPECT_FALSE(profile.write_string(ini, "Settings", "Top", "2"));
  EXPECT_FALSE(profile.write_string(folder.windows_path("new.ini"), "S", "K", "V"));
  EXPECT_EQ(files.read_all(ini), "[Settings]\r\nTop=0\r\n");
}

}  // namespace
}  // namespace vav::sim
