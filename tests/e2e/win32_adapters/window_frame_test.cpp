#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/win_window_frame.h"
#include "test_support.h"

namespace vav::e2e {
namespace {

// The UI's own window procedure stands in here: it records what reaches it and swallows
// WM_NCLBUTTONDOWN (the default would track the mouse until the button is released).
struct OriginalProcLog {
  std::vector<UINT> seen;
};

LRESULT CALLBACK original_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* log = reinterpret_cast<OriginalProcLog*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (log) log->seen.push_back(msg);
  if (msg == WM_NCLBUTTONDOWN) return 0;
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

bool saw(const OriginalProcLog& log, UINT msg) {
  return std::find(log.seen.begin(), log.seen.end(), msg) != log.seen.end();
}

class WinWindowFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = original_proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VavizorurE2EFrame";
    RegisterClassA(&wc);
    hwnd = CreateWindowExA(0, wc.lpszClassName, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 60,
                           300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(hwnd, nullptr);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&log));
    frame.emplace(hwnd, boundary);
  }
  void TearDown() override {
    frame.reset();
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }
  OriginalProcLog log;
  ErrorBoundary boundary;
  HWND hwnd = nullptr;
  std::optional<win32::WinWindowFrame> frame;
};

TEST_F(WinWindowFrameTest, GeometryInTwipsAndResizeRaisedBeforeTheSetterReturns) {
  int resizes = 0;
  frame->set_resize_handler([&] { ++resizes; });
  struct Case {
    void (win32::WinWindowFrame::*set)(int);
    int (win32::WinWindowFrame::*get)() const;
    int twips;
    bool resizes;
  };
  const std::vector<Case> cases = {
      {&win32::WinWindowFrame::set_left, &win32::WinWindowFrame::left, 1500, false},
      {&win32::WinWindowFrame::set_top, &win32::WinWindowFrame::top, 300, false},
      {&win32::WinWindowFrame::set_height, &win32::WinWindowFrame::height, 5595, true},
      {&win32::WinWindowFrame::set_width, &win32::WinWindowFrame::width, 4815, true},
  };
  for (const Case& c : cases) {
    int before = resizes;
    ((*frame).*c.set)(c.twips);
    EXPECT_EQ(((*frame).*c.get)(), c.twips);
    EXPECT_EQ(resizes > before, c.resizes) << c.twips;
  }
  EXPECT_EQ(frame->left(), 1500);  // moving kept the size, sizing the place
  EXPECT_EQ(frame->height(), 5595);
  RECT r{};
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(frame->to_pixels({frame->left(), frame->top()}), (PixelPoint{r.left, r.top}));

  int before = resizes;
  frame->set_state(WindowState::minimized);
  EXPECT_EQ(frame->state(), WindowState::minimized);
  EXPECT_GT(resizes, before);
  frame->set_state(WindowState::normal);
  EXPECT_EQ(frame->state(), WindowState::normal);
  frame->set_caption("Vavizorur 1.0.0 {DXK}");
  char text[64] = {};
  GetWindowTextA(hwnd, text, sizeof(text));
  EXPECT_STREQ(text, "Vavizorur 1.0.0 {DXK}");
  EXPECT_EQ(frame->handle(), reinterpret_cast<WindowRef>(hwnd));
}

// Twips that fall between two pixels read back as set until the window really moves; a
// resolution of the window's own (WM_DPICHANGED) changes the pixels a twip of its size is,
// while its position stays counted at the resolution of the monitor that holds it.
TEST_F(WinWindowFrameTest, TwipsReadBackAsSetAndFollowTheScreensResolution) {
  const int dpi = frame->dpi();
  frame->set_left(1234);
  EXPECT_EQ(frame->left(), 1234);
  RECT r{};
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, MulDiv(1234, dpi, 1440));
  SetWindowPos(hwnd, nullptr, r.left + 1, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(frame->left(), MulDiv(r.left + 1, 1440, dpi));

  const int larger = dpi * 3 / 2;
  RECT suggested{r.left, r.top, r.left + 450, r.top + 300};
  SendMessageA(hwnd, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(larger, larger),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(frame->dpi(), larger);
  frame->set_left(1500);
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, MulDiv(1500, dpi, 1440));
  frame->set_height(5595);
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.bottom - r.top, MulDiv(5595, larger, 1440));
  EXPECT_EQ(frame->height(), 5595);
}

