#pragma once
// SpotCollector's stand-in bound to the simulated platform: it sends its commands to the
// program's "DDEServer" topic through the bus and owns a top-level window titled
// "SpotCollector" that closes it when sent WM_CLOSE.
#include <optional>
#include <string>
#include <vector>

#include "peers/sim/peer_tasks.h"
#include "peers/spotcollector.h"
#include "platform/sim/sim_dde_bus.h"
#include "platform/sim/sim_desktop.h"

namespace vav::sim {

inline constexpr Millis kSpotExecuteTimeoutMs = 2000;

class SimSpotCollector {
 public:
  // Without a desktop it runs windowless.
  SimSpotCollector(SimEventLoop& loop, SimDdeBus& bus, SimDesktop* desktop,
                   std::string program_service = peers::kDefaultProgramService);
  ~SimSpotCollector();
  SimSpotCollector(const SimSpotCollector&) = delete;
  SimSpotCollector& operator=(const SimSpotCollector&) = delete;

  void start();
  void start_after(Millis delay);
  void stop();
  bool running() const { return running_; }
  std::optional<WindowRef> window() const { return window_; }

  // The operator picks a spot: "setscnewentry" is executed on the program's topic. The
  // outcome is returned and kept in sent(). Throws RuntimeError(kInvalidProcedureCall)
  // while SpotCollector is not running.
  peers::SentCommand send_spot(const peers::Spot& spot);
  peers::SentCommand send_command(const std::string& command);
  const std::vector<peers::SentCommand>& sent() const { return spotcollector_.sent(); }

  void set_execute_timeout(Millis timeout) { timeout_ = timeout; }

 private:
  SimDdeBus& bus_;
  SimDesktop* desktop_;
  peers::SpotCollector spotcollector_;
  PeerTasks tasks_;
  bool running_ = false;
  std::optional<WindowRef> window_;
  Millis timeout_ = kSpotExecuteTimeoutMs;
};

}  // namespace vav::sim
