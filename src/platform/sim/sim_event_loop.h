#pragma once
// The event loop in virtual time. Nothing runs until a test moves the clock; time never
// passes by itself and nothing sleeps.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <tuple>

#include "platform/event_loop.h"

namespace vav::sim {

class SimEventLoop final : public EventLoop {
 public:
  explicit SimEventLoop(Millis start = 1'000'000);

  Millis tick_count() const override { return static_cast<Millis>(now_); }
  TaskId call_after(Millis delay, std::function<void()> task) override;
  void cancel(TaskId id) override;
  void pump() override;
  void run() override;
  void quit() override { quitting_ = true; }
  bool quitting() const override { return quitting_; }
  // A new run of the program on the same machine: events run again after a quit().
  void resume() { quitting_ = false; }

  // Virtual time in ms since the loop was made (64-bit, never wraps).
  std::uint64_t now() const { return now_; }

  // Runs every task that falls due within the next `duration` ms, in due order, moving the
  // clock to each task's due time; the clock ends `duration` ms later.
  void run_for(Millis duration);
  // Runs what is due now, without moving the clock.
  void run_until_idle() { pump(); }
  // Moves the clock without running anything: a blocking wait (a DDE transaction that hangs
  // until its time-out). What fell due meanwhile runs at the next pump or run_for.
  void advance_blocked(Millis duration) { now_ += duration; }
  // Due time of the next task, if any.
  std::optional<std::uint64_t> next_due() const;
  std::size_t pending() const { return tasks_.size(); }
  // How many exceptions escaped a task into the boundary's reporter. Without a reporter an
  // escaping exception leaves the loop and reaches the test.
  int escaped_errors() const { return escaped_errors_; }

 private:
  using Key = std::tuple<std::uint64_t, TaskId>;  // due time, then posting order
  bool run_one_due(std::uint64_t limit);

  std::uint64_t now_;
  TaskId next_id_ = 1;
  std::map<Key, std::function<void()>> tasks_;
  std::map<TaskId, std::uint64_t> due_of_;
  bool quitting_ = false;
  int escaped_errors_ = 0;
};

}  // namespace vav::sim
