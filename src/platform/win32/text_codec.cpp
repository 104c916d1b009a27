#include "platform/win32/text_codec.h"

#include <windows.h>

namespace vav::win32 {

std::wstring ansi_to_wide(std::string_view text) {
  if (text.empty()) return {};
  int size = static_cast<int>(text.size());
  int count = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(count), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), count);
  return wide;
}

std::string wide_to_ansi(std::wstring_view text) {
  if (text.empty()) return {};
  int size = static_cast<int>(text.size());
  int count = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(count), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), size, ansi.data(), count, nullptr, nullptr);
  return ansi;
}

}  // namespace vav::win32
