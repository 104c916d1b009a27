#pragma once
// Plain files through CreateFileA/ReadFile/WriteFile; failures become runtime errors in
// win_error.cpp.
#include "platform/files.h"

namespace vav::win32 {

class WinFiles final : public Files {
 public:
  bool exists(const std::string& path) override;
  std::optional<std::string> read_all(const std::string& path) override;
  void write_new(const std::string& path, const std::string& content) override;
  void append(const std::string& path, const std::string& content) override;
  // Writes "<path>.tmp", flushes it to the disk, then renames it over `path` with
  // MOVEFILE_WRITE_THROUGH. The temporary file is removed when any step fails.
  void replace_atomically(const std::string& path, const std::string& content) override;
  void remove(const std::string& path) override;
};

}  // namespace vav::win32
