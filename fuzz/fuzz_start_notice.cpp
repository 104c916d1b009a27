// Start notices as a DXLab program executes them on the program's "DDEClient" topic,
// arbitrary bytes, on the whole program on the simulated platform. A notice is accepted
// exactly when it is three digits naming an application followed by "start" in any letter
// case; whatever it is, the program goes on.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/conversions.h"
#include "errors/runtime_error.h"
#include "sim_program.h"

namespace {

vav::fuzzing::SimProgram& program() {
  static vav::fuzzing::SimProgram p("vav_fuzz_notice");
  static const bool ready = [] {
    auto* made = &p;
    made->station.mixw().start();
    made->station.dxkeeper().start();
    made->start();
    return true;
  }();
  static_cast<void>(ready);
  return p;
}

bool is_start_notice(const std::string& command) {
  if (command.size() < 3) return false;
  for (int i = 0; i < 3; ++i) {
    if (command[i] < '0' || command[i] > '9') return false;
  }
  return std::stoi(command.substr(0, 3)) < vav::dxlab::kServerCount &&
         vav::to_lower(command.substr(3)) == "start";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using vav::fuzzing::check;
  auto& p = program();
  const std::string command(reinterpret_cast<const char*>(data), size);
  // The module itself, then the same text through the DDE topic.
  check(p.app->clients.StartNotice(command) == is_start_notice(command));
  bool accepted = true;
  try {
    p.bus.execute("Vavizorur", "DDEClient", command, 2000);
  } catch (const vav::RuntimeError&) {
    accepted = false;
  }
  check(accepted == is_start_notice(command));
  p.loop.run_for(1);
  check(p.app->run_end() == vav::RunEnd::running);
  check(p.loop.escaped_errors() == 0);  // reported, not lost, but a fault all the same
  check(p.loop.pending() <= 8);
  p.forget_journals();
  return 0;
}
