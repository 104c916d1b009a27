#include "ui/win32/program.h"

#include <commctrl.h>

#include "app/quandrel_main.h"
#include "errors/runtime_error.h"
#include "platform/platform.h"
#include "platform/win32/win_automation.h"
#include "platform/win32/win_dde.h"
#include "platform/win32/win_desktop.h"
#include "platform/win32/win_event_loop.h"
#include "platform/win32/win_files.h"
#include "platform/win32/win_profile.h"
#include "platform/win32/win_settings_store.h"
#include "platform/win32/win_system.h"
#include "platform/win32/win_window_frame.h"
#include "ui/win32/main_window.h"
#include "ui/win32/main_window_binding.h"
#include "ui/win32/show_when_loaded.h"

namespace vav::ui {

void init_common_controls() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_TAB_CLASSES | ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES;
  InitCommonControlsEx(&controls);
}

int run_program(HINSTANCE instance) {
  init_common_controls();
  // Declaration order is lifetime order: the logic goes before the adapters it holds, the
  // binding before the logic and the window, the frame before its window.
  win32::WinEventLoop loop;
  win32::WinSystem system;
  win32::WinAutomation automation;
  // The program's DDE service is its executable's name without extension.
  win32::WinDde dde(loop, system.exe_name());
  win32::WinProfileFiles profile;
  win32::WinSettingsStore store;
  win32::WinFiles files;
  win32::WinDesktop desktop(loop);
  MainWindow window(instance, loop.boundary());
  if (!window.hwnd()) return 0;
  win32::WinWindowFrame frame(window.hwnd(), loop.boundary());
  Platform platform{loop, dde, automation, profile, store, files, system, desktop, frame};

  QuandrelMain app(platform);
  MainWindowBinding binding(window, app);
  ShowWhenLoaded shower(loop, window, app);
  window.on_close = [&app] { app.Close(); };
  window.on_end_session = [&app] { app.EndSession(); };
  loop.set_message_filter([&window](MSG& msg) { return window.pre_translate(msg); });

  shower.start(app.Form_Load());
  loop.run();
  loop.set_message_filter(nullptr);
  window.on_close = nullptr;
  window.on_end_session = nullptr;
  return 0;
}

}  // namespace vav::ui
