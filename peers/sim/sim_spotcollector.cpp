#include "peers/sim/sim_spotcollector.h"

#include "errors/runtime_error.h"

namespace vav::sim {

SimSpotCollector::SimSpotCollector(SimEventLoop& loop, SimDdeBus& bus, SimDesktop* desktop,
                                   std::string program_service)
    : bus_(bus), desktop_(desktop), spotcollector_(std::move(program_service)), tasks_(loop) {}

SimSpotCollector::~SimSpotCollector() { stop(); }

void SimSpotCollector::start() {
  tasks_.cancel_all();
  if (running_) return;
  running_ = true;
  if (desktop_ != nullptr) {
    window_ = desktop_->add_window(peers::kSpotCollectorTitle, [this] { stop(); });
  }
}

void SimSpotCollector::start_after(Millis delay) {
  tasks_.cancel_all();
  tasks_.after(delay, [this] { start(); });
}

void SimSpotCollector::stop() {
  tasks_.cancel_all();
  if (!running_) return;
  running_ = false;
  if (desktop_ != nullptr && window_) desktop_->remove_window(*window_);
  window_.reset();
}

peers::SentCommand SimSpotCollector::send_spot(const peers::Spot& spot) {
  return send_command(peers::setscnewentry_command(spot));
}

peers::SentCommand SimSpotCollector::send_command(const std::string& command) {
  if (!running_) throw RuntimeError(err::kInvalidProcedureCall, "SpotCollector is not running");
  peers::SentCommand sent{command, true, 0};
  try {
    bus_.execute(spotcollector_.program_service(), peers::kProgramSpotTopic, command, timeout_);
  } catch (const RuntimeError& error) {
    sent.accepted = false;
    sent.error = error.number();
  }
  spotcollector_.note_sent(sent);
  return sent;
}

}  // namespace vav::sim
