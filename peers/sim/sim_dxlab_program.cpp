#include "peers/sim/sim_dxlab_program.h"

#include "errors/runtime_error.h"

namespace vav::sim {

SimDxlabProgram::SimDxlabProgram(SimEventLoop& loop, SimDdeBus& bus, peers::DxlabPeer& peer)
    : bus_(bus), peer_(peer), tasks_(loop) {
  peer_.set_item_sink(
      [this](const std::string& topic, const std::string& item, const std::string& value) {
        if (running_) bus_.advise(peer_.service(), topic, item, value);
      });
  // The acknowledgement goes out first; the program closes a moment later.
  peer_.set_exit_request([this] { tasks_.after(0, [this] { stop(); }); });
}

SimDxlabProgram::~SimDxlabProgram() {
  stop();
  peer_.set_item_sink(nullptr);
  peer_.set_exit_request(nullptr);
}

void SimDxlabProgram::start() {
  if (late_start_ != 0) tasks_.cancel(late_start_);
  late_start_ = 0;
  if (running_) return;
  running_ = true;
  for (const auto& topic : peer_.topics()) {
    ServerTopic server;
    server.on_link = [this, topic](const std::string& item) { return peer_.item(topic, item); };
    server.on_execute = [this](const std::string& command) {
      if (die_after_running_next_) {
        // Runs the command, then vanishes before acknowledging it.
        die_after_running_next_ = false;
        peer_.execute(command);
        crash();
        return Reply::hang;
      }
      switch (peer_.execute(command)) {
        case peers::Answer::accepted:
          return Reply::accept;
        case peers::Answer::refused:
          return Reply::refuse;
        case peers::Answer::none:
          break;
      }
      return Reply::hang;
    };
    bus_.start_server(peer_.service(), topic, std::move(server));
  }
  set_bus_hanging(whole_program_hung_);
}

void SimDxlabProgram::start_after(Millis delay) {
  if (late_start_ != 0) tasks_.cancel(late_start_);
  late_start_ = tasks_.after(delay, [this] {
    late_start_ = 0;
    start();
  });
}

void SimDxlabProgram::stop() {
  tasks_.cancel_all();
  late_start_ = 0;
  if (!running_) return;
  running_ = false;
  for (const auto& topic : peer_.topics()) bus_.stop_server(peer_.service(), topic);
}

void SimDxlabProgram::crash() {
  tasks_.cancel_all();
  late_start_ = 0;
  if (!running_) return;
  running_ = false;
  for (const auto& topic : peer_.topics()) bus_.crash_server(peer_.service(), topic);
}

void SimDxlabProgram::answer() {
  peer_.set_responsiveness(peers::Responsiveness::answering);
  die_after_running_next_ = false;
  answer_delay_ = 0;
  holding_ = false;
  set_bus_hanging(false);
}

void SimDxlabProgram::answer_late(Millis delay) {
  peer_.set_responsiveness(peers::Responsiveness::answering);
  answer_delay_ = delay;
  holding_ = false;
  set_bus_hanging(false);
}

void SimDxlabProgram::die_after_running_next_execute() { die_after_running_next_ = true; }

std::size_t SimDxlabProgram::held_executes() const {
  std::size_t count = 0;
  for (const auto& topic : peer_.topics()) count += bus_.held_count(peer_.service(), topic);
  return count;
}

void SimDxlabProgram::refuse_executes() {
  peer_.set_responsiveness(peers::Responsiveness::refusing);
  holding_ = false;
  set_bus_hanging(false);
}

void SimDxlabProgram::hang_executes() {
  peer_.set_responsiveness(peers::Responsiveness::answering);
  holding_ = true;
  set_bus_hanging(false);
}

void SimDxlabProgram::hang() {
  peer_.set_responsiveness(peers::Responsiveness::answering);
  holding_ = true;
  set_bus_hanging(true);
}

void SimDxlabProgram::close_conversations() {
  for (const auto& topic : peer_.topics()) bus_.close_conversations(peer_.service(), topic);
}

std::size_t SimDxlabProgram::conversation_count() const {
  std::size_t count = 0;
  for (const auto& topic : peer_.topics()) count += bus_.conversation_count(peer_.service(), topic);
  return count;
}

bool SimDxlabProgram::send_start_notice(const std::string& program_service, Millis timeout) {
  try {
    bus_.execute(program_service, "DDEClient", peer_.start_notice(), timeout);
    return true;
  } catch (const RuntimeError&) {
    return false;
  }
}

void SimDxlabProgram::set_bus_hanging(bool hanging) {
  whole_program_hung_ = hanging;
  if (!running_) return;
  for (const auto& topic : peer_.topics()) {
    bus_.set_answer_delay(peer_.service(), topic, answer_delay_);
    bus_.set_holding(peer_.service(), topic, holding_);
    bus_.set_hanging(peer_.service(), topic, hanging);
  }
}

}  // namespace vav::sim
