#pragma once
// The program's "DDEServer" topic, on which SpotCollector hands over the spot the user
// picked. The execute only parses and stores; a one-shot timer acts on the spot afterwards,
// outside the DDE transaction.
#include <functional>
#include <optional>
#include <string>

#include "controls/controls.h"
#include "dde/dde_common.h"
#include "platform/dde.h"
#include "platform/event_loop.h"

namespace vav {

// The fields of a "setscnewentry" record, by position: 1 the frequency in kHz (blanks
// around it removed), 2 the QSX, 3 the mode (made upper-case), 4 the callsign, 5 the log
// mode, 7 the search text, 8 the prefix, 9 the grid square; position 6 is not used.
struct SpotFields {
  std::string freq, qsx, mode, callsign, log_mode, search, prefix, grid;
};

class SpotServer {
 public:
  static constexpr const char* kTopic = "DDEServer";

  SpotServer(Dde& dde, EventLoop& loop, DDECommon& codec);
  ~SpotServer();

  void Load();    // starts serving the topic
  void Unload();  // stops serving it and forgets a pending spot

  // An execute on "DDEServer"; returns whether it is accepted.
  bool Execute(const std::string& command);

  // Runs when the one-shot timer fires, with the newest pending spot; what it throws is
  // passed over.
  std::function<void(const SpotFields&)> on_spot;

  bool pending() const { return SpotCollectorCmdTimer.enabled(); }

 private:
  void timer_fired();
  // The fields of the record the codec has just parsed.
  SpotFields read_spot_fields();

  Dde& dde_;
  DDECommon& codec_;
  Timer SpotCollectorCmdTimer;
  std::optional<SpotFields> PendingSpot;
  bool serving_ = false;
};

}  // namespace vav
