#include "platform/sim/sim_screens.h"

#include <algorithm>
#include <cstdint>

namespace vav::sim {
namespace {

std::int64_t overlap(int begin_a, int length_a, int begin_b, int length_b) {
  const std::int64_t begin = std::max(begin_a, begin_b);
  const std::int64_t end = std::min(static_cast<std::int64_t>(begin_a) + length_a,
                                    static_cast<std::int64_t>(begin_b) + length_b);
  return end > begin ? end - begin : 0;
}

}  // namespace

const Monitor& SimScreens::monitor_of_rect(int x, int y, int cx, int cy) const {
  const Monitor* best = nullptr;
  std::int64_t best_area = 0;
  for (const Monitor& m : monitors_) {
    const std::int64_t area = overlap(x, cx, m.left, m.width) * overlap(y, cy, m.top, m.height);
    if (area > best_area) {
      best = &m;
      best_area = area;
    }
  }
  if (best) return *best;
  return monitor_at(monitors_, PixelPoint{x + cx / 2, y + cy / 2});
}

}  // namespace vav::sim
