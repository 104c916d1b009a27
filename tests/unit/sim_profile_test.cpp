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

struct ReadCase {
  std::string label;
  std::string section;
  std::string key;
  std::string expected;
};

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, FindsValueLikeGetPrivateProfileString) {
  const auto& param = GetParam();
  EXPECT_EQ(profile_text::read_value(kFile, param.section, param.key, 254), param.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileRead,
    ::testing::Values(ReadCase{"plain", "Settings", "FrequencyControl", "MixW"},
                      ReadCase{"case_insensitive", "SETTINGS", "frequencycontrol", "MixW"},
                      ReadCase{"blanks_stripped", "Settings", "Padded", "spaced value"},
                      ReadCase{"double_quotes_removed", "Settings", "Quoted", "in quotes"},
                      ReadCase{"single_quotes_removed", "Settings", "Single", "x"},
                      ReadCase{"unpaired_quote_kept", "Settings", "Half", "\"open"},
                      ReadCase{"empty_value", "Settings", "Empty", ""},
                      ReadCase{"no_equals", "Settings", "NoEquals", ""},
                      ReadCase{"first_duplicate_wins", "Settings", "Dup", "first"},
                      ReadCase{"other_section_key", "Settings", "Only", ""},
                      ReadCase{"only_first_section_of_name", "Settings", "Late", ""},
                      ReadCase{"missing_section", "Nowhere", "Only", ""},
                      ReadCase{"lf_lines", "Unix", "Lf", "line feed only"}),
    [](const auto& case_info) { return case_info.param.label; });

TEST(ProfileReadCap, ValueIsCutTo254Characters) {
  const std::string long_value(300, 'v');
  const std::string content = "[S]\r\nK=  " + long_value + "  \r\n";
  EXPECT_EQ(profile_text::read_value(content, "S", "K", ProfileFiles::kMaxValue),
            std::string(254, 'v'));
}

struct WriteCase {
  std::string label;
  std::string before;
  std::string section;
  std::string key;
  std::string value;
  std::string after;
};

class ProfileWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, EditsLikeWritePrivateProfileString) {
  const auto& p = GetParam();
  EXPECT_EQ(profile_text::write_value(p.before, p.section, p.key, p.value), p.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileWrite,
    ::testing::Values(
        WriteCase{"replace_in_place", "; note\r\n[Settings]\r\nTop=0\r\nLeft=0\r\n", "settings",
                  "TOP", "1500", "; note\r\n[Settings]\r\nTop=1500\r\nLeft=0\r\n"},
        WriteCase{"replace_keeps_key_spelling_and_lf", "[S]\nKey = old \nNext=1\n", "S", "key",
                  "new", "[S]\nKey =new\nNext=1\n"},
        WriteCase{"replace_line_without_equals", "[S]\r\nFlag\r\n", "S", "flag", "1",
                  "[S]\r\nFlag=1\r\n"},
        WriteCase{"add_at_end_of_section", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "a", "z", "3",
                  "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
        WriteCase{"add_to_empty_section", "[A]\r\n[B]\r\n", "B", "k", "v", "[A]\r\n[B]\r\nk=v\r\n"},
        WriteCase{"add_after_unterminated_last_line", "[A]\r\nx=1", "A", "y", "2",
                  "[A]\r\nx=1\r\ny=2\r\n"},
        WriteCase{"create_section", "[Settings]\r\nTop=0\r\n", "Debug", "MixKhz.Text", "14,070.150",
                  "[Settings]\r\nTop=0\r\n[Debug]\r\nMixKhz.Text=14,070.150\r\n"},
        WriteCase{"create_section_after_unterminated", "[A]\r\nx=1", "B", "k", "",
                  "[A]\r\nx=1\r\n[B]\r\nk=\r\n"},
        WriteCase{"create_file", "", "Settings", "Top", "0", "[Settings]\r\nTop=0\r\n"},
        WriteCase{"value_written_as_given", "[S]\r\nk=1\r\n", "S", "k", " 2", "[S]\r\nk= 2\r\n"}),
    [](const auto& case_info) { return case_info.param.label; });

class SimProfileFilesTest : public ::testing::Test {
 protected:
  testing::TempFolder folder;
  SimFiles files;
  SimProfileFiles profile{files};
  std::string ini = folder.windows_path("Vavizorur.ini");
};

TEST_F(SimProfileFilesTest, CreatesFileAndReadsBack) {
  EXPECT_EQ(profile.read_string(ini, "Settings", "Top"), "");
  EXPECT_TRUE(profile.write_string(ini, "Settings", "Top", "300"));
  EXPECT_TRUE(profile.write_string(ini, "Debug", "MixKhz.Text", "7,050.000"));
  EXPECT_TRUE(profile.write_string(ini, "settings", "top", "450"));
  EXPECT_EQ(files.read_all(ini), "[Settings]\r\nTop=450\r\n[Debug]\r\nMixKhz.Text=7,050.000\r\n");
  EXPECT_EQ(profile.read_string(ini, "SETTINGS", "TOP"), "450");
}

TEST_F(SimProfileFilesTest, FailedWriteReturnsFalseAndLeavesFileAlone) {
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
