// Start-up: at once when MixW runs, through the wait window when MixW comes late.
#include <gtest/gtest.h>

#include "station_e2e/desktop_windows.h"
#include "station_e2e/station.h"

namespace vav::e2e {
namespace {

// Initialize moves MixW's audio offset up by one hertz once its QSO links stand: the
// stand-in starts with an offset of 1000 Hz.
constexpr char kLinksStarted[] = "automation call ExecuteMacros(\"<AUDIOFQ:1001>\")";

class StartUp : public StationTest {};

TEST_F(StartUp, WithMixWRunningTheMainWindowComesWithoutWaiting) {
  write_settings({});
  Standin& mixw = start_mixw();
  ASSERT_FALSE(HasFailure());
  start_program();
  HWND window = nullptr;
  ASSERT_TRUE(await_main_window(window));
  EXPECT_EQ(visible_window_captioned(program().id(), "Waiting..."), nullptr);
  EXPECT_TRUE(mixw.journal.await("link QSO Call"));
  EXPECT_TRUE(mixw.journal.await(kLinksStarted));
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
