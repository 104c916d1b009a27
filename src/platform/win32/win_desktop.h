#pragma once
// Message boxes, other programs' windows, the screen and the wait window.
#include <windows.h>

#include "platform/desktop.h"
#include "platform/event_loop.h"

namespace vav::win32 {

class WinDesktop final : public Desktop {
 public:
  // The wait window's cancel runs as a task on `loop`, never inside the window's own message.
  explicit WinDesktop(EventLoop& loop) : loop_(loop) {}

  // MessageBoxA runs its own message loop, so timers and DDE keep going while it is shown.
  void message_box(const std::string& text, const std::string& title) override;
  bool confirm(const std::string& text, const std::string& title) override;
  // A task dialog (common controls 6); OK and Cancel where there is none.
  bool ask(const std::string& text, const std::string& title, const std::string& action) override;
  // GetSaveFileNameA, asking before an existing file is replaced.
  std::optional<std::string> ask_save_path(const std::string& title,
                                           const std::string& suggested_name) override;
  std::optional<WindowRef> find_window(const std::string& title) override;
  // ShellExecuteA with the "open" verb.
  bool open_document(const std::string& path) override;
  bool is_window(WindowRef window) override;
  bool post_close(WindowRef window) override;
  int screen_logical_dpi() override;
  std::unique_ptr<WaitScreenView> show_wait_screen(std::function<void()> on_cancel) override;

 private:
  EventLoop& loop_;
};

// Horizontal logical pixels per inch of the desktop's device context.
int desktop_logical_dpi();
// Pixels per inch of the screen the window is on (GetDpiForWindow where the system has it),
// else the desktop's; never less than 1. With no window, the desktop's.
int window_dpi(HWND window);

}  // namespace vav::win32
