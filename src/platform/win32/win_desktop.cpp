#include "platform/win32/win_desktop.h"

#include <windows.h>
// after windows.h, which they need
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "platform/win32/text_codec.h"
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

bool WinDesktop::ask(const std::string& text, const std::string& title, const std::string& action) {
  // A task dialog names its button for the action; it comes with common controls 6, loaded
  // by the manifest, and is looked up at run time. Without it: OK and Cancel.
  using TaskDialogIndirectFn = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);
  HMODULE comctl = GetModuleHandleA("comctl32.dll");
  const auto task_dialog = comctl ? reinterpret_cast<TaskDialogIndirectFn>(reinterpret_cast<void*>(
                                        GetProcAddress(comctl, "TaskDialogIndirect")))
                                  : nullptr;
  if (task_dialog) {
    std::wstring wide_text = ansi_to_wide(text);
    for (wchar_t& c : wide_text) {
      if (c == L'\r') c = L'\n';
    }
    const std::wstring wide_title = ansi_to_wide(title);
    const std::wstring wide_action = ansi_to_wide(action);
    const TASKDIALOG_BUTTON buttons[] = {{IDOK, wide_action.c_str()}};
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    config.hwndParent = GetActiveWindow();
    config.dwCommonButtons = TDCBF_CANCEL_BUTTON;
    config.pszWindowTitle = wide_title.c_str();
    config.pszMainIcon = TD_WARNING_ICON;
    config.pszContent = wide_text.c_str();
    config.cButtons = 1;
    config.pButtons = buttons;
    config.nDefaultButton = IDCANCEL;
    int chosen = IDCANCEL;
    if (SUCCEEDED(task_dialog(&config, &chosen, nullptr, nullptr))) return chosen == IDOK;
  }
  return confirm(text, title);
}

std::optional<std::string> WinDesktop::ask_save_path(const std::string& title,
                                                     const std::string& suggested_name) {
  const std::size_t dot = suggested_name.rfind('.');
  const std::string extension = dot == std::string::npos ? "" : suggested_name.substr(dot + 1);
  // "ADI files (*.adi)", "*.adi", "All files (*.*)", "*.*", each ended by a zero.
  std::string filter;
  if (!extension.empty()) {
    filter += extension + " files (*." + extension + ")" + '\0' + "*." + extension + '\0';
  }
  filter += std::string("All files (*.*)") + '\0' + "*.*" + '\0';
  std::vector<char> file(32768, '\0');
  suggested_name.copy(file.data(), std::min(suggested_name.size(), file.size() - 1));
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetActiveWindow();
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  if (!GetSaveFileNameA(&dialog)) return std::nullopt;
  return std::string(file.data());
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
