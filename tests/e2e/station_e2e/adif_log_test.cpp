// The program's own ADIF log and the Status tab's list of waiting QSOs, seen from outside:
// two QSOs written while DXKeeper is away wait as two rows, leave the list once DXKeeper has
// them, and are both in VavizorurLog.adi.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <string>
#include <vector>

#include "station_e2e/station.h"
#include "tests/support/adif_reader.h"

namespace vav::e2e {
namespace {

using testing::adif_value;
using testing::read_adif;

// The waiting list of the Status tab: the report-style list view with the "Call" column.
HWND waiting_list(HWND main_window) {
  struct Search {
    HWND found = nullptr;
  } search;
  EnumChildWindows(
      main_window,
      [](HWND child, LPARAM data) -> BOOL {
        char name[64] = {};
        GetClassNameA(child, name, sizeof(name));
        if (std::string(name) != WC_LISTVIEWA) return TRUE;
        // The waiting list has five columns, the neighbours' three.
        HWND header = reinterpret_cast<HWND>(SendMessageA(child, LVM_GETHEADER, 0, 0));
        if (header && SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) == 5) {
          reinterpret_cast<Search*>(data)->found = child;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int rows_of(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

class AdifLog : public StationTest {
 protected:
  void write_qso(Standin& mixw, const std::string& call, const std::string& time) {
    const std::vector<std::string> commands = {"set Call " + call, "set RstRcv 599",
                                               "set RstSnt 579",   "set Date 27-Nov-2005",
                                               "set Time " + time, "set EndTime " + time};
    for (const std::string& command : commands) {
      ASSERT_TRUE(control("MixW", command));
    }
    ASSERT_TRUE(mixw.journal.await("item QSO EndTime " + time));
    ASSERT_TRUE(control("MixW", "write"));
    // MixW empties its Command item again shortly after a write; a second write before that
    // would change nothing and send no WRITE at all.
    ASSERT_TRUE(mixw.journal.await_line("item QSO Command WRITE"));
    ASSERT_TRUE(mixw.journal.await_line("item QSO Command "));
  }
};

TEST_F(AdifLog, QsosWaitingForDXKeeperAreListedUntilTakenAndAreAllInTheAdifFile) {
  write_settings({{"ConnectDXKeeper", "True"}});
  Standin& mixw = start_mixw();
  ASSERT_FALSE(HasFailure());
  start_program();
  HWND window = nullptr;
  ASSERT_TRUE(await_main_window(window));
  ASSERT_TRUE(mixw.journal.await("automation call ExecuteMacros(\"<AUDIOFQ:"));
  HWND list = waiting_list(window);
  ASSERT_NE(list, nullptr) << "no waiting list";

  ASSERT_NO_FATAL_FAILURE(write_qso(mixw, "Q1AAA", "04:44"));
  ASSERT_TRUE(await_caption(window, " - 1 waiting"));
  ASSERT_NO_FATAL_FAILURE(write_qso(mixw, "Q2BBB", "04:50"));
  ASSERT_TRUE(await_caption(window, " - 2 waiting"));
  EXPECT_TRUE(eventually([&] { return rows_of(list) == 2; })) << rows_of(list);

  Standin& dxkeeper = start_dxlab("DXKeeper");
  ASSERT_FALSE(HasFailure());
  EXPECT_TRUE(dxkeeper.journal.await("execute accepted DDEServer 001log<CALL:5>Q1AAA "));
  EXPECT_TRUE(dxkeeper.journal.await("execute accepted DDEServer 001log<CALL:5>Q2BBB "));
  EXPECT_TRUE(eventually([&] { return rows_of(list) == 0; })) << rows_of(list);

  const std::string text = read_shared(in_folder("VavizorurLog.adi")).value_or("");
  EXPECT_NE(text.find("<PROGRAMID:9>Vavizorur"), std::string::npos) << text;
  const auto records = read_adif(text).records;
  ASSERT_EQ(records.size(), 2u) << text;
  const char* calls[] = {"Q1AAA", "Q2BBB"};
  const char* times[] = {"044400", "045000"};
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(adif_value(records[i], "CALL"), calls[i]);
    EXPECT_EQ(adif_value(records[i], "QSO_DATE"), "20051127");
    EXPECT_EQ(adif_value(records[i], "TIME_ON"), times[i]);
    EXPECT_EQ(adif_value(records[i], "BAND"), "20M");
    EXPECT_EQ(adif_value(records[i], "MODE"), "PSK");  // ADIF's mode and submode
    EXPECT_EQ(adif_value(records[i], "SUBMODE"), "PSK31");
    EXPECT_EQ(adif_value(records[i], "FREQ").substr(0, 3), "14.") << adif_value(records[i], "FREQ");
  }
}

}  // namespace
}  // namespace vav::e2e
