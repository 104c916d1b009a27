#pragma once
// A DXLab stand-in (Commander, DXKeeper, DXView, Pathfinder, PropView) as a Windows
// program: the peer's service, topics and items on raw WM_DDE_* messages or DDEML, every
// execute journaled with its answer, and the control commands of a test.
//
// Journal lines (besides the transport's connect/link/request/disconnect/close notes):
//   "start <service> <transport>", "execute accepted|refused|unanswered <topic> <command>"
//   (timestamped with the moment the execute arrived),
//   "item <topic> <item> <value>", "startnotice <outcome>", "exit", "late <ms>",
//   "late ends", and on raw messages "acknowledged late <topic> <command>".
// Control commands: answer, refuse, hang, close, exit, startnotice [service],
//   late <ms> [<for ms>] (raw messages only: every execute runs at once and is acknowledged
//   <ms> late, for <for ms> or until "late 0"),
//   tune <hz> and radiomode <mode> (Commander), spotprefix <prefix> (DXView).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "peers/dxlab_peer.h"
#include "peers/win32/control_channel.h"
#include "peers/win32/dde_service.h"
#include "peers/win32/ddeml_host.h"
#include "peers/win32/journal.h"
#include "peers/win32/task_queue.h"

namespace vav::peers::win32 {

// The stand-in for a program name as DXLab spells it ("DXKeeper"); nullptr for another.
std::unique_ptr<DxlabPeer> make_dxlab_peer(const std::string& program);
// Raw messages for Commander and DXKeeper, DDEML for the others.
Transport default_transport(const std::string& program);

class DxlabStandin final : public ServedProgram {
 public:
  DxlabStandin(std::unique_ptr<DxlabPeer> peer, Transport transport, DdemlHost& host,
               Journal& journal, TaskQueue& tasks, std::string program_service);
  ~DxlabStandin() override;

  DxlabPeer& peer() { return *peer_; }
  std::optional<ControlChannel::Action> control(const ControlCommand& command);

  bool has_topic(const std::string& topic) const override;
  std::optional<std::string> item(const std::string& topic, const std::string& item) const override;
  Answer execute(const std::string& topic, const std::string& command) override;
  void note(const std::string& line) override { journal_.write(line); }

 private:
  std::optional<std::string> topic_named(const std::string& topic) const;
  std::optional<ControlChannel::Action> program_control(const ControlCommand& command);
  void set_responsiveness(Responsiveness responsiveness);
  std::optional<ControlChannel::Action> late_control(const ControlCommand& command);
  void quit();

  std::unique_ptr<DxlabPeer> peer_;
  Journal& journal_;
  TaskQueue& tasks_;
  std::string program_service_;
  Transport transport_;
  std::uint64_t late_period_ = 0;  // counts "late" commands: a later one outlives the earlier's end
  std::unique_ptr<DdeService> service_;  // after the peer: withdrawn before it goes
};

}  // namespace vav::peers::win32
