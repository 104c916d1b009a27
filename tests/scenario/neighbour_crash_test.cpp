// A DXLab program that crashes or is ended from the Task Manager sends no terminate: its
// conversations simply lose their server. The program notices at the latest at the next
// connection pass, or at once when a command to it fails, drops the dead links, takes the
// nickname out of the caption, and links the program again within one pass of its return.
// Commander, DXView or Pathfinder stopping or hanging while a command to it is under way
// loses only that program; the others go on.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "reliability_fixture.h"

namespace vav::testing {
namespace {

constexpr Millis kPass = 7000;
constexpr Millis kPoll = 500;

struct CrashCase {
  const char* name;
  int server;
};

class NeighbourCrashTest : public ReliabilityTest {
 protected:
  void SetUp() override {
    write_settings({"FrequencyControl=Commander", "ConnectCommander=True", "ConnectDXKeeper=True",
                    "ConnectDXView=True", "ConnectPathFinder=True", "TickleDXView=True",
                    "TicklePathfinder=True", "LookupPrev=True"});
    station.mixw().start();
    station.spotcollector().start();
    for (int server : kAll) program(server).start();
    start_program();
    // PropView has no connect setting: it is linked when it announces itself.
    ASSERT_TRUE(station.propview().send_start_notice());
    run_for(10);
    ASSERT_EQ(app->clients.ConnectedList(), "CC,DXK,PF,DXV,PV");
  }

  sim::SimDxlabProgram& program(int server) {
    switch (server) {
      case dxlab::kCommander:
        return station.commander();
      case dxlab::kDXKeeper:
        return station.dxkeeper();
      case dxlab::kDXView:
        return station.dxview();
      case dxlab::kPathfinder:
        return station.pathfinder();
      default:
        return station.propview();
    }
  }

  // The program's conversation controls of one neighbour.
  std::vector<LinkedText*> links_of(int server) {
    DdeClientForm& f = app->clients.form();
    switch (server) {
      case dxlab::kCommander:
        return {&f.Freq, &f.Mode, &f.RadioMode, &f.DDETransceiverControl};
      case dxlab::kDXKeeper:
        return {&f.DDELog};
      case dxlab::kDXView:
        return {&f.SpotPrefix, &f.DDELookup};
      case dxlab::kPathfinder:
        return {&f.PathfinderDDECommand};
      default:
        return {&f.PropViewDDECommand};
    }
  }

  static std::string list_without(int server) {
    std::string list;
    for (int s : kAll) {
      if (s == server) continue;
      list += (list.empty() ? "" : ",") + std::string(kNick[s]);
    }
    return list;
  }

  // A command to the neighbour that it acts on; PropView is sent none.
  void command(int server, const std::string& call) {
    switch (server) {
      case dxlab::kCommander: {
        const auto picked = spot("14070.15", "psk31", call.c_str(), "PSK31");
        ASSERT_TRUE(station.spotcollector().send_spot(picked).accepted);
        run_for(1);
        break;
      }
      case dxlab::kDXKeeper:
        station.mixw().work_station(numbered_contact(static_cast<int>(written.size()) + 1));
        station.mixw().write_qso();
        written.push_back(numbered_contact(static_cast<int>(written.size()) + 1).call);
        run_for(kWriteGap);
        break;
      case dxlab::kDXView:
      case dxlab::kPathfinder:
        station.mixw().clear_qso();
        run_for(kPoll + 100);
        station.mixw().operator_types("Call", call);
        run_for(kPoll + 100);
        break;
      default:
        break;
    }
  }

  static bool journal_has(const sim::SimDxlabProgram& p, const std::string& text) {
    return std::any_of(p.journal().begin(), p.journal().end(),
                       [&](const std::string& c) { return c.find(text) != std::string::npos; });
  }

