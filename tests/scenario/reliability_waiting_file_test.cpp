// The waiting-QSO file and the settings file when another program holds them, when a read
// breaks off, when the run ends inside a connection pass, and when DXKeeper refuses one QSO
// for good: no QSO and no setting is lost, and the operator can see what holds the queue.
#include <cstdio>
#include <string>
#include <vector>

#include "app/pending_qsos.h"
#include "reliability_fixture.h"

namespace vav::testing {
namespace {

class WaitingFileTest : public ReliabilityTest {
 protected:
  void SetUp() override { station.mixw().start(); }

  // Two QSOs written while DXKeeper is away, left waiting by a run that closes.
  void leave_two_waiting() {
    start_program();
    write_numbered_qso(1);
    write_numbered_qso(2);
    ASSERT_EQ(app->delivery.pending_qsos.count(), 2u);
    app->Close();
    app.reset();
  }
};

TEST_F(WaitingFileTest, AFileHeldAtStartIsReadOnceFreeAndItsQsosGoFirst) {
  leave_two_waiting();
  const std::string before = read_file(kPendingFileName);
  for (const bool half_read : {false, true}) {
    // The first round holds the file with no sharing, the second breaks the read half way.
    if (half_read) {
      files.break_reads_half_way(path(kPendingFileName));
    } else {
      files.lock(path(kPendingFileName));
    }
    start_program();
    write_numbered_qso(3 + half_read);
    run_for(3000);
    EXPECT_NE(frame.caption().find("cannot be read yet"), std::string::npos) << frame.caption();
    files.clear_faults();
    EXPECT_EQ(read_file(kPendingFileName), before) << "never written while held";
    if (!half_read) {
      // The run is killed here: the third QSO is in the second file, and the next run finds
      // the first file held again.
      app.reset();
    }
  }
  ASSERT_EQ(program_errors().size(), 2u) << "one report a run";
  EXPECT_NE(program_errors()[0].find("QuandrelMain.LoadWaitingQsos"), std::string::npos);

  station.dxkeeper().start();
  const long long recovery = run_until([&] { return delivered_calls().size() == 4; }, 7100);
  std::printf(
      "RELIABILITY waiting_file_held_then_half_read written=%zu delivered=%zu "
      "reports=%zu recovery_virtual_ms=%lld\n",
      written.size(), delivered_calls().size(), program_errors().size(), recovery);
  EXPECT_EQ(delivered_calls(), written_calls());
  EXPECT_TRUE(app->delivery.pending_qsos.empty());
  EXPECT_FALSE(files.exists(path(kPendingFileName)));
  EXPECT_FALSE(files.exists(path(kPendingLaterFileName)));
  EXPECT_EQ(frame.caption().find("QSO"), std::string::npos) << frame.caption();
}

TEST_F(WaitingFileTest, AQsoWrittenInAPassThatTheRunEndsInIsKeptForTheNextRun) {
  for (const bool mixw_lost : {false, true}) {
    station.dxview().start();
    station.dxview().hang();  // the pass waits for DXView's time-outs, letting events run
    start_program();
    const int n = static_cast<int>(written.size()) + 1;
    station.mixw().work_station(numbered_contact(n));
    run_for(600);
    // Due while the pass is blocked on DXView, so it runs at the pass's next "let events run".
    bool during_pass = false;
    loop.call_after(6400 + 50, [&] {
      during_pass = app->ConnectingApps;
      station.mixw().write_qso();
      loop.post([&] {
        if (mixw_lost) {
          station.mixw().vanish();
          app->Timer3_Timer();
        } else {
          app->Close();
        }
      });
    });
    written.push_back(numbered_contact(n).call);
    run_for(20000);
    ASSERT_TRUE(during_pass);
    ASSERT_EQ(app->run_end(), mixw_lost ? RunEnd::mixw_lost : RunEnd::closed);
    app.reset();
    station.dxview().stop();
    EXPECT_EQ(replay_journal(read_file(kPendingFileName)).entries.size(), written.size())
        << mixw_lost;
  }
  station.mixw().start();
  station.dxkeeper().start();
  start_program();
  run_for(7100);
  std::printf("RELIABILITY quit_in_a_pass written=%zu delivered=%zu\n", written.size(),
              delivered_calls().size());
  EXPECT_EQ(delivered_calls(), written_calls());
}

// A QSO that DXKeeper refuses at three passes is set aside, reported whole, and never sent
// again; the QSOs written after it go on. It stays in the waiting file, set aside.
TEST_F(WaitingFileTest, AQsoThatDXKeeperRefusesForGoodIsSetAsideAndTheOthersGoOn) {
  station.dxkeeper().start();
  station.dxkeeper().refuse_executes();
  start_program();
  write_numbered_qso(1);
  for (int pass = 0; pass < 4; ++pass) run_for(7000);
  EXPECT_EQ(station.dxkeeper().unanswered().size(), 3u) << "tried at three passes";
  const auto lines = error_lines();
  const auto refusals = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.starts_with("DXKeeper refused this QSO 3 times");
  });
  std::printf("RELIABILITY refused_for_good passes=4 refusal_reports=%td set_aside=%zu\n", refusals,
              app->delivery.pending_qsos.set_aside_count());
  EXPECT_EQ(refusals, 1) << read_file("ErrorLog.txt");
  EXPECT_NE(read_file("ErrorLog.txt").find("001log<CALL:4>Q1N1 "), std::string::npos);
  EXPECT_NE(frame.caption().find(" - 1 set aside"), std::string::npos) << frame.caption();
  EXPECT_EQ(frame.caption().find("waiting"), std::string::npos) << frame.caption();

  station.dxkeeper().answer();
  write_numbered_qso(2);
  run_for(7100);
  EXPECT_EQ(delivered_calls(), std::vector<std::string>{"Q2N2"});
  const auto journal = replay_journal(read_file(kPendingFileName)).entries;
  ASSERT_EQ(journal.size(), 1u);
  EXPECT_TRUE(journal[0].set_aside);
  restart_program();
  run_for(7100);
  EXPECT_EQ(delivered_calls(), std::vector<std::string>{"Q2N2"}) << "never sent again";
  EXPECT_EQ(app->delivery.pending_qsos.set_aside_count(), 1u);
}

TEST_F(WaitingFileTest, ASettingsFileThatCannotBeQueriedIsReadAsItIs) {
  write_settings({"ConnectDXKeeper=True", "SaveGrid=True", "Left=345"});
  files.deny_attribute_query(path("Vavizorur.ini"));
  start_program();
  EXPECT_TRUE(app->setup.Check3.checked()) << "read as it is";
  EXPECT_TRUE(program_errors().empty()) << read_file("ErrorLog.txt");
  app->Close();
  const std::string after = read_file("Vavizorur.ini");
  EXPECT_NE(after.find("SaveGrid=True"), std::string::npos) << after;
  EXPECT_EQ(after.find("RequestQSL"), std::string::npos) << "never written over with the defaults";
}

}  // namespace
}  // namespace vav::testing