TEST_F(WinWindowFrameTest, TopmostAppliesPositionAndSize) {
  frame->set_topmost(true, 100, 20, 321, 373);
  RECT r{};
  GetWindowRect(hwnd, &r);
  EXPECT_TRUE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right - r.left, 321);
  EXPECT_EQ(r.bottom - r.top, 373);
  frame->set_topmost(false, 110, 30, 321, 373);
  GetWindowRect(hwnd, &r);
  EXPECT_FALSE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(r.left, 110);
}

TEST_F(WinWindowFrameTest, AnExceptionFromAHandlerIsReportedAndTheMessageGoesOn) {
  std::vector<std::string> reported;
  boundary.set_reporter(
      [&](const RuntimeError&, std::string_view procedure) { reported.emplace_back(procedure); });
  frame->set_resize_handler([] { throw std::runtime_error("resize fault"); });
  frame->install_hook({[] {}, [] { throw std::runtime_error("hook fault"); }});
  frame->set_width(6000);
  log.seen.clear();
  SendMessageA(hwnd, WM_EXITSIZEMOVE, 0, 0);
  EXPECT_EQ(reported,
            (std::vector<std::string>{"WindowFrame.WM_SIZE", "WindowFrame.Hook(message 0x0232)"}));
  EXPECT_TRUE(saw(log, WM_EXITSIZEMOVE));  // the window's own procedure still had it
  frame->remove_hook();
}

TEST_F(WinWindowFrameTest, HookReportsAndSwallowsItsMessagesUntilRemoved) {
  int minimize = 0, move_end = 0;
  const LONG_PTR before = GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
  frame->install_hook({[&] { ++minimize; }, [&] { ++move_end; }});
  EXPECT_NE(GetWindowLongPtrA(hwnd, GWLP_WNDPROC), before);

  struct Case {
    UINT msg;
    WPARAM wparam;
    LRESULT result;
    bool passed_on;
    int minimize, move_end;
  };
  WINDOWPOS pos{};
  const std::vector<Case> cases = {
      {WM_NCLBUTTONDOWN, HTMINBUTTON, 0, true, 1, 0},
      {WM_NCLBUTTONDOWN, HTCAPTION, 0, true, 1, 0},
      {WM_WINDOWPOSCHANGING, 0, -1, false, 1, 0},
      {WM_EXITSIZEMOVE, 0, -1, false, 1, 1},
  };
  for (const Case& c : cases) {
    log.seen.clear();
    LPARAM lparam = c.msg == WM_WINDOWPOSCHANGING ? reinterpret_cast<LPARAM>(&pos) : 0;
    EXPECT_EQ(SendMessageA(hwnd, c.msg, c.wparam, lparam), c.result) << c.msg;
    EXPECT_EQ(saw(log, c.msg), c.passed_on) << c.msg;
    EXPECT_EQ(minimize, c.minimize) << c.msg;
    EXPECT_EQ(move_end, c.move_end) << c.msg;
  }

  frame->remove_hook();
  EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_WNDPROC), before);
  log.seen.clear();
  SendMessageA(hwnd, WM_EXITSIZEMOVE, 0, 0);
  EXPECT_TRUE(saw(log, WM_EXITSIZEMOVE));
  EXPECT_EQ(move_end, 1);
}

TEST_F(WinWindowFrameTest, DestroyedWindowGetsItsProcedureBackAndStillSeesNcDestroy) {
  frame->install_hook({[] {}, [] {}});
  log.seen.clear();
  DestroyWindow(hwnd);
  EXPECT_TRUE(saw(log, WM_NCDESTROY));
  frame.reset();  // after its window: must not touch it
}

}  // namespace
}  // namespace vav::e2e
