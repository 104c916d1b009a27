// Start-up: at once when MixW runs, through the wait window when MixW comes late. And the
// program without a mouse: the window opens with the focus in a control, and Tab and
// Shift+Tab posted to the focused control move the focus from control to control.
#include <gtest/gtest.h>
#include <windows.h>

#include "station_e2e/station.h"

namespace vav::e2e {
namespace {

// Initialize moves MixW's audio offset up by one hertz once its QSO links stand: the
// stand-in starts with an offset of 1000 Hz.
constexpr char kLinksStarted[] = "automation call ExecuteMacros(\"<AUDIOFQ:1001>\")";

// The main window's control ids (src/ui/win32/control_ids.h).
constexpr int kCallsign = 200;
constexpr int kRSTRcvd = 201;
constexpr int kRigFreq = 217;

// The focused control of the program's user-interface thread.
HWND focus_of(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}
// Tab, or Shift+Tab, as the keyboard posts it to the focused control; the program's thread
// shares this thread's key state for the while.
::testing::AssertionResult tab_moves_to(HWND window, int id, bool shift) {
  HWND from = focus_of(window);
  const DWORD program_thread = GetWindowThreadProcessId(window, nullptr);
  AttachThreadInput(GetCurrentThreadId(), program_thread, TRUE);
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(keys);
  PostMessageA(from, WM_KEYDOWN, VK_TAB, 1);
  HWND to = nullptr;
  const bool moved = eventually([&] {
    to = focus_of(window);
    return to != from;
  });
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  AttachThreadInput(GetCurrentThreadId(), program_thread, FALSE);
  if (moved && GetDlgCtrlID(to) == id) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "focus went from control " << GetDlgCtrlID(from) << " to "
                                       << (moved ? GetDlgCtrlID(to) : -1);
}

class StartUp : public StationTest {};

TEST_F(StartUp, WithMixWRunningTheMainWindowComesWithoutWaitingAndTabMovesTheFocus) {
  write_settings({});
  Standin& mixw = start_mixw();
  ASSERT_FALSE(HasFailure());
  start_program();
  HWND window = nullptr;
  ASSERT_TRUE(await_main_window(window));
  EXPECT_EQ(visible_window_captioned(program().id(), "Waiting..."), nullptr);
  EXPECT_TRUE(mixw.journal.await("link QSO Call"));
  EXPECT_TRUE(mixw.journal.await(kLinksStarted));
  ASSERT_TRUE(eventually([&] { return focus_of(window) != nullptr; }));
  EXPECT_EQ(GetDlgCtrlID(focus_of(window)), kCallsign);
  EXPECT_TRUE(tab_moves_to(window, kRigFreq, false));
  EXPECT_TRUE(tab_moves_to(window, kRSTRcvd, false));
  EXPECT_TRUE(tab_moves_to(window, kRigFreq, true));
  EXPECT_TRUE(tab_moves_to(window, kCallsign, true));
  EXPECT_EQ(error_log(), "");
}

TEST_F(StartUp, WithMixWLateTheWaitWindowStaysUntilMixWRuns) {
  write_settings({});
  start_program();
  HWND wait_window = nullptr;
  ASSERT_TRUE(eventually([&] {
    wait_window = visible_window_captioned(program().id(), "Waiting...");
    return wait_window != nullptr;
  })) << describe(top_windows_of(program().id()));
  EXPECT_EQ(visible_window_captioned(program().id(), "Vavizorur"), nullptr);
  EXPECT_TRUE(program().running());

  Standin& mixw = start_mixw();
  ASSERT_FALSE(HasFailure());
  HWND window = nullptr;
  ASSERT_TRUE(await_main_window(window));
  EXPECT_TRUE(eventually([&] { return !IsWindowVisible(wait_window); }));
  EXPECT_TRUE(mixw.journal.await(kLinksStarted));
  EXPECT_EQ(error_log(), "");
}

}  // namespace
}  // namespace vav::e2e
