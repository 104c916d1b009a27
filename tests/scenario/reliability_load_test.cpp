// Load in virtual time: a thousand QSOs written back to back, a thousand spot commands within
// one second, and a whole 24-hour contest with a QSO a minute while the neighbours come and
// go. Nothing is lost, nothing is sent twice and nothing grows with the load.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "reliability_fixture.h"

namespace vav::testing {
namespace {

class LoadTest : public ReliabilityTest {
 protected:
  // Open conversations between the program and its neighbours.
  std::size_t open_conversations() {
    return bus.conversation_count(peers::kMixwService, peers::kQsoTopic) +
           station.dxkeeper().conversation_count() + station.dxview().conversation_count() +
           station.pathfinder().conversation_count() + station.commander().conversation_count();
  }
  static peers::Spot numbered_spot(int n) {
    peers::Spot s;
    s.frequency_khz = std::to_string(14000 + n % 300) + ".15";
    s.mode = "psk31";
    s.callsign = "VK" + std::to_string(n);
    s.log_mode = "PSK31";
    return s;
  }
  std::vector<std::string> qso_data_calls() {
    std::vector<std::string> calls;
    for (const auto& line : station.mixw().journal_lines()) {
      if (line.starts_with("call SetQsoData(")) calls.push_back(line);
    }
    return calls;
  }
};

TEST_F(LoadTest, AThousandQsosWrittenBackToBackAreLoggedInOrderOnce) {
  write_settings({"ConnectDXKeeper=True"});
  station.mixw().start();
  station.dxkeeper().start();
  start_program();
  const auto start = loop.now();
  for (int n = 1; n <= 1000; ++n) write_numbered_qso(n);
  run_for(1000);
  std::printf("RELIABILITY load_1000_qsos written=%zu delivered=%zu virtual_ms=%llu\n",
              written.size(), delivered_calls().size(),
              static_cast<unsigned long long>(loop.now() - start));
  EXPECT_EQ(delivered_calls(), written_calls());
  EXPECT_FALSE(has_duplicates(delivered_calls()));
  EXPECT_TRUE(station.dxkeeper().peer().malformed_records().empty());
  EXPECT_TRUE(program_errors().empty()) << read_file("ErrorLog.txt");
}

class SpotLoadTest : public LoadTest {
 protected:
  void SetUp() override {
    write_settings({"FrequencyControl=Commander", "ConnectCommander=True"});
    station.mixw().start();
    station.commander().start();
    station.spotcollector().start();
    start_program();
    run_for(1000);
    station.mixw().peer().clear_journal();
    // Counts the ticks of the 500 ms poll.
    app->Timer1.on_tick = [this, poll = app->Timer1.on_tick] {
      ++polls;
      poll();
    };
  }
  // Sends `count` spots, `gap` ms apart; returns the most tasks the loop held meanwhile.
  std::size_t send_spots(int count, Millis gap) {
    std::size_t most_tasks = loop.pending();
    for (int n = 1; n <= count; ++n) {
      EXPECT_TRUE(station.spotcollector().send_spot(numbered_spot(n)).accepted) << n;
      most_tasks = std::max(most_tasks, loop.pending());
      if (gap > 0) run_for(gap);
    }
    run_for(10);
    return std::max(most_tasks, loop.pending());
  }
  int polls = 0;
};

TEST_F(SpotLoadTest, AThousandSpotsInOneInstantOrWithinOneSecondKeepThePollAndNothingGrows) {
  const std::size_t tasks_before = loop.pending();
  const std::size_t conversations_before = open_conversations();
  // All in one instant: only the newest is handled.
  EXPECT_LE(send_spots(1000, 0), tasks_before + 2);
  EXPECT_EQ(qso_data_calls(), (std::vector<std::string>{"call SetQsoData(0, \"VK1000\")"}));
  station.mixw().peer().clear_journal();
  const std::size_t most_for_100 = send_spots(100, 1);
  station.mixw().peer().clear_journal();
  const auto start = loop.now();
  polls = 0;
  const std::size_t most_for_1000 = send_spots(1000, 1);
  const auto elapsed = loop.now() - start;
  const int polls_seen = polls;
  std::printf(
      "RELIABILITY load_1000_spots_one_second virtual_ms=%llu polls=%d "
      "loop_tasks_before=%zu most_100=%zu most_1000=%zu conversations=%zu/%zu\n",
      static_cast<unsigned long long>(elapsed), polls_seen, tasks_before, most_for_100,
      most_for_1000, conversations_before, open_conversations());
  EXPECT_LE(elapsed, 1010u);
  EXPECT_GE(polls_seen, static_cast<int>(elapsed / 500) - 1);  // the poll kept its pace
  EXPECT_EQ(most_for_1000, most_for_100);  // the loop holds no more for ten times the spots
  EXPECT_LE(most_for_1000, tasks_before + 2);
  EXPECT_EQ(open_conversations(), conversations_before);
  EXPECT_FALSE(app->spot_server.pending());
  const auto calls = qso_data_calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), "call SetQsoData(0, \"VK1000\")");
  EXPECT_EQ(app->received_spot.RcvdSpotCallsign.text(), "VK1000");
  EXPECT_TRUE(app->clients.IsServerConnected(dxlab::kCommander));
  EXPECT_TRUE(program_errors().empty()) << read_file("ErrorLog.txt");
}

