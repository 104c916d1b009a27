// e2e_driver.exe log|spot <count> [seed]
// Plays the operator for the end-to-end benchmarks through the stand-ins' control topics:
//   log:  per QSO, MixW's operator fills the QSO window ("set Call Q1B<n>", reports, name,
//         date, times), then MixW writes the QSO ("write") and clears its window ("clear");
//   spot: per spot, SpotCollector sends a spot ("spot ...") to the bridge.
// The pauses between steps vary (a fixed pseudo-random sequence from the seed), so that the
// steps fall at every phase of the bridge's timers. The latencies themselves are read from
// the stand-ins' timestamped journals, not here. Exits 0 when every command was accepted.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "peers/win32/ddeml_execute.h"

using namespace vav::peers::win32;

namespace {

constexpr std::uint32_t kControlTimeoutMs = 5000;
// After a new call the bridge sends its lookups; after a write it clears the QSO and MixW
// resets its command item. Both are over well within these pauses.
constexpr DWORD kSettleMs = 300;
constexpr DWORD kJitterMs = 250;

bool control(const std::string& program, const std::string& command) {
  const ExecuteResult result =
      execute_once("Standin" + program, "Control", command, kControlTimeoutMs);
  if (result.outcome == ExecuteOutcome::accepted) return true;
  std::fprintf(stderr, "e2e_driver: %s: '%s' %s\n", program.c_str(), command.c_str(),
               outcome_word(result.outcome));
  return false;
}

// Waits while answering the messages sent to this thread: a DDE client's initiate is a
// broadcast sent to every top-level window and waits for each, so a program that sleeps
// without looking at its queue holds up every other program's connect.
void pause(DWORD ms) {
  const DWORD start = GetTickCount();
  for (DWORD elapsed = 0; elapsed < ms; elapsed = GetTickCount() - start) {
    MsgWaitForMultipleObjectsEx(0, nullptr, ms - elapsed, QS_ALLINPUT, 0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
}

std::string serial(int n) {
  char text[8];
  std::snprintf(text, sizeof text, "%04d", n);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: e2e_driver log|spot <count> [seed]\n");
    return 2;
  }
  const std::string what = argv[1];
  const int count = std::atoi(argv[2]);
  std::minstd_rand random(argc > 3 ? static_cast<unsigned>(std::atoi(argv[3])) : 1u);
  std::uniform_int_distribution<DWORD> jitter(0, kJitterMs);
  bool ok = true;
  for (int n = 1; n <= count && ok; ++n) {
    if (what == "log") {
      // A whole QSO: the operator fills MixW's QSO window, MixW writes it and clears the
      // window for the next one.
      for (const std::string& item :
           {"Call Q1B" + serial(n), std::string("RstRcv 599"), std::string("RstSnt 579"),
            std::string("Name Alice"), std::string("Date 06-Dec-2026"),
            "Time 20:" + serial(n % 60).substr(2), "EndTime 21:" + serial(n % 60).substr(2)}) {
        ok = ok && control("MixW", "set " + item);
      }
      pause(kSettleMs + jitter(random));
      ok = ok && control("MixW", "write");
      pause(kSettleMs);
      ok = ok && control("MixW", "clear");
    } else if (what == "spot") {
      ok = control("SpotCollector", "spot 14070.15||psk31|Q1S" + serial(n) + "|PSK31||||JN18");
    } else {
      std::fprintf(stderr, "e2e_driver: log or spot, not %s\n", what.c_str());
      return 2;
    }
    pause(kSettleMs + jitter(random));
  }
  return ok ? 0 : 1;
}
