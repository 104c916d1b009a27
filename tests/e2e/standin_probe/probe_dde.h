#pragma once
// The DDE checks of standin_probe: a hot link that waits for a value, one execute, and a
// DDEML server that waits for an execute. Each optionally sends one control command once
// it is ready (so the command's effect cannot be missed), prints what it sees on stdout and
// returns the program's exit code.
#include <cstdint>
#include <optional>
#include <string>

namespace vav::peers::win32 {

struct ProbeTrigger {
  std::string service;  // a control service ("StandinMixW"); empty for none
  std::string command;
};

struct ProbeOptions {
  std::uint32_t timeout_ms = 5000;
  ProbeTrigger then;
  bool warm = false;    // a warm link: notices without data, the value requested after each
  bool closed = false;  // wait for the server to end the conversation instead of a value
};

// 0 when `expect` arrived on the link (as its value at link time or as an update), or with
// `closed` when the server ended the conversation; 1 when that did not happen in time, 3
// when no conversation opened.
int probe_link(const std::string& service, const std::string& topic, const std::string& item,
               const std::string& expect, const ProbeOptions& options);

// 0 accepted, 1 refused, 2 timed out, 3 no conversation, 4 other failure.
int probe_execute(const std::string& service, const std::string& topic, const std::string& command,
                  const ProbeOptions& options);

// Serves service|topic, accepting every execute; 0 when one beginning with `expect_prefix`
// (any letter case) arrived in time, 1 when none did.
int probe_serve(const std::string& service, const std::string& topic,
                const std::string& expect_prefix, const ProbeOptions& options);

// Sends the trigger's control command, if any; false when it was not accepted.
bool send_trigger(const ProbeTrigger& trigger);

}  // namespace vav::peers::win32
