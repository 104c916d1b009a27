// Start-up, the wait for MixW, the connection pass, the MixW watch and shutting down.
#include <algorithm>

#include "station_fixture.h"

namespace vav::testing {
namespace {

using LifecycleTest = StationTest;

TEST_F(LifecycleTest, WithMixWRunningTheLoadCompletesWithoutTheWaitWindow) {
  station.mixw().start();
  start_program();
  EXPECT_EQ(desktop.wait_screens_shown(), 0);
  EXPECT_TRUE(app->MixWRunning);
  EXPECT_TRUE(app->Timer1.enabled());
  EXPECT_TRUE(frame.hook_installed());
  EXPECT_EQ(frame.caption(), "Vavizorur " + app->common.Version());
  // The QSO links nudge MixW's audio offset up by one hertz.
  const auto macros = station.mixw().macros();
  ASSERT_FALSE(macros.empty());
  EXPECT_EQ(macros.front(), "<AUDIOFQ:1001>");
  EXPECT_TRUE(files.exists(path("Vavizorur.ini")));
}

TEST_F(LifecycleTest, TheWaitWindowLooksForMixWOnceASecondUntilItRuns) {
  start_program();
  EXPECT_TRUE(desktop.wait_screen_shown());
  EXPECT_FALSE(app->Timer1.enabled());
  run_for(5000);
  station.mixw().start();
  run_for(999);
  EXPECT_TRUE(desktop.wait_screen_shown());
  run_for(1);
  EXPECT_FALSE(desktop.wait_screen_shown());
  EXPECT_TRUE(app->Timer1.enabled());
  EXPECT_EQ(app->run_end(), RunEnd::running);
}

TEST_F(LifecycleTest, CancelOrClosingTheWaitWindowEndsTheProgramAtOnce) {
  for (const bool cancel : {true, false}) {
    start_program();
    ASSERT_TRUE(desktop.wait_screen_shown());
    cancel ? desktop.press_wait_cancel() : desktop.close_wait_screen();
    EXPECT_EQ(app->run_end(), RunEnd::cancelled) << cancel;
    EXPECT_TRUE(loop.quitting());
    EXPECT_FALSE(files.exists(path("ErrorLog.txt")));
  }
}

TEST_F(LifecycleTest, ClosingWithTerminateAppsShutsTheConnectedProgramsAndSpotCollector) {
  write_settings({"TerminateApps=True", "ConnectDXKeeper=True", "ConnectDXView=True"});
  station.mixw().start();
  station.dxkeeper().start();
  station.dxview().start();
  station.spotcollector().start();
  start_program();
  app->Close();
  EXPECT_EQ(app->run_end(), RunEnd::closed);
  EXPECT_EQ(station.dxview().journal(), (std::vector<std::string>{"003shutdown"}));
  EXPECT_EQ(station.dxkeeper().journal(), (std::vector<std::string>{"001shutdown"}));
  EXPECT_EQ(desktop.posted_closes().size(), 1u);
  EXPECT_TRUE(desktop.message_boxes().empty());
}

TEST_F(LifecycleTest, ClosingWithoutTerminateAppsLeavesTheOthersRunning) {
  write_settings({"ConnectDXKeeper=True"});
  station.mixw().start();
  station.dxkeeper().start();
  station.spotcollector().start();
  start_program();
  app->Close();
  EXPECT_TRUE(station.dxkeeper().journal().empty());
  EXPECT_TRUE(desktop.posted_closes().empty());
}

TEST_F(LifecycleTest, TheConnectionPassConnectsProgramsStartedLaterAndStartNoticesAtOnce) {
  station.mixw().start();
  start_program();
  EXPECT_EQ(frame.caption().find('{'), std::string::npos);
  station.dxkeeper().start();
  station.dxview().start();
  run_for(7000);
  EXPECT_NE(frame.caption().find(" {DXK,DXV}"), std::string::npos) << frame.caption();
  EXPECT_FALSE(app->clients.IsServerConnected(dxlab::kCommander));  // MixW control

  station.pathfinder().start();
  bus.execute("Vavizorur", "DDEClient", "002START", 2000);
  run_for(1);
  EXPECT_TRUE(app->clients.IsServerConnected(dxlab::kPathfinder));
  for (const char* refused : {"002start now", "2start", "02start", "99", "999start"}) {
    EXPECT_THROW(bus.execute("Vavizorur", "DDEClient", refused, 2000), RuntimeError) << refused;
  }
}

TEST_F(LifecycleTest, AnErrorBeforeCommonInitializeIsLoggedUnderTheRunsHeaderToTheEnd) {
  system.set_utc({2024, 2, 29, 12, 0, 0, 0});
  files.lock(path("Vavizorur.ini"));  // the settings file cannot be created
  station.mixw().start();
  start_program();
  files.clear_faults();
  run_for(7000);
  EXPECT_NE(frame.caption().find(" - see ErrorLog in "), std::string::npos) << frame.caption();
  app->Close();
  const std::string log = read_file("ErrorLog.txt");
  EXPECT_EQ(log.rfind("29-Feb-2024 12:00:00 > Vavizorur version ", 0), 0u) << log;
  EXPECT_NE(log.find("> Operating System: Windows 10 build 19045\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("> program error 70 in module QuandrelMain.CheckforInIfile: Permission "
                     "denied\r\n"),
            std::string::npos)
      << log;
  EXPECT_EQ(log.find(" version ", 40), std::string::npos) << "one header per run:\n" << log;
  EXPECT_TRUE(log.ends_with("> Vavizorur shutdown\r\n")) << log;
}

TEST_F(LifecycleTest, ClosingDXKeeperTakesItOutOfTheCaptionAtOnce) {
  write_settings({"ConnectDXKeeper=True", "ConnectPathFinder=True"});
  station.mixw().start();
  station.dxkeeper().start();
  station.pathfinder().start();
  start_program();
  EXPECT_NE(frame.caption().find("{DXK,PF}"), std::string::npos) << frame.caption();
  station.dxkeeper().stop();
  station.pathfinder().stop();
  run_for(1);
  EXPECT_NE(frame.caption().find("{PF}"), std::string::npos) << frame.caption();
  run_for(7000);
  EXPECT_EQ(frame.caption().find('{'), std::string::npos) << frame.caption();
}

}  // namespace
}  // namespace vav::testing

