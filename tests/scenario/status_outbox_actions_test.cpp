// The operator steers the outbox from the Status tab: a set-aside QSO sent again, a QSO
// removed (kept in the removed-QSOs file, gone for good from the waiting file), every QSO
// exported for DXKeeper's own import; and what each does when DXKeeper may still answer for
// the QSO or when its file cannot be written.
#include <string>
#include <vector>

#include "status_fixture.h"

namespace vav::testing {
namespace {

using Calls = std::vector<std::string>;

class OutboxActionsTest : public StatusOutboxTest {
 protected:
  // Q<n> refused at three passes: set aside. DXKeeper answers again afterwards.
  void set_aside_qso(int n) {
    station.dxkeeper().refuse_executes();
    write_numbered_qso(n);
    for (int pass = 0; pass < 3; ++pass) run_for(7000);
    station.dxkeeper().answer();
  }
  std::string removed_file() { return read_file(kRemovedQsosFileName); }
};

TEST_F(OutboxActionsTest, ASetAsideQsoSentAgainGoesBehindTheWaitingOnesAndIsLogged) {
  start_program();
  set_aside_qso(1);
  station.dxkeeper().stop();
  write_numbered_qso(2);
  write_numbered_qso(3);
  EXPECT_EQ(rows_calls(), (Calls{"Q1N1", "Q2N2", "Q3N3"}));
  EXPECT_FALSE(app->status.SendAgain.enabled()) << "nothing selected";
  ASSERT_TRUE(select("Q1N1"));
  ASSERT_TRUE(app->status.SendAgain.enabled());
  app->status.SendAgain.click();
  // DXKeeper is not running: the QSO waits again, last, and stays selected.
  EXPECT_EQ(rows_calls(), (Calls{"Q2N2", "Q3N3", "Q1N1"}));
  EXPECT_EQ(app->status.WaitingQsos.selected(), 2);
  EXPECT_EQ(rows_states().back(), "DXKeeper not running");
  EXPECT_EQ(frame.caption().find("set aside"), std::string::npos) << frame.caption();
  EXPECT_TRUE(desktop.message_boxes().empty());
  station.dxkeeper().start();
  run_for(7100);
  EXPECT_EQ(delivered_calls(), (Calls{"Q2N2", "Q3N3", "Q1N1"}));
  EXPECT_TRUE(rows_calls().empty());
  EXPECT_FALSE(files.exists(path(kPendingFileName)));
}

TEST_F(OutboxActionsTest, ARemovedQsoIsKeptInTheRemovedFileAndNeverComesBack) {
  start_program();
  set_aside_qso(1);
  station.dxkeeper().stop();
  write_numbered_qso(2);
  write_numbered_qso(3);
  // The set-aside one, then one that waits behind the oldest.
  for (const char* call : {"Q1N1", "Q3N3"}) {
    ASSERT_TRUE(select(call));
    app->status.Remove.click();
  }
  EXPECT_EQ(adif_calls(removed_file()), (Calls{"Q1N1", "Q3N3"}));
  EXPECT_EQ(rows_calls(), Calls{"Q2N2"});
  EXPECT_EQ(app->status.WaitingQsos.selected(), -1);
  EXPECT_FALSE(app->status.Remove.enabled());
  EXPECT_EQ(frame.caption().find(" - 1 waiting"),
            std::string("Vavizorur ").size() + app->common.Version().size());
  // The last QSO written was removed: the line says where it is.
  EXPECT_EQ(last_qso(), "Q3N3 20M PSK31 04:45 UTC - removed: kept in VavizorurRemovedQSOs.adi");
  // The waiting file no longer holds them, also after a restart; the removed file keeps
  // them whole, with a header of its own.
  EXPECT_EQ(replay_journal(read_file(kPendingFileName)).entries.size(), 1u);
  restart_program();
  EXPECT_EQ(rows_calls(), Calls{"Q2N2"});
  EXPECT_EQ(app->delivery.pending_qsos.set_aside_count(), 0u);
  const AdifFile removed = read_adif(removed_file());
  EXPECT_EQ(adif_value(removed.header, "ADIF_VER"), "3.1.4");
  EXPECT_EQ(adif_value(removed.records.at(1), "NAME"), "Op3");
  station.dxkeeper().start();
  run_for(7100);
  EXPECT_EQ(delivered_calls(), Calls{"Q2N2"});
  EXPECT_TRUE(program_errors().empty()) << read_file("ErrorLog.txt");
}

TEST_F(OutboxActionsTest, ExportWritesEveryQsoOfTheOutboxAndKeepsThem) {
  start_program();
  set_aside_qso(1);
  station.dxkeeper().stop();
  write_numbered_qso(2);
  write_numbered_qso(3);
  ASSERT_TRUE(app->status.Export.enabled());
  app->status.Export.click();  // the save dialog cancelled
  EXPECT_EQ(desktop.save_dialogs().size(), 1u);
  EXPECT_TRUE(desktop.message_boxes().empty());

  desktop.set_save_path(path("for DXKeeper.adi"));
  app->status.Export.click();
  const AdifFile exported = read_adif(read_file("for DXKeeper.adi"));
  EXPECT_EQ(adif_calls(read_file("for DXKeeper.adi")), (Calls{"Q1N1", "Q2N2", "Q3N3"}));
  EXPECT_EQ(adif_value(exported.header, "PROGRAMID"), "Vavizorur");
  EXPECT_EQ(adif_value(exported.records.at(2), "RST_SENT"), "579");
  ASSERT_EQ(shown_messages().size(), 1u);
  EXPECT_EQ(shown_messages()[0].rfind("3 QSOs written to " + path("for DXKeeper.adi"), 0), 0u);
  EXPECT_EQ(rows_calls(), (Calls{"Q1N1", "Q2N2", "Q3N3"})) << "they stay in the outbox";

  // A file another program holds: reported, nothing changes.
  files.lock(path("for DXKeeper.adi"));
  app->status.Export.click();
  ASSERT_EQ(shown_messages().size(), 2u);
  EXPECT_NE(shown_messages()[1].find("could not be written"), std::string::npos);
  EXPECT_NE(read_file("ErrorLog.txt").find("QuandrelMain.Export_Click"), std::string::npos);
  EXPECT_EQ(app->delivery.pending_qsos.queued().size(), 3u);
}

// A QSO sent on a conversation that is still open and not answered may still be logged by
// DXKeeper: it is neither sent again nor removed before its answer. Once the conversation
// has ended without one, it may be removed.
TEST_F(OutboxActionsTest, AQsoAwaitingDXKeepersAnswerIsNeitherSentAgainNorRemoved) {
  start_program();
  station.dxkeeper().hang_executes();
  write_numbered_qso(1);
  write_numbered_qso(2);
  run_for(500);
  EXPECT_EQ(rows_states(),
            (Calls{"sent, no answer from DXKeeper yet", "behind a QSO without an answer"}));
  ASSERT_TRUE(select("Q1N1"));
  app->status.Remove.click();
  app->status.SendAgain.click();
  ASSERT_EQ(shown_messages().size(), 2u);
  for (const auto& text : shown_messages()) {
    EXPECT_EQ(text.rfind("DXKeeper has this QSO and has not answered yet", 0), 0u) << text;
  }
  EXPECT_EQ(removed_file(), "<missing>");
  EXPECT_EQ(rows_calls(), (Calls{"Q1N1", "Q2N2"}));
  // The one behind it may go.
  ASSERT_TRUE(select("Q2N2"));
  app->status.Remove.click();
  EXPECT_EQ(adif_calls(removed_file()), Calls{"Q2N2"});
  station.dxkeeper().answer();
  run_for(7100);
  EXPECT_EQ(delivered_calls(), Calls{"Q1N1"}) << "once, answered late";
  EXPECT_EQ(duplicate_reports(), 0u);

  // DXKeeper runs it and dies before answering: it may now be removed.
  station.dxkeeper().die_after_running_next_execute();
  write_numbered_qso(3);
  ASSERT_TRUE(select("Q3N3"));
  app->status.Remove.click();
  EXPECT_EQ(adif_calls(removed_file()), (Calls{"Q2N2", "Q3N3"}));
  EXPECT_EQ(shown_messages().size(), 2u);
  station.dxkeeper().start();
  run_for(7100);
  EXPECT_EQ(delivered_calls(), (Calls{"Q1N1", "Q3N3"})) << "never sent again";
}

// A click that arrives while the outbox is being handed to DXKeeper (inside the wait for an
// answer, as a message Windows dispatches there) changes nothing.
TEST_F(OutboxActionsTest, AnActionInTheMiddleOfADeliveryIsRefused) {
  station.dxkeeper().stop();
  start_program();
  write_numbered_qso(1);
  write_numbered_qso(2);
  ASSERT_TRUE(select("Q2N2"));
  bus.during_next_wait([&] {
    app->status.Remove.click();
    app->status.SendAgain.click();
  });
  station.dxkeeper().start();
  run_for(7100);
  ASSERT_EQ(shown_messages().size(), 2u);
  for (const auto& text : shown_messages()) {
    EXPECT_EQ(text.rfind("Vavizorur is handing QSOs to DXKeeper at this moment", 0), 0u) << text;
  }
  EXPECT_EQ(delivered_calls(), (Calls{"Q1N1", "Q2N2"}));
  EXPECT_EQ(removed_file(), "<missing>");
}

TEST_F(OutboxActionsTest, ARemovedFileThatCannotBeWrittenKeepsTheQsoInTheOutbox) {
  station.dxkeeper().stop();
  start_program();
  write_numbered_qso(1);
  write_numbered_qso(2);
  write_file(kRemovedQsosFileName, "");
  files.lock(path(kRemovedQsosFileName));
  ASSERT_TRUE(select("Q1N1"));
  app->status.Remove.click();
  ASSERT_EQ(shown_messages().size(), 1u);
  EXPECT_EQ(
      shown_messages()[0].rfind(
          "The QSO stays in the list: it could not be written to " + path(kRemovedQsosFileName), 0),
      0u)
      << shown_messages()[0];
  EXPECT_NE(read_file("ErrorLog.txt").find("QuandrelMain.Remove_Click"), std::string::npos);
  EXPECT_EQ(rows_calls(), (Calls{"Q1N1", "Q2N2"}));
  files.unlock(path(kRemovedQsosFileName));

  // A full disk: the file stays as it was, with no torn record in it.
  files.fill_disk_after(20);
  ASSERT_TRUE(select("Q2N2"));
  app->status.Remove.click();
  EXPECT_EQ(shown_messages().size(), 2u);
  EXPECT_EQ(rows_calls(), (Calls{"Q1N1", "Q2N2"}));
  files.clear_faults();
  app->status.Remove.click();
  EXPECT_EQ(adif_calls(removed_file()), Calls{"Q2N2"});
  EXPECT_EQ(rows_calls(), Calls{"Q1N1"});
  restart_program();
  station.dxkeeper().start();
  run_for(7100);
  EXPECT_EQ(delivered_calls(), Calls{"Q1N1"});
}

TEST_F(OutboxActionsTest, OnlyTheFirstTwoHundredRowsAreShownAndTheCountRowIsNoQso) {
  station.dxkeeper().stop();
  start_program();
  for (int n = 1; n <= 203; ++n) write_numbered_qso(n);
  ASSERT_EQ(app->status.WaitingQsos.rows().size(), kWaitingRowsShown + 1);
  EXPECT_EQ(rows_calls().back(), "... 3 more");
  app->status.WaitingQsos.select(static_cast<int>(kWaitingRowsShown));
  EXPECT_FALSE(app->status.Remove.enabled());
  app->status.WaitingQsos.select(0);
  app->status.Remove.click();
  EXPECT_EQ(rows_calls().back(), "... 2 more");
  EXPECT_EQ(rows_calls().front(), "Q2N2");
  EXPECT_EQ(adif_calls(removed_file()), Calls{"Q1N1"});
}

}  // namespace
}  // namespace vav::testing
