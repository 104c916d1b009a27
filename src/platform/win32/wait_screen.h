#pragma once
// The small centred window shown while MixW is not running yet: caption "Waiting...", the
// label "Waiting for MixW to load.." and a "Cancel" button. Cancel, or closing the window in
// any other way, posts on_cancel to the loop; the window stays until its owner destroys it.
// It is drawn at the resolution of the monitor it stands on, window, controls and font, and
// follows that resolution through WM_DPICHANGED.
#include <functional>
#include <memory>
#include <optional>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/win32/dialog_font.h"
#include "platform/win32/message_window.h"

namespace vav::win32 {

class WaitScreen final : public WaitScreenView {
 public:
  WaitScreen(EventLoop& loop, std::function<void()> on_cancel);
  ~WaitScreen() override;

  HWND hwnd() const { return window_.hwnd(); }
  int dpi() const { return dpi_; }
  HFONT font() const { return font_->handle(); }

 private:
  std::optional<LRESULT> on_message(UINT msg, WPARAM wparam, LPARAM lparam);
  void create_controls();
  void lay_out();
  void apply_dpi(int dpi, const RECT& suggested);
  void cancel();

  EventLoop& loop_;
  std::shared_ptr<std::function<void()>> on_cancel_;  // posted tasks hold it weakly
  int dpi_;
  // Before the window: the controls are destroyed with it, still holding this font.
  std::unique_ptr<DialogFont> font_;
  // Set before the window exists, so its messages find them empty until they are made.
  HWND label_ = nullptr;
  HWND button_ = nullptr;
  MessageWindow window_;
};

}  // namespace vav::win32
