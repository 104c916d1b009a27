// The waiting-QSO file held by another program (a backup tool, a virus scanner) as the
// program starts: it is never written over, the QSO logged meanwhile waits behind the older
// ones, and all of them reach DXKeeper in the order they were written once the file is free.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "station_e2e/station.h"

namespace vav::e2e {
namespace {

class WaitingFile : public StationTest {};

TEST_F(WaitingFile, AFileHeldAtStartIsNeverWrittenOverAndItsQsosArriveFirst) {
  write_settings({{"ConnectDXKeeper", "True"}});
  const std::string waiting_file = in_folder("VavizorurWaitingQSOs.txt");
  const std::string earlier = waiting_entry(rtty_qso("Q1OLD")) + waiting_entry(rtty_qso("Q2OLD"));
  ASSERT_TRUE(write_file(waiting_file, earlier));
  HeldFile held(waiting_file);
  ASSERT_TRUE(held.held());

  Standin& mixw = start_mixw();
  ASSERT_FALSE(HasFailure());
  start_program();
  HWND window = nullptr;
  ASSERT_TRUE(await_main_window(window));
  ASSERT_TRUE(await_caption(window, "cannot be read yet"));

  // A QSO logged while the file is held, with DXKeeper not running, once the program's
  // start-up (which ends by setting MixW's audio offset) is done.
  ASSERT_TRUE(mixw.journal.await("automation call ExecuteMacros(\"<AUDIOFQ:"));
  for (const char* command : {"set Call Q3NEW", "set RstRcv 599", "set RstSnt 579",
                              "set Date 27-Nov-2005", "set Time 04:44", "set EndTime 04:45"}) {
    ASSERT_TRUE(control("MixW", command));
  }
  ASSERT_TRUE(mixw.journal.await("item QSO EndTime 04:45"));
  ASSERT_TRUE(control("MixW", "write"));
  ASSERT_TRUE(await_caption(window, " - 1 waiting"));
  EXPECT_EQ(held.content(), earlier) << "written while held";
  held.release();

  Standin& dxkeeper = start_dxlab("DXKeeper");
  ASSERT_FALSE(HasFailure());
  EXPECT_TRUE(dxkeeper.journal.await_line("execute accepted DDEServer " + rtty_qso("Q1OLD")));
  EXPECT_TRUE(dxkeeper.journal.await_line("execute accepted DDEServer " + rtty_qso("Q2OLD")));
  EXPECT_TRUE(dxkeeper.journal.await("execute accepted DDEServer 001log<CALL:5>Q3NEW "));
  EXPECT_TRUE(eventually([&] { return !read_shared(waiting_file).has_value(); }))
      << read_shared(waiting_file).value_or("");
  EXPECT_FALSE(read_shared(in_folder("VavizorurWaitingQSOs.later.txt")).has_value());
  EXPECT_TRUE(eventually([&] { return window_text(window).find("QSO") == std::string::npos; }))
      << window_text(window);
  const std::string log = error_log();
  EXPECT_NE(log.find("in module QuandrelMain.LoadWaitingQsos"), std::string::npos) << log;
}

}  // namespace
}  // namespace vav::e2e
