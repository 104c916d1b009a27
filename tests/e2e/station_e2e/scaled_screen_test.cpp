// The program on screens of 120 and 144 dots per inch (the user's LogPixels): it opens where
// it was left, "Always on Top" or not, and a start and close leaves the stored position as
// it was, round after round.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "station_e2e/station.h"

namespace vav::e2e {
namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";

// The resolution of the programs started from now on; 0 puts back the prefix's own.
void set_log_pixels(int dpi) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    ADD_FAILURE() << "cannot open HKCU\\" << kDesktopKey;
    return;
  }
  if (dpi > 0) {
    const DWORD value = static_cast<DWORD>(dpi);
    RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
  } else {
    RegDeleteValueA(key, "LogPixels");
  }
  RegCloseKey(key);
}

std::string ini_value(const std::string& ini, const char* key) {
  char value[64] = {};
  GetPrivateProfileStringA("Settings", key, "<missing>", value, sizeof value, ini.c_str());
  return value;
}

// The window's place in the pixels of its own screen.
POINT physical_origin(HWND window) {
  using SetContextFn = HANDLE(WINAPI*)(HANDLE);
  static const auto set_context = reinterpret_cast<SetContextFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext")));
  HANDLE before = set_context ? set_context(reinterpret_cast<HANDLE>(-4)) : nullptr;  // PMv2
  RECT rect{};
  GetWindowRect(window, &rect);
  if (before) set_context(before);
  return {rect.left, rect.top};
}

class ScaledScreen : public StationTest {
 protected:
  void TearDown() override {
    set_log_pixels(0);
    StationTest::TearDown();
  }
};

TEST_F(ScaledScreen, TheWindowOpensWhereItWasLeftAndAStartAndCloseKeepsThePlace) {
  start_mixw();
  ASSERT_FALSE(HasFailure());
  for (const int dpi : {120, 144}) {
    for (const bool on_top : {false, true}) {
      SCOPED_TRACE(std::to_string(dpi) + " dpi, AlwaysOnTop " + (on_top ? "on" : "off"));
      set_log_pixels(dpi);
      write_settings(
          {{"Top", "1234"}, {"Left", "2345"}, {"AlwaysOnTop", on_top ? "True" : "False"}});
      for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        start_program();
        HWND window = nullptr;
        ASSERT_TRUE(await_main_window(window));
        const POINT origin = physical_origin(window);
        EXPECT_EQ(origin.x, MulDiv(2345, dpi, 1440));
        EXPECT_EQ(origin.y, MulDiv(1234, dpi, 1440));
        // The window shows when its place is restored; the option comes a moment later.
        const auto topmost = [&] {
          return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        };
        if (on_top) {
          EXPECT_TRUE(eventually(topmost));
        }
        EXPECT_EQ(topmost(), on_top);
        ASSERT_TRUE(PostMessageA(window, WM_CLOSE, 0, 0));
        ASSERT_TRUE(program().wait_exit(kDeadline)) << "the program still runs";
        EXPECT_EQ(ini_value(in_folder("Vavizorur.ini"), "Top"), "1234");
        EXPECT_EQ(ini_value(in_folder("Vavizorur.ini"), "Left"), "2345");
      }
    }
  }
  EXPECT_EQ(error_log(), "");
}

}  // namespace
}  // namespace vav::e2e
