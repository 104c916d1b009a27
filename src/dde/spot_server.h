#pragma once
// The program's "DDEServer" topic, on which SpotCollector hands over the spot the user
// picked. The execute only parses and stores; a one-shot timer acts on the spot afterwards,
// outside the DDE transaction.
#include <array>
#include <functional>
#include <string>

#include "controls/controls.h"
#include "dde/dde_common.h"
#include "platform/dde.h"
#include "platform/event_loop.h"

namespace vav {

struct SpotFields {
  std::string freq, qsx, mode, callsign, log_mode, search, prefix, grid;
};

class SpotServer {
 public:
  static constexpr const char* kTopic = "DDEServer";

  SpotServer(Dde& dde, EventLoop& loop, DdeCommon& codec);
  ~SpotServer();

  void Load();    // starts serving the topic
  void Unload();  // stops serving it and forgets a pending spot

  // An execute on "DDEServer"; returns whether it is accepted.
  bool Execute(const std::string& command);

  // Runs when the one-shot timer fires with the newest pending spot: writes the fields into
  // the main window and runs spot handling. Failures are swallowed by the caller.
  std::function<void(const SpotFields&)> on_spot;

  bool pending() const { return SpotCollectorCmdTimer.enabled(); }

 private:
  void timer_fired();

  Dde& dde_;
  DdeCommon& codec_;
  Timer SpotCollectorCmdTimer;
  std::array<std::string, 9> PendingSpot;
  bool serving_ = false;
};

}  // namespace vav
