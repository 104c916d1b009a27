#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/win32/message_window.h"
#include "platform/win32/win_desktop.h"
#include "platform/win32/win_event_loop.h"
#include "platform/win32/win_system.h"
#include "test_support.h"

namespace vav::e2e {
namespace {

TEST(WinSystem, NamesTheProgramAndTheMachine) {
  win32::WinSystem system;
  EXPECT_EQ(system.exe_name(), "win32_adapters_test");
  EXPECT_EQ(system.program_folder(), test_folder());
  EXPECT_NE(system.program_folder().back(), '\\');

  OsVersion os = system.os_version();
  EXPECT_EQ(os.platform_id, 2u);
  EXPECT_GE(os.major, 6u);
  OSVERSIONINFOA compat{};
  compat.dwOSVersionInfoSize = sizeof(compat);
  GetVersionExA(&compat);
  std::printf("[ measured ] RtlGetVersion %lu.%lu.%lu, GetVersionExA %lu.%lu.%lu\n",
              static_cast<unsigned long>(os.major), static_cast<unsigned long>(os.minor),
              static_cast<unsigned long>(os.build), compat.dwMajorVersion, compat.dwMinorVersion,
              compat.dwBuildNumber);

  std::uint32_t lcid = system.user_default_lcid();
  EXPECT_NE(lcid, 0u);
  EXPECT_EQ(system.locale_info(lcid, locale_item::kDecimalSeparator).size(), 1u);
  EXPECT_FALSE(system.locale_info(lcid, locale_item::kAbbrevMonthName1).empty());
  EXPECT_FALSE(system.locale_info(lcid, locale_item::kCountryName).empty());
  EXPECT_EQ(system.locale_info(lcid, 0x7fff), "");  // no such item
  std::printf("[ measured ] LCID %04x, ANSI code page %u, language \"%s\"\n", lcid, GetACP(),
              system.locale_info(lcid, locale_item::kLanguageName).c_str());

  SYSTEMTIME before;
  GetSystemTime(&before);
  SystemTime now = system.utc_now();
  EXPECT_GE(now.year, before.wYear);
  EXPECT_TRUE(now.month >= 1 && now.month <= 12);
  EXPECT_FALSE(system.local_time_text().empty());
}

class WinDesktopTest : public ::testing::Test {
 protected:
  win32::WinEventLoop loop;
  win32::WinDesktop desktop{loop};
};

TEST_F(WinDesktopTest, FindsWindowsByExactTitleAndPostsClose) {
  const std::string title = "Vavizorur e2e target " + std::to_string(GetCurrentProcessId());
  int closes = 0;
  win32::MessageWindow target(
      [&](UINT msg, WPARAM wparam, LPARAM lparam) -> std::optional<LRESULT> {
        if (msg != WM_CLOSE) return std::nullopt;
        closes += (wparam == 0 && lparam == 0);
        return 0;
      },
      loop.boundary(), win32::MessageWindow::TopLevel{title});
  auto found = desktop.find_window(title);
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(*found, reinterpret_cast<WindowRef>(target.hwnd()));
  EXPECT_FALSE(desktop.find_window(title.substr(0, title.size() - 1)).has_value());
  EXPECT_TRUE(desktop.is_window(*found));
  EXPECT_TRUE(desktop.post_close(*found));
  EXPECT_EQ(closes, 0) << "posted, not sent";
  ASSERT_TRUE(pump_until(loop, [&] { return closes == 1; }));
  EXPECT_FALSE(desktop.is_window(0));
  EXPECT_FALSE(desktop.post_close(0x7ffff0));
}

TEST_F(WinDesktopTest, ScreenDpiIsTheDesktopsLogicalDpi) {
  int dpi = desktop.screen_logical_dpi();
  std::printf("[ measured ] desktop LOGPIXELSX %d\n", dpi);
  EXPECT_GE(dpi, 72);
}

TEST_F(WinDesktopTest, WaitScreenCancelsByButtonOrCloseThroughTheLoop) {
  int cancels = 0;
  auto view = desktop.show_wait_screen([&] { ++cancels; });
  HWND window = FindWindowA(nullptr, "Waiting...");
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowVisible(window));
  HWND label = FindWindowExA(window, nullptr, "STATIC", "Waiting for MixW to load..");
  HWND button = FindWindowExA(window, nullptr, "BUTTON", "Cancel");
  ASSERT_NE(label, nullptr);
  ASSERT_NE(button, nullptr);

  SendMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
  EXPECT_EQ(cancels, 0) << "cancel runs as a task, not inside the window's message";
  ASSERT_TRUE(pump_until(loop, [&] { return cancels == 1; }));
  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(pump_until(loop, [&] { return cancels == 2; }));
  EXPECT_TRUE(IsWindow(window)) << "the owner decides when the window goes";

  SendMessageA(window, WM_CLOSE, 0, 0);
  view.reset();
  loop.pump();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(cancels, 2) << "no cancel after the view is gone";
}

}  // namespace
}  // namespace vav::e2e
