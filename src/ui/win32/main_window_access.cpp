// Keyboard and screen-reader access to the main window: navigation through the controls of
// the visible tab, switching tabs, the focus kept across deactivation, and the tooltips of
// the controls that an invisible caption names.
#include "ui/win32/main_window.h"
// after windows.h, which it needs
#include <commctrl.h>

#include <string>

namespace vav::ui {
namespace {

constexpr int kTabCount = static_cast<int>(std::size(kPages));

bool key_down(int key) { return GetKeyState(key) < 0; }

// A read-only text of several lines: as a multi-line edit box it asks for every key, Tab
// included, but it has no use for any but the arrows.
bool is_text_block(HWND hwnd) {
  char class_name[8] = {};
  GetClassNameA(hwnd, class_name, sizeof class_name);
  const auto style = GetWindowLongPtrA(hwnd, GWL_STYLE);
  return lstrcmpiA(class_name, "Edit") == 0 && (style & ES_MULTILINE) && (style & ES_READONLY);
}

// The control wants this key itself (an open drop-down list takes Enter and Escape).
bool wants_message(const MSG& msg) {
  if (is_text_block(msg.hwnd)) return false;
  const auto code = SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam,
                                 reinterpret_cast<LPARAM>(const_cast<MSG*>(&msg)));
  return (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) != 0;
}

bool is_push_button(HWND hwnd) {
  const auto code = SendMessageA(hwnd, WM_GETDLGCODE, 0, 0);
  return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

}  // namespace

bool MainWindow::pre_translate(MSG& msg) {
  if (!hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
  if (msg.message == WM_KEYDOWN) {
    if (msg.wParam == VK_TAB && key_down(VK_CONTROL)) {
      step_tab(key_down(VK_SHIFT) ? -1 : 1);
      return true;
    }
    if (msg.wParam == VK_TAB && is_text_block(msg.hwnd)) {
      if (HWND next = GetNextDlgTabItem(hwnd_, msg.hwnd, key_down(VK_SHIFT))) SetFocus(next);
      return true;
    }
    // Left to the dialog manager, Enter and Escape would become IDOK and IDCANCEL, which
    // this window has no use for; kept from the edit boxes, they would beep.
    if ((msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) && !wants_message(msg)) {
      // A held Enter key repeats (bit 30 of lParam: the key was already down); it presses
      // the button once, or holding Enter on Save would log one QSO per repeat.
      const bool repeat = (msg.lParam & (1 << 30)) != 0;
      if (msg.wParam == VK_RETURN && !repeat && is_push_button(msg.hwnd)) {
        SendMessageA(msg.hwnd, BM_CLICK, 0, 0);
      }
      return true;
    }
  }
  // The pages and frames are control parents, so this walks into them, skipping whatever is
  // hidden: the other tab's page, a frame the logic hides, the invisible captions.
  return IsDialogMessageA(hwnd_, &msg) != FALSE;
}

void MainWindow::step_tab(int step) {
  const bool on_tabs = GetFocus() == tabs_;
  select_tab((selected_tab() + step + kTabCount) % kTabCount);
  if (!on_tabs) focus_first_control();
}

void MainWindow::focus_first_control() {
  const int tab = selected_tab();
  const Container page = kPages[tab >= 0 && tab < kTabCount ? tab : 0];
  HWND first = GetNextDlgTabItem(container(page), nullptr, FALSE);
  SetFocus(first ? first : tabs_);
}

void MainWindow::on_activate(bool active, bool minimized) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) last_focus_ = focus;
    return;
  }
  if (minimized) return;
  if (last_focus_ && IsWindow(last_focus_) && IsWindowVisible(last_focus_)) {
    SetFocus(last_focus_);
  } else {
    focus_first_control();
  }
}

void MainWindow::create_tooltips() {
  // Hazard: under Wine a window that owns a topmost popup (a tooltip is one) can no longer
  // be made topmost itself, and "Always on Top" would do nothing. The tooltip window is
  // therefore owned by nobody and destroyed with this object.
  tooltips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance_, nullptr);
  if (!tooltips_) return;
  for (std::size_t i = 0; i + 1 < children_.size(); ++i) {
    if (children_[i].place->kind != Kind::name_label) continue;
    std::string text = children_[i].place->caption;
    if (!text.empty() && text.back() == ':') text.pop_back();
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(children_[i + 1].hwnd);
    tool.lpszText = text.data();  // copied by the tooltip control
    SendMessageA(tooltips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void MainWindow::select_tab(int index) {
  SendMessageA(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  for (int i = 0; i < kTabCount; ++i) {
    ShowWindow(container(kPages[i]), index == i ? SW_SHOW : SW_HIDE);
  }
}

int MainWindow::selected_tab() const {
  return static_cast<int>(SendMessageA(tabs_, TCM_GETCURSEL, 0, 0));
}

void MainWindow::forward_list_notification(const NMHDR& header) {
  if (header.code != LVN_ITEMCHANGED || !on_command) return;
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
  const bool selection = (change.uChanged & LVIF_STATE) != 0 &&
                         ((change.uNewState ^ change.uOldState) & LVIS_SELECTED) != 0;
  if (selection) on_command(static_cast<int>(header.idFrom), kListSelectionChanged);
}

}  // namespace vav::ui
