#include "tests/e2e/standin_probe/probe_dde.h"

#include <windows.h>
// windows.h first: the headers below need its types.
#include <ddeml.h>

#include <cstdio>
#include <vector>

#include "peers/peer_text.h"
#include "peers/win32/control_channel.h"
#include "peers/win32/ddeml_execute.h"
#include "peers/win32/ddeml_host.h"

namespace vav::peers::win32 {
namespace {

constexpr std::uint32_t kTransactionTimeoutMs = 5000;

template <class Done>
bool pump(std::uint32_t ms, Done done) {
  const DWORD start = GetTickCount();
  while (!done()) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return true;
}

// What the client callback of probe_link delivers; reached through the one thread-local
// pointer, since DDEML callbacks carry no pointer of ours.
struct LinkState {
  DWORD instance = 0;
  std::vector<std::string> values;
  int notices = 0;
  bool disconnected = false;
};
thread_local LinkState* t_link = nullptr;

std::string data_text(HDDEDATA data) {
  const DWORD size = DdeGetData(data, nullptr, 0, 0);
  std::string text(size, '\0');
  if (size > 0) DdeGetData(data, reinterpret_cast<LPBYTE>(text.data()), size, 0);
  if (const auto zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
  return text;
}

HDDEDATA CALLBACK link_callback(UINT type, UINT, HCONV, HSZ, HSZ, HDDEDATA data, ULONG_PTR,
                                ULONG_PTR) {
  if (t_link == nullptr) return nullptr;
  if (type == XTYP_DISCONNECT) t_link->disconnected = true;
  if (type != XTYP_ADVDATA) return nullptr;
  if (data == nullptr) {
    ++t_link->notices;
  } else {
    t_link->values.push_back(data_text(data));
    std::printf("data %s\n", t_link->values.back().c_str());
    std::fflush(stdout);
  }
  return reinterpret_cast<HDDEDATA>(static_cast<UINT_PTR>(DDE_FACK));
}

std::optional<std::string> request(HCONV conv, HSZ item) {
  DWORD result = 0;
  HDDEDATA data = DdeClientTransaction(nullptr, 0, conv, item, CF_TEXT, XTYP_REQUEST,
                                       kTransactionTimeoutMs, &result);
  if (data == nullptr) return std::nullopt;
  std::string text = data_text(data);
  DdeFreeDataHandle(data);
  return text;
}

// A served topic that takes every execute and remembers it.
class Catcher final : public ServedProgram {
 public:
  explicit Catcher(std::string topic) : topic_(std::move(topic)) {}
  bool has_topic(const std::string& topic) const override {
    return equals_ignoring_case(topic, topic_);
  }
  std::optional<std::string> item(const std::string&, const std::string&) const override {
    return std::string();
  }
  Answer execute(const std::string&, const std::string& command) override {
    std::printf("execute %s\n", command.c_str());
    std::fflush(stdout);
    executes.push_back(command);
    return Answer::accepted;
  }
  void note(const std::string&) override {}
  std::vector<std::string> executes;

 private:
  std::string topic_;
};

}  // namespace

bool send_trigger(const ProbeTrigger& trigger) {
  if (trigger.service.empty()) return true;
  const ExecuteResult result =
      execute_once(trigger.service, kControlTopic, trigger.command, kTransactionTimeoutMs);
  std::printf("control %s: %s\n", trigger.command.c_str(), outcome_word(result.outcome));
  std::fflush(stdout);
  return result.outcome == ExecuteOutcome::accepted;
}

int probe_link(const std::string& service, const std::string& topic, const std::string& item,
               const std::string& expect, const ProbeOptions& options) {
  LinkState state;
  if (DdeInitializeA(&state.instance, &link_callback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
    return 4;
  }
  t_link = &state;
  HSZ service_hsz = DdeCreateStringHandleA(state.instance, service.c_str(), CP_WINANSI);
  HSZ topic_hsz = DdeCreateStringHandleA(state.instance, topic.c_str(), CP_WINANSI);
  HSZ item_hsz = DdeCreateStringHandleA(state.instance, item.c_str(), CP_WINANSI);
  int code = 1;
  HCONV conv = DdeConnect(state.instance, service_hsz, topic_hsz, nullptr);
  if (conv == nullptr) {
    std::printf("noconversation\n");
    code = 3;
  } else {
    // Link first, then read the value: Wine's DDEML server acknowledges a request's data
    // once more, and the client's atom bookkeeping for that stray ack can delete the item
    // atom of an advise sent right after it.
    DWORD result = 0;
    const UINT type = options.warm ? XTYP_ADVSTART | XTYPF_NODATA : XTYP_ADVSTART;
    if (!DdeClientTransaction(nullptr, 0, conv, item_hsz, CF_TEXT, type, kTransactionTimeoutMs,
                              &result)) {
      std::printf("link refused\n");
    } else {
      std::printf("linked\n");
      const auto initial = request(conv, item_hsz);
      std::printf("initial %s\n", initial ? initial->c_str() : "(refused)");
      std::fflush(stdout);
      bool matched = initial && *initial == expect && options.then.service.empty();
      if (options.closed && send_trigger(options.then)) {
        // Wine's DDEML client gets no XTYP_DISCONNECT; the conversation only stops being
        // connected.
        matched = pump(options.timeout_ms, [&] {
          CONVINFO info{};
          info.cb = sizeof info;
          return state.disconnected || !DdeQueryConvInfo(conv, QID_SYNC, &info) ||
                 (info.wStatus & ST_CONNECTED) == 0;
        });
        std::printf("%s\n", matched ? "closed" : "still connected");
      } else if (!matched && send_trigger(options.then)) {
        int seen_notices = 0;
        matched = pump(options.timeout_ms, [&] {
          if (options.warm && state.notices > seen_notices) {
            seen_notices = state.notices;
            const auto now = request(conv, item_hsz);
            std::printf("notice %s\n", now ? now->c_str() : "(refused)");
            if (now && *now == expect) return true;
          }
          for (const auto& value : state.values) {
            if (value == expect) return true;
          }
          return false;
        });
      }
      code = matched ? 0 : 1;
      if (!matched && !options.closed) std::printf("expected %s, not seen\n", expect.c_str());
    }
    DdeDisconnect(conv);
  }
  DdeFreeStringHandle(state.instance, item_hsz);
  DdeFreeStringHandle(state.instance, topic_hsz);
  DdeFreeStringHandle(state.instance, service_hsz);
  DdeUninitialize(state.instance);
  t_link = nullptr;
  return code;
}

int probe_execute(const std::string& service, const std::string& topic, const std::string& command,
                  const ProbeOptions& options) {
  if (!send_trigger(options.then)) return 4;
  const ExecuteResult result = execute_once(service, topic, command, options.timeout_ms);
  std::printf("%s\n", outcome_word(result.outcome));
  switch (result.outcome) {
    case ExecuteOutcome::accepted:
      return 0;
    case ExecuteOutcome::refused:
      return 1;
    case ExecuteOutcome::timeout:
      return 2;
    case ExecuteOutcome::no_conversation:
      return 3;
    case ExecuteOutcome::failed:
      break;
  }
  return 4;
}

int probe_serve(const std::string& service, const std::string& topic,
                const std::string& expect_prefix, const ProbeOptions& options) {
  DdemlHost host;
  Catcher catcher(topic);
  DdemlService served(host, service, catcher);
  if (!send_trigger(options.then)) return 1;
  const bool seen = pump(options.timeout_ms, [&] {
    for (const auto& command : catcher.executes) {
      if (starts_with_ignoring_case(command, expect_prefix)) return true;
    }
    return false;
  });
  if (!seen) std::printf("no execute beginning %s\n", expect_prefix.c_str());
  return seen ? 0 : 1;
}

}  // namespace vav::peers::win32
