#include "peers/win32/journal.h"

namespace vav::peers::win32 {

std::string path_in(const std::string& folder, const std::string& file) {
  if (folder.empty()) return {};
  const char last = folder.back();
  return folder + (last == '\\' || last == '/' ? "" : "\\") + file;
}

Journal::Journal(const std::string& folder, const std::string& name) {
  if (folder.empty()) return;
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string path = path_in(folder, name + ".journal");
  file_ = CreateFileA(path.c_str(), FILE_APPEND_DATA,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
}

Journal::~Journal() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

void Journal::write(const std::string& line) {
  if (file_ == INVALID_HANDLE_VALUE) return;
  std::string out;
  out.reserve(line.size() + 1);
  for (const char c : line) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  out += '\n';
  DWORD written = 0;
  WriteFile(file_, out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
  FlushFileBuffers(file_);
}

}  // namespace vav::peers::win32
