#include "platform/win32/win_event_loop.h"

#include <algorithm>
#include <limits>

namespace vav::win32 {
namespace {

constexpr UINT_PTR kDueTimerId = 1;
// Posted when a task is due at once: a posted message outruns WM_TIMER, which Windows makes
// only when the queue is otherwise empty, and has no 10 ms minimum.
constexpr UINT kWakeMessage = WM_APP + 1;

}  // namespace

WinEventLoop::WinEventLoop()
    : last_tick_(timeGetTime()),
      window_([this](UINT msg, WPARAM wparam,
                     LPARAM lparam) { return on_message(msg, wparam, lparam); },
              boundary()) {}

WinEventLoop::~WinEventLoop() { KillTimer(window_.hwnd(), kDueTimerId); }

Millis WinEventLoop::tick_count() const { return timeGetTime(); }

std::uint64_t WinEventLoop::now() {
  DWORD tick = timeGetTime();
  if (tick < last_tick_) ++wraps_;
  last_tick_ = tick;
  return (wraps_ << 32) | tick;
}

EventLoop::TaskId WinEventLoop::call_after(Millis delay, std::function<void()> task) {
  TaskId id = next_id_++;
  std::uint64_t due = now() + delay;
  tasks_.emplace(Key{due, id}, std::move(task));
  due_of_.emplace(id, due);
  arm();
  return id;
}

void WinEventLoop::cancel(TaskId id) {
  auto it = due_of_.find(id);
  if (it == due_of_.end()) return;
  tasks_.erase(Key{it->second, id});
  due_of_.erase(it);
  arm();
}

void WinEventLoop::pump() {
  MSG msg;
  while (!quitting_ && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quitting_ = true;
      break;
    }
    dispatch(msg);
  }
  run_due();
}

// Waits for a message or for the next task's due time, whichever comes first. A window timer
// is rounded up to its 10 ms minimum (a 1 ms one-shot would wait 10 ms or more); the wait's
// time-out keeps the millisecond. The window timer stays armed for the modal loops (message
// boxes, DDE waits) that dispatch messages without coming back here.
void WinEventLoop::run() {
  MSG msg;
  while (!quitting_) {
    const DWORD wait = time_to_next_due();
    if (wait > 0) MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    while (!quitting_ && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quitting_ = true;
        break;
      }
      dispatch(msg);
    }
    if (time_to_next_due() == 0) run_due();
  }
}

void WinEventLoop::dispatch(MSG& msg) {
  if (filter_) {
    const MessageFilter filter = filter_;  // it may replace itself
    bool handled = false;
    boundary().guard("EventLoop.MessageFilter", [&] { handled = filter(msg); });
    if (handled) return;
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

DWORD WinEventLoop::time_to_next_due() {
  if (quitting_ || tasks_.empty()) return INFINITE;
  const std::uint64_t due = tasks_.begin()->first.first;
  const std::uint64_t current = now();
  if (due <= current) return 0;
  return static_cast<DWORD>(
      std::min<std::uint64_t>(due - current, std::numeric_limits<std::int32_t>::max()));
}

void WinEventLoop::quit() {
  if (quitting_) return;
  quitting_ = true;
  KillTimer(window_.hwnd(), kDueTimerId);
  PostQuitMessage(0);
}

std::optional<LRESULT> WinEventLoop::on_message(UINT msg, WPARAM wparam, LPARAM) {
  if (msg == kWakeMessage) {
    wake_posted_ = false;
    run_due();
    return 0;
  }
  if (msg == WM_TIMER && wparam == kDueTimerId) {
    run_due();
    return 0;
  }
  return std::nullopt;
}

// Re-entrant: a task may pump, and the nested call takes the next due task. Each task is
// taken out of the queue before it runs, so none runs twice.
void WinEventLoop::run_due() {
  while (!quitting_ && !tasks_.empty()) {
    auto it = tasks_.begin();
    if (it->first.first > now()) break;
    auto task = std::move(it->second);
    due_of_.erase(it->first.second);
    tasks_.erase(it);
    // Tasks trap their own errors; one that escapes is reported here, not lost in the system.
    boundary().guard("EventLoop.Task", task);
  }
  arm();
}

void WinEventLoop::arm() {
  HWND hwnd = window_.hwnd();
  if (quitting_ || tasks_.empty()) {
    KillTimer(hwnd, kDueTimerId);
    return;
  }
  std::uint64_t due = tasks_.begin()->first.first;
  std::uint64_t current = now();
  if (due <= current) {
    KillTimer(hwnd, kDueTimerId);
    if (!wake_posted_) wake_posted_ = PostMessageA(hwnd, kWakeMessage, 0, 0) != 0;
    return;
  }
  auto delay = static_cast<UINT>(
      std::min<std::uint64_t>(due - current, std::numeric_limits<std::int32_t>::max()));
  SetTimer(hwnd, kDueTimerId, delay, nullptr);  // replaces the previous due time
}

}  // namespace vav::win32
