// Real files through Windows paths, with the faults the scenarios inject failing with the
// numbers the program handles: a read-only folder, a locked file, an unreadable file.
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

TEST(SimFiles, ReplacesAtomicallyAndAMissingFolderIsPathNotFound) {
  testing::TempFolder folder;
  SimFiles files;
  const std::string file = folder.windows_path("ErrorLog.txt");
  files.append(file, "a\r\n");
  files.append(file, "b\r\n");
  EXPECT_EQ(files.read_all(file), "a\r\nb\r\n");
  files.replace_atomically(file, "new");
  EXPECT_EQ(files.read_all(file), "new");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                          std::filesystem::directory_iterator()),
            1)
      << "the temporary file must not stay behind";
  EXPECT_EQ(error_of([&] { files.write_new(folder.windows_path("none\\f.txt"), "x"); }),
            err::kPathNotFound);
}

TEST(SimFiles, FaultsApplyToTheirTargetOnlyUntilCleared) {
  enum class Fault { read_only_folder, locked, unreadable };
  const struct {
    Fault fault;
    bool readable;
    int write_error;  // of write_new, append, replace_atomically and remove
  } cases[] = {{Fault::read_only_folder, true, err::kPathFileAccess},
               {Fault::locked, false, err::kPermissionDenied},
               {Fault::unreadable, false, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.fault));
    testing::TempFolder folder;
    SimFiles files;
    const std::string file = folder.windows_path("ErrorLog.txt");
    const std::string other = folder.windows_path("other.txt");
    files.write_new(file, "old");
    if (c.fault == Fault::read_only_folder) files.make_read_only(folder.path().string() + "\\");
    if (c.fault == Fault::locked) files.lock(file);
    if (c.fault == Fault::unreadable) files.make_unreadable(file);
    EXPECT_EQ(files.read_all(file).has_value(), c.readable);
    EXPECT_TRUE(files.exists(file));
    EXPECT_EQ(error_of([&] { files.write_new(file, "w"); }), c.write_error);
    EXPECT_EQ(error_of([&] { files.append(file, "a"); }), c.write_error);
    EXPECT_EQ(error_of([&] { files.replace_atomically(file, "r"); }), c.write_error);
    EXPECT_EQ(error_of([&] { files.remove(file); }), c.write_error);
    const bool folder_wide = c.fault == Fault::read_only_folder;
    EXPECT_EQ(error_of([&] { files.write_new(other, "o"); }),
              folder_wide ? err::kPathFileAccess : 0);
    files.clear_faults();
    files.write_new(file, "after");
    EXPECT_EQ(files.read_all(file), "after");
  }
}

}  // namespace
}  // namespace vav::sim
