#include "platform/sim/sim_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "errors/runtime_error.h"
#include "unit/sim_temp_folder.h"

namespace vav::sim {
namespace {

int error_of(const std::function<void()>& action) {
  try {
    action();
  } catch (const RuntimeError& error) {
    return error.number();
  }
  return 0;
}

class SimFilesTest : public ::testing::Test {
 protected:
  testing::TempFolder folder;
  SimFiles files;
  std::string file = folder.windows_path("ErrorLog.txt");
};

TEST_F(SimFilesTest, WritesAppendsReplacesAndRemovesThroughWindowsPaths) {
  EXPECT_FALSE(files.exists(file));
  EXPECT_EQ(files.read_all(file), std::nullopt);
  files.append(file, "a\r\n");
  files.append(file, "b\r\n");
  EXPECT_EQ(files.read_all(file), "a\r\nb\r\n");
  files.write_new(file, std::string("x\0y", 3));
  EXPECT_EQ(files.read_all(file), std::string("x\0y", 3));
  files.replace_atomically(file, "new");
  EXPECT_EQ(files.read_all(file), "new");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                          std::filesystem::directory_iterator()),
            1)
      << "the temporary file must not stay behind";
  files.remove(file);
  EXPECT_FALSE(files.exists(file));
  EXPECT_NO_THROW(files.remove(file));
}

TEST_F(SimFilesTest, FolderIsNoFileAndMissingFolderIsPathNotFound) {
  EXPECT_FALSE(files.exists(folder.path().string()));
  EXPECT_EQ(error_of([&] { files.write_new(folder.windows_path("none\\f.txt"), "x"); }),
            err::kPathNotFound);
}

enum class Fault { read_only_folder, locked, unreadable };

struct FaultCase {
  std::string label;
  Fault fault;
  bool readable;
  int write_error;  // of write_new, append, replace_atomically and remove
};

class SimFilesFault : public SimFilesTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(SimFilesFault, AppliesToItsTargetOnlyUntilCleared) {
  const auto& param = GetParam();
  const std::string other = folder.windows_path("other.txt");
  files.write_new(file, "old");
  switch (param.fault) {
    case Fault::read_only_folder:
      files.make_read_only(folder.path().string() + "\\");
      break;
    case Fault::locked:
      files.lock(file);
      break;
    case Fault::unreadable:
      files.make_unreadable(file);
      break;
  }
  EXPECT_EQ(files.read_all(file).has_value(), param.readable);
  EXPECT_TRUE(files.exists(file));
  EXPECT_EQ(error_of([&] { files.write_new(file, "w"); }), param.write_error);
  EXPECT_EQ(error_of([&] { files.append(file, "a"); }), param.write_error);
  EXPECT_EQ(error_of([&] { files.replace_atomically(file, "r"); }), param.write_error);
  EXPECT_EQ(error_of([&] { files.remove(file); }), param.write_error);
  const bool folder_wide = param.fault == Fault::read_only_folder;
  EXPECT_EQ(error_of([&] { files.write_new(other, "o"); }), folder_wide ? err::kPathFileAccess : 0);
  files.clear_faults();
  files.write_new(file, "after");
  EXPECT_EQ(files.read_all(file), "after");
}

INSTANTIATE_TEST_SUITE_P(Cases, SimFilesFault,
                         ::testing::Values(FaultCase{"read_only_folder", Fault::read_only_folder,
                                                     true, err::kPathFileAccess},
                                           FaultCase{"locked", Fault::locked, false,
                                                     err::kPermissionDenied},
                                           FaultCase{"unreadable", Fault::unreadable, false, 0}),
                         [](const auto& case_info) { return case_info.param.label; });

TEST_F(SimFilesTest, ReadOnlyFolderDoesNotCoverItsSiblings) {
  const auto sibling = folder.path().string() + "x";
  std::filesystem::create_directories(sibling);
  files.make_read_only(folder.path().string());
  EXPECT_NO_THROW(files.write_new(sibling + "\\f.txt", "x"));
  std::filesystem::remove_all(sibling);
}

}  // namespace
}  // namespace vav::sim
