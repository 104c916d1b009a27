#include "platform/win32/win_settings_store.h"

#include <windows.h>

#include "platform/win32/win_handles.h"

namespace vav::win32 {
namespace {

std::string key_path(const std::string& app, const std::string& section) {
  return "Software\\VB and VBA Program Settings\\" + app + "\\" + section;
}

}  // namespace

std::string WinSettingsStore::get(const std::string& app, const std::string& section,
                                  const std::string& key, const std::string& default_value) {
  const std::string path = key_path(app, section);
  DWORD size = 0;
  if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), key.c_str(), RRF_RT_REG_SZ, nullptr, nullptr,
                   &size) != ERROR_SUCCESS) {
    return default_value;
  }
  std::string value(size, '\0');
  if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), key.c_str(), RRF_RT_REG_SZ, nullptr,
                   value.data(), &size) != ERROR_SUCCESS) {
    return default_value;
  }
  value.resize(size > 0 ? size - 1 : 0);  // the size counts the terminating zero
  return value;
}

bool WinSettingsStore::save(const std::string& app, const std::string& section,
                            const std::string& key, const std::string& value) {
  HKEY raw = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key_path(app, section).c_str(), 0, nullptr,
                      REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &raw,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  ScopedHkey hkey(raw);
  return RegSetValueExA(hkey.get(), key.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace vav::win32
