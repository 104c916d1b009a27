// Spot commands as SpotCollector executes them on the program's "DDEServer" topic, arbitrary
// bytes, handed to the whole program on the simulated platform: the execute, then the
// one-shot timer and spot handling (frequency texts, MixW, Commander). The program must keep
// running with nothing left pending and the event loop's work bounded.
#include <cstddef>
#include <cstdint>
#include <string>

#include "errors/runtime_error.h"
#include "sim_program.h"

namespace {

vav::fuzzing::SimProgram& program() {
  static vav::fuzzing::SimProgram p("vav_fuzz_spot");
  static const bool ready = [] {
    auto* made = &p;
    made->write_file("Vavizorur.ini",
                     "[Settings]\r\nFrequencyControl=Commander\r\nConnectCommander=True\r\n");
    made->station.mixw().start();
    made->station.commander().start();
    made->start();
    made->loop.run_for(600);
    return true;
  }();
  static_cast<void>(ready);
  return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using vav::fuzzing::check;
  auto& p = program();
  const std::string command(reinterpret_cast<const char*>(data), size);
  bool accepted = true;
  try {
    p.bus.execute("Vavizorur", "DDEServer", command, 2000);
  } catch (const vav::RuntimeError&) {
    accepted = false;
  }
  // Only commands with an application index and a known word are accepted.
  if (accepted) check(size >= 3 && command[0] >= '0' && command[0] <= '9');
  p.loop.run_for(2);
  check(p.app->run_end() == vav::RunEnd::running);
  check(p.loop.escaped_errors() == 0);  // reported, not lost, but a fault all the same
  check(!p.app->spot_server.pending());
  check(p.loop.pending() <= 8);
  p.forget_journals();
  return 0;
}
