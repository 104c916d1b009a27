#pragma once
// One execute as a DDE client, on a DDEML instance of its own that lives for that execute
// only: Wine keeps a dead conversation in its instance and refuses a new one to the same
// service and topic, so a fresh instance is the only sure way to reach a restarted server.
//
// Hazard: the wait for the answer runs a modal message loop, so the caller's other window
// messages (and its posted tasks) can run inside it. Never call it from a DDEML callback.
#include <cstdint>
#include <string>

namespace vav::peers::win32 {

enum class ExecuteOutcome { accepted, refused, timeout, no_conversation, failed };

struct ExecuteResult {
  ExecuteOutcome outcome = ExecuteOutcome::failed;
  unsigned dde_error = 0;  // DdeGetLastError after a failure
};

ExecuteResult execute_once(const std::string& service, const std::string& topic,
                           const std::string& command, std::uint32_t timeout_ms);

// "accepted", "refused", "timeout", "noconversation", "failed".
const char* outcome_word(ExecuteOutcome outcome);

// The classic runtime error a DDE client reports for the outcome (0 when accepted).
int runtime_error_of(ExecuteOutcome outcome);

}  // namespace vav::peers::win32
