#include "station_e2e/desktop_windows.h"

namespace vav::e2e {
namespace {

struct Search {
  DWORD process_id;
  std::vector<TopWindow> found;
};

BOOL CALLBACK collect_top(HWND hwnd, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != search->process_id) return TRUE;
  char class_name[256] = {};
  GetClassNameA(hwnd, class_name, sizeof class_name);
  search->found.push_back({hwnd, window_text(hwnd), class_name, IsWindowVisible(hwnd) != FALSE});
  return TRUE;
}

BOOL CALLBACK collect_child_text(HWND hwnd, LPARAM context) {
  reinterpret_cast<std::vector<std::string>*>(context)->push_back(window_text(hwnd));
  return TRUE;
}

}  // namespace

std::vector<TopWindow> top_windows_of(DWORD process_id) {
  Search search{process_id, {}};
  EnumWindows(&collect_top, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND visible_window_captioned(DWORD process_id, const std::string& prefix) {
  for (const TopWindow& w : top_windows_of(process_id)) {
    if (w.visible && w.caption.rfind(prefix, 0) == 0) return w.hwnd;
  }
  return nullptr;
}

HWND visible_message_box(DWORD process_id) {
  for (const TopWindow& w : top_windows_of(process_id)) {
    if (w.visible && w.class_name == "#32770") return w.hwnd;
  }
  return nullptr;
}

std::string window_text(HWND hwnd) {
  // WM_GETTEXT crosses the process boundary; a hung window would block for ever, hence the
  // time-out.
  char text[1024] = {};
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, 2000, &length)) {
    return {};
  }
  return std::string(text, length < sizeof text ? length : sizeof text - 1);
}

std::vector<std::string> child_texts(HWND hwnd) {
  std::vector<std::string> texts;
  EnumChildWindows(hwnd, &collect_child_text, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

std::string describe(const std::vector<TopWindow>& windows) {
  std::string out;
  for (const TopWindow& w : windows) {
    out += "  \"" + w.caption + "\" [" + w.class_name + "]" + (w.visible ? "" : " (hidden)") + "\n";
  }
  return out.empty() ? "  (no windows)\n" : out;
}

}  // namespace vav::e2e
