#pragma once
// The whole program on the simulated platform beside the simulated station, for the fuzz
// targets that feed it text from outside. One per process, in a folder of its own that is
// removed at exit; the stand-ins' journals are cleared per input so that memory stays flat.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/quandrel_main.h"
#include "peers/sim/sim_station.h"
#include "platform/sim/sim_automation.h"
#include "platform/sim/sim_dde.h"
#include "platform/sim/sim_dde_bus.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_event_loop.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_profile.h"
#include "platform/sim/sim_settings_store.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_window_frame.h"

namespace vav::fuzzing {

inline void check(bool condition) {
  if (!condition) std::abort();
}

// A memory-backed folder when there is one.
inline std::filesystem::path fuzz_folder(const char* name) {
  const std::filesystem::path shm = "/dev/shm";
  std::error_code ignored;
  const auto base =
      std::filesystem::is_directory(shm, ignored) ? shm : std::filesystem::temp_directory_path();
  auto folder = base / (std::string(name) + "_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  return folder;
}

struct SimProgram {
  explicit SimProgram(const char* name)
      : folder(fuzz_folder(name)), system(loop, folder.string()), platform{loop,       dde,
                                                                           automation, profile,
                                                                           store,      files,
                                                                           system,     desktop,
                                                                           frame} {}
  ~SimProgram() {
    app.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  std::string path(const std::string& file) const { return folder.string() + "\\" + file; }
  void write_file(const std::string& file, const std::string& text) {
    files.write_new(path(file), text);
  }
  // Starts a new run of the program (ending the one before without its unload steps).
  QuandrelMain& start() {
    app.reset();
    loop.resume();
    app = std::make_unique<QuandrelMain>(platform);
    app->Form_Load();
    loop.pump();
    return *app;
  }
  void forget_journals() {
    station.mixw().peer().clear_journal();
    station.commander().peer().clear_journal();
    station.dxkeeper().peer().clear_journal();
    desktop.clear_message_boxes();
  }

  std::filesystem::path folder;
  sim::SimEventLoop loop;
  sim::SimDdeBus bus{loop};
  sim::SimDde dde{bus};
  sim::SimAutomation automation;
  sim::SimFiles files;
  sim::SimProfileFiles profile{files};
  sim::SimSettingsStore store;
  sim::SimSystem system;
  sim::SimDesktop desktop{loop};
  sim::SimWindowFrame frame;
  Platform platform;
  sim::SimStation station{loop, bus, automation, &desktop};
  std::unique_ptr<QuandrelMain> app;
};

}  // namespace vav::fuzzing
