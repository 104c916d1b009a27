#include "platform/sim/sim_window_frame.h"

#include <utility>

namespace vav::sim {

void SimWindowFrame::resized() {
  ++resize_events_;
  if (!on_resize_) return;
  const auto handler = on_resize_;  // the handler may replace itself
  handler();
}

void SimWindowFrame::set_width(int twips) {
  if (twips == width_) return;
  width_ = twips;
  resized();
}

void SimWindowFrame::set_height(int twips) {
  if (twips == height_) return;
  height_ = twips;
  resized();
}

void SimWindowFrame::set_state(WindowState state) {
  if (state == state_) return;
  state_ = state;
  resized();
}

void SimWindowFrame::set_topmost(bool on_top, int x, int y, int cx, int cy) {
  topmost_calls_.push_back({on_top, x, y, cx, cy});
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
  left_ = left_twips;
  top_ = top_twips;
  move_size_ended();
}

void SimWindowFrame::end_resize(int width_twips, int height_twips) {
  set_width(width_twips);
  set_height(height_twips);
  move_size_ended();
}

}  // namespace vav::sim
