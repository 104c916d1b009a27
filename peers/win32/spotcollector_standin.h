#pragma once
// SpotCollector's stand-in as a Windows program: a top-level window titled
// "SpotCollector" that ends the program on WM_CLOSE, and spot commands executed on the
// bridge's "DDEServer" topic through DDEML.
//
// Journal lines: "start SpotCollector", "sending <command>" (timestamped journals only),
//   "sent accepted <command>",
//   "sent <refused|timeout|noconversation|failed> <runtime error> <command>", "wm_close",
//   "exit".
// Control commands: spot <freq>|<qsx>|<mode>|<dxcall>|<logmode>|<spare>|<search>|<prefix>|
//   <grid> (positions 1 to 9 split at "|"; missing ones empty), command <execute text>, exit.
#include <optional>
#include <string>

#include "peers/spotcollector.h"
#include "peers/win32/control_channel.h"
#include "peers/win32/journal.h"
#include "peers/win32/peer_window.h"

namespace vav::peers::win32 {

inline constexpr std::uint32_t kSpotExecuteTimeoutMs = 2000;

// The nine positions of a "spot" control argument.
Spot spot_from_control(const std::string& text);

class SpotCollectorStandin {
 public:
  SpotCollectorStandin(Journal& journal, std::string program_service);

  std::optional<ControlChannel::Action> control(const ControlCommand& command);
  void send(const std::string& command);

 private:
  std::optional<LRESULT> on_message(UINT msg);

  Journal& journal_;
  SpotCollector spotcollector_;
  PeerWindow window_;
};

}  // namespace vav::peers::win32
