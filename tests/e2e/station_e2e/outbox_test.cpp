// The QSOs on their way to DXKeeper under Wine: DXKeeper too busy to answer within the
// program's wait or ending its conversation meanwhile, a second copy of the program started
// beside the first, a waiting file torn by a crash in the middle of an entry. Each QSO
// reaches DXKeeper exactly once, or the error log says it may have reached it twice.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "station_e2e/station.h"

namespace vav::e2e {
namespace {

// The program's start-up ends by moving MixW's audio offset.
constexpr char kStartUpDone[] = "automation call ExecuteMacros(\"<AUDIOFQ:";
constexpr char kLogged[] = "execute accepted DDEServer ";
constexpr char kMainWindowClass[] = "VavizorurMainWindow";

BOOL CALLBACK count_main_window(HWND hwnd, LPARAM context) {
  char class_name[64] = {};
  GetClassNameA(hwnd, class_name, sizeof class_name);
  if (IsWindowVisible(hwnd) && lstrcmpA(class_name, kMainWindowClass) == 0) {
    ++*reinterpret_cast<int*>(context);
  }
  return TRUE;
}

// The program's main windows on the desktop, of any process.
int main_windows_on_desktop() {
  int count = 0;
  EnumWindows(&count_main_window, reinterpret_cast<LPARAM>(&count));
  return count;
}

class Outbox : public StationTest {
 protected:
  // Types a QSO with `call` into MixW's QSO window and writes it, then waits until MixW has
  // cleared its command again, so that the next write is a change the program hears of.
  void write_qso(Standin& mixw, const std::string& call, const std::string& end_time) {
    for (const std::string& command :
         {"set Call " + call, std::string("set RstRcv 599"), std::string("set RstSnt 579"),
          std::string("set Date 27-Nov-2005"), std::string("set Time 04:44"),
          "set EndTime " + end_time}) {
      ASSERT_TRUE(control("MixW", command));
    }
    ASSERT_TRUE(mixw.journal.await("item QSO EndTime " + end_time));
    ASSERT_TRUE(control("MixW", "write"));
    ASSERT_TRUE(mixw.journal.await_line("item QSO Command WRITE"));
    ASSERT_TRUE(mixw.journal.await_line("item QSO Command "));
  }

