// What the operator sees of each QSO's fate without opening a file: the count in the caption,
// the "Last QSO" line, and the question when closing with QSOs waiting.
#include <filesystem>
#include <regex>
#include <string>

#include "status_fixture.h"

namespace vav::testing {
namespace {

class StatusLastQsoTest : public StatusOutboxTest {
 protected:
  // The caption as it must read: the count right after the version, then the connected
  // programs and the error note.
  std::string expected_caption(const std::string& note) {
    std::string caption = "Vavizorur " + app->common.Version() + note;
    const std::string list = app->clients.ConnectedList();
    if (!list.empty()) caption += " {" + list + "}";
    if (app->common.ErrorNoted)
      caption += " - see ErrorLog in " + app->data_folder + "/ErrorLog.txt";
    return caption;
  }
  // A waiting file of `n` QSOs left by an earlier run.
  void leave_waiting_qsos(int n) {
    std::deque<PendingQso> entries;
    for (int i = 1; i <= n; ++i) {
      const std::string call = "W" + std::to_string(i) + "AW";
      entries.push_back({"001log<CALL:" + std::to_string(call.size()) + ">" + call +
                         " <BAND:3>20M <MODE:5>PSK31 <EOR>"});
    }
    write_file(kPendingFileName, journal_of(entries));
  }
};

TEST_F(StatusLastQsoTest, TheCountStandsRightAfterTheVersionAndGoesWithTheLastQso) {
  station.dxkeeper().stop();
  station.dxview().start();
  start_program();
  run_for(7100);
  ASSERT_FALSE(app->clients.ConnectedList().empty());
  EXPECT_EQ(frame.caption(), expected_caption(""));
  write_numbered_qso(1);
  EXPECT_EQ(frame.caption(), expected_caption(" - 1 waiting"));
  // A QSO whose date cannot be read notes an error: the count stays ahead of the note.
  auto bad = numbered_contact(2);
  bad.date = "27-nov-2005";
  station.mixw().work_station(bad);
  station.mixw().write_qso();
  run_for(600);
  ASSERT_TRUE(app->common.ErrorNoted);
  EXPECT_EQ(frame.caption(), expected_caption(" - 1 waiting"));
  EXPECT_LT(frame.caption().find(" - 1 waiting"), frame.caption().find(" {"));
  // Nothing waiting: the caption as it always was, error note included.
  station.dxkeeper().start();
  run_for(7100);
  ASSERT_EQ(delivered_calls(), written_calls());
  EXPECT_EQ(frame.caption(), expected_caption(""));
  EXPECT_EQ(frame.caption().find("waiting"), std::string::npos);

  station.dxkeeper().stop();
  app->Close();
  app.reset();
  leave_waiting_qsos(999);
  start_program();
  EXPECT_EQ(frame.caption(), expected_caption(" - 999 waiting"));
  EXPECT_EQ(app->status.WaitingQsos.rows().size(), kWaitingRowsShown + 1);
  EXPECT_EQ(app->status.WaitingQsos.rows().back().at(0), "... 799 more");
}

TEST_F(StatusLastQsoTest, TheLastQsoLineFollowsItsFate) {
  const std::regex logged(R"(Q1N1 .*- logged in DXKeeper \d\d:\d\d:\d\d)");
  station.dxkeeper().stop();
  start_program();
  EXPECT_EQ(last_qso(), "none written since the start");
  write_numbered_qso(1);
  EXPECT_EQ(last_qso(), "Q1N1 20M PSK31 04:44 UTC - waiting: DXKeeper not running");
  station.dxkeeper().start();
  run_for(7100);
  EXPECT_TRUE(std::regex_match(last_qso(), logged)) << last_qso();

  // Refused once, then at three passes: set aside. The line speaks of the last QSO only.
  station.dxkeeper().refuse_executes();
  write_numbered_qso(2);
  EXPECT_EQ(last_qso(), "Q2N2 20M PSK31 04:45 UTC - waiting: refused by DXKeeper (1)");
  for (int pass = 0; pass < 3; ++pass) run_for(7000);
  EXPECT_EQ(last_qso(), "Q2N2 20M PSK31 04:45 UTC - set aside: DXKeeper refused it");
  EXPECT_EQ(frame.caption(), expected_caption(" - 1 set aside"));

  // DXKeeper runs the QSO and dies before answering: sent again, it may be logged twice.
  station.dxkeeper().answer();
  station.dxkeeper().die_after_running_next_execute();
  write_numbered_qso(3);
  EXPECT_EQ(last_qso(), "Q3N3 20M PSK31 04:45 UTC - waiting: no answer from DXKeeper");
  station.dxkeeper().start();
  run_for(7100);
  EXPECT_EQ(last_qso(), "Q3N3 20M PSK31 04:45 UTC - may be a duplicate: check DXKeeper");
  EXPECT_EQ(rows_calls(), std::vector<std::string>{"Q2N2"});
  EXPECT_EQ(rows_states(), std::vector<std::string>{"set aside: DXKeeper refused it"});
}

TEST_F(StatusLastQsoTest, TheFilesLineSaysWhenTheyAreInTheUsersFolder) {
  system.set_user_data_folder(folder.path().string() + ".user\\Vavizorur");
  files.make_read_only(folder.path().string());
  start_program();
  ASSERT_EQ(app->data_folder, system.user_data_folder());
  run_for(500);  // the tab is drawn at the poll
  EXPECT_EQ(app->status.Files.text(),
            system.user_data_folder() + " (the program's folder cannot be written)");
  files.clear_faults();
  std::error_code ignored;
  std::filesystem::remove_all(folder.path().string() + ".user", ignored);
}

TEST_F(StatusLastQsoTest, ClosingWithQsosWaitingAsksOnceAndMixWExitingNever) {
  station.dxkeeper().stop();
  start_program();
  app->Close();
  EXPECT_TRUE(desktop.questions().empty()) << "nothing waits: no question";
  EXPECT_EQ(app->run_end(), RunEnd::closed);

  start_program();
  write_numbered_qso(1);
  write_numbered_qso(2);
  desktop.set_question_answer(false);  // Cancel
  app->Close();
  ASSERT_EQ(desktop.questions().size(), 1u);
  EXPECT_EQ(desktop.questions()[0].action, "Close");
  EXPECT_EQ(desktop.questions()[0].text.rfind("2 QSOs are waiting for DXKeeper. They are kept, "
                                              "and sent when Vavizorur starts again.",
                                              0),
            0u)
      << desktop.questions()[0].text;
  EXPECT_EQ(app->run_end(), RunEnd::running);
  EXPECT_TRUE(app->Timer2.enabled());
  EXPECT_TRUE(desktop.message_boxes().empty()) << "one question, no other box";

  desktop.set_question_answer(true);  // Close
  app->Close();
  EXPECT_EQ(desktop.questions().size(), 2u);
  EXPECT_EQ(app->run_end(), RunEnd::closed);
  EXPECT_EQ(replay_journal(read_file(kPendingFileName)).entries.size(), 2u);

  // MixW exits, or Windows ends the session: the program closes without asking.
  start_program();
  ASSERT_EQ(app->delivery.pending_qsos.count(), 2u);
  station.mixw().vanish();
  run_for(4100);
  expect_mixw_close_down();
  station.mixw().start();
  start_program();
  app->EndSession();
  EXPECT_EQ(app->run_end(), RunEnd::closed);
  EXPECT_EQ(desktop.questions().size(), 2u);
  station.dxkeeper().start();
  start_program();
  run_for(7100);
  EXPECT_EQ(delivered_calls(), written_calls()) << "sent at the next start";
}

}  // namespace
}  // namespace vav::testing
