#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "errors/runtime_error.h"
#include "platform/win32/win_files.h"
#include "platform/win32/win_profile.h"
#include "platform/win32/win_settings_store.h"
#include "test_support.h"

namespace vav::e2e {
namespace {

class StorageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = test_folder() + "\\storage-" + std::to_string(GetCurrentProcessId());
    remove_folder();  // a left-over of an earlier run with the same process id
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  void TearDown() override { remove_folder(); }
  void remove_folder() const {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  std::string path(const std::string& name) const { return folder + "\\" + name; }
  std::string folder;
};

TEST_F(StorageTest, ProfileFilesReadAndWriteLikeTheSystemReader) {
  win32::WinProfileFiles profile;
  const std::string file = path("profile.ini");
  win32::WinFiles().write_new(file,
                              "[Settings]\r\nSpaced =   padded value  \r\nEmpty=\r\n"
                              "[Other]\r\nTop=7\r\n");
  ASSERT_TRUE(profile.write_string(file, "Settings", "Top", "100"));
  ASSERT_TRUE(profile.write_string(file, "SETTINGS", "top", "250"));  // replaced in place
  ASSERT_TRUE(profile.write_string(file, "Debug", "MixKhz.Text", "14,070.150"));
  ASSERT_TRUE(profile.write_string(file, "Settings", "Long", std::string(300, 'x')));
  struct Case {
    std::string file, section, key, expected;
  };
  const std::vector<Case> cases = {
      {file, "Settings", "Top", "250"},
      {file, "settings", "TOP", "250"},
      {file, "Other", "Top", "7"},
      {file, "Settings", "Spaced", "padded value"},
      {file, "Settings", "Empty", ""},
      {file, "Settings", "Missing", ""},
      {file, "Missing", "Top", ""},
      {file, "Debug", "MixKhz.Text", "14,070.150"},
      {file, "Settings", "Long", std::string(ProfileFiles::kMaxValue, 'x')},
      {path("absent.ini"), "Settings", "Top", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(profile.read_string(c.file, c.section, c.key), c.expected)
        << c.section << "/" << c.key;
  }
  const std::string text = read_file(file);
  EXPECT_EQ(text.find("Top=100"), std::string::npos);
  EXPECT_NE(text.find("[Debug]"), std::string::npos);
}

TEST_F(StorageTest, ProfileWriteCreatesTheFileAndFailsInAMissingFolder) {
  win32::WinProfileFiles profile;
  EXPECT_TRUE(profile.write_string(path("new.ini"), "Settings", "Left", "0"));
  EXPECT_EQ(profile.read_string(path("new.ini"), "Settings", "Left"), "0");
  EXPECT_FALSE(profile.write_string(path("no folder\\x.ini"), "Settings", "Left", "0"));
}

TEST(WinSettingsStore, SavesPerUserValuesAndGivesDefaultsForMissingOnes) {
  win32::WinSettingsStore store;
  const std::string app = "VavizorurE2E" + std::to_string(GetCurrentProcessId());
  EXPECT_EQ(store.get(app, "Settings", "DebugMode", "False"), "False");
  ASSERT_TRUE(store.save(app, "Settings", "DebugMode", "True"));
  EXPECT_EQ(store.get(app, "Settings", "DebugMode", "False"), "True");
  ASSERT_TRUE(store.save(app, "Settings", "DebugMode", ""));
  EXPECT_EQ(store.get(app, "Settings", "DebugMode", "False"), "");
  EXPECT_EQ(store.get(app, "Other", "DebugMode", "dflt"), "dflt");
  const std::string key = "Software\\VB and VBA Program Settings\\" + app;
  EXPECT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str()), ERROR_SUCCESS);
}

TEST_F(StorageTest, FilesWriteAppendReplaceAndRemove) {
  win32::WinFiles files;
  const std::string file = path("data.txt");
  files.write_new(file, "one\r\n");
  files.append(file, "two\r\n");
  EXPECT_EQ(files.read_all(file), "one\r\ntwo\r\n");
  files.write_new(file, "fresh");
  EXPECT_EQ(files.read_all(file), "fresh");
  files.replace_atomically(file, std::string("whole\0new", 9));
  EXPECT_EQ(files.read_all(file), std::string("whole\0new", 9));
  EXPECT_FALSE(files.exists(file + ".tmp"));
  files.append(path("appended.txt"), "created");
  EXPECT_EQ(files.read_all(path("appended.txt")), "created");
  EXPECT_TRUE(files.exists(file));
  EXPECT_FALSE(files.exists(folder));  // a folder is not a file
  files.remove(file);
  files.remove(file);  // missing: no error
  EXPECT_FALSE(files.exists(file));
  EXPECT_EQ(files.read_all(file), std::nullopt);
}

TEST_F(StorageTest, FileFailuresBecomeRuntimeErrors) {
  win32::WinFiles files;
  const std::string missing = path("no folder\\x.txt");
  struct Case {
    const char* name;
    std::function<void()> action;
    int number;
  };
  const std::vector<Case> cases = {
      {"write_new", [&] { files.write_new(missing, "x"); }, err::kPathNotFound},
      {"append", [&] { files.append(missing, "x"); }, err::kPathNotFound},
      {"replace", [&] { files.replace_atomically(missing, "x"); }, err::kPathNotFound},
  };
  for (const Case& c : cases) {
    try {
      c.action();
      ADD_FAILURE() << c.name << " did not throw";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number(), c.number) << c.name;
    }
  }
}

}  // namespace
}  // namespace vav::e2e
