#pragma once
// The window's geometry is in twips; the topmost call takes pixels at a fixed 15 twips per
// pixel, whatever the screen's real resolution.
#include <cmath>

namespace vav {

inline constexpr int kTwipsPerPixel = 15;

// Twips to pixels, rounded to the nearest integer, halves to even.
inline int twips_to_pixels(int twips) {
  return static_cast<int>(std::nearbyint(static_cast<double>(twips) / kTwipsPerPixel));
}

}  // namespace vav
