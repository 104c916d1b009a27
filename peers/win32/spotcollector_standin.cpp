#include "peers/win32/spotcollector_standin.h"

#include "peers/win32/ddeml_execute.h"

namespace vav::peers::win32 {

Spot spot_from_control(const std::string& text) {
  Spot spot;
  std::string* positions[] = {&spot.frequency_khz, &spot.qsx,      &spot.mode,
                              &spot.callsign,      &spot.log_mode, &spot.spare,
                              &spot.search,        &spot.prefix,   &spot.grid};
  std::size_t start = 0;
  for (std::string* position : positions) {
    if (start > text.size()) break;
    const auto bar = text.find('|', start);
    const auto stop = bar == std::string::npos ? text.size() : bar;
    *position = text.substr(start, stop - start);
    start = stop + 1;
  }
  return spot;
}

SpotCollectorStandin::SpotCollectorStandin(Journal& journal, std::string program_service)
    : journal_(journal),
      spotcollector_(std::move(program_service)),
      window_(
          PeerWindow::Kind::visible_top_level,
          [this](UINT msg, WPARAM, LPARAM) { return on_message(msg); }, kSpotCollectorTitle) {
  journal_.write("start SpotCollector");
}

std::optional<LRESULT> SpotCollectorStandin::on_message(UINT msg) {
  if (msg != WM_CLOSE) return std::nullopt;
  journal_.write("wm_close");
  PostQuitMessage(0);
  return 0;
}

void SpotCollectorStandin::send(const std::string& command) {
  // The moment the execute starts, for latency measurements; not journaled otherwise.
  if (journal_.timestamped()) journal_.write("sending " + command);
  const ExecuteResult result = execute_once(spotcollector_.program_service(), kProgramSpotTopic,
                                            command, kSpotExecuteTimeoutMs);
  const int error = runtime_error_of(result.outcome);
  spotcollector_.note_sent({command, error == 0, error});
  if (error == 0) {
    journal_.write("sent accepted " + command);
  } else {
    journal_.write(std::string("sent ") + outcome_word(result.outcome) + " " +
                   std::to_string(error) + " " + command);
  }
}

std::optional<ControlChannel::Action> SpotCollectorStandin::control(const ControlCommand& command) {
  if (command.word == "spot") {
    return [this, text = setscnewentry_command(spot_from_control(command.rest))] { send(text); };
  }
  if (command.word == "command" && !command.rest.empty()) {
    return [this, text = command.rest] { send(text); };
  }
  if (command.word == "exit") {
    return [this] {
      journal_.write("exit");
      PostQuitMessage(0);
    };
  }
  return std::nullopt;
}

}  // namespace vav::peers::win32
