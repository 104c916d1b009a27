#include "peers/win32/journal.h"

namespace vav::peers::win32 {

std::string path_in(const std::string& folder, const std::string& file) {
  if (folder.empty()) return {};
  const char last = folder.back();
  return folder + (last == '\\' || last == '/' ? "" : "\\") + file;
}

Journal::Journal(const std::string& folder, const std::string& name, bool timestamped)
    : timestamped_(timestamped) {
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

std::int64_t Journal::now_us() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  const std::int64_t whole = count.QuadPart / frequency.QuadPart;
  const std::int64_t part = count.QuadPart % frequency.QuadPart;
  return whole * 1000000 + part * 1000000 / frequency.QuadPart;
}

void Journal::write_at(std::int64_t micros, const std::string& line) {
  if (file_ == INVALID_HANDLE_VALUE) return;
  std::string out;
  out.reserve(line.size() + 24);
  if (timestamped_) out = std::to_string(micros) + ' ';
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
