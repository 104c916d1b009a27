#pragma once
// The simulated desktop's monitors: by default one 96-dpi monitor of 1920 x 1080 pixels. The
// first is the primary monitor, at 0, 0; the others lie around it in desktop pixels, never
// overlapping it or each other, each at its own resolution.
#include <span>
#include <utility>
#include <vector>

#include "platform/screen_position.h"

namespace vav::sim {

class SimScreens {
 public:
  SimScreens() : monitors_{Monitor{0, 0, 1920, 1080, 96}} {}

  std::span<const Monitor> monitors() const { return monitors_; }
  const Monitor& primary() const { return monitors_.front(); }

  // Replaces the monitors; the list must not be empty, and its first is the primary.
  void set_monitors(std::vector<Monitor> monitors) { monitors_ = std::move(monitors); }
  void set_primary_dpi(int dpi) { monitors_.front().dpi = dpi; }

  // The monitor holding the largest part of the rectangle, as MonitorFromRect with
  // MONITOR_DEFAULTTONEAREST: Windows gives a window the resolution of that monitor. A
  // rectangle on no monitor goes to the one nearest its centre.
  const Monitor& monitor_of_rect(int x, int y, int cx, int cy) const;

 private:
  std::vector<Monitor> monitors_;
};

}  // namespace vav::sim
