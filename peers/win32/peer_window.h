#pragma once
// The windows of the peer programs: one ANSI window class whose messages go to a callback.
// The handler sees messages from the moment the window exists (creation messages go to
// DefWindowProcA) and none after the owner has started to destroy it.
//
// Hazard: a WM_DDE_INITIATE broadcast reaches top-level windows only; a window that must
// answer initiates cannot be message-only.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace vav::peers::win32 {

class PeerWindow {
 public:
  // The message's result when handled; nullopt passes it to DefWindowProcA.
  // Hazard: a handler must not destroy its own window; post that work instead.
  using Handler = std::function<std::optional<LRESULT>(UINT msg, WPARAM wparam, LPARAM lparam)>;

  enum class Kind { message_only, hidden_top_level, visible_top_level };

  PeerWindow(Kind kind, Handler handler, const std::string& title = {});
  ~PeerWindow();
  PeerWindow(const PeerWindow&) = delete;
  PeerWindow& operator=(const PeerWindow&) = delete;

  HWND hwnd() const { return hwnd_; }

 private:
  static LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

  Handler handler_;
  HWND hwnd_ = nullptr;
};

}  // namespace vav::peers::win32
