#pragma once
// The top-level windows of another process, as a user sees them on the desktop.
#include <windows.h>

#include <string>
#include <vector>

namespace vav::e2e {

struct TopWindow {
  HWND hwnd = nullptr;
  std::string caption;
  std::string class_name;
  bool visible = false;
};

std::vector<TopWindow> top_windows_of(DWORD process_id);
// The first visible top-level window of the process whose caption begins with `prefix`;
// nullptr when there is none.
HWND visible_window_captioned(DWORD process_id, const std::string& prefix);
// A visible standard dialog (a message box) of the process; nullptr when there is none.
HWND visible_message_box(DWORD process_id);

std::string window_text(HWND hwnd);
// The texts of the window's children, in Z order (a message box's message and buttons).
std::vector<std::string> child_texts(HWND hwnd);
// "caption [class] (hidden)" per window, for failure messages.
std::string describe(const std::vector<TopWindow>& windows);

}  // namespace vav::e2e
