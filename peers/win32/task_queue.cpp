#include "peers/win32/task_queue.h"

#include <utility>

namespace vav::peers::win32 {
namespace {
constexpr UINT kRunPosted = WM_APP + 1;
}  // namespace

TaskQueue::TaskQueue()
    : window_(PeerWindow::Kind::message_only,
              [this](UINT msg, WPARAM wparam, LPARAM) { return on_message(msg, wparam); }) {}

void TaskQueue::post(std::function<void()> task) {
  posted_.push_back(std::move(task));
  PostMessageA(window_.hwnd(), kRunPosted, 0, 0);
}

void TaskQueue::after(std::uint32_t delay_ms, std::function<void()> task) {
  if (delay_ms == 0) {
    post(std::move(task));
    return;
  }
  const UINT_PTR id = next_timer_++;
  timed_[id] = std::move(task);
  SetTimer(window_.hwnd(), id, delay_ms, nullptr);
}

Defer TaskQueue::defer() {
  return [this](std::uint32_t delay_ms, std::function<void()> task) {
    after(delay_ms, std::move(task));
  };
}

std::optional<LRESULT> TaskQueue::on_message(UINT msg, WPARAM wparam) {
  if (msg == kRunPosted) {
    if (posted_.empty()) return 0;
    auto task = std::move(posted_.front());
    posted_.pop_front();
    task();
    return 0;
  }
  if (msg == WM_TIMER) {
    KillTimer(window_.hwnd(), wparam);
    const auto found = timed_.find(wparam);
    if (found == timed_.end()) return 0;
    auto task = std::move(found->second);
    timed_.erase(found);
    task();
    return 0;
  }
  return std::nullopt;
}

int run_message_loop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace vav::peers::win32
