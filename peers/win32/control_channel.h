#pragma once
// How a test drives a peer program: the DDE service "Standin<Program>" with the topic
// "Control", whose executes are control commands ("refuse", "set Call Q1ABC"). A command
// is a word (any letter case) and the rest of the line as its argument. The command is
// checked at once (an unknown word or a bad argument is refused) and carried out outside
// the DDE transaction, once the controller has ended its conversation (or kActionDelayMs
// after the acknowledgement, whichever comes first). "ping" is always accepted and does
// nothing. Each command is journaled as "control <text>" and, when refused,
// "control refused <text>".
//
// Hazard: a command whose action opens a DDE conversation (a spot, a start notice) must not
// run while the controller still waits for the end of its own conversation: each side's
// synchronous DDEML call would wait for the other until both time out.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "peers/win32/ddeml_host.h"
#include "peers/win32/journal.h"
#include "peers/win32/task_queue.h"

namespace vav::peers::win32 {

inline constexpr const char* kControlTopic = "Control";
inline constexpr const char* kControlServicePrefix = "Standin";
inline constexpr std::uint32_t kActionDelayMs = 1000;

struct ControlCommand {
  std::string word;               // lower case
  std::string rest;               // everything after the word and one blank, as sent
  std::vector<std::string> args;  // rest split at blanks
};

ControlCommand parse_control(const std::string& text);

class ControlChannel final : public ServedProgram {
 public:
  using Action = std::function<void()>;
  // nullopt refuses the command.
  using Interpreter = std::function<std::optional<Action>(const ControlCommand&)>;

  ControlChannel(DdemlHost& host, const std::string& program, Journal& journal, TaskQueue& tasks,
                 Interpreter interpreter);

  bool has_topic(const std::string& topic) const override;
  std::optional<std::string> item(const std::string&, const std::string&) const override {
    return std::nullopt;
  }
  Answer execute(const std::string& topic, const std::string& command) override;
  void note(const std::string& line) override;

 private:
  void run_pending();

  Journal& journal_;
  TaskQueue& tasks_;
  Interpreter interpreter_;
  std::deque<Action> pending_;
  DdemlService service_;  // last: withdrawn before the rest goes
};

}  // namespace vav::peers::win32
