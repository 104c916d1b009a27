#pragma once
// The stand-ins that only take commands: DXView ("lookup", and the "SpotPrefix" item it
// keeps), Pathfinder ("getqslinfo") and PropView (no command of its own). Each notes what it
// was asked and closes on "shutdown".
#include <string>
#include <vector>

#include "peers/dxlab_peer.h"

namespace vav::peers {

inline constexpr const char* kDxViewService = "DXView";
inline constexpr const char* kPathfinderService = "Pathfinder";
inline constexpr const char* kPropViewService = "PropView";

class DxView final : public DxlabPeer {
 public:
  DxView();
  // Callsigns of "lookup" commands, in order.
  const std::vector<std::string>& looked_up() const { return looked_up_; }
  // The prefix DXView shows for the spot the operator selected in it.
  void select_spot_prefix(const std::string& prefix);

 protected:
  void act(const DxlabCommand& command) override;

 private:
  std::vector<std::string> looked_up_;
};

class Pathfinder final : public DxlabPeer {
 public:
  Pathfinder();
  // Values of the "callsign" field of "getqslinfo" commands, in order (empty when missing).
  const std::vector<std::string>& queried() const { return queried_; }

 protected:
  void act(const DxlabCommand& command) override;

 private:
  std::vector<std::string> queried_;
};

class PropView final : public DxlabPeer {
 public:
  PropView();
};

}  // namespace vav::peers
