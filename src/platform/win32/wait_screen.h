#pragma once
// The small centred window shown while MixW is not running yet: caption "Waiting...", the
// label "Waiting for MixW to load.." and a "Cancel" button. Cancel, or closing the window in
// any other way, posts on_cancel to the loop; the window stays until its owner destroys it.
#include <functional>
#include <memory>
#include <optional>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/win32/message_window.h"

namespace vav::win32 {

class WaitScreen final : public WaitScreenView {
 public:
  WaitScreen(EventLoop& loop, std::function<void()> on_cancel);
  ~WaitScreen() override;

  HWND hwnd() const { return window_.hwnd(); }

 private:
  std::optional<LRESULT> on_message(UINT msg, WPARAM wparam, LPARAM lparam);
  void create_controls();
  void cancel();

  EventLoop& loop_;
  std::shared_ptr<std::function<void()>> on_cancel_;  // posted tasks hold it weakly
  MessageWindow window_;
};

}  // namespace vav::win32
