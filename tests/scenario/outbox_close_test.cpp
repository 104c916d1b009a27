// A second copy of the program, and closing with QSOs that no file holds yet: the program's
// folder read-only, the waiting file held at close, no folder that can take them.
#include <filesystem>
#include <string>
#include <vector>

#include "outbox_fixture.h"

namespace vav::testing {
namespace {

// The icon double-clicked a second time: the second copy brings the first to the front and
// ends without linking anything, so every QSO is still logged once.
TEST_F(OutboxTest, ASecondCopyShowsTheFirstAndLinksNothing) {
  start_program();
  const std::size_t mixw_links = bus.conversation_count("MixW", "QSO");
  ASSERT_GT(mixw_links, 0u);
  {
    QuandrelMain second(platform);
    EXPECT_FALSE(second.Form_Load());
    EXPECT_EQ(second.run_end(), RunEnd::second_copy);
    EXPECT_EQ(system.other_instance_shown(), 1);
    EXPECT_EQ(bus.conversation_count("MixW", "QSO"), mixw_links);
    EXPECT_FALSE(second.Timer1.enabled());
    EXPECT_FALSE(second.Timer2.enabled());
  }
  loop.resume();  // the second copy's end stopped only itself on Windows
  write_numbered_qso(1);
  write_numbered_qso(2);
  run_for(7100);
  EXPECT_EQ(delivered_calls(), written_calls());
  // Once the first copy is gone, the next start runs.
  restart_program();
  EXPECT_EQ(app->run_end(), RunEnd::running);
  EXPECT_EQ(system.other_instance_shown(), 1);
}

}  // namespace
}  // namespace vav::testing

namespace vav::testing {
namespace {

// The program's folder cannot be written (MixW under "Program Files"), or its waiting file
// cannot be written at close: the QSOs go to the user's own folder, and only when no folder
// can take them is the operator asked before closing.
class UserFolderTest : public OutboxTest {
 protected:
  UserFolderTest() { system.set_user_data_folder(user_folder.string() + "\\Vavizorur"); }
  ~UserFolderTest() override {
    std::error_code ignored;
    std::filesystem::remove_all(user_folder, ignored);
  }
  std::string user_file(const std::string& name) {
    return files.read_all(system.user_data_folder() + "\\" + name).value_or("<missing>");
  }
  std::size_t questions() const { return desktop.message_boxes().size(); }

  const std::filesystem::path user_folder = folder.path().string() + ".user";
};

TEST_F(UserFolderTest, UnderAReadOnlyProgramFolderTheFilesGoToTheUsersFolder) {
  station.dxkeeper().stop();
  files.make_read_only(folder.path().string());
  start_program();
  EXPECT_EQ(app->data_folder, system.user_data_folder());
  write_numbered_qso(1);
  write_numbered_qso(2);
  EXPECT_EQ(replay_journal(user_file(kPendingFileName)).entries.size(), 2u);
  EXPECT_NE(user_file("VavizorurLog.adi").find("<CALL:4>Q2N2"), std::string::npos);
  app->Close();
  EXPECT_EQ(questions(), 0u);
  app.reset();
  station.dxkeeper().start();
  start_program();
  run_for(7100);
  EXPECT_EQ(delivered_calls(), written_calls());
  EXPECT_EQ(user_file(kPendingFileName), "<missing>");
}

TEST_F(UserFolderTest, QsosTheWaitingFileCouldNotTakeAreKeptInTheUsersFolderAtClose) {
  station.dxkeeper().stop();
  start_program();
  write_numbered_qso(1);
  files.lock(path(kPendingFileName));  // a backup tool holds it for the rest of the run
  write_numbered_qso(2);
  station.dxkeeper().start();
  run_for(7100);  // Q1 and Q2 delivered; the file still says both wait
  write_numbered_qso(3);
  station.dxkeeper().stop();
  write_numbered_qso(4);
  app->Close();
  EXPECT_EQ(questions(), 0u) << "kept in the user's folder, nothing to ask";
  EXPECT_EQ(replay_journal(user_file(kPendingRescuedFileName)).entries.size(), 1u);
  app.reset();
  files.unlock(path(kPendingFileName));
  station.dxkeeper().start();
  start_program();
  run_for(7100);
  EXPECT_EQ(delivered_calls(), written_calls()) << "Q4 once, the others not again";
  EXPECT_EQ(user_file(kPendingRescuedFileName), "<missing>");
  EXPECT_FALSE(files.exists(path(kPendingFileName)));
}

TEST_F(UserFolderTest, WhenNoFolderCanTakeThemTheOperatorMayKeepTheProgramRunning) {
  station.dxkeeper().stop();
  start_program();
  write_numbered_qso(1);
  files.lock(path(kPendingFileName));
  files.make_read_only(user_folder.string());
  write_numbered_qso(2);
  app->Close();  // Cancel, the default
  ASSERT_EQ(questions(), 1u);
  // The held file cannot even be read: every QSO it should hold counts as at risk.
  EXPECT_EQ(desktop.message_boxes()[0].text.rfind("2 QSOs could not be written to disk", 0), 0u)
      << desktop.message_boxes()[0].text;
  EXPECT_EQ(app->run_end(), RunEnd::running);
  EXPECT_TRUE(app->Timer1.enabled());
  station.dxkeeper().start();
  run_for(7100);
  EXPECT_EQ(delivered_calls(), written_calls());
  files.unlock(path(kPendingFileName));
  app->Close();
  EXPECT_EQ(questions(), 1u) << "nothing at risk any more";
  EXPECT_EQ(app->run_end(), RunEnd::closed);

  // Windows ending the session never asks.
  files.clear_faults();
  files.make_read_only(user_folder.string());
  station.dxkeeper().stop();
  start_program();
  files.lock(path(kPendingFileName));
  write_numbered_qso(3);
  app->EndSession();
  EXPECT_EQ(questions(), 1u);
  EXPECT_EQ(app->run_end(), RunEnd::closed);
}

}  // namespace
}  // namespace vav::testing
