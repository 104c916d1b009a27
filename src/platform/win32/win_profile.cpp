#include "platform/win32/win_profile.h"

#include <windows.h>

namespace vav::win32 {

std::string WinProfileFiles::read_string(const std::string& file, const std::string& section,
                                         const std::string& key) {
  // 255 characters with the terminating zero: at most kMaxValue come back, longer values cut.
  char buffer[kMaxValue + 1] = {};
  DWORD count = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof(buffer),
                                         file.c_str());
  return std::string(buffer, count);
}

bool WinProfileFiles::write_string(const std::string& file, const std::string& section,
                                   const std::string& key, const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
}

}  // namespace vav::win32
