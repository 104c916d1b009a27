// mixw_standin.exe [--journal <folder>] [--transport ddeml|raw] [--timestamps]
//   (DDEML unless raw is asked)
// Registers "MixW2.Application", serves "MixW|QSO" and the control topic
// "StandinMixW|Control" until the control command "exit" or a WM_QUIT.
#include <cstdio>

#include "peers/win32/control_channel.h"
#include "peers/win32/mixw_standin.h"
#include "peers/win32/standin_args.h"

using namespace vav::peers::win32;

int main(int argc, char** argv) {
  const StandinArgs args = parse_standin_args(argc, argv);
  if (!args.error.empty() || !args.positional.empty()) {
    std::fprintf(stderr,
                 "usage: mixw_standin [--journal folder] [--transport ddeml|raw] "
                 "[--timestamps]\n%s\n",
                 args.error.c_str());
    return 2;
  }
  ComApartment com;
  if (!com.ok()) {
    std::fprintf(stderr, "mixw_standin: CoInitializeEx failed\n");
    return 1;
  }
  TaskQueue tasks;
  Journal journal(args.journal_folder, "MixW", args.timestamps);
  DdemlHost host;
  MixwStandin mixw(args.transport == "raw" ? Transport::raw : Transport::ddeml, host, journal,
                   tasks);
  ControlChannel control(host, "MixW", journal, tasks,
                         [&mixw](const ControlCommand& c) { return mixw.control(c); });
  return run_message_loop();
}
