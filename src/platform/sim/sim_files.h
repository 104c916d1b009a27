#pragma once
// Plain text files on the real file system, with Windows paths ("\" becomes "/") and faults a
// test can inject: a folder whose files cannot be written, a file that is locked.
#include <filesystem>
#include <ios>
#include <optional>
#include <set>
#include <string>

#include "platform/files.h"

namespace vav::sim {

class SimFiles final : public Files {
 public:
  bool exists(const std::string& path) override;
  bool can_create_in(const std::string& folder) override;
  void create_folder(const std::string& path) override;
  std::optional<std::string> read_all(const std::string& path) override;
  std::optional<std::string> read_existing(const std::string& path) override;
  bool create_new(const std::string& path, const std::string& content) override;
  void write_new(const std::string& path, const std::string& content) override;
  void append(const std::string& path, const std::string& content) override;
  // Each append goes through append() above, so the faults apply to it as they arise.
  std::unique_ptr<AppendFile> open_for_append(const std::string& path) override;
  void replace_atomically(const std::string& path, const std::string& content) override;
  void remove(const std::string& path) override;

  // --- faults ---
  // Every write, append, replace and remove of a file in `folder` or below fails with
  // kPathFileAccess, as in a read-only folder; reads still work.
  void make_read_only(const std::string& folder);
  // One file that another program holds open with no sharing: reading gives nullopt (or
  // kPermissionDenied from read_existing), writing, replacing and removing fail with
  // kPermissionDenied.
  void lock(const std::string& path);
  void unlock(const std::string& path);
  // One file that can be written but not read back (kPathFileAccess from read_existing).
  void make_unreadable(const std::string& path);
  // One file whose reading breaks off half way (kDeviceIoError from read_existing; read_all
  // gives the first half, as a careless reader would).
  void break_reads_half_way(const std::string& path);
  // One file whose attributes cannot be queried: exists() says false although it is there.
  void deny_attribute_query(const std::string& path);
  // The disk takes `bytes` more bytes: a write that needs more writes what fits and fails
  // with kDiskFull.
  void fill_disk_after(std::size_t bytes);
  // The next write stops after `bytes` bytes, as if the machine lost power there (a
  // replace tears its temporary file, never the file it replaces); from then on nothing
  // reaches the disk, every write and remove failing, until clear_faults().
  void tear_next_write_after(std::size_t bytes);
  bool torn() const { return torn_; }
  // The machine runs again after a power loss: writes reach the disk again.
  void power_back() { torn_ = false; }
  // Removing a file and renaming one over another fail (another program holds them).
  void fail_removes(bool fail) { fail_removes_ = fail; }
  void clear_faults();

  // The native form of a Windows-style path.
  static std::filesystem::path native(const std::string& path);

 private:
  void check_writable(const std::filesystem::path& path) const;
  void write_within_limits(const std::filesystem::path& path, const std::string& content,
                           std::ios::openmode mode);
  std::optional<std::size_t> disk_left_;
  std::optional<std::size_t> tear_after_;
  bool torn_ = false;
  bool fail_removes_ = false;
  std::set<std::filesystem::path> read_only_folders_;
  std::set<std::filesystem::path> locked_;
  std::set<std::filesystem::path> unreadable_;
  std::set<std::filesystem::path> half_readable_;
  std::set<std::filesystem::path> attributes_denied_;
};

}  // namespace vav::sim
