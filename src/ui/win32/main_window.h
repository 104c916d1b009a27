#pragma once
// The main window's windows: the frame window, the tab control with its "Main", "Setup" and
// "Status" pages, the frames the logic shows and hides, and every control of the layout. It knows
// nothing of the logic: notifications go out through on_command and on_close, and the
// binding (main_window_binding.h) ties the controls to the model.
//
// ANSI windows throughout: text crosses as code-page bytes, as DDE's CF_TEXT carries it.
// An exception escaping a notification's handler is reported through the boundary given
// (the event loop's), under the message and what is known of it, and the message is taken
// as handled.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/error_boundary.h"
#include "ui/win32/layout.h"
#include "ui/win32/ui_metrics.h"

namespace vav::ui {

// The notification code on_command passes for a list view's change of selection.
inline constexpr int kListSelectionChanged = -101;  // LVN_ITEMCHANGED

struct ChildWindow {
  const ControlPlace* place;
  HWND hwnd;
};

class MainWindow {
 public:
  // Creates the window hidden, with the design caption "Vavizorur". The boundary must
  // outlive the window.
  MainWindow(HINSTANCE instance, const ErrorBoundary& boundary);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  // The control with this id; nullptr for none (captions share one id and are not found).
  HWND control(int id) const;
  HWND container(Container container) const;
  const std::vector<ChildWindow>& children() const { return children_; }
  HWND tabs() const { return tabs_; }
  int dpi() const { return dpi_; }
  HFONT font() const { return font_->handle(); }

  // 0 "Main", 1 "Setup", 2 "Status".
  void select_tab(int index);
  int selected_tab() const;
  HWND tooltips() const { return tooltips_; }

  // ---- main_window_access.cpp: the keyboard ------------------------------------------
  // For the event loop, before a message is translated and dispatched; true when it was
  // dealt with. Tab and Shift+Tab move through the visible tab's controls in reading order
  // (IsDialogMessage), Ctrl+Tab and Ctrl+Shift+Tab change tabs, Enter presses a focused push
  // button and is otherwise ignored, as is Escape: neither closes anything nor beeps.
  bool pre_translate(MSG& msg);
  // Shows the window unless something (a restored window state) already did.
  void show();

  // A control's notification: its id and the notification code (kListSelectionChanged for
  // a list view whose selection the user moved).
  std::function<void(int id, int code)> on_command;
  // The user asks the window to close (the close box, Alt+F4, the end of the session).
  std::function<void()> on_close;
  // Windows ends the session: the program must end without asking anything.
  std::function<void()> on_end_session;

 private:
  static LRESULT CALLBACK frame_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK container_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  static MainWindow* from(HWND hwnd);
  LRESULT on_frame_message(UINT msg, WPARAM wparam, LPARAM lparam);
  // Runs a message's handling at the boundary: what escapes it is reported, and the message
  // then counts as handled.
  std::optional<LRESULT> guarded(UINT msg, WPARAM wparam,
                                 const std::function<std::optional<LRESULT>()>& body) const;
  std::optional<LRESULT> on_shared_message(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  void forward_list_notification(const NMHDR& header);

  void create_tabs();
  void create_tooltips();
  void step_tab(int step);
  void focus_first_control();
  void on_activate(bool active, bool minimized);
  HWND create_container(HWND parent, int id, bool visible);
  void create_controls(std::span<const ControlPlace> layout);
  HWND create_control(const ControlPlace& place);
  void send_to_bottom_groups();
  void apply_dpi(int dpi);
  void place_pages();
  void place_controls();
  void dispatch_command(WPARAM wparam);
  HBRUSH page_brush() const;

  HINSTANCE instance_;
  const ErrorBoundary& boundary_;
  HWND hwnd_ = nullptr;
  HWND tabs_ = nullptr;
  std::map<Container, HWND> containers_;
  std::map<HWND, const ControlPlace*> panels_;
  std::vector<ChildWindow> children_;
  std::map<int, HWND> by_id_;
  HWND tooltips_ = nullptr;
  HWND last_focus_ = nullptr;  // given back when the window is activated again
  int dpi_ = kLayoutDpi;
  std::unique_ptr<DialogFont> font_;
};

}  // namespace vav::ui
