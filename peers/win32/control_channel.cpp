#include "peers/win32/control_channel.h"

#include "peers/peer_text.h"

namespace vav::peers::win32 {

ControlCommand parse_control(const std::string& text) {
  ControlCommand out;
  const auto blank = text.find(' ');
  out.word = ascii_lower(text.substr(0, blank));
  if (blank != std::string::npos) out.rest = text.substr(blank + 1);
  std::size_t start = 0;
  while (start < out.rest.size()) {
    const auto end = out.rest.find(' ', start);
    const auto stop = end == std::string::npos ? out.rest.size() : end;
    if (stop > start) out.args.push_back(out.rest.substr(start, stop - start));
    start = stop + 1;
  }
  return out;
}

ControlChannel::ControlChannel(DdemlHost& host, const std::string& program, Journal& journal,
                               TaskQueue& tasks, Interpreter interpreter)
    : journal_(journal),
      tasks_(tasks),
      interpreter_(std::move(interpreter)),
      service_(host, kControlServicePrefix + program, *this) {}

bool ControlChannel::has_topic(const std::string& topic) const {
  return equals_ignoring_case(topic, kControlTopic);
}

Answer ControlChannel::execute(const std::string&, const std::string& command) {
  journal_.write("control " + command);
  const ControlCommand parsed = parse_control(command);
  if (parsed.word == "ping") return Answer::accepted;
  auto action = interpreter_(parsed);
  if (!action) {
    journal_.write("control refused " + command);
    return Answer::refused;
  }
  pending_.push_back(std::move(*action));
  tasks_.after(kActionDelayMs, [this] { run_pending(); });
  return Answer::accepted;
}

void ControlChannel::note(const std::string& line) {
  if (line.starts_with("disconnect")) tasks_.post([this] { run_pending(); });
}

void ControlChannel::run_pending() {
  while (!pending_.empty()) {
    Action action = std::move(pending_.front());
    pending_.pop_front();
    action();
  }
}

}  // namespace vav::peers::win32
