#include "platform/win32/win_system.h"

#include <shlobj.h>
#include <windows.h>

#include "errors/runtime_error.h"
#include "platform/win32/win_handles.h"
#include "platform/win32/window_classes.h"

namespace vav::win32 {
namespace {

using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);

RtlGetVersionFn load_rtl_get_version() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  if (!ntdll) return nullptr;
  // Through void(*)() so that the cast between function types is explicit and warning-free.
  auto any = reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "RtlGetVersion"));
  return reinterpret_cast<RtlGetVersionFn>(any);
}

}  // namespace

std::uint32_t WinSystem::user_default_lcid() { return GetUserDefaultLCID(); }

std::string WinSystem::locale_info(std::uint32_t lcid, std::uint32_t item) {
  int length = GetLocaleInfoA(lcid, item, nullptr, 0);  // counts the terminating zero
  if (length <= 0) return {};
  std::string value(static_cast<std::size_t>(length), '\0');
  int got = GetLocaleInfoA(lcid, item, value.data(), length);
  if (got <= 0) return {};
  value.resize(static_cast<std::size_t>(got - 1));
  return value;
}

std::uint32_t WinSystem::ansi_code_page() { return GetACP(); }

SystemTime WinSystem::utc_now() {
  SYSTEMTIME st;
  GetSystemTime(&st);
  return SystemTime{st.wYear,   st.wMonth,  st.wDay,         st.wHour,
                    st.wMinute, st.wSecond, st.wMilliseconds};
}

std::string WinSystem::local_time_text() {
  int length = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, nullptr, 0);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  int got = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text.data(), length);
  if (got <= 0) return {};
  text.resize(static_cast<std::size_t>(got - 1));
  return text;
}

OsVersion WinSystem::os_version() {
  RtlGetVersionFn rtl_get_version = load_rtl_get_version();
  if (!rtl_get_version) throw RuntimeError(err::kInvalidProcedureCall);
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (rtl_get_version(&info) != 0) throw RuntimeError(err::kInvalidProcedureCall);
  return OsVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

std::string WinSystem::module_path() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD got = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (got == 0) throw RuntimeError(err::kPathNotFound);
    if (got < path.size()) {
      path.resize(got);
      return path;
    }
    path.resize(path.size() * 2);  // truncated: try a larger buffer
  }
}

std::string WinSystem::program_folder() {
  std::string path = module_path();
  auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string WinSystem::exe_name() {
  std::string path = module_path();
  auto slash = path.find_last_of("\\/");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  auto dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

namespace {

class MutexClaim final : public InstanceClaim {
 public:
  explicit MutexClaim(ScopedHandle mutex) : mutex_(std::move(mutex)) {}

 private:
  ScopedHandle mutex_;
};

BOOL CALLBACK show_if_other_copy(HWND window, LPARAM) {
  char class_name[64] = {};
  GetClassNameA(window, class_name, sizeof class_name);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId() || lstrcmpA(class_name, kMainWindowClass) != 0) {
    return TRUE;
  }
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  return FALSE;
}

}  // namespace

std::unique_ptr<InstanceClaim> WinSystem::claim_instance(const std::string& name) {
  // "Local\": one copy per user session, as the program's DDE service name is.
  const std::string mutex_name = "Local\\Vavizorur.Instance." + name;
  ScopedHandle mutex(CreateMutexA(nullptr, FALSE, mutex_name.c_str()));
  if (!mutex) return std::make_unique<InstanceClaim>();  // no way to tell: run
  if (GetLastError() == ERROR_ALREADY_EXISTS) return nullptr;
  return std::make_unique<MutexClaim>(std::move(mutex));
}

void WinSystem::show_other_instance() { EnumWindows(show_if_other_copy, 0); }

std::string WinSystem::user_data_folder() {
  char path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, path))) {
    throw RuntimeError(err::kPathNotFound);
  }
  return std::string(path) + "\\Vavizorur";
}

}  // namespace vav::win32
