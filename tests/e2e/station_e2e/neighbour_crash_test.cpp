// Commander and DXKeeper ended through their process handles, as a crash or the Task Manager
// ends them: no DDE terminate, their windows simply vanish. The program drops them at its
// next connection pass, links them again once they are back, logs to the new DXKeeper and
// follows the new Commander's frequency.
#include <gtest/gtest.h>

#include <string>

#include "station_e2e/station.h"

namespace vav::e2e {
namespace {

class NeighbourCrash : public StationTest {};

TEST_F(NeighbourCrash, CommanderAndDXKeeperKilledAndStartedAgainAreLinkedAndUsedAgain) {
  write_settings({{"ConnectCommander", "True"},
                  {"ConnectDXKeeper", "True"},
                  {"FrequencyControl", "Commander"}});
  Standin& mixw = start_mixw();
  Standin& first_commander = start_dxlab("Commander");
  Standin& first_dxkeeper = start_dxlab("DXKeeper");
  ASSERT_FALSE(HasFailure());
  HWND window = nullptr;
  ASSERT_TRUE(start_program_connected(window, "{CC,DXK}"));
  ASSERT_TRUE(mixw.journal.await("automation call ExecuteMacros(\"<ZFQ:14070.000>\")"));

  first_commander.process->terminate();  // TerminateProcess: no WM_DDE_TERMINATE is sent
  first_dxkeeper.process->terminate();
  // The next connection pass (every 7 s) finds their conversations without a server.
  EXPECT_TRUE(eventually([&] { return window_text(window).find('{') == std::string::npos; }))
      << window_text(window);

  Standin& commander = start_dxlab("Commander");
  Standin& dxkeeper = start_dxlab("DXKeeper");
  ASSERT_FALSE(HasFailure());
  ASSERT_TRUE(await_caption(window, "{CC,DXK}"));

  // MixW follows the radio again: the new Commander's frequency display is linked.
  ASSERT_TRUE(control("Commander", "tune 7074000"));
  ASSERT_TRUE(commander.journal.await("item CIV_CommanderUI FreqDisplay 7,074.00"));
  EXPECT_TRUE(mixw.journal.await("automation call ExecuteMacros(\"<ZFQ:7074.000>\")"));
  EXPECT_TRUE(mixw.journal.await("automation call ExecuteMacros(\"<JUMPTOTXFQ>\")"));
  // MixW's dial moved: its operating frequency is the dial plus its audio offset.
  EXPECT_TRUE(mixw.journal.has("item QSO Khz 7075.001")) << mixw.journal.dump();

  // And a QSO written in MixW reaches the new DXKeeper.
  for (const char* command : {"set Call Q1ABC", "set RstRcv 599", "set RstSnt 579",
                              "set Date 27-Nov-2005", "set Time 04:44", "set EndTime 04:48"}) {
    ASSERT_TRUE(control("MixW", command));
  }
  ASSERT_TRUE(mixw.journal.await("item QSO EndTime 04:48"));
  ASSERT_TRUE(control("MixW", "write"));
  EXPECT_TRUE(dxkeeper.journal.await("execute accepted DDEServer 001log<CALL:5>Q1ABC "));
  EXPECT_TRUE(await_caption(window, "{CC,DXK}"));
  EXPECT_EQ(error_log(), "");
}

}  // namespace
}  // namespace vav::e2e
