#pragma once
// A fresh real folder per test, removed afterwards; named after the running test and the
// process so that tests run in parallel, from any build tree on the machine, never share one.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace vav::sim::testing {

class TempFolder {
 public:
  TempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("vav_") + info->test_suite_name() + "_" + info->name() + "_" +
                       std::to_string(::getpid());
    std::replace(name.begin(), name.end(), '/', '_');
    path_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // A Windows-style path of a file in the folder: folder, "\", name.
  std::string windows_path(const std::string& name) const { return path_.string() + "\\" + name; }

 private:
  std::filesystem::path path_;
};

}  // namespace vav::sim::testing
