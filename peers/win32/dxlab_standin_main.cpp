// dxlab_standin.exe <Commander|DXKeeper|DXView|Pathfinder|PropView> [--journal <folder>]
//   [--transport raw|ddeml] [--program <bridge service>] [--timestamps]
// Serves the program's DDE service until "shutdown", the control command "exit", or a
// WM_QUIT. DXKeeper writes its log as ADIF to "<folder>\DXKeeper.adi".
#include <cstdio>

#include "peers/dxkeeper.h"
#include "peers/win32/control_channel.h"
#include "peers/win32/dxlab_standin.h"
#include "peers/win32/standin_args.h"

using namespace vav::peers;
using namespace vav::peers::win32;

int main(int argc, char** argv) {
  const StandinArgs args = parse_standin_args(argc, argv);
  auto peer = args.positional.size() == 1 ? make_dxlab_peer(args.positional[0]) : nullptr;
  if (!args.error.empty() || !peer) {
    std::fprintf(stderr,
                 "usage: dxlab_standin <Commander|DXKeeper|DXView|Pathfinder|PropView> "
                 "[--journal folder] [--transport raw|ddeml] [--program service] "
                 "[--timestamps]\n%s\n",
                 args.error.c_str());
    return 2;
  }
  const std::string program = args.positional[0];
  const Transport transport = args.transport.empty()    ? default_transport(program)
                              : args.transport == "raw" ? Transport::raw
                                                        : Transport::ddeml;
  if (auto* keeper = dynamic_cast<DxKeeper*>(peer.get())) {
    keeper->set_log_file(path_in(args.journal_folder, "DXKeeper.adi"));
  }
  const std::string name = peer->service() == "CI-V Commander" ? "Commander" : peer->service();
  TaskQueue tasks;
  Journal journal(args.journal_folder, name, args.timestamps);
  DdemlHost host;
  DxlabStandin standin(std::move(peer), transport, host, journal, tasks, args.program_service);
  ControlChannel control(host, name, journal, tasks,
                         [&standin](const ControlCommand& c) { return standin.control(c); });
  return run_message_loop();
}
