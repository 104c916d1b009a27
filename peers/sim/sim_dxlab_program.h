#pragma once
// A DXLab stand-in bound to the simulated DDE bus. It is absent until started; it can start
// late, refuse executes, answer late, hold executes or everything unanswered past the
// client's time-out (running them when it answers again), drop its conversations, stop,
// crash, and crash between running a command and acknowledging it. "shutdown" stops it just after
// acknowledging.
#include <string>
#include <vector>

#include "peers/dxlab_peer.h"
#include "peers/sim/peer_tasks.h"
#include "platform/sim/sim_dde_bus.h"

namespace vav::sim {

class SimDxlabProgram {
 public:
  SimDxlabProgram(SimEventLoop& loop, SimDdeBus& bus, peers::DxlabPeer& peer);
  ~SimDxlabProgram();
  SimDxlabProgram(const SimDxlabProgram&) = delete;
  SimDxlabProgram& operator=(const SimDxlabProgram&) = delete;

  // Serves its topics from now on. How it answers (below) survives stop and start, so a
  // program can start already refusing or hung.
  void start();
  void start_after(Millis delay);
  // Stops serving: every conversation ends (clients get their link-close notice).
  void stop();
  // Vanishes as a crashed or killed program does: no conversation is ended politely, so
  // clients get no link-close notice.
  void crash();
  bool running() const { return running_; }

  void answer();           // links and executes answered again, held executes run
  void refuse_executes();  // executes get a negative acknowledgement
  // Executes are held unanswered (links still open) until answer(), then run in order and
  // are acknowledged late, as a busy program on Windows does.
  void hang_executes();
  void hang();  // nothing answers: initiates time out, executes are held
  // Every execute runs `delay` ms after it arrives and is acknowledged then, also after the
  // client's time-out.
  void answer_late(Millis delay);
  // The next execute is run, then the program vanishes before acknowledging it.
  void die_after_running_next_execute();
  std::size_t held_executes() const;
  void close_conversations();  // ends every conversation but keeps serving
  std::size_t conversation_count() const;

  // Executes the start notice ("001start") on the program's "DDEClient" topic; true when
  // the program accepted it.
  bool send_start_notice(const std::string& program_service = "Vavizorur", Millis timeout = 2000);

  const std::vector<std::string>& journal() const { return peer_.journal(); }
  const std::vector<std::string>& unanswered() const { return peer_.unanswered(); }

 private:
  void set_bus_hanging(bool hanging);

  SimDdeBus& bus_;
  peers::DxlabPeer& peer_;
  PeerTasks tasks_;
  bool running_ = false;
  bool whole_program_hung_ = false;
  bool holding_ = false;
  bool die_after_running_next_ = false;
  Millis answer_delay_ = 0;
  EventLoop::TaskId late_start_ = 0;
};

// Base-from-member: the peer is built before the binding that refers to it.
template <class Peer>
struct PeerHolder {
  Peer held_peer;
};

template <class Peer>
class SimDxlab final : private PeerHolder<Peer>, public SimDxlabProgram {
 public:
  SimDxlab(SimEventLoop& loop, SimDdeBus& bus) : SimDxlabProgram(loop, bus, this->held_peer) {}

  Peer& peer() { return this->held_peer; }
  const Peer& peer() const { return this->held_peer; }
};

}  // namespace vav::sim
