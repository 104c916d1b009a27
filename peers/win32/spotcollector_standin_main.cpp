// spotcollector_standin.exe [--journal <folder>] [--program <bridge service>] [--timestamps]
// Owns the window "SpotCollector" and serves "StandinSpotCollector|Control" until WM_CLOSE,
// the control command "exit" or a WM_QUIT. Spots go to "<bridge service>|DDEServer".
#include <cstdio>

#include "peers/win32/control_channel.h"
#include "peers/win32/spotcollector_standin.h"
#include "peers/win32/standin_args.h"

using namespace vav::peers::win32;

int main(int argc, char** argv) {
  const StandinArgs args = parse_standin_args(argc, argv);
  if (!args.error.empty() || !args.positional.empty()) {
    std::fprintf(stderr,
                 "usage: spotcollector_standin [--journal folder] [--program service] "
                 "[--timestamps]\n%s\n",
                 args.error.c_str());
    return 2;
  }
  TaskQueue tasks;
  Journal journal(args.journal_folder, "SpotCollector", args.timestamps);
  DdemlHost host;
  SpotCollectorStandin spotcollector(journal, args.program_service);
  ControlChannel control(
      host, "SpotCollector", journal, tasks,
      [&spotcollector](const ControlCommand& c) { return spotcollector.control(c); });
  return run_message_loop();
}
