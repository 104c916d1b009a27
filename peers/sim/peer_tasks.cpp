#include "peers/sim/peer_tasks.h"

#include <memory>
#include <utility>

namespace vav::sim {

EventLoop::TaskId PeerTasks::after(Millis delay, std::function<void()> task) {
  auto own_id = std::make_shared<EventLoop::TaskId>(0);
  const auto id = loop_.call_after(delay, [this, own_id, task = std::move(task)] {
    pending_.erase(*own_id);
    task();
  });
  *own_id = id;
  pending_.insert(id);
  return id;
}

void PeerTasks::cancel(EventLoop::TaskId id) {
  loop_.cancel(id);
  pending_.erase(id);
}

void PeerTasks::cancel_all() {
  for (const auto id : pending_) loop_.cancel(id);
  pending_.clear();
}

peers::Defer PeerTasks::defer() {
  return [this](std::uint32_t delay_ms, std::function<void()> task) {
    after(delay_ms, std::move(task));
  };
}

}  // namespace vav::sim
