#pragma once
// Hidden and small visible windows whose messages go to a callback. All of them share one
// window class; the owning object is attached at WM_NCCREATE and detached before the window
// is destroyed, so no message reaches a destroyed owner. An exception that escapes the
// callback is reported through the boundary given (usually the event loop's) and the message
// then takes its default course.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/error_boundary.h"

namespace vav::win32 {

class MessageWindow {
 public:
  // Returns the message's result when handled; nullopt passes it to DefWindowProcA.
  // Hazard: a handler must not destroy its own MessageWindow; post that work instead.
  using Handler = std::function<std::optional<LRESULT>(UINT msg, WPARAM wparam, LPARAM lparam)>;

  struct TopLevel {
    std::string title;
    DWORD style = WS_OVERLAPPED;
    DWORD ex_style = 0;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
  };

  // A message-only window (HWND_MESSAGE): no broadcasts, never visible. The boundary must
  // outlive the window.
  MessageWindow(Handler handler, const ErrorBoundary& boundary);
  // A top-level window (hidden unless the style says WS_VISIBLE).
  MessageWindow(Handler handler, const ErrorBoundary& boundary, const TopLevel& options);
  ~MessageWindow();
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;

  HWND hwnd() const { return hwnd_; }

 private:
  static void ensure_class_registered();
  static LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  void create(HWND parent, const TopLevel& options);

  Handler handler_;
  const ErrorBoundary& boundary_;
  HWND hwnd_ = nullptr;
};

}  // namespace vav::win32