namespace vav::testing {
namespace {

std::vector<std::string> debug_keys(const std::string& log) {
  std::vector<std::string> keys;
  std::size_t pos = 0;
  while ((pos = log.find("  -  ", pos)) != std::string::npos) {
    pos += 5;
    keys.push_back(log.substr(pos, log.find(" = ", pos) - pos));
  }
  return keys;
}

TEST_F(LifecycleTest, InDebugModeStartUpAndEachPassWriteTheirTimingLines) {
  store.save("Vavizorur", "Settings", "DebugMode", "True");
  station.mixw().start();
  start_program();
  run_for(7000);
  const auto keys = debug_keys(read_file("VavizorurDebug.txt"));
  const std::vector<std::string> start_up{
      "Common.Initialize - ", "DDEClientModule.Initialize2 - ", "LoadSettings - ",
      "Initialize - ",        "LocaleInfo.Initialize - ",       "Form Load Complete - "};
  std::vector<std::string> seen_start_up;
  for (const auto& key : keys) {
    if (std::find(start_up.begin(), start_up.end(), key) != start_up.end()) {
      seen_start_up.push_back(key);
    }
  }
  EXPECT_EQ(seen_start_up, start_up);
  const std::vector<std::string> pass{
      "Connect DXLApps Start Time", "Finish Commander StartDXView", "Finish DXView Start Logserver",
      "Finish Logserver Start Pathfinder", "Finish Pathfinder End Load"};
  ASSERT_GE(keys.size(), pass.size());
  EXPECT_EQ(std::vector<std::string>(keys.end() - 5, keys.end()), pass);
  EXPECT_TRUE(app->setup.Check15.checked());
}

}  // namespace
}  // namespace vav::testing
