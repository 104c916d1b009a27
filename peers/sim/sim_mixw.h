#pragma once
// MixW's stand-in bound to the simulated platform: its "QSO" topic on the DDE bus and its
// automation object in the running-object table. Absent until started; it can start late
// and vanish (the object is revoked, held references fail, its DDE server stops).
#include <optional>
#include <string>
#include <vector>

#include "peers/mixw.h"
#include "peers/sim/peer_tasks.h"
#include "platform/sim/sim_automation.h"
#include "platform/sim/sim_dde_bus.h"

namespace vav::sim {

class SimMixw {
 public:
  SimMixw(SimEventLoop& loop, SimDdeBus& bus, SimAutomation& automation);
  ~SimMixw();
  SimMixw(const SimMixw&) = delete;
  SimMixw& operator=(const SimMixw&) = delete;

  void start();
  void start_after(Millis delay);
  void vanish();
  bool running() const { return running_; }

  peers::Mixw& peer() { return mixw_; }
  const peers::Mixw& peer() const { return mixw_; }

  // --- the operator at MixW ---
  void operator_types(const std::string& item, const std::string& value) {
    mixw_.set_item(item, value);
  }
  void work_station(const peers::Contact& contact) { mixw_.work_station(contact); }
  void write_qso() { mixw_.write_qso(); }
  void clear_qso() { mixw_.clear_qso(); }
  void tune_dial(double hz) { mixw_.set_dial_hz(hz); }
  void move_audio(double hz) { mixw_.set_audio_hz(hz); }
  void select_mode(const std::string& mode) { mixw_.set_mode(mode); }

  std::optional<std::string> item(const std::string& name) const { return mixw_.item(name); }
  const std::vector<peers::AutomationCall>& journal() const { return mixw_.journal(); }
  std::vector<std::string> journal_lines(bool with_gets = false) const {
    return mixw_.journal_lines(with_gets);
  }
  std::vector<std::string> macros() const { return mixw_.macros(); }

 private:
  SimDdeBus& bus_;
  SimAutomation& automation_;
  peers::Mixw mixw_;
  PeerTasks tasks_;
  bool running_ = false;
  EventLoop::TaskId late_start_ = 0;
};

}  // namespace vav::sim
