#pragma once
// Deferred work of a peer program on its own thread: posted tasks run in posting order
// from the message loop, after every message already queued; timed tasks run from WM_TIMER.
// Tasks never run inside the call that queued them.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>

#include "peers/peer_hooks.h"
#include "peers/win32/peer_window.h"

namespace vav::peers::win32 {

class TaskQueue {
 public:
  TaskQueue();
  TaskQueue(const TaskQueue&) = delete;
  TaskQueue& operator=(const TaskQueue&) = delete;

  void post(std::function<void()> task);
  void after(std::uint32_t delay_ms, std::function<void()> task);
  // The hook the transport-free peers take.
  Defer defer();

 private:
  std::optional<LRESULT> on_message(UINT msg, WPARAM wparam);

  std::deque<std::function<void()>> posted_;
  std::map<UINT_PTR, std::function<void()>> timed_;
  UINT_PTR next_timer_ = 1;
  PeerWindow window_;  // last: destroyed first, so no message reaches the queues above
};

// Runs the thread's message loop until WM_QUIT; returns its exit code.
int run_message_loop();

}  // namespace vav::peers::win32
