#include "peers/win32/standin_args.h"

namespace vav::peers::win32 {

StandinArgs parse_standin_args(int argc, char** argv) {
  StandinArgs out;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--timestamps") {
      out.timestamps = true;
      continue;
    }
    std::string* target = arg == "--journal"     ? &out.journal_folder
                          : arg == "--transport" ? &out.transport
                          : arg == "--program"   ? &out.program_service
                                                 : nullptr;
    if (target == nullptr) {
      if (arg.starts_with("--") && out.error.empty()) out.error = "unknown option " + arg;
      if (!arg.starts_with("--")) out.positional.push_back(arg);
      continue;
    }
    if (i + 1 >= argc) {
      if (out.error.empty()) out.error = arg + " needs a value";
      break;
    }
    *target = argv[++i];
  }
  if (!out.transport.empty() && out.transport != "raw" && out.transport != "ddeml" &&
      out.error.empty()) {
    out.error = "--transport is raw or ddeml";
  }
  return out;
}

}  // namespace vav::peers::win32
