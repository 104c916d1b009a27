// The settings file held by another program (a backup tool, a virus scanner) as the program
// starts: the program reports it once and runs, and the operator's settings are still in the
// file after the run.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "station_e2e/station.h"

namespace vav::e2e {
namespace {

// The program's start-up ends by moving MixW's audio offset.
constexpr char kStartUpDone[] = "automation call ExecuteMacros(\"<AUDIOFQ:";

class HeldSettings : public StationTest {
 protected:
  // The operator's own settings, then the file held as the program starts; returns the
  // file's content.
  std::string start_with_settings_held(HWND& window) {
    write_settings({{"ConnectDXKeeper", "True"},
                    {"LoggedFrequency", "Dial"},
                    {"RequestQSL", "True"},
                    {"Top", "1200"},
                    {"Left", "2400"}});
    const std::string operators = read_shared(in_folder("Vavizorur.ini")).value_or("");
    EXPECT_NE(operators, "");
    held_ = std::make_unique<HeldFile>(in_folder("Vavizorur.ini"));
    EXPECT_TRUE(held_->held());
    Standin& mixw = start_mixw();
    start_program();
    EXPECT_TRUE(await_main_window(window));
    EXPECT_TRUE(mixw.journal.await(kStartUpDone));
    EXPECT_TRUE(eventually([&] {
      return error_log().find("in module QuandrelMain.CheckforInIfile") != std::string::npos;
    })) << error_log();
    return operators;
  }

  ::testing::AssertionResult close_program(HWND window) {
    if (!PostMessageA(window, WM_CLOSE, 0, 0)) return ::testing::AssertionFailure() << "no close";
    if (program().wait_exit(kDeadline)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the program still runs";
  }

  std::unique_ptr<HeldFile> held_;
};

TEST_F(HeldSettings, ASettingsFileHeldForTheWholeRunKeepsTheOperatorsSettings) {
  HWND window = nullptr;
  const std::string operators = start_with_settings_held(window);
  ASSERT_FALSE(HasFailure());
  // Moved by the operator, then closed: a run on its own settings would store the place.
  ASSERT_TRUE(SetWindowPos(window, nullptr, 37, 41, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
  ASSERT_TRUE(close_program(window));
  held_->release();
  EXPECT_EQ(read_shared(in_folder("Vavizorur.ini")).value_or(""), operators);
  EXPECT_EQ(occurrences(error_log(), "program error"), 1u) << error_log();
}

// Once the file is free again, the close must not store the window's place (the defaults'
// place: the window was never put where the operator left it) over the operator's.
TEST_F(HeldSettings, ASettingsFileHeldAtStartAndFreedLaterKeepsTheOperatorsSettings) {
  HWND window = nullptr;
  const std::string operators = start_with_settings_held(window);
  ASSERT_FALSE(HasFailure());
  held_->release();
  ASSERT_TRUE(close_program(window));
  EXPECT_EQ(read_shared(in_folder("Vavizorur.ini")).value_or(""), operators);
}

}  // namespace
}  // namespace vav::e2e
