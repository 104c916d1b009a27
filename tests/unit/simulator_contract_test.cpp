// What the scenarios rely on from the simulated platform: virtual time in due order with
// blocked calls moving the clock; the DDE bus answering, refusing or hanging for the time-out,
// advising through the loop, running late and answering late what a busy server was sent,
// and telling a stopped server from a crashed one; file faults
// failing with the numbers the Win32 adapter gives; a failed profile write leaving the file;
// a window that takes the resolution of the monitor holding most of it.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "errors/runtime_error.h"
#include "platform/sim/sim_dde.h"
#include "platform/sim/sim_dde_bus.h"
#include "platform/sim/sim_event_loop.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_profile.h"
#include "platform/sim/sim_profile_text.h"
#include "platform/sim/sim_screens.h"
#include "platform/sim/sim_window_frame.h"
#include "tests/support/error_number.h"
#include "unit/sim_temp_folder.h"

namespace vav::sim {
namespace {

using vav::testing::error_number_of;

TEST(SimEventLoop, RunsByDueTimeThenPostingOrderAndABlockedCallMovesTheClock) {
  SimEventLoop loop(0);
  std::vector<std::string> ran;
  const std::pair<Millis, const char*> tasks[] = {
      {30, "late"}, {10, "a"}, {0, "now"}, {10, "b"}, {1000, "edge"}};
  for (const auto& [delay, name] : tasks) {
    loop.call_after(delay, [&ran, &loop, delay, name] {
      ran.push_back(name);
      EXPECT_EQ(loop.now(), delay) << name;
    });
  }
  loop.call_after(1001, [&] { ran.push_back("overdue"); });
  loop.cancel(loop.call_after(5, [&] { ran.push_back("cancelled"); }));
  loop.run_for(1000);
  EXPECT_EQ(ran, (std::vector<std::string>{"now", "a", "b", "late", "edge"}));
  loop.advance_blocked(150);  // a hung transaction: the clock moves, nothing runs
  EXPECT_EQ(ran.size(), 5u);
  loop.pump();
  EXPECT_EQ(ran.back(), "overdue");
  EXPECT_EQ(loop.now(), 1150u) << "an overdue task must not move the clock back";
  SimEventLoop wrapping(0xFFFF'FFF0u);
  wrapping.run_for(0x20);
  EXPECT_EQ(wrapping.tick_count(), 0x10u);
}

constexpr Millis kTimeout = 3000;
const LinkAddress kFreq{"Commander", "CmdFreq", "Freq"};

class SimDdeBusTest : public ::testing::Test {
 protected:
  SimDdeBusTest() {
    ServerTopic topic;
    topic.on_link = [](const std::string& item) -> std::optional<std::string> {
      if (item == "Freq") return std::string("14070.150");
      return std::nullopt;
    };
    topic.on_execute = [this](const std::string& command) {
      commands.push_back(command);
      return reply;
    };
    bus.start_server("Commander", "CmdFreq", topic);
  }

  // Opens the Freq link; its data and close notices go to `events`.
  OpenedConversation open_freq() {
    return bus.open(kFreq, kTimeout,
                    {[this](const std::string& v) { events.push_back(v); },
                     [this] { events.push_back("closed"); },
                     {}});
  }

  SimEventLoop loop{0};
  SimDdeBus bus{loop};
  Reply reply = Reply::accept;
  std::vector<std::string> commands;
  std::vector<std::string> events;
};

TEST_F(SimDdeBusTest, ExecutesAreAcceptedRefusedOrHangForTheirTimeOut) {
  auto opened = open_freq();
  EXPECT_EQ(opened.value, "14070.150");
  const struct {
    Reply reply;
    bool hanging;
    int error;
    Millis clock_moved;
  } cases[] = {{Reply::accept, false, 0, 0},
               {Reply::refuse, false, err::kDdeRefused, 0},
               {Reply::hang, false, err::kDdeTimeout, kTimeout},
               {Reply::accept, true, err::kDdeTimeout, kTimeout}};
  for (const auto& c : cases) {
    reply = c.reply;
    bus.set_hanging("Commander", "CmdFreq", c.hanging);
    const auto before = loop.now();
    EXPECT_EQ(error_number_of([&] { opened.conversation->execute("<command:4>tune"); }), c.error);
    EXPECT_EQ(loop.now() - before, c.clock_moved);
    // A one-off execute answers alike, with its own time-out.
    EXPECT_EQ(error_number_of([&] { bus.execute("Commander", "CmdFreq", "again", 500); }), c.error);
    EXPECT_EQ(loop.now() - before, c.clock_moved + (c.clock_moved ? 500 : 0));
  }
  EXPECT_EQ(commands.size(), 6u);
  EXPECT_EQ(error_number_of([&] { bus.execute("SpotCollector", "X", "c", 100); }),
            err::kNoDdeResponse);
  const auto before = loop.now();
  EXPECT_EQ(error_number_of([&] { open_freq(); }), err::kDdeTimeout);  // still hanging
  EXPECT_EQ(loop.now() - before, kTimeout);
}

// As DDEML's callback on Windows: a handler of the program's own topic that fails is
// reported at the loop's boundary, and its execute is refused; the topic goes on serving.
TEST_F(SimDdeBusTest, AFailingHandlerOfAnOwnTopicIsReportedAndRefused) {
  std::vector<std::string> reported;
  loop.boundary().set_reporter([&](const RuntimeError& error, std::string_view procedure) {
    reported.push_back(std::string(procedure) + ": " + error.description());
  });
  SimDde dde(bus, "Vavizorur");
  dde.serve_topic("DDEServer", [](const std::string& command) -> bool {
    if (command == "fail") throw RuntimeError(err::kTypeMismatch);
    return true;
  });
  EXPECT_EQ(error_number_of([&] { bus.execute("Vavizorur", "DDEServer", "fail", 100); }),
            err::kDdeRefused);
  EXPECT_EQ(error_number_of([&] { bus.execute("Vavizorur", "DDEServer", "fine", 100); }), 0);
  EXPECT_EQ(reported, (std::vector<std::string>{"DDEServer.Execute(DDEServer): Type mismatch"}));
}

// As a busy raw-DDE server on Windows: what it was sent runs late, in order, and is
// acknowledged late to the conversation still open; a server that hung runs what it held
// once it answers again; one gone while its client waits gives no answer, not a refusal.
TEST_F(SimDdeBusTest, ABusyServerRunsWhatItWasSentLateAndAnswersLate) {
  std::vector<bool> late;
  auto opened = bus.open(kFreq, kTimeout, {{}, {}, [&](bool ok) { late.push_back(ok); }});
  bus.set_answer_delay("Commander", "CmdFreq", 1000);
  opened.conversation->execute("quick");  // answered within the wait
  EXPECT_EQ(loop.now(), 1000u);
  bus.set_answer_delay("Commander", "CmdFreq", 5000);
  EXPECT_EQ(error_number_of([&] { opened.conversation->execute("slow"); }), err::kDdeTimeout);
  EXPECT_EQ(error_number_of([&] { opened.conversation->execute("slower"); }), err::kDdeTimeout);
  EXPECT_EQ(commands, std::vector<std::string>{"quick"}) << "not run before its time";
  reply = Reply::refuse;
  loop.run_for(20000);
  EXPECT_EQ(commands, (std::vector<std::string>{"quick", "slow", "slower"}));
  EXPECT_EQ(late, (std::vector<bool>{false, false}));

  bus.set_answer_delay("Commander", "CmdFreq", 0);
  reply = Reply::accept;
  bus.set_holding("Commander", "CmdFreq", true);
  EXPECT_EQ(error_number_of([&] { opened.conversation->execute("held"); }), err::kDdeTimeout);
  EXPECT_EQ(bus.held_count("Commander", "CmdFreq"), 1u);
  loop.run_for(60000);
  EXPECT_EQ(commands.back(), "slower");
  bus.set_holding("Commander", "CmdFreq", false);
  loop.pump();
  EXPECT_EQ(commands.back(), "held");
  EXPECT_EQ(late.back(), true);

  bus.during_next_wait([&] { bus.crash_server("Commander", "CmdFreq"); });
  EXPECT_EQ(error_number_of([&] { opened.conversation->execute("lost"); }), err::kDdeTimeout);
  EXPECT_EQ(error_number_of([&] { opened.conversation->execute("after"); }), err::kDdeNoChannel);
}

TEST_F(SimDdeBusTest, AdviseArrivesThroughLoopOnlyOnLinkedItem) {
  auto opened = open_freq();
  bus.advise("Commander", "CmdFreq", "Freq", "7050.000");
  bus.advise("Commander", "CmdFreq", "Mode", "CW");
  bus.advise("commander", "CMDFREQ", "freq", "7051.000");
  EXPECT_TRUE(events.empty()) << "data must not arrive inside the server's call";
  loop.pump();
  EXPECT_EQ(events, (std::vector<std::string>{"7050.000", "7051.000"}));
}

TEST_F(SimDdeBusTest, AStoppedServerSendsQueuedDataThenTheNotice) {
  auto opened = open_freq();
  bus.advise("Commander", "CmdFreq", "Freq", "1");
  bus.stop_server("Commander", "CmdFreq");
  EXPECT_FALSE(opened.conversation->server_exists());
  loop.pump();
  EXPECT_EQ(events, (std::vector<std::string>{"1", "closed"}));
  EXPECT_EQ(error_number_of([&] { open_freq(); }), err::kNoDdeResponse);
  EXPECT_EQ(error_number_of([&] { opened.conversation->execute("x"); }), err::kDdeNoChannel);
}

TEST_F(SimDdeBusTest, CrashedServerLeavesDeadConversationsWithoutNotice) {
  auto opened = open_freq();
  bus.crash_server("Commander", "CmdFreq");
  EXPECT_FALSE(opened.conversation->server_exists());
  EXPECT_EQ(error_number_of([&] { open_freq(); }), err::kNoDdeResponse);
  // Started again, the server does not take over the conversations of its first life.
  bus.start_server("Commander", "CmdFreq", {});
  EXPECT_FALSE(opened.conversation->server_exists());
  EXPECT_EQ(error_number_of([&] { opened.conversation->execute("x"); }), err::kDdeNoChannel);
  bus.advise("Commander", "CmdFreq", "Freq", "7050.000");
  loop.pump();
  EXPECT_TRUE(events.empty());
}

TEST(SimFiles, FaultsFailLikeTheWin32AdapterOnTheirTargetOnlyUntilCleared) {
  enum class Fault { read_only_folder, locked, unreadable };
  const struct {
    Fault fault;
    bool readable;
    int write_error;  // of write_new, append, replace_atomically and remove
  } cases[] = {{Fault::read_only_folder, true, err::kPathFileAccess},
               {Fault::locked, false, err::kPermissionDenied},
               {Fault::unreadable, false, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.fault));
    testing::TempFolder folder;
    SimFiles files;
    const std::string file = folder.windows_path("ErrorLog.txt");
    files.write_new(file, "old");
    if (c.fault == Fault::read_only_folder) files.make_read_only(folder.path().string() + "\\");
    if (c.fault == Fault::locked) files.lock(file);
    if (c.fault == Fault::unreadable) files.make_unreadable(file);
    EXPECT_EQ(files.read_all(file).has_value(), c.readable);
    EXPECT_EQ(error_number_of([&] { files.write_new(file, "w"); }), c.write_error);
    EXPECT_EQ(error_number_of([&] { files.append(file, "a"); }), c.write_error);
    EXPECT_EQ(error_number_of([&] { files.replace_atomically(file, "r"); }), c.write_error);
    EXPECT_EQ(error_number_of([&] { files.remove(file); }), c.write_error);
    EXPECT_EQ(error_number_of([&] { files.write_new(folder.windows_path("other.txt"), "o"); }),
              c.fault == Fault::read_only_folder ? err::kPathFileAccess : 0);
    files.clear_faults();
    files.replace_atomically(file, "after");
    EXPECT_EQ(files.read_all(file), "after");
  }
  testing::TempFolder folder;
  EXPECT_EQ(error_number_of([&] { SimFiles().write_new(folder.windows_path("none\\f.txt"), "x"); }),
            err::kPathNotFound);
}

TEST(SimProfileFiles, ReadsAndWritesLikeThePrivateProfileCalls) {
  const std::string text =
      "[Settings]\r\n  Padded  =  \t spaced \t \r\nQuoted=\"q\"\r\nDup=first\r\n"
      "Dup=second\r\n[settings]\r\nLate=x\r\n";
  EXPECT_EQ(profile_text::read_value(text, "SETTINGS", "padded", 254), "spaced");
  EXPECT_EQ(profile_text::read_value(text, "Settings", "Quoted", 254), "q");
  EXPECT_EQ(profile_text::read_value(text, "Settings", "Dup", 254), "first");
  EXPECT_EQ(profile_text::read_value(text, "Settings", "Late", 254), "");
  EXPECT_EQ(profile_text::write_value("[A]\r\nx=1\r\n\r\n[B]\r\n", "a", "X", "2"),
            "[A]\r\nx=2\r\n\r\n[B]\r\n");
  EXPECT_EQ(profile_text::write_value("[A]\r\nx=1", "B", "k", ""), "[A]\r\nx=1\r\n[B]\r\nk=\r\n");
}

TEST(SimProfileFiles, FailedWriteReturnsFalseAndLeavesFileAlone) {
  testing::TempFolder folder;
  SimFiles files;
  SimProfileFiles profile{files};
  const std::string ini = folder.windows_path("Vavizorur.ini");
  files.write_new(ini, "[Settings]\r\nTop=0\r\n");
  files.lock(ini);
  EXPECT_FALSE(profile.write_string(ini, "Settings", "Top", "1"));
  EXPECT_EQ(profile.read_string(ini, "Settings", "Top"), "") << "a locked file reads as missing";
  files.clear_faults();
  files.make_unreadable(ini);
  EXPECT_FALSE(profile.write_string(ini, "Settings", "Left", "1"))
      << "an unreadable file must not be replaced by one holding only the new key";
  files.clear_faults();
  files.make_read_only(folder.path().string());
  EXPECT_FALSE(profile.write_string(ini, "Settings", "Top", "2"));
  EXPECT_FALSE(profile.write_string(folder.windows_path("new.ini"), "S", "K", "V"));
  EXPECT_EQ(files.read_all(ini), "[Settings]\r\nTop=0\r\n");
}

// As a per-monitor aware window on Windows: moved so that another monitor holds most of it,
// it takes that monitor's resolution and the size of the same inches there (WM_DPICHANGED
// and its suggested size), and hears a resize; a move that leaves most of it where it was
// changes neither.
TEST(SimWindowFrame, TakesTheResolutionOfTheMonitorHoldingMostOfIt) {
  SimScreens screens;
  screens.set_monitors({{0, 0, 1920, 1080, 96}, {1920, 0, 1920, 1080, 144}});
  SimWindowFrame frame(screens);
  ASSERT_EQ(frame.dpi(), 96);
  const int width = frame.pixel_width();  // 321 pixels
  const struct {
    int x;
    int dpi;
    int resizes;
  } moves[] = {{1700, 96, 0}, {1800, 144, 1}, {1700, 144, 1}, {1500, 96, 2}, {-900, 96, 2}};
  for (const auto& move : moves) {
    SCOPED_TRACE(move.x);
    frame.drag_to(move.x, 10);
    EXPECT_EQ(frame.dpi(), move.dpi);
    EXPECT_EQ(frame.resize_events(), move.resizes);
    EXPECT_EQ(frame.pixel_width(), scaled(width, move.dpi, 96));
    EXPECT_EQ(frame.pixel_left(), move.x);
  }
}

}  // namespace
}  // namespace vav::sim
