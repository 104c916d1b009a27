#include "platform/win32/message_window.h"

#include <cstdio>
#include <optional>
#include <string>
#include <stdexcept>

namespace vav::win32 {
namespace {

constexpr char kClassName[] = "VavizorurWindow";

}  // namespace

// Registered once per process; the class outlives every window of it.
void MessageWindow::ensure_class_registered() {
  static const bool registered = [] {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &MessageWindow::window_proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  if (!registered) throw std::runtime_error("window class registration failed");
}

MessageWindow::MessageWindow(Handler handler, const ErrorBoundary& boundary)
    : handler_(std::move(handler)), boundary_(boundary) {
  create(HWND_MESSAGE, TopLevel{});
}

MessageWindow::MessageWindow(Handler handler, const ErrorBoundary& boundary,
                             const TopLevel& options)
    : handler_(std::move(handler)), boundary_(boundary) {
  create(nullptr, options);
}

void MessageWindow::create(HWND parent, const TopLevel& options) {
  ensure_class_registered();
  // window_proc attaches `this` at WM_NCCREATE, so even WM_CREATE reaches the handler.
  HWND hwnd = CreateWindowExA(options.ex_style, kClassName, options.title.c_str(), options.style,
                              options.x, options.y, options.width, options.height, parent, nullptr,
                              GetModuleHandleA(nullptr), this);
  if (!hwnd) throw std::runtime_error("CreateWindowExA failed");
  hwnd_ = hwnd;
}

MessageWindow::~MessageWindow() {
  if (!hwnd_) return;
  // Detach first: the messages DestroyWindow sends must not reach a half-destroyed owner.
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
}

LRESULT CALLBACK MessageWindow::window_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
    auto* owner = static_cast<MessageWindow*>(create->lpCreateParams);
    owner->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
  }
  auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self && self->handler_) {
    // Nothing may unwind through the system's dispatch; a failed message falls to the
    // default.
    std::optional<LRESULT> result;
    const auto procedure = [msg] {
      char name[64];
      std::snprintf(name, sizeof name, "MessageWindow.WindowProc(message 0x%04X)", msg);
      return std::string(name);
    };
    self->boundary_.guard(procedure, [&] { result = self->handler_(msg, wparam, lparam); });
    if (result) return *result;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

}  // namespace vav::win32