  // The neighbour back: linked, in the caption, taking commands (and, for Commander, MixW
  // following the radio again).
  void expect_working_again(int server) {
    EXPECT_EQ(app->clients.ConnectedList(), "CC,DXK,PF,DXV,PV");
    EXPECT_NE(frame.caption().find("{CC,DXK,PF,DXV,PV}"), std::string::npos) << frame.caption();
    for (LinkedText* link : links_of(server)) EXPECT_EQ(link->link_mode(), LinkMode::automatic);
    switch (server) {
      case dxlab::kCommander:
        command(server, "Q1CC");
        EXPECT_TRUE(journal_has(station.commander(), "000xcvrfreqmode<xcvrfreq:8>14068.65"));
        station.commander().peer().tune(7'035'150);
        run_for(kPoll + 1);
        EXPECT_EQ(station.mixw().peer().dial_hz(), 7'035'150);
        break;
      case dxlab::kDXKeeper:
        command(server, "");
        EXPECT_EQ(delivered_calls(), written_calls());
        break;
      case dxlab::kDXView:
        command(server, "Q1DXV");
        EXPECT_TRUE(journal_has(station.dxview(), "003lookupQ1DXV"));
        break;
      case dxlab::kPathfinder:
        command(server, "Q1PF");
        EXPECT_TRUE(journal_has(station.pathfinder(), "getqslinfo<callsign:4>Q1PF"));
        break;
      default:
        EXPECT_EQ(station.propview().conversation_count(), 1u);
        break;
    }
    EXPECT_TRUE(program_errors().empty()) << read_file("ErrorLog.txt");
  }

  // The neighbour gone: out of the list and the caption, its links dead.
  void expect_dropped(int server) {
    EXPECT_EQ(app->clients.ConnectedList(), list_without(server));
    EXPECT_NE(frame.caption().find("{" + list_without(server) + "}"), std::string::npos)
        << frame.caption();
    for (LinkedText* link : links_of(server)) EXPECT_EQ(link->link_mode(), LinkMode::none);
  }
  // Started again: linked within one connection pass and working.
  void started_again_and_working(const CrashCase& c) {
    program(c.server).start();
    const long long relinked_ms =
        run_until([&] { return app->clients.IsServerConnected(c.server); }, kPass + 10);
    ASSERT_GE(relinked_ms, 0) << c.name << " not linked again within one pass";
    expect_working_again(c.server);
  }

