// Commander, DXView or Pathfinder vanishing while a command to it is under way: only that
// program is marked disconnected, the others go on, and the next connection pass after it
// returns connects it again.
#include <cstdio>
#include <string>
#include <vector>

#include "reliability_fixture.h"

namespace vav::testing {
namespace {

enum class How { stops_in_flight, hangs_then_stops };

struct NeighbourCase {
  const char* name;
  int server;
  How how;
};

class NeighbourVanishTest : public ReliabilityTest,
                            public ::testing::WithParamInterface<NeighbourCase> {
 protected:
  void SetUp() override {
    write_settings({"FrequencyControl=Commander", "ConnectCommander=True", "ConnectDXKeeper=True",
                    "ConnectDXView=True", "ConnectPathFinder=True", "TickleDXView=True",
                    "TicklePathfinder=True", "LookupPrev=True"});
    station.mixw().start();
    station.commander().start();
    station.dxkeeper().start();
    station.dxview().start();
    station.pathfinder().start();
    station.spotcollector().start();
  }
  sim::SimDxlabProgram& program(int server) {
    switch (server) {
      case dxlab::kCommander:
        return station.commander();
      case dxlab::kDXView:
        return station.dxview();
      default:
        return station.pathfinder();
    }
  }
  // The command that reaches the program: a spot for Commander, a new callsign for the
  // lookup programs.
  void send_command_to(int server, const std::string& call) {
    if (server == dxlab::kCommander) {
      peers::Spot spot;
      spot.frequency_khz = "14070.15";
      spot.mode = "psk31";
      spot.callsign = call;
      spot.log_mode = "PSK31";
      ASSERT_TRUE(station.spotcollector().send_spot(spot).accepted);
    } else {
      station.mixw().operator_types("Call", call);
    }
  }
  static bool sent(const sim::SimDxlabProgram& p, const std::string& text) {
    for (const auto& command : p.journal()) {
      if (command.find(text) != std::string::npos) return true;
    }
    return false;
  }
  static constexpr int kWatched[] = {dxlab::kCommander, dxlab::kDXKeeper, dxlab::kDXView,
                                     dxlab::kPathfinder};
};

TEST_P(NeighbourVanishTest, OnlyThatProgramIsLostAndItIsConnectedAgainWithinOnePass) {
  const NeighbourCase& c = GetParam();
  start_program();
  run_for(7000);
  for (int server : kWatched) ASSERT_TRUE(app->clients.IsServerConnected(server)) << server;

  sim::SimDxlabProgram& lost = program(c.server);
  if (c.how == How::hangs_then_stops) lost.hang_executes();
  send_command_to(c.server, "Q1ONE");
  if (c.how == How::stops_in_flight) lost.stop();
  run_for(10);
  if (c.how == How::hangs_then_stops) {
    EXPECT_FALSE(lost.unanswered().empty()) << "the command was under way";
    lost.stop();
  }
  run_for(10);

  for (int server : kWatched) {
    EXPECT_EQ(app->clients.IsServerConnected(server), server != c.server) << c.name << server;
  }
  // The others go on: lookups to the remaining programs, a QSO logged.
  station.mixw().clear_qso();
  run_for(600);
  station.mixw().operator_types("Call", "Q1TWO");
  run_for(600);
  EXPECT_TRUE(sent(station.dxkeeper(), "001checkQ1TWO"));
  if (c.server != dxlab::kDXView) {
    EXPECT_TRUE(sent(station.dxview(), "003lookupQ1TWO"));
  }
  if (c.server != dxlab::kPathfinder) {
    EXPECT_TRUE(sent(station.pathfinder(), "Q1TWO"));
  }
  write_numbered_qso(1);
  EXPECT_EQ(delivered_calls(), written_calls());

  lost.answer();
  lost.start();
  const long long reconnect_ms =
      run_until([&] { return app->clients.IsServerConnected(c.server); }, 15000);
  std::printf("RELIABILITY neighbour_%s reconnected_after_virtual_ms=%lld\n", c.name, reconnect_ms);
  ASSERT_GE(reconnect_ms, 0) << c.name;
  EXPECT_LE(reconnect_ms, 7000 + 10) << c.name;
  for (int server : kWatched) EXPECT_TRUE(app->clients.IsServerConnected(server)) << server;
  EXPECT_TRUE(program_errors().empty()) << read_file("ErrorLog.txt");
  EXPECT_EQ(app->run_end(), RunEnd::running);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, NeighbourVanishTest,
    ::testing::Values(
        NeighbourCase{"commander_stops_in_flight", dxlab::kCommander, How::stops_in_flight},
        NeighbourCase{"commander_hangs_then_stops", dxlab::kCommander, How::hangs_then_stops},
        NeighbourCase{"dxview_stops_in_flight", dxlab::kDXView, How::stops_in_flight},
        NeighbourCase{"dxview_hangs_then_stops", dxlab::kDXView, How::hangs_then_stops},
        NeighbourCase{"pathfinder_stops_in_flight", dxlab::kPathfinder, How::stops_in_flight},
        NeighbourCase{"pathfinder_hangs_then_stops", dxlab::kPathfinder, How::hangs_then_stops}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace vav::testing
