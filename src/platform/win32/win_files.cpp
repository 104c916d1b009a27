#include "platform/win32/win_files.h"

#include <windows.h>

#include "errors/error_trap.h"
#include "errors/runtime_error.h"
#include "platform/win32/win_error.h"
#include "platform/win32/win_handles.h"

namespace vav::win32 {
namespace {

ScopedHandle open_for_writing(const std::string& path, DWORD access, DWORD disposition) {
  ScopedHandle file(CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw_file_error(GetLastError());
  return file;
}

void write_whole(HANDLE file, const std::string& content) {
  const char* data = content.data();
  std::size_t left = content.size();
  while (left > 0) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, data, chunk, &written, nullptr)) throw_file_error(GetLastError());
    data += written;
    left -= written;
  }
}

}  // namespace

bool WinFiles::exists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> WinFiles::read_all(const std::string& path) {
  try {
    return read_existing(path);
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
}

std::optional<std::string> WinFiles::read_existing(const std::string& path) {
  ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    throw_file_error(error);
  }
  std::string content;
  char buffer[64 * 1024];
  for (;;) {
    DWORD got = 0;
    // A read that breaks off is an error: half a file taken as the whole would be written
    // back short.
    if (!ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr)) {
      throw_file_error(GetLastError());
    }
    if (got == 0) return content;
    content.append(buffer, got);
  }
}

bool WinFiles::create_new(const std::string& path, const std::string& content) {
  ScopedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return false;
    throw_file_error(error);
  }
  write_whole(file.get(), content);
  return true;
}

void WinFiles::write_new(const std::string& path, const std::string& content) {
  ScopedHandle file = open_for_writing(path, GENERIC_WRITE, CREATE_ALWAYS);
  write_whole(file.get(), content);
}

void WinFiles::append(const std::string& path, const std::string& content) {
  ScopedHandle file = open_for_writing(path, FILE_APPEND_DATA, OPEN_ALWAYS);
  write_whole(file.get(), content);
}

namespace {

class WinAppendFile final : public AppendFile {
 public:
  explicit WinAppendFile(ScopedHandle file) : file_(std::move(file)) {}
  void append(const std::string& content) override { write_whole(file_.get(), content); }

 private:
  ScopedHandle file_;
};

}  // namespace

std::unique_ptr<AppendFile> WinFiles::open_for_append(const std::string& path) {
  ScopedHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw_file_error(GetLastError());
  return std::make_unique<WinAppendFile>(std::move(file));
}

void WinFiles::replace_atomically(const std::string& path, const std::string& content) {
  const std::string temporary = path + ".tmp";
  {
    // A temporary file that could not be written whole is not left behind.
    const UndoOnFailure remove_temporary([&] { DeleteFileA(temporary.c_str()); });
    ScopedHandle file = open_for_writing(temporary, GENERIC_WRITE, CREATE_ALWAYS);
    write_whole(file.get(), content);
    if (!FlushFileBuffers(file.get())) throw_file_error(GetLastError());
  }
  if (!MoveFileExA(temporary.c_str(), path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DWORD error = GetLastError();
    DeleteFileA(temporary.c_str());
    throw_file_error(error);
  }
}

void WinFiles::remove(const std::string& path) {
  if (DeleteFileA(path.c_str())) return;
  DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return;
  throw_file_error(error);
}

bool WinFiles::can_create_in(const std::string& folder) {
  const std::string probe =
      folder + "\\Vavizorur.probe." + std::to_string(GetCurrentProcessId()) + ".tmp";
  ScopedHandle file(CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), "x", 1, &written, nullptr) && written == 1;
}

void WinFiles::create_folder(const std::string& path) {
  if (CreateDirectoryA(path.c_str(), nullptr)) return;
  DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS) return;
  if (error == ERROR_PATH_NOT_FOUND) {
    const std::size_t cut = path.find_last_of('\\');
    if (cut == std::string::npos || cut == 0) throw_file_error(error);
    create_folder(path.substr(0, cut));
    if (CreateDirectoryA(path.c_str(), nullptr)) return;
    error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS) return;
  }
  throw_file_error(error);
}

}  // namespace vav::win32
