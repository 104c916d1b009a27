#pragma once
// The main window's frame as a test sees it: geometry in desktop pixels over the simulated
// monitors, read and set in twips as on Windows (the size at the window's resolution, the
// position on the monitor that holds it), and state; the topmost calls, the captions, the
// message hook, the user's minimize press and end of a move or resize. Like a per-monitor
// aware window on Windows, the window takes the resolution of the monitor holding the
// largest part of it whenever it moves, and then the size of the same inches there.
#include <functional>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/screen_position.h"
#include "platform/sim/sim_screens.h"
#include "platform/twips.h"

namespace vav::sim {

struct TopmostCall {
  bool on_top = false;
  int x = 0, y = 0, cx = 0, cy = 0;
  bool operator==(const TopmostCall&) const = default;
};

class SimWindowFrame final : public WindowFrame {
 public:
  // The window is made on the primary monitor, at its top left corner. The screens must
  // outlive the frame.
  explicit SimWindowFrame(const SimScreens& screens);

  int dpi() const override { return dpi_; }
  int left() const override { return position().x; }
  int top() const override { return position().y; }
  int width() const override { return width_.twips(cx_, dpi_); }
  int height() const override { return height_.twips(cy_, dpi_); }
  WindowState state() const override { return state_; }
  // A move onto a monitor of another resolution resizes the window (the resize handler runs).
  void set_left(int twips) override { place({twips, top()}); }
  void set_top(int twips) override { place({left(), twips}); }
  // Each raises the resize handler before returning when the size in pixels or the state
  // changes; a size that keeps the pixels raises nothing, as Windows sends no WM_SIZE then
  // (and a resize handler that sets the size again would otherwise recurse for ever).
  void set_width(int twips) override;
  void set_height(int twips) override;
  void set_state(WindowState state) override;
  WindowRef handle() const override { return handle_; }
  PixelPoint to_pixels(TwipsPoint position) const override;
  // Applies the position and size in pixels, as SetWindowPos does.
  void set_topmost(bool on_top, int x, int y, int cx, int cy) override;
  void set_caption(const std::string& caption) override;
  void set_resize_handler(std::function<void()> on_resize) override;
  void install_hook(HookEvents events) override;
  void remove_hook() override;

  // --- for tests ---
  // The window is made anew, at this place and size in twips, on the monitors as they are
  // now (a new run of the program); no resize is raised.
  void make_anew(TwipsPoint position, int width_twips, int height_twips);
  // The user drags the window, its top left corner to the given pixels; the hook hears the end
  // of the move. On a monitor of another resolution the window first takes the size of the
  // same inches there (the size Windows suggests with WM_DPICHANGED) and hears a resize.
  void drag_to(int x, int y);
  int pixel_left() const { return x_; }
  int pixel_top() const { return y_; }
  int pixel_width() const { return cx_; }
  int pixel_height() const { return cy_; }
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
  // The user drags the window to a new place (the pixel that the twips given name); the hook
  // hears the end of the move.
  void end_move(int left_twips, int top_twips);
  // The user drags the border; the hook hears the end of the resize.
  void end_resize(int width_twips, int height_twips);

 private:
  TwipsPoint position() const { return position_.twips({x_, y_}, screens_.monitors()); }
  void place(TwipsPoint position);
  void move_to(int x, int y);
  void follow_monitor();
  void resize_to(int cx, int cy);
  void resized();
  void move_size_ended();

  const SimScreens& screens_;
  int dpi_ = 96;
  int x_ = 0, y_ = 0, cx_ = 0, cy_ = 0;  // desktop pixels
  TwipsPosition position_;
  TwipsCoordinate width_, height_;
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