  std::string dxkeeper_log() const {
    return read_shared(in_folder("journals\\DXKeeper.adi")).value_or("");
  }
};

// DXKeeper busy for 20 s: it runs every execute at once and acknowledges it `delay_ms`
// later, far past the program's 2 s wait. The program's connection pass comes 7 s after the
// QSO's execute has given up waiting: 5 s (the lateness measured from a busy DXKeeper) ends
// before it, 12 s only after a pass has found the execute still owed.
struct Lateness {
  const char* name;
  int delay_ms;
  bool pass_while_owed;
};

void PrintTo(const Lateness& late, std::ostream* out) { *out << late.name; }

class LateDXKeeper : public Outbox, public ::testing::WithParamInterface<Lateness> {
 protected:
  std::size_t connection_passes() const {
    return lines_containing(
        complete_lines(read_shared(in_folder("VavizorurDebug.txt")).value_or("")),
        "Connect DXLApps Start Time = ");
  }
};

TEST_P(LateDXKeeper, AQsoAcknowledgedLateIsLoggedOnceAndNeverSentAgain) {
  const Lateness late = GetParam();
  write_settings({{"ConnectDXKeeper", "True"}});
  set_debug_mode(true);  // the debug log notes each connection pass
  Standin& mixw = start_mixw();
  Standin& dxkeeper = start_dxlab("DXKeeper");
  ASSERT_FALSE(HasFailure());
  HWND window = nullptr;
  ASSERT_TRUE(start_program_connected(window, "{DXK}"));
  ASSERT_TRUE(mixw.journal.await(kStartUpDone));

  const std::string delay = std::to_string(late.delay_ms);
  ASSERT_TRUE(control("DXKeeper", "late " + delay + " 20000"));
  ASSERT_TRUE(dxkeeper.journal.await_line("late " + delay));
  ASSERT_NO_FATAL_FAILURE(write_qso(mixw, "Q1ABC", "04:45"));
  const std::string first = std::string(kLogged) + "001log<CALL:5>Q1ABC ";
  ASSERT_TRUE(dxkeeper.journal.await(first));
  const std::size_t passes_before = connection_passes();
  ASSERT_TRUE(dxkeeper.journal.await("acknowledged late DDEServer 001log<CALL:5>Q1ABC "));
  if (late.pass_while_owed) {
    ASSERT_GT(connection_passes(), passes_before) << "no connection pass while it was owed";
  }
  ASSERT_TRUE(dxkeeper.journal.await_line("late ends", 30000));

  // A QSO written once DXKeeper answers at once again queues behind anything of the first
  // that the program still meant to send: when it is logged, the first is settled.
  ASSERT_NO_FATAL_FAILURE(write_qso(mixw, "Q2ABC", "04:50"));
  const std::string second = std::string(kLogged) + "001log<CALL:5>Q2ABC ";
  EXPECT_TRUE(dxkeeper.journal.await(second));
  const std::vector<std::string> lines = dxkeeper.journal.lines();
  EXPECT_EQ(lines_containing(lines, first), 1u) << dxkeeper.journal.dump();
  EXPECT_EQ(lines_containing(lines, second), 1u) << dxkeeper.journal.dump();
  EXPECT_EQ(occurrences(dxkeeper_log(), "<CALL:5>Q1ABC"), 1u) << dxkeeper_log();
  EXPECT_TRUE(eventually([&] { return window_text(window).find("QSO") == std::string::npos; }))
      << window_text(window);
  EXPECT_EQ(error_log(), "");
}

INSTANTIATE_TEST_SUITE_P(Busy, LateDXKeeper,
                         ::testing::Values(Lateness{"FiveSeconds", 5000, false},
                                           Lateness{"TwelveSeconds", 12000, true}),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

// DXKeeper ends its conversation while it still owes the QSO's acknowledgement, either after
// the program has given up waiting for it or while the program still waits: the program
// cannot know whether it was logged, sends it again on the next conversation, and says in
// the error log that DXKeeper may now hold it twice (as this DXKeeper does).
struct ConversationEnd {
  const char* name;
  bool after_the_wait;
};

void PrintTo(const ConversationEnd& end, std::ostream* out) { *out << end.name; }

// How long the program waits for DXKeeper's answer to an execute, in microseconds.
constexpr long long kProgramsWaitUs = 2'000'000;

// The moment (microseconds of the journal's clock) of the first line of a timestamped
// journal that contains `text`.
std::optional<long long> first_stamp(const std::vector<std::string>& lines,
                                     const std::string& text) {
  for (const std::string& line : lines) {
    if (line.find(text) == std::string::npos) continue;
    const std::size_t digits = line.find(' ');
    if (digits == 0 || digits == std::string::npos) return std::nullopt;
    return std::stoll(line.substr(0, digits));
  }
  return std::nullopt;
}

class EndedWhileOwed : public Outbox, public ::testing::WithParamInterface<ConversationEnd> {};

TEST_P(EndedWhileOwed, TheQsoIsSentAgainAndReportedAsAPossibleDuplicate) {
  write_settings({{"ConnectDXKeeper", "True"}});
  Standin& mixw = start_mixw();
  Standin& dxkeeper = start_dxlab("DXKeeper", "--timestamps");
  ASSERT_FALSE(HasFailure());
  HWND window = nullptr;
  ASSERT_TRUE(start_program_connected(window, "{DXK}"));
  ASSERT_TRUE(mixw.journal.await(kStartUpDone));

  ASSERT_TRUE(control("DXKeeper", "late 5000"));
  ASSERT_TRUE(dxkeeper.journal.await(" late 5000"));
  ASSERT_NO_FATAL_FAILURE(write_qso(mixw, "Q1ABC", "04:45"));
  const std::string logged = std::string(kLogged) + "001log<CALL:5>Q1ABC ";
  ASSERT_TRUE(dxkeeper.journal.await(logged));
  if (GetParam().after_the_wait) {
    // The waiting file's "T" mark: the QSO was sent and got no answer in time.
    ASSERT_TRUE(eventually([&] {
      const std::string waiting = read_shared(in_folder("VavizorurWaitingQSOs.txt")).value_or("");
      return waiting.ends_with("\r\nT\r\n");
    })) << read_shared(in_folder("VavizorurWaitingQSOs.txt")).value_or("(no waiting file)");
  }
  ASSERT_TRUE(control("DXKeeper", "close"));
  ASSERT_TRUE(dxkeeper.journal.await(" close DDEServer"));
  // Which of the two cases this run is, by DXKeeper's clock: from the execute's arrival to
  // the end of its conversation, against the program's 2 s wait.
  const auto sent_at = first_stamp(dxkeeper.journal.lines(), logged);
  const auto closed_at = first_stamp(dxkeeper.journal.lines(), " close DDEServer");
  ASSERT_TRUE(sent_at && closed_at) << dxkeeper.journal.dump();
  if (GetParam().after_the_wait) {
    ASSERT_GT(*closed_at - *sent_at, kProgramsWaitUs);
  } else {
    ASSERT_LT(*closed_at - *sent_at, kProgramsWaitUs);
  }
  ASSERT_TRUE(control("DXKeeper", "late 0"));
  EXPECT_TRUE(dxkeeper.journal.await("acknowledgement dropped DDEServer 001log<CALL:5>Q1ABC "));
  EXPECT_TRUE(dxkeeper.journal.await(logged));

  EXPECT_TRUE(eventually([&] { return error_log().find("twice") != std::string::npos; }))
      << error_log();
  EXPECT_NE(error_log().find("Q1ABC"), std::string::npos) << error_log();
  EXPECT_TRUE(eventually([&] { return window_text(window).find("QSO") == std::string::npos; }))
      << window_text(window);
  EXPECT_EQ(lines_containing(dxkeeper.journal.lines(), logged), 2u) << dxkeeper.journal.dump();
}

// The conversation ends after the program's wait, or while it still waits for the answer:
// either way DXKeeper may have run the execute, and the QSO sent again is reported.
INSTANTIATE_TEST_SUITE_P(DXKeeper, EndedWhileOwed,
                         ::testing::Values(ConversationEnd{"AfterTheProgramsWait", true},
                                           ConversationEnd{"DuringTheProgramsWait", false}),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

TEST_F(Outbox, ASecondCopyShowsTheFirstAndEndsAndEachQsoIsStillLoggedOnce) {
  write_settings({{"ConnectDXKeeper", "True"}});
  Standin& mixw = start_mixw();
  Standin& dxkeeper = start_dxlab("DXKeeper");
  ASSERT_FALSE(HasFailure());
  HWND window = nullptr;
  ASSERT_TRUE(start_program_connected(window, "{DXK}"));
  ASSERT_TRUE(mixw.journal.await(kStartUpDone));
  ShowWindow(window, SW_MINIMIZE);
  ASSERT_TRUE(eventually([&] { return IsIconic(window) != FALSE; }));
  const std::size_t mixw_links = lines_containing(mixw.journal.lines(), "link QSO ");
  const std::size_t dxkeeper_connects = lines_containing(dxkeeper.journal.lines(), "connect ");

  // The operator starts the program again, from the same folder.
  ChildProcess second(in_folder("Vavizorur.exe"), "", folder());
  ASSERT_TRUE(second.started());
  const auto exit_code = second.wait_exit(kDeadline);
  EXPECT_TRUE(exit_code.has_value()) << "the second copy still runs; its windows:\n"
                                     << describe(top_windows_of(second.id()));
  second.terminate();
  EXPECT_TRUE(program().running());
  // The first copy's window is brought back to the operator.
  EXPECT_TRUE(eventually([&] { return IsIconic(window) == FALSE; }));
  EXPECT_EQ(main_windows_on_desktop(), 1);
  EXPECT_EQ(lines_containing(mixw.journal.lines(), "link QSO "), mixw_links) << mixw.journal.dump();
  EXPECT_EQ(lines_containing(dxkeeper.journal.lines(), "connect "), dxkeeper_connects)
      << dxkeeper.journal.dump();

  ASSERT_NO_FATAL_FAILURE(write_qso(mixw, "Q1ABC", "04:45"));
  EXPECT_TRUE(dxkeeper.journal.await(std::string(kLogged) + "001log<CALL:5>Q1ABC "));
  EXPECT_TRUE(eventually([&] { return window_text(window).find("QSO") == std::string::npos; }))
      << window_text(window);
  EXPECT_EQ(lines_containing(dxkeeper.journal.lines(), "001log"), 1u) << dxkeeper.journal.dump();
  EXPECT_EQ(occurrences(dxkeeper_log(), "<CALL:5>Q1ABC"), 1u) << dxkeeper_log();
  EXPECT_EQ(error_log(), "");
}

TEST_F(Outbox, AWaitingFileTornByACrashDeliversItsWholeQsosOnceAndKeepsTheRestAside) {
  write_settings({{"ConnectDXKeeper", "True"}});
  const std::string waiting_file = in_folder("VavizorurWaitingQSOs.txt");
  const std::string whole = waiting_entry(rtty_qso("Q1OLD"));
  // The last entry broke off in the middle of its execute string: no record end, no line end.
  const std::string torn = waiting_entry(rtty_qso("Q2TORN")).substr(0, 50);
  ASSERT_TRUE(write_file(waiting_file, whole + torn));

  Standin& mixw = start_mixw();
  Standin& dxkeeper = start_dxlab("DXKeeper");
  ASSERT_FALSE(HasFailure());
  HWND window = nullptr;
  ASSERT_TRUE(start_program_connected(window, "{DXK}"));
  EXPECT_TRUE(dxkeeper.journal.await_line(kLogged + rtty_qso("Q1OLD")));
  EXPECT_TRUE(eventually([&] { return read_shared(waiting_file).value_or("").empty(); }))
      << read_shared(waiting_file).value_or("");
  const std::string damaged =
      read_shared(in_folder("VavizorurWaitingQSOs.damaged.txt")).value_or("");
  EXPECT_NE(damaged.find(torn), std::string::npos) << damaged;
  const std::string log = error_log();
  EXPECT_NE(log.find("VavizorurWaitingQSOs.damaged.txt"), std::string::npos) << log;
  EXPECT_NE(log.find(torn.substr(torn.find(':') + 1)), std::string::npos) << log;

  // A QSO written now is logged next: nothing of the torn entry went out before it.
  ASSERT_TRUE(mixw.journal.await(kStartUpDone));
  ASSERT_NO_FATAL_FAILURE(write_qso(mixw, "Q3NEW", "04:45"));
  EXPECT_TRUE(dxkeeper.journal.await(std::string(kLogged) + "001log<CALL:5>Q3NEW "));
  const std::vector<std::string> lines = dxkeeper.journal.lines();
  EXPECT_EQ(lines_containing(lines, "execute "), 2u) << dxkeeper.journal.dump();
  EXPECT_EQ(lines_containing(lines, "001log"), 2u) << dxkeeper.journal.dump();
  EXPECT_EQ(lines_containing(lines, "Q2TORN"), 0u) << dxkeeper.journal.dump();
  EXPECT_EQ(occurrences(dxkeeper_log(), "<CALL:5>Q1OLD"), 1u) << dxkeeper_log();
  EXPECT_EQ(dxkeeper_log().find("Q2TORN"), std::string::npos) << dxkeeper_log();
}

}  // namespace
}  // namespace vav::e2e
