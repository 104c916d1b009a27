#pragma once
// The single user-interface thread's event loop: timers, posted work, the millisecond
// counter and "let pending events run". Everything the program does runs from here.
#include <cstdint>
#include <functional>

#include "platform/error_boundary.h"

namespace vav {

using Millis = std::uint32_t;

class EventLoop {
 public:
  using TaskId = std::uint64_t;

  virtual ~EventLoop() = default;

  // The system's millisecond counter (wraps like timeGetTime).
  virtual Millis tick_count() const = 0;

  // Runs `task` once, on the loop, no sooner than `delay` ms from now. Tasks that fall due
  // at the same moment run in the order they were scheduled.
  virtual TaskId call_after(Millis delay, std::function<void()> task) = 0;
  void post(std::function<void()> task) { call_after(0, std::move(task)); }

  // Forgets a task that has not run yet; unknown or finished ids are ignored.
  virtual void cancel(TaskId id) = 0;

  // Lets pending events run: everything already due (DDE data and notices, executes,
  // timer ticks) runs before this returns. May be called from inside a task (re-entrant).
  virtual void pump() = 0;

  // Runs until quit(); returns at once if quit() was already called.
  virtual void run() = 0;

  // Ends the program's event processing: no further task runs, pump() returns at once.
  virtual void quit() = 0;
  virtual bool quitting() const = 0;

  // Where an exception that escapes a task goes instead of ending the loop; the program
  // installs its error log here. The adapters' window procedures report through it too.
  ErrorBoundary& boundary() { return boundary_; }

 private:
  ErrorBoundary boundary_;
};

}  // namespace vav
