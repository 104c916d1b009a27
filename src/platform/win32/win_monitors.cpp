#include "platform/win32/win_monitors.h"

#include <algorithm>

#include "platform/win32/win_desktop.h"

namespace vav::win32 {
namespace {

constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

GetDpiForMonitorFn get_dpi_for_monitor() {
  // shcore.dll stays loaded for the life of the process, as its function is kept.
  static const auto function = [] {
    HMODULE shcore = LoadLibraryA("shcore.dll");
    return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                        reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                  : nullptr;
  }();
  return function;
}

int fallback_dpi() {
  const int dpi = desktop_logical_dpi();
  return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

struct Enumerated {
  Monitor monitor;
  bool primary = false;
};

BOOL CALLBACK add_monitor(HMONITOR handle, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(handle, &info)) return TRUE;
  const RECT& r = info.rcMonitor;
  reinterpret_cast<std::vector<Enumerated>*>(list)->push_back(
      {Monitor{r.left, r.top, r.right - r.left, r.bottom - r.top, monitor_dpi(handle)},
       (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  return TRUE;
}

}  // namespace

int monitor_dpi(HMONITOR monitor) {
  const auto function = get_dpi_for_monitor();
  UINT x = 0, y = 0;
  if (function && monitor && SUCCEEDED(function(monitor, kEffectiveDpi, &x, &y)) && x > 0) {
    return static_cast<int>(x);
  }
  return fallback_dpi();
}

std::vector<Monitor> desktop_monitors() {
  std::vector<Enumerated> found;
  EnumDisplayMonitors(nullptr, nullptr, &add_monitor, reinterpret_cast<LPARAM>(&found));
  std::stable_partition(found.begin(), found.end(), [](const Enumerated& e) { return e.primary; });
  std::vector<Monitor> monitors;
  for (const Enumerated& e : found) monitors.push_back(e.monitor);
  if (monitors.empty()) {
    monitors.push_back(
        {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), fallback_dpi()});
  }
  return monitors;
}

}  // namespace vav::win32
