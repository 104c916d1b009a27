#include "platform/win32/win_desktop.h"

#include <windows.h>
// shellapi.h after windows.h, which it needs.
#include <shellapi.h>

#include "platform/win32/wait_screen.h"
#include "platform/win32/win_handles.h"

namespace vav::win32 {
namespace {

HWND to_hwnd(WindowRef window) { return reinterpret_cast<HWND>(window); }

}  // namespace

int desktop_logical_dpi() {
  ScopedWindowDc dc(GetDesktopWindow());
  return dc.get() ? GetDeviceCaps(dc.get(), LOGPIXELSX) : 0;
}

int window_dpi(HWND window) {
  // Windows 10 1607 and later; loaded at run time so older systems still start.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto get_dpi_for_window = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  if (get_dpi_for_window && window) {
    const UINT dpi = get_dpi_for_window(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  const int dpi = desktop_logical_dpi();
  return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

void WinDesktop::message_box(const std::string& text, const std::string& title) {
  MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK);
}

bool WinDesktop::confirm(const std::string& text, const std::string& title) {
  return MessageBoxA(nullptr, text.c_str(), title.c_str(),
                     MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) == IDOK;
}

std::optional<WindowRef> WinDesktop::find_window(const std::string& title) {
  HWND found = FindWindowA(nullptr, title.c_str());
  if (!found) return std::nullopt;
  return reinterpret_cast<WindowRef>(found);
}

bool WinDesktop::is_window(WindowRef window) { return IsWindow(to_hwnd(window)) != 0; }

bool WinDesktop::post_close(WindowRef window) {
  return PostMessageA(to_hwnd(window), WM_CLOSE, 0, 0) != 0;
}

int WinDesktop::screen_logical_dpi() { return desktop_logical_dpi(); }

std::unique_ptr<WaitScreenView> WinDesktop::show_wait_screen(std::function<void()> on_cancel) {
  return std::make_unique<WaitScreen>(loop_, std::move(on_cancel));
}

bool WinDesktop::open_document(const std::string& path) {
  // ShellExecute returns a value above 32 on success.
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

}  // namespace vav::win32
