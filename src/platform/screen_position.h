#pragma once
// A window's place on a desktop of several monitors, each with its own resolution, in twips.
//
// Pixels are the desktop's physical pixels; monitors never overlap in them. A position in
// twips must name one monitor and one pixel, so that a window put back at a stored position
// lands on the monitor it was left on. Converting the whole pixel coordinate at the
// monitor's resolution cannot do that: with a 96-dpi primary 1920 pixels wide and a 144-dpi
// monitor to its right, 24000 twips would be both x = 1600 on the primary and x = 2400 on
// the other. So a monitor's origin counts 15 twips per pixel (96 dpi, the smallest
// resolution Windows scales to), and a position on it counts from that origin at the
// monitor's own resolution. Each monitor then spans at most its own 96-dpi extent in twips,
// and those never overlap. On the primary monitor (origin 0, 0) this is the plain
// conversion at its resolution (twips.h).
#include <cstdint>
#include <optional>
#include <span>

#include "platform/twips.h"

namespace vav {

struct PixelPoint {
  int x = 0, y = 0;
  bool operator==(const PixelPoint&) const = default;
};

struct TwipsPoint {
  int x = 0, y = 0;
  bool operator==(const TwipsPoint&) const = default;
};

// One monitor: its area in desktop pixels and its pixels per inch.
struct Monitor {
  int left = 0, top = 0, width = 0, height = 0;
  int dpi = 96;
  bool operator==(const Monitor&) const = default;
};

inline constexpr int kOriginTwipsPerPixel = kTwipsPerInch / 96;

namespace screen_detail {

// Distance from `value` to [begin, begin + length) along one axis; 0 inside.
constexpr std::int64_t gap(int value, int begin, int length) {
  if (value < begin) return static_cast<std::int64_t>(begin) - value;
  const std::int64_t end = static_cast<std::int64_t>(begin) + length - 1;
  return value > end ? value - end : 0;
}

constexpr std::int64_t squared_distance(const Monitor& m, PixelPoint p) {
  const std::int64_t dx = gap(p.x, m.left, m.width), dy = gap(p.y, m.top, m.height);
  return dx * dx + dy * dy;
}

constexpr int origin_twips(int pixels) { return pixels * kOriginTwipsPerPixel; }

constexpr bool holds(const Monitor& m, TwipsPoint t) {
  const int x = t.x - origin_twips(m.left), y = t.y - origin_twips(m.top);
  return x >= 0 && y >= 0 && x < pixels_to_twips(m.width, m.dpi) &&
         y < pixels_to_twips(m.height, m.dpi);
}

constexpr PixelPoint on_monitor(const Monitor& m, TwipsPoint t) {
  return {m.left + twips_to_pixels(t.x - origin_twips(m.left), m.dpi),
          m.top + twips_to_pixels(t.y - origin_twips(m.top), m.dpi)};
}

}  // namespace screen_detail

// The monitor that holds the point, else the nearest one, as MonitorFromPoint with
// MONITOR_DEFAULTTONEAREST; on a tie the earlier in the list. The list must not be empty.
constexpr const Monitor& monitor_at(std::span<const Monitor> monitors, PixelPoint p) {
  const Monitor* best = &monitors.front();
  for (const Monitor& m : monitors) {
    if (screen_detail::squared_distance(m, p) < screen_detail::squared_distance(*best, p)) {
      best = &m;
    }
  }
  return *best;
}

// A pixel position in twips, on the monitor that holds it (or the nearest).
constexpr TwipsPoint to_twips(std::span<const Monitor> monitors, PixelPoint p) {
  const Monitor& m = monitor_at(monitors, p);
  return {screen_detail::origin_twips(m.left) + pixels_to_twips(p.x - m.left, m.dpi),
          screen_detail::origin_twips(m.top) + pixels_to_twips(p.y - m.top, m.dpi)};
}

// The pixel a position in twips names: on the monitor whose twips hold it; off every
// monitor, the pixel that to_twips gives this position from, reckoned from the first
// monitor for which it does; failing that, from the first monitor. to_pixels(to_twips(p))
// is p for every pixel on a monitor of 96 dpi or more.
constexpr PixelPoint to_pixels(std::span<const Monitor> monitors, TwipsPoint t) {
  for (const Monitor& m : monitors) {
    if (screen_detail::holds(m, t)) return screen_detail::on_monitor(m, t);
  }
  for (const Monitor& m : monitors) {
    const PixelPoint p = screen_detail::on_monitor(m, t);
    if (monitor_at(monitors, p) == m) return p;
  }
  return screen_detail::on_monitor(monitors.front(), t);
}

// A window's position in twips over the pixels it really has. Most twips fall between two
// pixels, so converting back would give a neighbour of the value set; while the window stands
// on the pixels a position was set to, on the same monitor, the position set is what it
// reads: a position restored and stored again without a move is unchanged.
class TwipsPosition {
 public:
  PixelPoint set(TwipsPoint twips, std::span<const Monitor> monitors) {
    const PixelPoint pixels = to_pixels(monitors, twips);
    set_ = Set{twips, pixels, monitor_at(monitors, pixels)};
    return pixels;
  }
  TwipsPoint twips(PixelPoint pixels, std::span<const Monitor> monitors) const {
    if (set_ && set_->pixels == pixels && set_->monitor == monitor_at(monitors, pixels)) {
      return set_->twips;
    }
    return to_twips(monitors, pixels);
  }

 private:
  struct Set {
    TwipsPoint twips;
    PixelPoint pixels;
    Monitor monitor;
  };
  std::optional<Set> set_;
};

}  // namespace vav
