// standin_ctl.exe [--wait <ms>] <service> <command...>
// standin_ctl.exe --close-window <title>
// Executes one control command on "<service>|Control" and exits 0 when it was accepted,
// 1 when not (the reason on stderr), 2 for a bad command line. --close-window posts WM_CLOSE
// to the top-level window with exactly that title, as the user closing it would (0 when
// there was one). A service not beginning with
// "Standin" gets that prefix ("DXKeeper" means "StandinDXKeeper"). With --wait the command
// is repeated every 100 ms until accepted or the time is up (to wait for a stand-in that is
// still starting).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "peers/peer_text.h"
#include "peers/win32/control_channel.h"
#include "peers/win32/ddeml_execute.h"

using namespace vav::peers;
using namespace vav::peers::win32;

namespace {
constexpr std::uint32_t kControlTimeoutMs = 5000;
constexpr DWORD kRetryMs = 100;
}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--close-window") {
    HWND window = FindWindowA(nullptr, argv[2]);
    return window && PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
  }
  int first = 1;
  DWORD wait_ms = 0;
  if (argc > 2 && std::string(argv[1]) == "--wait") {
    wait_ms = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10));
    first = 3;
  }
  if (argc - first < 2) {
    std::fprintf(stderr, "usage: standin_ctl [--wait ms] <service> <command...>\n");
    return 2;
  }
  std::string service = argv[first];
  if (!starts_with_ignoring_case(service, kControlServicePrefix)) {
    service = kControlServicePrefix + service;
  }
  std::string command;
  for (int i = first + 1; i < argc; ++i) {
    if (i > first + 1) command += ' ';
    command += argv[i];
  }
  const DWORD start = GetTickCount();
  for (;;) {
    const ExecuteResult result = execute_once(service, kControlTopic, command, kControlTimeoutMs);
    if (result.outcome == ExecuteOutcome::accepted) return 0;
    if (GetTickCount() - start >= wait_ms) {
      std::fprintf(stderr, "standin_ctl: %s: %s (DDE error 0x%x)\n", service.c_str(),
                   outcome_word(result.outcome), result.dde_error);
      return 1;
    }
    Sleep(kRetryMs);  // a command-line tool polling for a starting program, not a test
  }
}
