// The desktop's monitors as the window frame counts them, and the wait window drawn at the
// resolution of its monitor.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <vector>

#include "platform/screen_position.h"
#include "platform/win32/win_desktop.h"
#include "platform/win32/win_event_loop.h"
#include "platform/win32/win_monitors.h"
#include "test_support.h"

namespace vav::e2e {
namespace {

Monitor monitor_of(HMONITOR handle) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoA(handle, &info);
  const RECT& r = info.rcMonitor;
  return {r.left, r.top, r.right - r.left, r.bottom - r.top, win32::monitor_dpi(handle)};
}

// The portable rule that the simulated desktop uses picks the monitor that MonitorFromPoint
// with MONITOR_DEFAULTTONEAREST picks, on the desktop and off it.
TEST(WinMonitors, TheMonitorOfAPointIsTheOneWindowsNames) {
  const std::vector<Monitor> monitors = win32::desktop_monitors();
  ASSERT_FALSE(monitors.empty());
  std::printf("[ measured ] %zu monitor(s); the primary %dx%d at %d dpi\n", monitors.size(),
              monitors.front().width, monitors.front().height, monitors.front().dpi);
  EXPECT_EQ(monitors.front(), monitor_of(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY)));
  for (const Monitor& m : monitors) {
    const PixelPoint points[] = {{m.left, m.top},
                                 {m.left + m.width - 1, m.top + m.height - 1},
                                 {m.left - 500, m.top + 10},
                                 {m.left + m.width + 700, m.top - 900},
                                 {m.left + m.width / 2, m.top + m.height + 3000}};
    for (const PixelPoint p : points) {
      EXPECT_EQ(monitor_at(monitors, p),
                monitor_of(MonitorFromPoint({p.x, p.y}, MONITOR_DEFAULTTONEAREST)))
          << p.x << ", " << p.y;
    }
  }
}

class WaitScreenTest : public ::testing::Test {
 protected:
  static HFONT font_of(HWND hwnd) {
    return reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
  }
  static LONG font_height(HFONT font) {
    LOGFONTA logfont{};
    return GetObjectA(font, sizeof logfont, &logfont) ? logfont.lfHeight : 0;
  }
  static int width_of(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r.right - r.left;
  }

  win32::WinEventLoop loop;
  win32::WinDesktop desktop{loop};
};

// Drawn at the resolution of its monitor, and on a monitor of another resolution
// (WM_DPICHANGED) drawn again at that one: the controls get the new font before the old one
// is deleted.
TEST_F(WaitScreenTest, WindowControlsAndFontFollowTheMonitorsResolution) {
  auto view = desktop.show_wait_screen([] {});
  HWND window = FindWindowA(nullptr, "Waiting...");
  ASSERT_NE(window, nullptr);
  HWND label = FindWindowExA(window, nullptr, "STATIC", nullptr);
  HWND button = FindWindowExA(window, nullptr, "BUTTON", nullptr);
  ASSERT_NE(label, nullptr);
  ASSERT_NE(button, nullptr);
  const int dpi = win32::monitor_dpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
  EXPECT_EQ(width_of(window), MulDiv(260, dpi, 96));
  EXPECT_EQ(width_of(button), MulDiv(80, dpi, 96));
  const HFONT before = font_of(label);
  EXPECT_EQ(font_height(before), -MulDiv(8, dpi, 72));
  EXPECT_EQ(font_of(button), before);

  const int larger = dpi * 3 / 2;
  RECT r{};
  GetWindowRect(window, &r);
  RECT suggested{r.left, r.top, r.left + MulDiv(r.right - r.left, larger, dpi),
                 r.top + MulDiv(r.bottom - r.top, larger, dpi)};
  SendMessageA(window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(larger, larger),
               reinterpret_cast<LPARAM>(&suggested));
  const HFONT after = font_of(label);
  EXPECT_NE(after, before);
  EXPECT_EQ(font_of(button), after);
  EXPECT_EQ(font_height(after), -MulDiv(8, larger, 72));
  EXPECT_EQ(GetObjectType(before), 0u) << "the old font is released";
  EXPECT_EQ(width_of(window), suggested.right - suggested.left);
  EXPECT_EQ(width_of(button), MulDiv(80, larger, 96));
  view.reset();
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace vav::e2e
