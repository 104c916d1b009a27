#pragma once
// Plain text files. Paths are ANSI text in Windows form: a folder, "\", a name.
#include <memory>
#include <optional>
#include <string>

namespace vav {

// A file kept open for appending.
class AppendFile {
 public:
  virtual ~AppendFile() = default;
  // Appends `content` at the end. Throws RuntimeError on failure.
  virtual void append(const std::string& content) = 0;
};

class Files {
 public:
  virtual ~Files() = default;

  virtual bool exists(const std::string& path) = 0;
  // Whether a new file can be made in `folder`: false for a folder the user may not write
  // (a program under "Program Files"), a read-only medium, or a full disk.
  virtual bool can_create_in(const std::string& folder) = 0;
  // Creates the folder and those above it; one that exists is no error. Throws RuntimeError.
  virtual void create_folder(const std::string& path) = 0;

  // The whole file as bytes; nullopt when it does not exist or cannot be opened.
  virtual std::optional<std::string> read_all(const std::string& path) = 0;
  // The whole file as bytes; nullopt only when no file exists at `path`. Throws RuntimeError
  // when one exists but cannot be read whole (held by another program, access denied, a read
  // that fails half way): such a file must never be taken as absent and written over.
  virtual std::optional<std::string> read_existing(const std::string& path) = 0;
  // Creates the file with `content` only when none exists at `path`, in one step (no window
  // between the test and the creation). Returns false, touching nothing, when one exists,
  // also one that cannot be opened. Throws RuntimeError on any other failure.
  virtual bool create_new(const std::string& path, const std::string& content) = 0;

  // Each throws RuntimeError on failure (kPathNotFound, kPermissionDenied, kPathFileAccess,
  // kDiskFull, ...).
  // Creates the file (or empties an existing one) and writes `content`.
  virtual void write_new(const std::string& path, const std::string& content) = 0;
  // Appends `content`, creating the file when missing.
  virtual void append(const std::string& path, const std::string& content) = 0;
  // Opens the file for appending, creating it when missing, and keeps it open: each append
  // then costs one write. Other programs may read, write, rename or delete it meanwhile.
  virtual std::unique_ptr<AppendFile> open_for_append(const std::string& path) = 0;
  // Replaces the file's content so that a crash or power cut at any moment leaves either
  // the old content or the new one whole: write a temporary file, flush it to the disk,
  // then rename it over the old one.
  virtual void replace_atomically(const std::string& path, const std::string& content) = 0;
  // Removes the file; a missing file is no error.
  virtual void remove(const std::string& path) = 0;
};

}  // namespace vav
