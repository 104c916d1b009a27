#pragma once
// The real main window, bound to the logic, on the simulated station: every adapter is the
// simulated one except the window frame and the desktop. Runs under Wine with a display.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/quandrel_main.h"
#include "peers/sim/sim_station.h"
#include "platform/sim/sim_automation.h"
#include "platform/sim/sim_dde.h"
#include "platform/sim/sim_dde_bus.h"
#include "platform/sim/sim_event_loop.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_profile.h"
#include "platform/sim/sim_settings_store.h"
#include "platform/sim/sim_system.h"
#include "platform/win32/win_desktop.h"
#include "platform/win32/win_window_frame.h"
#include "ui/win32/main_window.h"
#include "ui/win32/main_window_binding.h"
#include "unit/sim_temp_folder.h"

namespace vav::ui::testing {

// Everything shown: the contest exchange and the Commander settings included.
inline const std::vector<std::string> kEverythingShown = {
    "ShowContest=True", "ConnectCommander=True", "FrequencyControl=Commander"};

// The station worked in every test: each QSO field has a value.
peers::Contact worked_station();

// Writes a picture of the window, children included, as a BMP file.
void save_bmp(HWND window, const std::filesystem::path& file);
// $VAV_SCREENSHOTS, default ./screenshots; created when missing.
std::filesystem::path screenshot_folder();

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest();
  ~MainWindowTest() override;

  // Writes the settings file, starts MixW with the worked station in its QSO window, loads
  // the program and shows its window.
  void start(const std::vector<std::string>& settings_lines);

  // Dispatches the window messages waiting and repaints the window.
  void settle();
  std::string text_of(int id) const;
  std::string setting(const std::string& key);
  // MixW writes a QSO with this call, the worked station's fields otherwise.
  void write_qso(const std::string& call);
  // With DXKeeper linked and running: K1SET refused at three passes and set aside, K2LOG
  // logged, then DXKeeper gone and K3WAIT and K4WAIT waiting.
  void fill_outbox();

  sim::testing::TempFolder folder;
  sim::SimEventLoop loop;
  sim::SimDdeBus bus{loop};
  sim::SimDde dde{bus};
  sim::SimAutomation automation;
  sim::SimFiles files;
  sim::SimProfileFiles profile{files};
  sim::SimSettingsStore store;
  sim::SimSystem system;
  win32::WinDesktop desktop{loop};
  MainWindow window{GetModuleHandleA(nullptr), loop.boundary()};
  win32::WinWindowFrame frame{window.hwnd(), loop.boundary()};
  Platform platform;
  sim::SimStation station{loop, bus, automation, nullptr};
  std::unique_ptr<QuandrelMain> app;
  std::unique_ptr<MainWindowBinding> binding;
};

}  // namespace vav::ui::testing
