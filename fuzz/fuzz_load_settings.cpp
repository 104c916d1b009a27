// The settings file "Vavizorur.ini" as arbitrary bytes, loaded by the whole program on the
// simulated platform. Whatever the file holds, the program runs on, its frequency-control
// choice in step with its value and its list selection inside the list.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "sim_program.h"

namespace {

constexpr int kInputsPerStation = 2000;

// A running program beside MixW and DXKeeper, renewed now and then so that the simulated
// desktop's records of captions stay small.
vav::fuzzing::SimProgram& program() {
  static std::unique_ptr<vav::fuzzing::SimProgram> p;
  static int inputs = 0;
  if (!p || ++inputs % kInputsPerStation == 0) {
    p.reset();
    p = std::make_unique<vav::fuzzing::SimProgram>("vav_fuzz_settings");
    p->station.mixw().start();
    p->station.dxkeeper().start();
    p->start();
  }
  return *p;
}

}  // namespace

// Each input is loaded as a start-up would load it, into the running window.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using vav::fuzzing::check;
  auto& p = program();
  p.write_file("Vavizorur.ini", std::string(reinterpret_cast<const char*>(data), size));
  vav::QuandrelMain& app = *p.app;
  app.LoadSettings();
  p.loop.run_for(1);
  check(app.run_end() == vav::RunEnd::running);
  check(p.loop.escaped_errors() == 0);  // reported, not lost, but a fault all the same
  // The frequency-control choice matches the value: "MixW" exactly when index 0 is chosen.
  check(app.setup.Option1.selected() == 0 || app.setup.Option1.selected() == 1);
  check((app.setup.settings.FrequencyControl == "MixW") == (app.setup.Option1.selected() == 0));
  check(app.setup.Combo1.list_index() >= -1 && app.setup.Combo1.list_index() <= 4);
  check(p.loop.pending() <= 8);
  p.forget_journals();
  return 0;
}
