#include "platform/sim/sim_event_loop.h"

#include <limits>
#include <utility>

namespace vav::sim {

SimEventLoop::SimEventLoop(Millis start) : now_(start) {}

EventLoop::TaskId SimEventLoop::call_after(Millis delay, std::function<void()> task) {
  const TaskId id = next_id_++;
  const std::uint64_t due = now_ + delay;
  tasks_.emplace(Key{due, id}, std::move(task));
  due_of_.emplace(id, due);
  return id;
}

void SimEventLoop::cancel(TaskId id) {
  const auto found = due_of_.find(id);
  if (found == due_of_.end()) return;
  tasks_.erase(Key{found->second, id});
  due_of_.erase(found);
}

// Takes the earliest task due by `limit` out of the queue before running it, so a nested
// pump or run_for from inside the task never runs it twice.
bool SimEventLoop::run_one_due(std::uint64_t limit) {
  if (quitting_ || tasks_.empty()) return false;
  auto first = tasks_.begin();
  const auto [due, id] = first->first;
  if (due > limit) return false;
  std::function<void()> task = std::move(first->second);
  tasks_.erase(first);
  due_of_.erase(id);
  if (due > now_) now_ = due;
  if (!boundary().has_reporter()) {
    task();
  } else if (!boundary().guard("EventLoop.Task", task)) {
    ++escaped_errors_;
  }
  return true;
}

// Runs until nothing is due; tasks posted for "now" by the tasks it runs are due too, as a
// message loop drains messages posted while it drains.
void SimEventLoop::pump() {
  while (run_one_due(now_)) {
  }
}

void SimEventLoop::run() {
  // With nothing left to run and no quit, a real loop would wait for ever; here nothing
  // can arrive any more, so it returns.
  while (run_one_due(std::numeric_limits<std::uint64_t>::max())) {
  }
}

void SimEventLoop::run_for(Millis duration) {
  const std::uint64_t end = now_ + duration;
  while (run_one_due(end)) {
  }
  if (now_ < end) now_ = end;
}

std::optional<std::uint64_t> SimEventLoop::next_due() const {
  if (tasks_.empty()) return std::nullopt;
  return std::get<0>(tasks_.begin()->first);
}

}  // namespace vav::sim
