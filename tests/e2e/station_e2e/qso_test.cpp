// A station worked in MixW: the callsign looked up in DXView, DXKeeper and Pathfinder, the
// QSO logged to DXKeeper (in a comma locale), and a QSO waiting when the program is killed
// delivered by the next run (waiting while DXKeeper is absent: adif_log_test; a refused QSO:
// the scenarios).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "station_e2e/station.h"

namespace vav::e2e {
namespace {

// What the operator types into MixW's QSO window, item by item. The callsign comes first:
// its change copies the end time into the start time.
const std::vector<std::string> kContact = {
    "set Call Q1ABC",       "set RstRcv 599",      "set RstSnt 579",
    "set Name Alice",       "set Qth Springfield", "set Notes met <again>",
    "set Date 27-Nov-2005", "set Time 04:44",      "set EndTime 06:48",
    "set WAZ 14",           "set ITU 27"};

// The record of kContact with MixW's dial at 14070000 Hz and its audio offset at 1500 Hz:
// "FREQ" is the operating frequency, the mode BPSK31 is logged as PSK31, "<" leaves the
// notes, the prefix is derived from the callsign.
constexpr char kLoggedExecute[] =
    "001log<CALL:5>Q1ABC <RST_RCVD:3>599 <RST_SENT:3>579 <FREQ:9>14.071500 <BAND:3>20M "
    "<MODE:5>PSK31 <QSO_DATE:8>20051127 <TIME_ON:6>044400 <TIME_OFF:6>064800 <NAME:5>Alice "
    "<NOTES:10>met again> <QTH:11>Springfield <CQZ:2>14 <ITUZ:2>27 <PFX:2>Q1 <EOR>";

class Qso : public StationTest {
 protected:
  // Sets MixW's audio offset once the program's own start-up move of it is done, then types
  // the contact.
  void work_station(Standin& mixw) {
    ASSERT_TRUE(mixw.journal.await("automation call ExecuteMacros(\"<AUDIOFQ:"));
    ASSERT_TRUE(control("MixW", "audio 1500"));
    ASSERT_TRUE(mixw.journal.await("item QSO Khz 14071.500"));
    for (const std::string& command : kContact) ASSERT_TRUE(control("MixW", command));
    ASSERT_TRUE(mixw.journal.await("item QSO ITU 27"));
  }
};

std::size_t line_index(const std::vector<std::string>& lines, const std::string& text) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].find(text) != std::string::npos) return i;
  }
  return lines.size();
}

TEST_F(Qso, ACallsignTypedInMixWIsLookedUpInDXViewDXKeeperAndPathfinderInThatOrder) {
  write_settings({{"ConnectDXKeeper", "True"},
                  {"ConnectDXView", "True"},
                  {"ConnectPathFinder", "True"},
                  {"TickleDXView", "True"},
                  {"LookupPrev", "True"},
                  {"TicklePathfinder", "True"}});
  // The debug log records each lookup after its execute was acknowledged: the order in which
  // the three were sent.
  set_debug_mode(true);
  start_mixw();
  Standin& dxview = start_dxlab("DXView");
  Standin& dxkeeper = start_dxlab("DXKeeper");
  Standin& pathfinder = start_dxlab("Pathfinder");
  ASSERT_FALSE(HasFailure());
  HWND window = nullptr;
  ASSERT_TRUE(start_program_connected(window, "{DXK,PF,DXV}"));

  ASSERT_TRUE(control("MixW", "set Call Q1ABC"));
  EXPECT_TRUE(dxview.journal.await("execute accepted DDEServer 003lookupQ1ABC"));
  EXPECT_TRUE(dxkeeper.journal.await("execute accepted DDEServer 001checkQ1ABC"));
  EXPECT_TRUE(
      pathfinder.journal.await("execute accepted DDEServer 002getqslinfo<callsign:5>Q1ABC"));

  const std::vector<std::string> debug =
      complete_lines(read_shared(in_folder("VavizorurDebug.txt")).value_or(""));
  const std::size_t dxview_at = line_index(debug, "DXViewTickleSentString = 003lookupQ1ABC");
  const std::size_t dxkeeper_at =
      line_index(debug, "DXKeeperLookupTickleSentString = 001checkQ1ABC");
  const std::size_t pathfinder_at =
      line_index(debug, "PathfinderLookupTickleSentString = 002getqslinfo<callsign:5>Q1ABC");
  EXPECT_LT(dxview_at, dxkeeper_at);
  EXPECT_LT(dxkeeper_at, pathfinder_at);
  EXPECT_LT(pathfinder_at, debug.size());
  EXPECT_EQ(error_log(), "");
}

TEST_F(Qso, AQsoWrittenInMixWIsLoggedInDXKeeperByteForByte) {
  // A comma for the decimal mark: FREQ keeps its point.
  ScopedNumberFormat format(".", ",");
  ASSERT_TRUE(format.set());
  write_settings({{"ConnectDXKeeper", "True"}});
  Standin& mixw = start_mixw();
  Standin& dxkeeper = start_dxlab("DXKeeper");
  ASSERT_FALSE(HasFailure());
  HWND window = nullptr;
  ASSERT_TRUE(start_program_connected(window, "{DXK}"));

  ASSERT_NO_FATAL_FAILURE(work_station(mixw));
  ASSERT_TRUE(control("MixW", "write"));
  EXPECT_TRUE(
      dxkeeper.journal.await_line(std::string("execute accepted DDEServer ") + kLoggedExecute));
  const std::string adif = read_shared(in_folder("journals\\DXKeeper.adi")).value_or("");
  EXPECT_NE(adif.find("<CALL:5>Q1ABC"), std::string::npos) << adif;
  EXPECT_EQ(dxkeeper.journal.find("001log"), std::nullopt) << "logged twice";
  EXPECT_EQ(error_log(), "");
}

TEST_F(Qso, AQsoWaitingWhenTheProgramIsKilledIsDeliveredByTheNextRun) {
  write_settings({{"ConnectDXKeeper", "True"}});
  Standin& mixw = start_mixw();
  ASSERT_FALSE(HasFailure());
  start_program();
  HWND window = nullptr;
  ASSERT_TRUE(await_main_window(window));
  ASSERT_NO_FATAL_FAILURE(work_station(mixw));
  ASSERT_TRUE(control("MixW", "write"));
  ASSERT_TRUE(await_caption(window, " - 1 waiting"));

  program().terminate();  // no unload, no chance to tidy up
  Standin& dxkeeper = start_dxlab("DXKeeper");
  ASSERT_FALSE(HasFailure());
  start_program();
  EXPECT_TRUE(
      dxkeeper.journal.await_line(std::string("execute accepted DDEServer ") + kLoggedExecute));
  EXPECT_TRUE(eventually(
      [&] { return read_shared(in_folder("VavizorurWaitingQSOs.txt")).value_or("").empty(); }));
}

}  // namespace
}  // namespace vav::e2e
