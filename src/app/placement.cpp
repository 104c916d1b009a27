// Window placement: the fixed size, the stored position and "Always on Top".
#include <string>

#include "app/quandrel_main.h"
#include "errors/error_trap.h"
#include "platform/twips.h"

namespace vav {
namespace {

constexpr int kWidth = 4815;
constexpr int kHeightSmallFonts = 5595;
constexpr int kHeightLargeFonts = 5682;
constexpr int kStartWidthLargeFonts = 4758;
constexpr int kStartHeightLargeFonts = 5652;
constexpr int kSmallFontsDpi = 96;

// The stored number at the start of a setting; the current value when the key is missing.
double stored_number(SettingsFile& file, const char* key, int current) {
  return leading_number(file.ReadSetting(key, std::to_string(current)));
}

WindowState window_state_of(std::int16_t value) {
  switch (value) {
    case 0:
      return WindowState::normal;
    case 1:
      return WindowState::minimized;
    case 2:
      return WindowState::maximized;
    default:
      throw RuntimeError(err::kInvalidPropertyValue);
  }
}

// Sets a size only when it differs, so the resize event that a change raises (nested, from
// inside the resize handler) finds the size already right and ends the chain.
void set_size(WindowFrame& frame, int height, int width) {
  if (frame.height() != height) frame.set_height(height);
  if (frame.width() != width) frame.set_width(width);
}

}  // namespace

void QuandrelMain::RestoreWindowPosition() {
  // A settings file that another program holds reads as the defaults: the window is not
  // where the operator left it, and storing its place later (at close, when the file may be
  // free again) would write over the operator's. It stays unstored for the run.
  const bool file_readable = passing_over_errors(false, [this] {
    platform.files.read_existing(settings_file.path());
    return true;
  });
  if (!file_readable) return;
  // From here on the window stands where the operator left it, and its position may be
  // stored; a failure below still leaves it at the place read so far.
  position_restored_ = true;
  // The moves below may cross monitors of other resolutions and so resize the window; the
  // stores of those resizes would write a half-restored place (the stored top beside the
  // left the system chose) that the next move need not store again. The file already holds
  // the place being restored.
  struct Restoring {
    bool& flag;
    ~Restoring() { flag = false; }
  };
  restoring_position_ = true;
  const Restoring restoring{restoring_position_};
  WindowFrame& frame = platform.frame;
  frame.set_top(round_to_int32(stored_number(settings_file, "Top", frame.top())));
  frame.set_left(round_to_int32(stored_number(settings_file, "Left", frame.left())));
  const auto state = static_cast<int>(frame.state());
  frame.set_state(
      window_state_of(round_to_int16(stored_number(settings_file, "WindowState", state))));
}

void QuandrelMain::SaveWindowPosition() {
  // Before the restore (the start-up's own size change, a close while waiting for MixW) the
  // window stands where the system put it, which is not the operator's place.
  if (!position_restored_ || restoring_position_) return;
  const WindowFrame& frame = platform.frame;
  if (frame.state() == WindowState::minimized) return;
  settings_file.WriteSetting("Top", std::to_string(frame.top()), false);
  settings_file.WriteSetting("Left", std::to_string(frame.left()), false);
  settings_file.WriteSetting("WindowState", std::to_string(static_cast<int>(frame.state())), false);
}

void QuandrelMain::Form_Resize() {
  WindowFrame& frame = platform.frame;
  if (frame.state() == WindowState::minimized) return;
  // A maximized window keeps the size the system gives it.
  if (frame.state() == WindowState::normal) {
    set_size(frame, IsSmallFonts() ? kHeightSmallFonts : kHeightLargeFonts, kWidth);
  }
  SaveWindowPosition();
}

bool QuandrelMain::IsSmallFonts() {
  return platform.desktop.screen_logical_dpi() == kSmallFontsDpi;
}

void QuandrelMain::SizeForStartUp() {
  if (IsSmallFonts()) {
    set_size(platform.frame, kHeightSmallFonts, kWidth);
  } else {
    set_size(platform.frame, kStartHeightLargeFonts, kStartWidthLargeFonts);
  }
}

void QuandrelMain::set_topmost_in_place(bool on_top) {
  // The frame's twips become the pixels they name: the position on the monitor that holds
  // it, the size at the window's own resolution, so the window keeps its place and size.
  const WindowFrame& frame = platform.frame;
  const int dpi = frame.dpi();
  const PixelPoint at = frame.to_pixels({frame.left(), frame.top()});
  SetTopMost(on_top, frame.handle(), at.x, at.y, twips_to_pixels(frame.width(), dpi),
             twips_to_pixels(frame.height(), dpi));
}

void QuandrelMain::SetTopMost(bool on_top, WindowRef /*window*/, int x, int y, int cx, int cy) {
  // The frame is the main window itself, the only window ever made topmost.
  platform.frame.set_topmost(on_top, x, y, cx, cy);
}

}  // namespace vav
