#pragma once
// Deferred work of one simulated peer on the virtual-time loop. Whatever has not run when
// the owner goes is cancelled, so no task outlives the peer it points into.
#include <functional>
#include <set>

#include "peers/peer_hooks.h"
#include "platform/sim/sim_event_loop.h"

namespace vav::sim {

class PeerTasks {
 public:
  explicit PeerTasks(SimEventLoop& loop) : loop_(loop) {}
  ~PeerTasks() { cancel_all(); }
  PeerTasks(const PeerTasks&) = delete;
  PeerTasks& operator=(const PeerTasks&) = delete;

  EventLoop::TaskId after(Millis delay, std::function<void()> task);
  void cancel(EventLoop::TaskId id);
  void cancel_all();
  // The same, as the hook the transport-free peers take.
  peers::Defer defer();

 private:
  SimEventLoop& loop_;
  std::set<EventLoop::TaskId> pending_;
};

}  // namespace vav::sim
