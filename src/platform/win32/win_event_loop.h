#pragma once
// The user-interface thread's event loop on the Windows message queue. One timer on a
// message-only window drives a queue of due tasks, so tasks due at the same moment run in
// the order they were scheduled (separate WM_TIMERs promise no order). A task's escaping
// exception goes to boundary(). A message filter may take messages before they are
// translated and dispatched (the main window's keyboard navigation).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "platform/event_loop.h"
#include "platform/win32/message_window.h"

namespace vav::win32 {

class WinEventLoop final : public EventLoop {
 public:
  WinEventLoop();
  ~WinEventLoop() override;
  WinEventLoop(const WinEventLoop&) = delete;
  WinEventLoop& operator=(const WinEventLoop&) = delete;

  Millis tick_count() const override;
  TaskId call_after(Millis delay, std::function<void()> task) override;
  void cancel(TaskId id) override;
  // Dispatches every queued message (DoEvents), then runs every task already due.
  void pump() override;
  // Message loop until quit() or WM_QUIT; tasks run at their due millisecond.
  void run() override;
  // Sets the flag and posts WM_QUIT, which also ends any modal loop (a message box).
  void quit() override;
  bool quitting() const override { return quitting_; }

  // Sees each message that run() and pump() take from the queue before it is translated and
  // dispatched; true when it has dealt with the message. Modal loops (message boxes) do not
  // come here.
  using MessageFilter = std::function<bool(MSG& msg)>;
  void set_message_filter(MessageFilter filter) { filter_ = std::move(filter); }

 private:
  using Key = std::pair<std::uint64_t, TaskId>;  // due time, then scheduling order

  std::optional<LRESULT> on_message(UINT msg, WPARAM wparam, LPARAM lparam);
  std::uint64_t now();  // timeGetTime widened to 64 bits
  // Milliseconds until the first task is due: 0 when one is due now, INFINITE when none is.
  DWORD time_to_next_due();
  void run_due();
  void arm();
  void dispatch(MSG& msg);

  std::map<Key, std::function<void()>> tasks_;
  std::map<TaskId, std::uint64_t> due_of_;
  TaskId next_id_ = 1;
  DWORD last_tick_ = 0;
  std::uint64_t wraps_ = 0;
  bool quitting_ = false;
  bool wake_posted_ = false;
  MessageFilter filter_;
  MessageWindow window_;  // last member: destroyed first, before the queue it serves
};

}  // namespace vav::win32
