#include "platform/win32/win_window_frame.h"

#include <cstdio>
#include <string>

#include "platform/win32/win_desktop.h"
#include "platform/win32/win_monitors.h"

namespace vav::win32 {
namespace {

constexpr char kFrameProperty[] = "Vavizorur.WindowFrame";
constexpr LRESULT kSwallowed = -1;
constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED, Windows 8.1 and later

WNDPROC current_proc(HWND hwnd) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
}

WNDPROC replace_proc(HWND hwnd, WNDPROC proc) {
  return reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

}  // namespace

WinWindowFrame::WinWindowFrame(HWND window, const ErrorBoundary& boundary)
    : window_(window), boundary_(boundary), dpi_(window_dpi(window)) {
  SetPropA(window_, kFrameProperty, this);
  before_resize_ = replace_proc(window_, &WinWindowFrame::resize_proc);
}

WinWindowFrame::~WinWindowFrame() {
  remove_hook();
  detach_resize();
}

void WinWindowFrame::detach_resize() {
  if (!before_resize_) return;
  if (IsWindow(window_) && current_proc(window_) == &WinWindowFrame::resize_proc) {
    replace_proc(window_, before_resize_);
  }
  before_resize_ = nullptr;
  if (IsWindow(window_)) RemovePropA(window_, kFrameProperty);
}

WinWindowFrame* WinWindowFrame::from(HWND hwnd) {
  return static_cast<WinWindowFrame*>(GetPropA(hwnd, kFrameProperty));
}

LRESULT CALLBACK WinWindowFrame::resize_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  WinWindowFrame* self = from(hwnd);
  if (!self || !self->before_resize_) return DefWindowProcA(hwnd, msg, wparam, lparam);
  WNDPROC next = self->before_resize_;
  if (msg == WM_NCDESTROY) {
    self->detach_resize();
    return CallWindowProcA(next, hwnd, msg, wparam, lparam);
  }
  // The window's own procedure lays itself out for the new screen and takes the size the
  // system suggests; the resize that follows must already convert at the new resolution.
  if (msg == kDpiChanged && HIWORD(wparam) > 0) self->dpi_ = HIWORD(wparam);
  LRESULT result = CallWindowProcA(next, hwnd, msg, wparam, lparam);
  if (msg == WM_SIZE && self->on_resize_) {
    // Nothing may unwind through the system's dispatch.
    const auto on_resize = self->on_resize_;  // the handler may replace itself
    self->boundary_.guard("WindowFrame.WM_SIZE", on_resize);
  }
  return result;
}

LRESULT CALLBACK WinWindowFrame::hook_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  WinWindowFrame* self = from(hwnd);
  if (!self || !self->before_hook_) return DefWindowProcA(hwnd, msg, wparam, lparam);
  LRESULT result = 0;
  const auto procedure = [msg] {
    char name[64];
    std::snprintf(name, sizeof name, "WindowFrame.Hook(message 0x%04X)", msg);
    return std::string(name);
  };
  if (self->boundary_.guard(procedure,
                            [&] { result = self->on_hook_message(msg, wparam, lparam); })) {
    return result;
  }
  if (!self->before_hook_) return DefWindowProcA(hwnd, msg, wparam, lparam);
  return CallWindowProcA(self->before_hook_, hwnd, msg, wparam, lparam);
}

LRESULT WinWindowFrame::on_hook_message(UINT msg, WPARAM wparam, LPARAM lparam) {
  WNDPROC next = before_hook_;
  switch (msg) {
    case WM_NCLBUTTONDOWN:
      if (wparam == HTMINBUTTON && hook_.on_minimize_button) hook_.on_minimize_button();
      break;
    case WM_WINDOWPOSCHANGING:  // not passed on: the system ignores the answer anyway
      return kSwallowed;
    case WM_EXITSIZEMOVE:
      if (hook_.on_move_size_end) hook_.on_move_size_end();
      return kSwallowed;
    case WM_NCDESTROY:
      // The previous procedure gets its own WM_NCDESTROY too: it may have cleanup to do.
      remove_hook();
      break;
    default:
      break;
  }
  return CallWindowProcA(next, window_, msg, wparam, lparam);
}

void WinWindowFrame::install_hook(HookEvents events) {
  hook_ = std::move(events);
  if (before_hook_) return;
  before_hook_ = replace_proc(window_, &WinWindowFrame::hook_proc);
}

void WinWindowFrame::remove_hook() {
  hook_ = {};
  if (!before_hook_) return;
  // Hazard: when someone subclassed above the hook, putting our predecessor back would cut
  // them off; the hook then stays in the chain, passing everything on, until the window dies.
  if (IsWindow(window_) && current_proc(window_) == &WinWindowFrame::hook_proc) {
    replace_proc(window_, before_hook_);
    before_hook_ = nullptr;
  }
}

RECT WinWindowFrame::rect() const {
  RECT r{};
  GetWindowRect(window_, &r);
  return r;
}

TwipsPoint WinWindowFrame::position() const {
  const RECT r = rect();
  return position_.twips({r.left, r.top}, desktop_monitors());
}

int WinWindowFrame::left() const { return position().x; }
int WinWindowFrame::top() const { return position().y; }

PixelPoint WinWindowFrame::to_pixels(TwipsPoint position) const {
  return vav::to_pixels(desktop_monitors(), position);
}

int WinWindowFrame::width() const {
  RECT r = rect();
  return width_.twips(r.right - r.left, dpi_);
}
int WinWindowFrame::height() const {
  RECT r = rect();
  return height_.twips(r.bottom - r.top, dpi_);
}

WindowState WinWindowFrame::state() const {
  if (IsIconic(window_)) return WindowState::minimized;
  if (IsZoomed(window_)) return WindowState::maximized;
  return WindowState::normal;
}

void WinWindowFrame::move_to(int x, int y) {
  SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WinWindowFrame::size_to(int cx, int cy) {
  SetWindowPos(window_, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The point is placed whole: which monitor holds it, and so its pixels, depends on both
// coordinates. A move onto a monitor of another resolution brings WM_DPICHANGED, and the
// window's own procedure then resizes it for that monitor (the resize event).
void WinWindowFrame::place(TwipsPoint position) {
  const PixelPoint at = position_.set(position, desktop_monitors());
  move_to(at.x, at.y);
}

void WinWindowFrame::set_left(int twips) { place({twips, top()}); }
void WinWindowFrame::set_top(int twips) { place({left(), twips}); }
void WinWindowFrame::set_width(int twips) {
  RECT r = rect();
  size_to(width_.set(twips, dpi_), r.bottom - r.top);
}
void WinWindowFrame::set_height(int twips) {
  RECT r = rect();
  size_to(r.right - r.left, height_.set(twips, dpi_));
}

void WinWindowFrame::set_state(WindowState state) {
  switch (state) {
    case WindowState::minimized:
      ShowWindow(window_, SW_MINIMIZE);
      break;
    case WindowState::maximized:
      ShowWindow(window_, SW_MAXIMIZE);
      break;
    case WindowState::normal:
      ShowWindow(window_, SW_RESTORE);
      break;
  }
}

void WinWindowFrame::set_topmost(bool on_top, int x, int y, int cx, int cy) {
  SetWindowPos(window_, on_top ? HWND_TOPMOST : HWND_NOTOPMOST, x, y, cx, cy,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void WinWindowFrame::set_caption(const std::string& caption) {
  SetWindowTextA(window_, caption.c_str());
}

void WinWindowFrame::set_resize_handler(std::function<void()> on_resize) {
  on_resize_ = std::move(on_resize);
}

}  // namespace vav::win32
