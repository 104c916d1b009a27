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
#include "platform/sim/sim_machine.h"

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

// Holds the folder so that it exists before the machine that lives in it, and removes it
// after the machine is gone.
struct FuzzFolder {
  explicit FuzzFolder(const char* name) : folder(fuzz_folder(name)) {}
  ~FuzzFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  std::filesystem::path folder;
};

struct SimProgram : FuzzFolder, sim::SimMachine {
  explicit SimProgram(const char* name) : FuzzFolder(name), sim::SimMachine(folder.string()) {}
  ~SimProgram() { app.reset(); }

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

  sim::SimStation station{loop, bus, automation, &desktop};
  std::unique_ptr<QuandrelMain> app;
};

}  // namespace vav::fuzzing
