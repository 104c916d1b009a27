#include "platform/sim/sim_files.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#include "errors/runtime_error.h"

namespace vav::sim {

namespace fs = std::filesystem;

namespace {

// Lexically normal and absolute, so that fault paths and file paths compare.
fs::path canonical_form(const fs::path& path) {
  std::error_code ignored;
  fs::path normal = fs::absolute(path, ignored);
  normal = (normal.empty() ? path : normal).lexically_normal();
  if (!normal.has_filename() && normal.has_relative_path()) normal = normal.parent_path();
  return normal;
}

bool is_within(const fs::path& path, const fs::path& folder) {
  const fs::path relative = path.lexically_relative(folder);
  return !relative.empty() && *relative.begin() != "..";
}

void write_file(const fs::path& path, const std::string& content, std::ios::openmode mode) {
  if (!path.parent_path().empty() && !fs::is_directory(path.parent_path())) {
    throw RuntimeError(err::kPathNotFound);
  }
  std::ofstream out(path, std::ios::binary | mode);
  if (!out) throw RuntimeError(err::kPathFileAccess);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  out.flush();
  if (!out) throw RuntimeError(err::kDeviceIoError);
}

std::optional<std::string> read_file(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

fs::path SimFiles::native(const std::string& path) {
  std::string forward = path;
  std::replace(forward.begin(), forward.end(), '\\', '/');
  return canonical_form(fs::path(forward));
}

void SimFiles::check_writable(const fs::path& path) const {
  if (torn_) throw RuntimeError(err::kDeviceIoError);  // the machine is down
  if (locked_.count(path) != 0) throw RuntimeError(err::kPermissionDenied);
  for (const auto& folder : read_only_folders_) {
    if (is_within(path, folder)) throw RuntimeError(err::kPathFileAccess);
  }
}

bool SimFiles::exists(const std::string& path) {
  const fs::path file = native(path);
  if (attributes_denied_.count(file) != 0) return false;
  std::error_code ignored;
  return fs::is_regular_file(file, ignored);
}

std::optional<std::string> SimFiles::read_all(const std::string& path) {
  try {
    return read_existing(path);
  } catch (const RuntimeError& e) {
    if (e.number() != err::kDeviceIoError) return std::nullopt;
    const auto whole = read_file(native(path));
    return whole ? whole->substr(0, whole->size() / 2) : whole;
  }
}

std::optional<std::string> SimFiles::read_existing(const std::string& path) {
  const fs::path file = native(path);
  std::error_code ignored;
  if (!fs::is_regular_file(file, ignored)) return std::nullopt;
  if (locked_.count(file) != 0) throw RuntimeError(err::kPermissionDenied);
  if (unreadable_.count(file) != 0) throw RuntimeError(err::kPathFileAccess);
  if (half_readable_.count(file) != 0) throw RuntimeError(err::kDeviceIoError);
  auto content = read_file(file);
  if (!content) throw RuntimeError(err::kPathFileAccess);
  return content;
}

bool SimFiles::create_new(const std::string& path, const std::string& content) {
  const fs::path file = native(path);
  std::error_code ignored;
  if (fs::exists(file, ignored)) return false;
  check_writable(file);
  write_within_limits(file, content, std::ios::trunc);
  return true;
}

void SimFiles::write_new(const std::string& path, const std::string& content) {
  const fs::path file = native(path);
  check_writable(file);
  write_within_limits(file, content, std::ios::trunc);
}

void SimFiles::append(const std::string& path, const std::string& content) {
  const fs::path file = native(path);
  check_writable(file);
  write_within_limits(file, content, std::ios::app);
}

// The temporary file sits beside the target so that the rename stays on one volume.
namespace {

class SimAppendFile final : public AppendFile {
 public:
  SimAppendFile(SimFiles& files, std::string path) : files_(files), path_(std::move(path)) {}
  void append(const std::string& content) override { files_.append(path_, content); }

 private:
  SimFiles& files_;
  std::string path_;
};

}  // namespace

std::unique_ptr<AppendFile> SimFiles::open_for_append(const std::string& path) {
  append(path, "");  // opening creates the file, and fails where appending would
  return std::make_unique<SimAppendFile>(*this, path);
}

void SimFiles::replace_atomically(const std::string& path, const std::string& content) {
  const fs::path file = native(path);
  check_writable(file);
  fs::path temporary = file;
  temporary += ".tmp";
  write_within_limits(temporary, content, std::ios::trunc);
  std::error_code error;
  if (fail_removes_) error = std::make_error_code(std::errc::permission_denied);
  if (!error) fs::rename(temporary, file, error);
  if (error) {
    fs::remove(temporary, error);
    throw RuntimeError(err::kPathFileAccess);
  }
}

void SimFiles::remove(const std::string& path) {
  const fs::path file = native(path);
  check_writable(file);
  if (fail_removes_) throw RuntimeError(err::kPermissionDenied);
  std::error_code error;
  fs::remove(file, error);
  if (error) throw RuntimeError(err::kPathFileAccess);
}

// Writes what the disk takes of `content`: all of it, the part that fits on a disk about to
// fill (then kDiskFull, as WriteFile fails with ERROR_DISK_FULL), or the part written before
// the power went (then nothing more reaches the disk).
void SimFiles::write_within_limits(const fs::path& path, const std::string& content,
                                   std::ios::openmode mode) {
  std::size_t fits = content.size();
  if (disk_left_) fits = std::min(fits, *disk_left_);
  if (tear_after_) fits = std::min(fits, *tear_after_);
  if (fits == content.size()) {
    write_file(path, content, mode);
    if (disk_left_) *disk_left_ -= fits;
    return;
  }
  write_file(path, content.substr(0, fits), mode);
  if (tear_after_) {
    tear_after_.reset();
    torn_ = true;
    throw RuntimeError(err::kDeviceIoError);
  }
  *disk_left_ = 0;
  throw RuntimeError(err::kDiskFull);
}

void SimFiles::fill_disk_after(std::size_t bytes) { disk_left_ = bytes; }
void SimFiles::tear_next_write_after(std::size_t bytes) { tear_after_ = bytes; }

void SimFiles::make_read_only(const std::string& folder) {
  read_only_folders_.insert(native(folder));
}
void SimFiles::lock(const std::string& path) { locked_.insert(native(path)); }
void SimFiles::unlock(const std::string& path) { locked_.erase(native(path)); }
void SimFiles::make_unreadable(const std::string& path) { unreadable_.insert(native(path)); }
void SimFiles::break_reads_half_way(const std::string& path) {
  half_readable_.insert(native(path));
}
void SimFiles::deny_attribute_query(const std::string& path) {
  attributes_denied_.insert(native(path));
}

void SimFiles::clear_faults() {
  fail_removes_ = false;
  disk_left_.reset();
  tear_after_.reset();
  torn_ = false;
  read_only_folders_.clear();
  locked_.clear();
  unreadable_.clear();
  half_readable_.clear();
  attributes_denied_.clear();
}

bool SimFiles::can_create_in(const std::string& folder) {
  const fs::path path = native(folder);
  std::error_code ignored;
  if (!fs::is_directory(path, ignored)) return false;
  for (const auto& read_only : read_only_folders_) {
    if (path == read_only || is_within(path, read_only)) return false;
  }
  return true;
}

void SimFiles::create_folder(const std::string& path) {
  const fs::path folder = native(path);
  std::error_code error;
  if (fs::is_directory(folder, error)) return;
  check_writable(folder);
  fs::create_directories(folder, error);
  if (error) throw RuntimeError(err::kPathFileAccess);
}

}  // namespace vav::sim
