#pragma once
// Desktop services: message boxes, other programs' top-level windows, the screen, and the
// main window's frame (geometry in twips, topmost state, the message hook).
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/screen_position.h"

namespace vav {

using WindowRef = std::uintptr_t;

enum class WindowState { normal = 0, minimized = 1, maximized = 2 };

// The main window's frame. Geometry is in twips, as the window's Left/Top/Width/Height
// properties give it. The size is shown in the pixels of the window's own resolution
// (twips.h); the position is a point on the monitor that holds it, at that monitor's
// resolution (screen_position.h), so that it names the same place whichever monitor the
// window stands on when it is set. A value set reads back unchanged until the window moves
// or is resized.
class WindowFrame {
 public:
  virtual ~WindowFrame() = default;
  // Pixels per inch of the monitor the window is on; it changes when the window is moved to
  // a monitor of another resolution, and the window is then resized (the resize event).
  virtual int dpi() const = 0;
  virtual int left() const = 0;
  virtual int top() const = 0;
  virtual int width() const = 0;
  virtual int height() const = 0;
  virtual WindowState state() const = 0;
  virtual void set_left(int twips) = 0;
  virtual void set_top(int twips) = 0;
  virtual void set_width(int twips) = 0;
  virtual void set_height(int twips) = 0;
  virtual void set_state(WindowState state) = 0;
  virtual WindowRef handle() const = 0;
  // The desktop pixel that a position in twips names (screen_position.h), as set_left and
  // set_top would place the window.
  virtual PixelPoint to_pixels(TwipsPoint position) const = 0;

  // SetWindowPos with HWND_TOPMOST or HWND_NOTOPMOST, the given position and size in
  // pixels and SWP_SHOWWINDOW | SWP_NOACTIVATE.
  virtual void set_topmost(bool on_top, int x, int y, int cx, int cy) = 0;

  virtual void set_caption(const std::string& caption) = 0;

  // The window's resize event: raised after every change of its size or state, including
  // changes made by the program itself (synchronously, before the setter returns).
  virtual void set_resize_handler(std::function<void()> on_resize) = 0;

  // The window-message hook: the frame reports a press of the minimize button and the end
  // of a move or resize until remove_hook().
  struct HookEvents {
    std::function<void()> on_minimize_button;
    std::function<void()> on_move_size_end;
  };
  virtual void install_hook(HookEvents events) = 0;
  virtual void remove_hook() = 0;
};

// The small window shown while MixW is not running yet. Destroying it closes it.
class WaitScreenView {
 public:
  virtual ~WaitScreenView() = default;
};

class Desktop {
 public:
  virtual ~Desktop() = default;

  // A modal message box with one OK button; events keep running while it is shown.
  virtual void message_box(const std::string& text, const std::string& title) = 0;
  // A modal warning with OK and Cancel, Cancel the default; true when the user chose OK.
  virtual bool confirm(const std::string& text, const std::string& title) = 0;
  // A modal question with a button named for its action ("Close") and Cancel, Cancel the
  // default; true when the user chose the action. Events keep running while it is shown.
  virtual bool ask(const std::string& text, const std::string& title,
                   const std::string& action) = 0;
  // The save dialog: the full path of the file the user chose (an existing one only after
  // the user agreed to replace it), offered `suggested_name` and files of its extension;
  // nullopt when the user cancelled.
  virtual std::optional<std::string> ask_save_path(const std::string& title,
                                                   const std::string& suggested_name) = 0;

  // The top-level window whose title is exactly `title`, any class.
  virtual std::optional<WindowRef> find_window(const std::string& title) = 0;
  virtual bool is_window(WindowRef window) = 0;
  // Posts WM_CLOSE with both parameters 0; false when the post failed.
  virtual bool post_close(WindowRef window) = 0;

  // Horizontal logical pixels per inch of the desktop's device context.
  virtual int screen_logical_dpi() = 0;

  // Shows the wait window ("Waiting...", "Waiting for MixW to load..", "Cancel"), centred.
  // `on_cancel` runs when the user presses Cancel or closes the window any other way.
  virtual std::unique_ptr<WaitScreenView> show_wait_screen(std::function<void()> on_cancel) = 0;

  // Opens a file in the program the user has for its kind (a text file in the editor);
  // false when that failed.
  virtual bool open_document(const std::string& path) = 0;
};

}  // namespace vav
