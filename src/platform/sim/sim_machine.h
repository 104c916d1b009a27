#pragma once
// One simulated machine: every simulated adapter wired to the others, and the Platform
// bundle over them that the program runs on. Tests and fuzz targets build the program and
// the station simulator on top of it.
#include <string>

#include "platform/platform.h"
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

namespace vav::sim {

struct SimMachine {
  explicit SimMachine(std::string program_folder)
      : system(loop, std::move(program_folder)), platform{loop,  dde,    automation, profile, store,
                                                          files, system, desktop,    frame} {}
  SimMachine(const SimMachine&) = delete;
  SimMachine& operator=(const SimMachine&) = delete;

  // The primary monitor's resolution, as the desktop reports it; the window is made anew on
  // it, its geometry in twips kept.
  void set_screen_dpi(int dpi) {
    const TwipsPoint position{frame.left(), frame.top()};
    const int width = frame.width(), height = frame.height();
    desktop.set_dpi(dpi);
    frame.make_anew(position, width, height);
  }

  SimEventLoop loop;
  SimDdeBus bus{loop};
  SimDde dde{bus};
  SimAutomation automation;
  SimFiles files;
  SimProfileFiles profile{files};
  SimSettingsStore store;
  SimSystem system;
  SimDesktop desktop{loop};
  SimWindowFrame frame{desktop.screens()};
  Platform platform;
};

}  // namespace vav::sim
