#include "platform/sim/sim_window_frame.h"

#include <utility>

namespace vav::sim {
namespace {

// The size the window is made with, until the program sizes it.
constexpr int kDesignWidthTwips = 4815;
constexpr int kDesignHeightTwips = 5595;

}  // namespace

SimWindowFrame::SimWindowFrame(const SimScreens& screens) : screens_(screens) {
  make_anew(
      {screens.primary().left * kOriginTwipsPerPixel, screens.primary().top * kOriginTwipsPerPixel},
      kDesignWidthTwips, kDesignHeightTwips);
}

PixelPoint SimWindowFrame::to_pixels(TwipsPoint position) const {
  return vav::to_pixels(screens_.monitors(), position);
}

void SimWindowFrame::place(TwipsPoint position) {
  const PixelPoint at = position_.set(position, screens_.monitors());
  move_to(at.x, at.y);
}

void SimWindowFrame::move_to(int x, int y) {
  x_ = x;
  y_ = y;
  follow_monitor();
}

// WM_DPICHANGED: the window's own procedure takes the suggested size, which keeps its
// inches, and the resize follows at the new resolution.
void SimWindowFrame::follow_monitor() {
  const int dpi = screens_.monitor_of_rect(x_, y_, cx_, cy_).dpi;
  if (dpi == dpi_) return;
  const int cx = scaled(cx_, dpi, dpi_), cy = scaled(cy_, dpi, dpi_);
  dpi_ = dpi;
  resize_to(cx, cy);
}

void SimWindowFrame::make_anew(TwipsPoint position, int width_twips, int height_twips) {
  const PixelPoint at = position_.set(position, screens_.monitors());
  x_ = at.x;
  y_ = at.y;
  // Sized first at the resolution of the monitor under its corner, then made at that of the
  // monitor holding most of it, as a window is given its resolution.
  dpi_ = monitor_at(screens_.monitors(), at).dpi;
  cx_ = width_.set(width_twips, dpi_);
  cy_ = height_.set(height_twips, dpi_);
  dpi_ = screens_.monitor_of_rect(x_, y_, cx_, cy_).dpi;
  cx_ = width_.set(width_twips, dpi_);
  cy_ = height_.set(height_twips, dpi_);
}

void SimWindowFrame::resized() {
  ++resize_events_;
  if (!on_resize_) return;
  const auto handler = on_resize_;  // the handler may replace itself
  handler();
}

void SimWindowFrame::resize_to(int cx, int cy) {
  if (cx == cx_ && cy == cy_) return;
  cx_ = cx;
  cy_ = cy;
  resized();
}

void SimWindowFrame::set_width(int twips) {
  const int cx = width_.set(twips, dpi_);
  resize_to(cx, cy_);
}

void SimWindowFrame::set_height(int twips) {
  const int cy = height_.set(twips, dpi_);
  resize_to(cx_, cy);
}

void SimWindowFrame::set_state(WindowState state) {
  if (state == state_) return;
  state_ = state;
  resized();
}

void SimWindowFrame::set_topmost(bool on_top, int x, int y, int cx, int cy) {
  topmost_calls_.push_back({on_top, x, y, cx, cy});
  x_ = x;
  y_ = y;
  resize_to(cx, cy);
  follow_monitor();
}

void SimWindowFrame::drag_to(int x, int y) {
  move_to(x, y);
  move_size_ended();
}

void SimWindowFrame::set_caption(const std::string& caption) { captions_.push_back(caption); }

void SimWindowFrame::set_resize_handler(std::function<void()> on_resize) {
  on_resize_ = std::move(on_resize);
}

void SimWindowFrame::install_hook(HookEvents events) {
  hook_ = std::move(events);
  hook_installed_ = true;
  ++hook_installs_;
}

void SimWindowFrame::remove_hook() {
  hook_ = {};
  hook_installed_ = false;
  ++hook_removals_;
}

void SimWindowFrame::press_minimize_button() {
  if (hook_installed_ && hook_.on_minimize_button) {
    const auto on_press = hook_.on_minimize_button;
    on_press();
  }
  set_state(WindowState::minimized);
}

void SimWindowFrame::move_size_ended() {
  if (!hook_installed_ || !hook_.on_move_size_end) return;
  const auto on_end = hook_.on_move_size_end;
  on_end();
}

void SimWindowFrame::end_move(int left_twips, int top_twips) {
  const PixelPoint at = to_pixels({left_twips, top_twips});
  drag_to(at.x, at.y);
}

void SimWindowFrame::end_resize(int width_twips, int height_twips) {
  resize_to(twips_to_pixels(width_twips, dpi_), twips_to_pixels(height_twips, dpi_));
  move_size_ended();
}

}  // namespace vav::sim
