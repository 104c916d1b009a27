#pragma once
// The main window's frame over an HWND that the UI owns. The size is in twips at the
// window's own resolution (1440 / dpi twips per pixel), which it follows through
// WM_DPICHANGED; the position is in twips on the monitor that holds it, at that monitor's
// resolution (screen_position.h, over desktop_monitors()). A value set reads back unchanged
// until the window moves (twips.h).
//
// Two subclasses of the window procedure, both by SetWindowLongPtrA(GWLP_WNDPROC):
// - from construction, one that raises the resize handler after WM_SIZE;
// - between install_hook and remove_hook, the message hook on top of it.
// Each gives the procedure it replaced back only when it is still the window's procedure,
// and both give up at WM_NCDESTROY. The frame must not outlive its window's subclass users.
// An exception escaping the resize handler or the hook's events is reported through the
// boundary given, which must outlive the frame.
#include <windows.h>

#include <functional>

#include "platform/desktop.h"
#include "platform/error_boundary.h"
#include "platform/screen_position.h"
#include "platform/twips.h"

namespace vav::win32 {

class WinWindowFrame final : public WindowFrame {
 public:
  WinWindowFrame(HWND window, const ErrorBoundary& boundary);
  ~WinWindowFrame() override;
  WinWindowFrame(const WinWindowFrame&) = delete;
  WinWindowFrame& operator=(const WinWindowFrame&) = delete;

  int dpi() const override { return dpi_; }
  int left() const override;
  int top() const override;
  int width() const override;
  int height() const override;
  WindowState state() const override;
  void set_left(int twips) override;
  void set_top(int twips) override;
  void set_width(int twips) override;
  void set_height(int twips) override;
  void set_state(WindowState state) override;
  WindowRef handle() const override { return reinterpret_cast<WindowRef>(window_); }
  PixelPoint to_pixels(TwipsPoint position) const override;
  void set_topmost(bool on_top, int x, int y, int cx, int cy) override;
  void set_caption(const std::string& caption) override;
  void set_resize_handler(std::function<void()> on_resize) override;
  void install_hook(HookEvents events) override;
  void remove_hook() override;

 private:
  static LRESULT CALLBACK resize_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK hook_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  static WinWindowFrame* from(HWND hwnd);
  LRESULT on_hook_message(UINT msg, WPARAM wparam, LPARAM lparam);
  void detach_resize();

  RECT rect() const;
  TwipsPoint position() const;
  void place(TwipsPoint position);
  void move_to(int x, int y);
  void size_to(int cx, int cy);

  HWND window_;
  const ErrorBoundary& boundary_;
  int dpi_;
  TwipsPosition position_;
  TwipsCoordinate width_, height_;
  WNDPROC before_resize_ = nullptr;
  WNDPROC before_hook_ = nullptr;
  std::function<void()> on_resize_;
  HookEvents hook_;
};

}  // namespace vav::win32
