#pragma once
// The main window's frame as a test sees it: geometry in twips and state, the topmost calls,
// the captions, the message hook, and the user's minimize press and end of a move or resize.
#include <functional>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace vav::sim {

struct TopmostCall {
  bool on_top = false;
  int x = 0, y = 0, cx = 0, cy = 0;
  bool operator==(const TopmostCall&) const = default;
};

class SimWindowFrame final : public WindowFrame {
 public:
  int left() const override { return left_; }
  int top() const override { return top_; }
  int width() const override { return width_; }
  int height() const override { return height_; }
  WindowState state() const override { return state_; }
  void set_left(int twips) override { left_ = twips; }
  void set_top(int twips) override { top_ = twips; }
  // Each raises the resize handler before returning when the size or state changes; setting
  // the present value raises nothing, as Windows sends no WM_SIZE then (and a resize handler
  // that sets the size again would otherwise recurse for ever).
  void set_width(int twips) override;
  void set_height(int twips) override;
  void set_state(WindowState state) override;
  WindowRef handle() const override { return handle_; }
  void set_topmost(bool on_top, int x, int y, int cx, int cy) override;
  void set_caption(const std::string& caption) override;
  void set_resize_handler(std::function<void()> on_resize) override;
  void install_hook(HookEvents events) override;
  void remove_hook() override;

  // --- for tests ---
  void set_handle(WindowRef handle) { handle_ = handle; }
  const std::vector<TopmostCall>& topmost_calls() const { return topmost_calls_; }
  // Every caption set, oldest first; caption() is the present one.
  const std::vector<std::string>& captions() const { return captions_; }
  std::string caption() const { return captions_.empty() ? std::string() : captions_.back(); }
  bool hook_installed() const { return hook_installed_; }
  int hook_installs() const { return hook_installs_; }
  int hook_removals() const { return hook_removals_; }
  int resize_events() const { return resize_events_; }
  // The user presses the minimize button: the hook sees it first, then the window minimizes.
  void press_minimize_button();
  // The user drags the window to a new place; the hook hears the end of the move.
  void end_move(int left_twips, int top_twips);
  // The user drags the border; the hook hears the end of the resize.
  void end_resize(int width_twips, int height_twips);

 private:
  void resized();
  void move_size_ended();

  int left_ = 0, top_ = 0, width_ = 4815, height_ = 5595;
  WindowState state_ = WindowState::normal;
  WindowRef handle_ = 0x10010;
  std::vector<TopmostCall> topmost_calls_;
  std::vector<std::string> captions_;
  std::function<void()> on_resize_;
  HookEvents hook_;
  bool hook_installed_ = false;
  int hook_installs_ = 0, hook_removals_ = 0, resize_events_ = 0;
};

}  // namespace vav::sim
