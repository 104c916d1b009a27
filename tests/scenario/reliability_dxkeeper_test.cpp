// DXKeeper failing in every way it can while QSOs are written, and the program itself ended
// or killed with QSOs waiting: every QSO written in MixW reaches DXKeeper once it is back, in
// order, exactly once.
#include <cstdio>
#include <string>
#include <vector>

#include "reliability_fixture.h"

namespace vav::testing {
namespace {

using DXKeeperSim = sim::SimDxlab<peers::DxKeeper>;

struct DXKeeperFault {
  const char* name;
  void (*fail)(DXKeeperSim&);
  void (*mend)(DXKeeperSim&);
  bool holds_qsos;  // nothing reaches DXKeeper until it is mended
};

const DXKeeperFault kFaults[] = {
    {"absent", [](DXKeeperSim& k) { k.stop(); }, [](DXKeeperSim& k) { k.start(); }, true},
    {"refusing", [](DXKeeperSim& k) { k.refuse_executes(); }, [](DXKeeperSim& k) { k.answer(); },
     true},
    {"executes_hang_past_timeout", [](DXKeeperSim& k) { k.hang_executes(); },
     [](DXKeeperSim& k) { k.answer(); }, true},
    {"whole_program_hung", [](DXKeeperSim& k) { k.hang(); }, [](DXKeeperSim& k) { k.answer(); },
     true},
    // DXKeeper ends its conversation but keeps running: the next pass connects it again.
    {"closes_its_conversation", [](DXKeeperSim& k) { k.close_conversations(); },
     [](DXKeeperSim&) {}, false},
};

class DXKeeperFaultTest : public ReliabilityTest,
                          public ::testing::WithParamInterface<DXKeeperFault> {
 protected:
  void SetUp() override {
    write_settings({"ConnectDXKeeper=True"});
    station.mixw().start();
    station.dxkeeper().start();
  }
  int polls() {
    int count = 0;
    for (const auto& line : station.mixw().journal_lines(true)) count += line == "get FqA";
    return count;
  }
};

TEST_P(DXKeeperFaultTest, EveryQsoWrittenDuringTheFaultArrivesOnceInOrderWhenItIsMended) {
  const DXKeeperFault& fault = GetParam();
  start_program();
  write_numbered_qso(1);
  write_numbered_qso(2);
  ASSERT_EQ(delivered_calls(), written_calls());

  fault.fail(station.dxkeeper());
  const int polls_before = polls();
  const auto fault_start = loop.now();
  for (int n = 3; n <= 9; ++n) {
    write_numbered_qso(n);
    run_for(2000);  // the QSOs span connection passes
  }
  // The 500 ms poll kept running through the fault, time-outs included.
  const auto fault_ms = static_cast<int>(loop.now() - fault_start);
  EXPECT_GE(polls() - polls_before, fault_ms / 500 - 6) << fault.name;
  if (fault.holds_qsos) {
    EXPECT_EQ(delivered_calls().size(), 2u) << fault.name;
    EXPECT_EQ(app->delivery.pending_qsos.count(), 7u) << fault.name;
    EXPECT_NE(frame.caption().find(" - 7 waiting"), std::string::npos);
  }
  EXPECT_EQ(app->qso.Callsign.text(), "");  // the window was ready for each next QSO

  fault.mend(station.dxkeeper());
  const long long recovery_ms =
      run_until([&] { return delivered_calls().size() == written.size(); }, 20000);
  std::printf("RELIABILITY dxkeeper_%s written=%zu delivered=%zu recovery_virtual_ms=%lld\n",
              fault.name, written.size(), delivered_calls().size(), recovery_ms);
  ASSERT_GE(recovery_ms, 0) << fault.name;
  EXPECT_LE(recovery_ms, 7000 + 10) << "within one connection pass: " << fault.name;

  run_for(30000);
  EXPECT_EQ(delivered_calls(), written_calls()) << fault.name;
  EXPECT_FALSE(has_duplicates(delivered_calls()));
  EXPECT_TRUE(app->delivery.pending_qsos.empty());
  EXPECT_FALSE(files.exists(path(kPendingFileName)));
  EXPECT_EQ(frame.caption().find("waiting"), std::string::npos) << frame.caption();
  EXPECT_TRUE(program_errors().empty()) << read_file("ErrorLog.txt");
  EXPECT_TRUE(app->Timer1.enabled());
  EXPECT_TRUE(app->Timer2.enabled());
}

INSTANTIATE_TEST_SUITE_P(Faults, DXKeeperFaultTest, ::testing::ValuesIn(kFaults),
                         [](const auto& test) { return std::string(test.param.name); });

// How a run ends with QSOs still waiting.
enum class RunEndKind { closed, killed };

class WaitingAcrossRunsTest : public ReliabilityTest,
                              public ::testing::WithParamInterface<RunEndKind> {
 protected:
  // A kill runs none of the unload steps: the window and everything it owns just go.
  void end_run() {
    if (GetParam() == RunEndKind::closed) app->Close();
    app.reset();
  }
};

TEST_P(WaitingAcrossRunsTest, QsosWaitingWhenTheProgramEndsAreDeliveredByALaterRun) {
  write_settings({"ConnectDXKeeper=True"});
  station.mixw().start();
  int n = 0;
  for (int run = 0; run < 3; ++run) {  // three runs end with QSOs waiting
    start_program();
    for (int i = 0; i < 4; ++i) write_numbered_qso(++n);
    run_for(7000);
    EXPECT_EQ(app->delivery.pending_qsos.count(), static_cast<std::size_t>(n));
    end_run();
    EXPECT_EQ(replay_journal(read_file(kPendingFileName)).entries.size(),
              static_cast<std::size_t>(n));
  }

  start_program();
  write_numbered_qso(++n);  // a QSO of the new run queues behind the old ones
  station.dxkeeper().start();
  const long long recovery_ms =
      run_until([&] { return delivered_calls().size() == written.size(); }, 20000);
  std::printf("RELIABILITY program_%s written=%zu delivered=%zu recovery_virtual_ms=%lld\n",
              GetParam() == RunEndKind::closed ? "closed" : "killed", written.size(),
              delivered_calls().size(), recovery_ms);
  ASSERT_GE(recovery_ms, 0);
  EXPECT_LE(recovery_ms, 7000 + 10);
  run_for(20000);
  EXPECT_EQ(delivered_calls(), written_calls());
  EXPECT_FALSE(has_duplicates(delivered_calls()));
  EXPECT_FALSE(files.exists(path(kPendingFileName)));
  EXPECT_TRUE(program_errors().empty()) << read_file("ErrorLog.txt");
}

// DXKeeper is busy with the oldest QSO when the run ends. It still runs it later, as a busy
// program on Windows runs what it was sent; the next run cannot know, sends it again, and
// says that it may be in the log twice. Nothing else is sent twice.
TEST_P(WaitingAcrossRunsTest,
       AQsoUnansweredWhenTheRunEndsIsSentAgainAndMarkedAsAPossibleDuplicate) {
  write_settings({"ConnectDXKeeper=True"});
  station.mixw().start();
  station.dxkeeper().start();
  station.dxkeeper().hang_executes();
  start_program();
  for (int n = 1; n <= 3; ++n) write_numbered_qso(n);
  run_for(7500);  // the pass keeps the conversation: the QSO it holds is not sent again
  EXPECT_EQ(station.dxkeeper().held_executes(), 1u);
  const auto waiting = replay_journal(read_file(kPendingFileName)).entries;
  ASSERT_EQ(waiting.size(), 3u);
  EXPECT_TRUE(waiting.front().uncertain);
  end_run();

  station.dxkeeper().answer();  // runs the QSO it held (once the machine's loop runs again)
  start_program();
  run_for(100);
  const std::vector<std::string> twice_then_rest{"Q1N1", "Q1N1", "Q2N2", "Q3N3"};
  EXPECT_EQ(delivered_calls(), twice_then_rest);
  run_for(20000);
  EXPECT_EQ(delivered_calls(), twice_then_rest);
  EXPECT_FALSE(files.exists(path(kPendingFileName)));
  const auto errors = error_lines();
  EXPECT_EQ(std::count_if(errors.begin(), errors.end(),
                          [](const std::string& line) {
                            return line.starts_with("DXKeeper may have logged this QSO twice") &&
                                   line.ends_with("Q1N1 20051127 044400");
                          }),
            1)
      << read_file("ErrorLog.txt");
  ASSERT_FALSE(app->delivery.notices().empty());
  EXPECT_EQ(app->delivery.notices().back().what, "may be a duplicate: check DXKeeper");
}

// Ended in the middle of its start-up, after DXKeeper was connected and before the delivery
// of the waiting QSOs that the connection set off could run.
TEST_P(WaitingAcrossRunsTest, EndingDuringStartUpLosesNothing) {
  write_settings({"ConnectDXKeeper=True"});
  station.mixw().start();
  start_program();
  for (int n = 1; n <= 2; ++n) write_numbered_qso(n);
  end_run();
  station.mixw().clear_qso();  // no callsign to look up: nothing lets events run in the load
  station.dxkeeper().start();
  loop.resume();
  app = std::make_unique<QuandrelMain>(platform);
  app->Form_Load();  // connects DXKeeper; the delivery waits for the loop
  ASSERT_TRUE(delivered_calls().empty());
  end_run();
  start_program();
  run_for(100);
  EXPECT_EQ(delivered_calls(), written_calls());
  run_for(10000);
  EXPECT_EQ(delivered_calls(), written_calls());
}

INSTANTIATE_TEST_SUITE_P(Ends, WaitingAcrossRunsTest,
                         ::testing::Values(RunEndKind::closed, RunEndKind::killed),
                         [](const auto& test) {
                           return std::string(test.param == RunEndKind::closed ? "Closed"
                                                                               : "Killed");
                         });

}  // namespace
}  // namespace vav::testing
