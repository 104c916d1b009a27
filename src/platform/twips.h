#pragma once
// Twips and pixels. A window's geometry is kept in twips (1440 to the inch) and shown in the
// pixels of the screen the window is on; both window frames and the logic convert here, so
// they round alike.
#include <cstdint>
#include <optional>

namespace vav {

inline constexpr int kTwipsPerInch = 1440;

// value * numerator / denominator, rounded to the nearest, halves away from zero (as MulDiv).
constexpr int scaled(int value, int numerator, int denominator) {
  const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
  const std::int64_t half = denominator / 2;
  return static_cast<int>((product + (product >= 0 ? half : -half)) / denominator);
}

constexpr int twips_to_pixels(int twips, int dpi) { return scaled(twips, dpi, kTwipsPerInch); }
constexpr int pixels_to_twips(int pixels, int dpi) { return scaled(pixels, kTwipsPerInch, dpi); }

// One coordinate of a window (left, top, width or height) in twips over the pixels it really
// has. Most twips values fall between two pixels, so converting back would give a neighbour of
// the value set (1234 twips at 120 dpi are 103 pixels, which read 1236). While the pixels are
// still the ones a value was set to, the value set is what the coordinate reads: a position
// restored and stored again without a move is unchanged.
class TwipsCoordinate {
 public:
  // The pixels for `twips` at `dpi`, remembered with the value.
  int set(int twips, int dpi) {
    set_ = Set{twips, dpi, twips_to_pixels(twips, dpi)};
    return set_->pixels;
  }
  int twips(int pixels, int dpi) const {
    if (set_ && set_->pixels == pixels && set_->dpi == dpi) return set_->twips;
    return pixels_to_twips(pixels, dpi);
  }

 private:
  struct Set {
    int twips, dpi, pixels;
  };
  std::optional<Set> set_;
};

}  // namespace vav
