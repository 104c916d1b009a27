#pragma once
// The command line of the peer programs: "--journal <folder>", "--transport raw|ddeml",
// "--program <service>" (the bridge's DDE service, "Vavizorur" unless given),
// "--timestamps" (journal lines begin with the performance counter in microseconds) and the
// positional words.
#include <string>
#include <vector>

namespace vav::peers::win32 {

struct StandinArgs {
  std::string journal_folder;
  std::string transport;
  std::string program_service = "Vavizorur";
  bool timestamps = false;
  std::vector<std::string> positional;
  std::string error;  // the first thing that could not be read; empty when all was
};

StandinArgs parse_standin_args(int argc, char** argv);

}  // namespace vav::peers::win32
