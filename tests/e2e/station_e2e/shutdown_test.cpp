// The end of a run: closed by the user, with the connected programs asked to close too; or
// closed because MixW went away, after the user has read why.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "station_e2e/station.h"

namespace vav::e2e {
namespace {

class Shutdown : public StationTest {};

bool contains(const std::vector<std::string>& texts, const std::string& text) {
  for (const std::string& t : texts) {
    if (t.find(text) != std::string::npos) return true;
  }
  return false;
}

TEST_F(Shutdown, ClosedByTheUserItClosesTheConnectedProgramsAndSpotCollector) {
  write_settings({{"ConnectCommander", "True"},
                  {"ConnectDXKeeper", "True"},
                  {"ConnectDXView", "True"},
                  {"ConnectPathFinder", "True"},
                  {"FrequencyControl", "Commander"},
                  {"TerminateApps", "True"}});
  Standin& mixw = start_mixw();
  std::vector<Standin*> dxlab;
  for (const char* program : {"Commander", "DXKeeper", "DXView", "Pathfinder"}) {
    dxlab.push_back(&start_dxlab(program));
  }
  Standin& spotcollector = start_spotcollector();
  ASSERT_FALSE(HasFailure());
  HWND window = nullptr;
  ASSERT_TRUE(start_program_connected(window, "{CC,DXK,PF,DXV}"));

  ASSERT_TRUE(PostMessageA(window, WM_CLOSE, 0, 0));
  const char* const shutdowns[] = {"000shutdown", "001shutdown", "003shutdown", "002shutdown"};
  for (std::size_t i = 0; i < dxlab.size(); ++i) {
    EXPECT_TRUE(dxlab[i]->journal.await(std::string("execute accepted DDEServer ") + shutdowns[i]));
    EXPECT_TRUE(dxlab[i]->process->wait_exit(kDeadline)) << dxlab[i]->name << " still runs";
  }
  EXPECT_TRUE(spotcollector.journal.await("wm_close"));
  EXPECT_TRUE(spotcollector.process->wait_exit(kDeadline)) << "SpotCollector still runs";
  EXPECT_TRUE(program().wait_exit(kDeadline)) << "the program still runs";
  EXPECT_TRUE(mixw.process->running()) << "MixW is not the program's to close";
  EXPECT_EQ(error_log(), "");
}

TEST_F(Shutdown, WhenMixWVanishesItSaysSoAndUnloads) {
  write_settings({{"ConnectDXKeeper", "True"}, {"TerminateApps", "True"}});
  Standin& mixw = start_mixw();
  Standin& dxkeeper = start_dxlab("DXKeeper");
  ASSERT_FALSE(HasFailure());
  HWND window = nullptr;
  ASSERT_TRUE(start_program_connected(window, "{DXK}"));

  ASSERT_TRUE(control("MixW", "vanish"));
  ASSERT_TRUE(mixw.journal.await("vanish"));
  HWND box = nullptr;
  ASSERT_TRUE(eventually([&] {
    box = visible_window_captioned(program().id(), "", "#32770");
    return box != nullptr;
  })) << describe(top_windows_of(program().id()));
  const std::vector<std::string> texts = child_texts(box);
  EXPECT_TRUE(contains(texts, "MixW2 IS NOT LOADED")) << ::testing::PrintToString(texts);
  EXPECT_TRUE(contains(texts, "Because of this I must close down"))
      << ::testing::PrintToString(texts);
  // Nothing is unloaded while the message waits for the user.
  EXPECT_EQ(dxkeeper.journal.find("shutdown"), std::nullopt);
  EXPECT_TRUE(program().running());

  ASSERT_TRUE(PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0));
  EXPECT_TRUE(dxkeeper.journal.await("execute accepted DDEServer 001shutdown"));
  EXPECT_TRUE(program().wait_exit(kDeadline)) << "the program still runs";
}

}  // namespace
}  // namespace vav::e2e
