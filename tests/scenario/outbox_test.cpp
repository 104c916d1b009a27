// Every QSO once: a busy DXKeeper that runs late what it was sent, one that dies between
// running a QSO and answering, the window changing while a connection pass runs, waiting
// files that cannot be written, and Windows ending the session inside a wait.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "outbox_fixture.h"

namespace vav::testing {
namespace {

// DXKeeper busy for 30 s (an eQSL upload): every execute runs 5 s after it arrives, well past
// the 2 s the program waits. Each QSO is still logged once, in order, with no report.
TEST_F(OutboxTest, ABusyDXKeeperThatAnswersLateLogsEachQsoOnce) {
  start_program();
  write_numbered_qso(1);
  station.dxkeeper().answer_late(5000);
  for (int n = 2; n <= 6; ++n) {
    write_numbered_qso(n);
    run_for(3000);
  }
  run_for(30000);
  station.dxkeeper().answer();
  run_for(20000);
  std::printf("RELIABILITY busy_dxkeeper written=%zu delivered=%zu\n", written.size(),
              delivered_calls().size());
  EXPECT_EQ(delivered_calls(), written_calls());
  EXPECT_EQ(duplicate_reports(), 0u) << read_file("ErrorLog.txt");
  EXPECT_TRUE(app->delivery.pending_qsos.empty());
  EXPECT_FALSE(files.exists(path(kPendingFileName)));
}

// DXKeeper runs the QSO and dies before it answers. Whether it logged it cannot be known:
// the QSO is sent once more to the DXKeeper that starts again, and reported as possibly
// logged twice. The QSO behind it is sent once.
TEST_F(OutboxTest, ADXKeeperThatDiesBeforeAnsweringGetsTheQsoAgainAndItIsReported) {
  start_program();
  station.dxkeeper().die_after_running_next_execute();
  write_numbered_qso(1);
  write_numbered_qso(2);
  EXPECT_EQ(delivered_calls(), std::vector<std::string>{"Q1N1"});
  station.dxkeeper().start();
  run_for(14100);
  EXPECT_EQ(delivered_calls(), (std::vector<std::string>{"Q1N1", "Q1N1", "Q2N2"}));
  EXPECT_EQ(duplicate_reports(), 1u) << read_file("ErrorLog.txt");
  EXPECT_TRUE(app->delivery.pending_qsos.empty());
}

// The record is built when MixW writes the QSO: the operator typing the next callsign, or
// MixW emptying its window, before the connection pass ends changes nothing that is logged.
TEST_F(OutboxTest, AQsoWrittenDuringAConnectionPassIsLoggedAsItWasWritten) {
  write_settings({"ConnectDXKeeper=True", "FrequencyControl=Commander"});
  // Each pass waits for Commander's and DXView's time-outs, letting events run between them.
  station.commander().start();
  station.commander().hang();
  station.dxview().start();
  station.dxview().hang();
  start_program();
  station.mixw().work_station(numbered_contact(1));
  run_for(600);
  bool during_pass = false;
  loop.call_after(6400 + 50, [&] {  // due while the pass waits for Commander
    during_pass = app->ConnectingApps;
    station.mixw().write_qso();
    // Before the pass ends: MixW empties its window and the operator types the next call.
    loop.call_after(150, [&] {
      EXPECT_TRUE(app->ConnectingApps);
      station.mixw().clear_qso();
      station.mixw().work_station(numbered_contact(2));
    });
  });
  run_for(20000);
  ASSERT_TRUE(during_pass);
  station.mixw().write_qso();
  run_for(15000);
  written = {numbered_contact(1).call, numbered_contact(2).call};
  EXPECT_EQ(delivered_calls(), written_calls());
  const auto& logged = station.dxkeeper().peer().logged();
  ASSERT_EQ(logged.size(), 2u);
  EXPECT_EQ(logged[0].value("NAME"), "Op1");
  EXPECT_EQ(logged[1].value("NAME"), "Op2");
  EXPECT_TRUE(station.dxkeeper().peer().malformed_records().empty());
}

// A new QSO never jumps the queue: written while a long backlog goes out (the delivery lets
// events run between its slices), and while the waiting file is held with DXKeeper up.
TEST_F(OutboxTest, ANewQsoWaitsBehindTheQsosAlreadyWaiting) {
  station.dxkeeper().stop();
  start_program();
  for (int n = 1; n <= 120; ++n) write_numbered_qso(n);
  station.dxkeeper().start();
  station.dxkeeper().answer_late(10);  // the backlog takes 1.2 s to go out
  // Each QSO written starts the connection pass's count again: it runs 7 s after the last.
  loop.call_after(7000 + 300, [&] {
    EXPECT_FALSE(delivered_calls().empty()) << "written while the backlog goes out";
    station.mixw().work_station(numbered_contact(121));
    station.mixw().write_qso();
    written.push_back(numbered_contact(121).call);
  });
  run_for(7000 + 3000);
  EXPECT_EQ(delivered_calls(), written_calls());
  station.dxkeeper().answer();

  // The file is held by another program when the program starts, DXKeeper is up.
  station.dxkeeper().stop();
  write_numbered_qso(122);
  app->Close();
  app.reset();
  files.lock(path(kPendingFileName));
  station.dxkeeper().start();
  start_program();
  write_numbered_qso(123);
  run_for(7100);
  EXPECT_EQ(delivered_calls().size(), 121u) << "nothing goes before the file is read";
  files.unlock(path(kPendingFileName));
  run_for(7100 + 7100);
  EXPECT_EQ(delivered_calls(), written_calls());
}

// The waiting file cannot be written while its QSOs are delivered (a backup tool holds it).
// The delivered QSOs are written out of the file as soon as it can be written again, so a
// program killed after that sends none of them twice.
TEST_F(OutboxTest, AFailedWriteOfTheWaitingFileIsTriedAgainUntilItHoldsWhatWasDelivered) {
  station.dxkeeper().stop();
  start_program();
  for (int n = 1; n <= 3; ++n) write_numbered_qso(n);
  files.lock(path(kPendingFileName));
  station.dxkeeper().start();
  run_for(7100);
  EXPECT_EQ(delivered_calls(), written_calls());
  write_numbered_qso(4);
  EXPECT_EQ(delivered_calls(), written_calls()) << "later QSOs still go out";
  files.unlock(path(kPendingFileName));
  EXPECT_EQ(replay_journal(read_file(kPendingFileName)).entries.size(), 3u) << "still stale";
  run_for(7100);  // the next pass writes it again
  EXPECT_FALSE(files.exists(path(kPendingFileName)));
  app.reset();  // killed
  start_program();
  run_for(14100);
  EXPECT_EQ(delivered_calls(), written_calls());
  EXPECT_EQ(program_errors().size(), 1u) << "the failure is reported once";
}

// A torn journal whose damaged bytes cannot be copied aside: its whole QSOs go out all the
// same, the journal is left as it is until the copy can be made, and the damaged bytes are
// reported, never dropped in silence.
TEST_F(OutboxTest, ATornJournalDeliversItsWholeQsosAndReportsTheRest) {
  station.dxkeeper().stop();
  start_program();
  write_numbered_qso(1);
  write_numbered_qso(2);
  app.reset();
  const std::string whole = read_file(kPendingFileName);
  const std::string torn = whole.substr(0, whole.size() - 20);
  write_file(kPendingFileName, torn);
  write_file(kPendingDamagedFileName, "");
  files.lock(path(kPendingDamagedFileName));
  station.dxkeeper().start();
  start_program();
  run_for(7100);
  EXPECT_EQ(delivered_calls(), std::vector<std::string>{"Q1N1"});
  EXPECT_TRUE(station.dxkeeper().peer().malformed_records().empty());
  EXPECT_EQ(read_file(kPendingFileName), torn) << "not written before the damaged copy is made";
  const std::string log = read_file("ErrorLog.txt");
  EXPECT_NE(log.find("no whole QSO"), std::string::npos) << log;
  EXPECT_NE(log.find("<CALL:4>Q2N2"), std::string::npos) << "the damaged bytes, whole";
  files.unlock(path(kPendingDamagedFileName));
  write_numbered_qso(3);
  run_for(7100);
  EXPECT_EQ(delivered_calls(), (std::vector<std::string>{"Q1N1", "Q3N3"}));
  EXPECT_EQ(read_file(kPendingDamagedFileName), torn);
  EXPECT_FALSE(files.exists(path(kPendingFileName)));
}

// Windows ends the session while the program waits for DXKeeper's answer: the close runs
// inside the wait and ends the conversation the wait is on. Nothing is freed under the wait,
// and the QSO is delivered or kept for the next run.
TEST_F(OutboxTest, TheSessionEndingInsideAWaitForDXKeeperLosesNothing) {
  start_program();
  write_numbered_qso(1);
  station.dxkeeper().answer_late(1000);
  bus.during_next_wait([&] { app->Close(); });
  write_numbered_qso(2);
  EXPECT_EQ(app->run_end(), RunEnd::closed);
  app.reset();
  station.dxkeeper().answer();
  start_program();
  run_for(7100);
  EXPECT_EQ(delivered_calls(), written_calls());
  EXPECT_EQ(duplicate_reports(), 0u);
}

}  // namespace
}  // namespace vav::testing