  static constexpr int kAll[] = {dxlab::kCommander, dxlab::kDXKeeper, dxlab::kPathfinder,
                                 dxlab::kDXView, dxlab::kPropView};
  static constexpr const char* kNick[] = {"CC", "DXK", "PF", "DXV", "SC", "PV", "WW"};
};

class CrashedProgramTest : public NeighbourCrashTest,
                           public ::testing::WithParamInterface<CrashCase> {};
// The programs that are sent commands (all but PropView).
class CrashedCommandTargetTest : public CrashedProgramTest {};

TEST_P(CrashedProgramTest, TheNextPassDropsItAndAPassAfterItsReturnLinksItAgain) {
  const CrashCase& c = GetParam();
  program(c.server).crash();
  const long long noticed_ms =
      run_until([&] { return !app->clients.IsServerConnected(c.server); }, kPass + 10);
  ASSERT_GE(noticed_ms, 0) << c.name << " still counted as connected";
  expect_dropped(c.server);

  run_for(2 * kPass);  // passes while it is away change nothing
  EXPECT_EQ(app->clients.ConnectedList(), list_without(c.server));

  started_again_and_working(c);
}

TEST_P(CrashedCommandTargetTest, ACommandToItNoticesAtOnceAndItComesBackAfterARestart) {
  const CrashCase& c = GetParam();
  program(c.server).crash();
  command(c.server, "Q1GONE");
  EXPECT_FALSE(app->clients.IsServerConnected(c.server));
  expect_dropped(c.server);

  // It returns before the next pass: that pass links it again.
  started_again_and_working(c);
}

TEST_F(NeighbourCrashTest, AProgramThatCrashesAndReturnsBetweenTwoPassesIsLinkedAnew) {
  station.commander().crash();
  station.commander().start();
  run_for(kPass);
  EXPECT_EQ(app->clients.ConnectedList(), "CC,DXK,PF,DXV,PV");
  EXPECT_EQ(station.commander().conversation_count(), 4u);
  station.commander().peer().tune(3'580'000);
  run_for(kPoll + 1);
  EXPECT_EQ(station.mixw().peer().dial_hz(), 3'580'000);
}

constexpr CrashCase kCommander{"Commander", dxlab::kCommander};
constexpr CrashCase kDXKeeper{"DXKeeper", dxlab::kDXKeeper};
constexpr CrashCase kDXView{"DXView", dxlab::kDXView};
constexpr CrashCase kPathfinder{"Pathfinder", dxlab::kPathfinder};
constexpr CrashCase kPropView{"PropView", dxlab::kPropView};
const auto kCaseName = [](const auto& test) { return std::string(test.param.name); };

INSTANTIATE_TEST_SUITE_P(Programs, CrashedProgramTest,
                         ::testing::Values(kCommander, kDXKeeper, kDXView, kPathfinder, kPropView),
                         kCaseName);
INSTANTIATE_TEST_SUITE_P(Programs, CrashedCommandTargetTest,
                         ::testing::Values(kCommander, kDXKeeper, kDXView, kPathfinder), kCaseName);

enum class How { stops_in_flight, hangs_then_stops };

struct VanishCase {
  const char* name;
  int server;
  How how;
};

class NeighbourVanishTest : public NeighbourCrashTest,
                            public ::testing::WithParamInterface<VanishCase> {};

TEST_P(NeighbourVanishTest, OnlyThatProgramIsLostAndItIsConnectedAgainWithinOnePass) {
  const VanishCase& c = GetParam();
  constexpr int kWatched[] = {dxlab::kCommander, dxlab::kDXKeeper, dxlab::kDXView,
                              dxlab::kPathfinder};
  sim::SimDxlabProgram& lost = program(c.server);
  if (c.how == How::hangs_then_stops) lost.hang_executes();
  // The command reaches the program while it goes: a spot for Commander, a new callsign
  // for the lookup programs.
  if (c.server == dxlab::kCommander) {
    const auto picked = spot("14070.15", "psk31", "Q1ONE", "PSK31");
    ASSERT_TRUE(station.spotcollector().send_spot(picked).accepted);
  } else {
    station.mixw().operator_types("Call", "Q1ONE");
  }
  if (c.how == How::stops_in_flight) lost.stop();
  run_for(10);
  if (c.how == How::hangs_then_stops) {
    EXPECT_EQ(lost.held_executes(), 1u) << "the command was under way";
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
  EXPECT_TRUE(journal_has(station.dxkeeper(), "001checkQ1TWO"));
  if (c.server != dxlab::kDXView) {
    EXPECT_TRUE(journal_has(station.dxview(), "003lookupQ1TWO"));
  }
  if (c.server != dxlab::kPathfinder) {
    EXPECT_TRUE(journal_has(station.pathfinder(), "Q1TWO"));
  }
  write_numbered_qso(1);
  EXPECT_EQ(delivered_calls(), written_calls());

  lost.answer();
  lost.start();
  const long long reconnect_ms =
      run_until([&] { return app->clients.IsServerConnected(c.server); }, 15000);
  std::printf("RELIABILITY neighbour_%s reconnected_after_virtual_ms=%lld\n", c.name, reconnect_ms);
  ASSERT_GE(reconnect_ms, 0) << c.name;
  EXPECT_LE(reconnect_ms, kPass + 10) << c.name;
  for (int server : kWatched) EXPECT_TRUE(app->clients.IsServerConnected(server)) << server;
  EXPECT_TRUE(program_errors().empty()) << read_file("ErrorLog.txt");
  EXPECT_EQ(app->run_end(), RunEnd::running);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, NeighbourVanishTest,
    ::testing::Values(
        VanishCase{"commander_stops_in_flight", dxlab::kCommander, How::stops_in_flight},
        VanishCase{"commander_hangs_then_stops", dxlab::kCommander, How::hangs_then_stops},
        VanishCase{"dxview_stops_in_flight", dxlab::kDXView, How::stops_in_flight},
        VanishCase{"dxview_hangs_then_stops", dxlab::kDXView, How::hangs_then_stops},
        VanishCase{"pathfinder_stops_in_flight", dxlab::kPathfinder, How::stops_in_flight},
        VanishCase{"pathfinder_hangs_then_stops", dxlab::kPathfinder, How::hangs_then_stops}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace vav::testing
