#include "peers/sim/sim_station.h"

namespace vav::sim {

SimStation::SimStation(SimEventLoop& loop, SimDdeBus& bus, SimAutomation& automation,
                       SimDesktop* desktop, std::string program_service)
    : mixw_(loop, bus, automation),
      commander_(loop, bus),
      dxkeeper_(loop, bus),
      dxview_(loop, bus),
      pathfinder_(loop, bus),
      propview_(loop, bus),
      spotcollector_(loop, bus, desktop, std::move(program_service)) {}

void SimStation::start_all() {
  mixw_.start();
  commander_.start();
  dxkeeper_.start();
  dxview_.start();
  pathfinder_.start();
  propview_.start();
  spotcollector_.start();
}

void SimStation::stop_all() {
  spotcollector_.stop();
  propview_.stop();
  pathfinder_.stop();
  dxview_.stop();
  dxkeeper_.stop();
  commander_.stop();
  mixw_.vanish();
}

}  // namespace vav::sim
