#pragma once
// The whole simulated station beside the program under test: MixW, Commander, DXKeeper,
// DXView, Pathfinder, PropView and SpotCollector, each absent until started. The loop,
// bus, automation registry and desktop must outlive the station.
#include <string>

#include "peers/commander.h"
#include "peers/dxkeeper.h"
#include "peers/lookup_peers.h"
#include "peers/sim/sim_dxlab_program.h"
#include "peers/sim/sim_mixw.h"
#include "peers/sim/sim_spotcollector.h"

namespace vav::sim {

class SimStation {
 public:
  // Without a desktop SpotCollector runs windowless. `program_service` is the DDE service
  // of the program under test, where SpotCollector sends its spots.
  SimStation(SimEventLoop& loop, SimDdeBus& bus, SimAutomation& automation,
             SimDesktop* desktop = nullptr,
             std::string program_service = peers::kDefaultProgramService);

  SimMixw& mixw() { return mixw_; }
  SimDxlab<peers::Commander>& commander() { return commander_; }
  SimDxlab<peers::DxKeeper>& dxkeeper() { return dxkeeper_; }
  SimDxlab<peers::DxView>& dxview() { return dxview_; }
  SimDxlab<peers::Pathfinder>& pathfinder() { return pathfinder_; }
  SimDxlab<peers::PropView>& propview() { return propview_; }
  SimSpotCollector& spotcollector() { return spotcollector_; }

  // Starts or stops every stand-in (MixW vanishes).
  void start_all();
  void stop_all();

 private:
  SimMixw mixw_;
  SimDxlab<peers::Commander> commander_;
  SimDxlab<peers::DxKeeper> dxkeeper_;
  SimDxlab<peers::DxView> dxview_;
  SimDxlab<peers::Pathfinder> pathfinder_;
  SimDxlab<peers::PropView> propview_;
  SimSpotCollector spotcollector_;
};

}  // namespace vav::sim