// A day of contest in virtual time: a QSO a minute; DXKeeper away a quarter of an hour
// every three hours, DXView ten minutes every hour, Pathfinder twenty minutes every two
// hours, DXKeeper's executes hung for five minutes once.
TEST_F(LoadTest, ATwentyFourHourContestLeavesNothingBehind) {
  write_settings({"ConnectDXKeeper=True", "ConnectDXView=True", "ConnectPathFinder=True",
                  "TickleDXView=True", "TicklePathfinder=True", "LookupPrev=True"});
  station.mixw().start();
  station.dxkeeper().start();
  station.dxview().start();
  station.pathfinder().start();
  start_program();
  run_for(7000);
  const std::size_t tasks_at_start = loop.pending();
  const std::size_t conversations_at_start = open_conversations();
  std::size_t most_tasks = tasks_at_start;
  std::size_t most_waiting = 0;

  for (int minute = 0; minute < 24 * 60; ++minute) {
    if (minute % 180 == 60) station.dxkeeper().stop();
    if (minute % 180 == 75) station.dxkeeper().start();
    if (minute == 700) station.dxkeeper().hang_executes();
    if (minute == 705) station.dxkeeper().answer();
    if (minute % 60 == 10) station.dxview().stop();
    if (minute % 60 == 20) station.dxview().start();
    if (minute % 120 == 30) station.pathfinder().stop();
    if (minute % 120 == 50) station.pathfinder().start();
    write_numbered_qso(minute + 1);
    run_for(60000 - kWriteGap);
    most_tasks = std::max(most_tasks, loop.pending());
    most_waiting = std::max(most_waiting, app->delivery.pending_qsos.count());
    if (minute % 60 == 59) {
      station.mixw().peer().clear_journal();  // the stand-ins' own records, not the program's
      station.dxview().peer().clear_journal();
      station.pathfinder().peer().clear_journal();
    }
  }
  run_for(7000);
  std::printf(
      "RELIABILITY contest_24h written=%zu delivered=%zu most_waiting=%zu "
      "loop_tasks=%zu..%zu (end %zu) conversations=%zu/%zu\n",
      written.size(), delivered_calls().size(), most_waiting, tasks_at_start, most_tasks,
      loop.pending(), conversations_at_start, open_conversations());
  EXPECT_EQ(delivered_calls(), written_calls());
  EXPECT_FALSE(has_duplicates(delivered_calls()));
  EXPECT_EQ(app->delivery.pending_qsos.count(), 0u);
  EXPECT_FALSE(files.exists(path(kPendingFileName)));
  EXPECT_LE(most_tasks, tasks_at_start + 2);
  EXPECT_EQ(loop.pending(), tasks_at_start);
  EXPECT_EQ(open_conversations(), conversations_at_start);
  EXPECT_FALSE(files.exists(path("ErrorLog.txt"))) << read_file("ErrorLog.txt");
  EXPECT_EQ(app->run_end(), RunEnd::running);
  EXPECT_TRUE(desktop.message_boxes().empty());
}

}  // namespace
}  // namespace vav::testing
