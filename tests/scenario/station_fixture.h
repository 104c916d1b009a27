#pragma once
// The whole program on the simulated platform, beside the simulated station, in virtual
// time. A test starts the neighbours it wants, starts the program and moves the clock.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/quandrel_main.h"
#include "peers/sim/sim_station.h"
#include "platform/sim/sim_machine.h"
#include "unit/sim_temp_folder.h"

namespace vav::testing {

// Holds the test's folder so that it exists before the machine that lives in it.
struct TestFolderHolder {
  sim::testing::TempFolder folder;
};

// A spot as SpotCollector hands it over when the operator picks it.
inline peers::Spot spot(const char* khz, const char* mode, const char* call, const char* log_mode) {
  peers::Spot s;
  s.frequency_khz = khz;
  s.mode = mode;
  s.callsign = call;
  s.log_mode = log_mode;
  s.prefix = "VK";
  s.grid = "QF56";
  return s;
}

class StationTest : public ::testing::Test, protected TestFolderHolder, protected sim::SimMachine {
 protected:
  StationTest() : sim::SimMachine(folder.path().string()) {}

  ~StationTest() override { app.reset(); }

  // The program reports an exception that escapes a handler into the event loop and goes on;
  // a test fails on one all the same, unless it throws it on purpose.
  void TearDown() override {
    EXPECT_EQ(loop.escaped_errors(), escapes_expected)
        << "an exception escaped a handler into the event loop; ErrorLog.txt:\n"
        << read_file("ErrorLog.txt");
  }

  // Writes a settings file before the program starts ("Key=Value" lines of [Settings]).
  void write_settings(const std::vector<std::string>& lines) {
    std::string text = "[Settings]\r\n";
    for (const auto& line : lines) text += line + "\r\n";
    files.write_new(path("Vavizorur.ini"), text);
  }
  void write_file(const std::string& name, const std::string& text) {
    files.write_new(path(name), text);
  }
  std::string read_file(const std::string& name) {
    return files.read_all(path(name)).value_or("<missing>");
  }
  std::string path(const std::string& name) const { return folder.windows_path(name); }
  std::string setting(const std::string& key) {
    return profile.read_string(path("Vavizorur.ini"), "Settings", key);
  }

  // Starts the program; with MixW running the load completes at once.
  QuandrelMain& start_program() {
    app.reset();
    loop.resume();
    app = std::make_unique<QuandrelMain>(platform);
    app->Form_Load();
    loop.pump();
    return *app;
  }
  // Ends the program as the user would and starts a new one on the same machine.
  QuandrelMain& restart_program() {
    if (app) app->Close();
    app.reset();
    return start_program();
  }
  void run_for(Millis ms) { loop.run_for(ms); }

  sim::SimStation station{loop, bus, automation, &desktop};
  std::unique_ptr<QuandrelMain> app;
  int escapes_expected = 0;
};

}  // namespace vav::testing
