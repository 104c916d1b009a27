// standin_probe.exe: checks the stand-ins from outside, as the bridge would see them.
//   automation                     MixW2.Application: Mode, audiofq, ExecuteMacros, FqA
//   automation-gone                GetActiveObject fails
//   automation-vanish              a held reference fails after the --then command
//   link <svc> <topic> <item> <expect>   a hot (or --warm) link sees <expect>
//   execute <svc> <topic> <command>      prints accepted|refused|timeout|noconversation
//   serve <svc> <topic> <prefix>         a DDEML server waits for an execute with <prefix>
//   close-window <title>                 posts WM_CLOSE to the top-level window
// Options: --timeout <ms>, --then <control service> <command>, --warm, --closed (link: wait
// for the server to end the conversation instead of a value).
// Exit code 0 when the check holds (see probe_dde.h for execute's codes).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/e2e/standin_probe/probe_automation.h"
#include "tests/e2e/standin_probe/probe_dde.h"

using namespace vav::peers::win32;

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: standin_probe <automation|automation-gone|automation-vanish|link|execute|"
               "serve|close-window> args... [--timeout ms] [--then service command] [--warm] "
               "[--closed]\n");
  return 64;
}

int close_window(const std::string& title) {
  HWND window = FindWindowA(nullptr, title.c_str());
  std::printf("%s\n", window ? "found" : "not found");
  return window && PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> words;
  ProbeOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--timeout" && i + 1 < argc) {
      options.timeout_ms = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    } else if (arg == "--then" && i + 2 < argc) {
      options.then.service = argv[++i];
      options.then.command = argv[++i];
    } else if (arg == "--closed") {
      options.closed = true;
    } else if (arg == "--warm") {
      options.warm = true;
    } else {
      words.push_back(arg);
    }
  }
  if (words.empty()) return usage();
  const std::string& what = words[0];
  const std::size_t n = words.size();
  if (what == "automation" && n == 1) return probe_automation();
  if (what == "automation-gone" && n == 1) return probe_automation_gone();
  if (what == "automation-vanish" && n == 1) return probe_automation_vanish(options);
  if (what == "link" && n == 5) return probe_link(words[1], words[2], words[3], words[4], options);
  if (what == "execute" && n == 4) return probe_execute(words[1], words[2], words[3], options);
  if (what == "serve" && n == 4) return probe_serve(words[1], words[2], words[3], options);
  if (what == "close-window" && n == 2) return close_window(words[1]);
  return usage();
}
