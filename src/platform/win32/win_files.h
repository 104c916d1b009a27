#pragma once
// Plain files through CreateFileA/ReadFile/WriteFile; failures become runtime errors in
// win_error.cpp.
#include "platform/files.h"

namespace vav::win32 {

class WinFiles final : public Files {
 public:
  bool exists(const std::string& path) override;
  // Creates and deletes a probe file: asking for the folder's access rights would not tell
  // a full disk, a read-only medium or a virtualised folder.
  bool can_create_in(const std::string& folder) override;
  void create_folder(const std::string& path) override;
  std::optional<std::string> read_all(const std::string& path) override;
  // Opens with read sharing only for readers and writers (a program holding the file with no
  // sharing makes it fail with a sharing violation, which is thrown, not taken as absence).
  std::optional<std::string> read_existing(const std::string& path) override;
  // CreateFileA with CREATE_NEW: the test and the creation are one step.
  bool create_new(const std::string& path, const std::string& content) override;
  void write_new(const std::string& path, const std::string& content) override;
  void append(const std::string& path, const std::string& content) override;
  // FILE_APPEND_DATA with every sharing mode, held until the object goes.
  std::unique_ptr<AppendFile> open_for_append(const std::string& path) override;
  // Writes "<path>.tmp", flushes it to the disk, then renames it over `path` with
  // MOVEFILE_WRITE_THROUGH. The temporary file is removed when any step fails.
  void replace_atomically(const std::string& path, const std::string& content) override;
  void remove(const std::string& path) override;
};

}  // namespace vav::win32
