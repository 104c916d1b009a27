#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "errors/runtime_error.h"
#include "peers/sim/sim_station.h"
#include "platform/sim/sim_automation.h"
#include "platform/sim/sim_dde_bus.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_event_loop.h"

namespace vav::sim {
namespace {

// The station on the simulated platform, seen from a client as the program sees it: programs
// start late, refuse, hang, drop their links, stop or vanish on demand.
class SimStationTest : public ::testing::Test {
 protected:
  struct Link {
    std::unique_ptr<DdeConversation> conversation;
    std::string first_value;
    std::vector<std::string> values;
    int closes = 0;
  };

  std::unique_ptr<Link> link(const std::string& service, const std::string& topic,
                             const std::string& item, Millis timeout = 2000) {
    auto out = std::make_unique<Link>();
    Link* raw = out.get();
    auto opened = bus.open({service, topic, item}, timeout,
                           {[raw](const std::string& value) { raw->values.push_back(value); },
                            [raw] { ++raw->closes; }});
    out->conversation = std::move(opened.conversation);
    out->first_value = opened.value;
    return out;
  }

  static int error_of(const std::function<void()>& action) {
    try {
      action();
    } catch (const RuntimeError& error) {
      return error.number();
    }
    return 0;
  }

  SimEventLoop loop;
  SimDdeBus bus{loop};
  SimAutomation automation;
  SimDesktop desktop{loop};
  SimStation station{loop, bus, automation, &desktop};
};

TEST_F(SimStationTest, ADxlabProgramIsAbsentUntilStartedAndCanStartLate) {
  EXPECT_EQ(error_of([this] { link("DXKeeper", "DDEServer", "DDECommand"); }), err::kNoDdeResponse);
  station.dxkeeper().start_after(3000);
  loop.run_for(2999);
  EXPECT_FALSE(station.dxkeeper().running());
  loop.run_for(1);
  EXPECT_TRUE(station.dxkeeper().running());
  auto dxk = link("DXKeeper", "DDEServer", "DDECommand");
  dxk->conversation->execute("001checkQ1ABC");
  EXPECT_EQ(station.dxkeeper().journal(), std::vector<std::string>{"001checkQ1ABC"});
  EXPECT_EQ(station.dxkeeper().peer().checked(), std::vector<std::string>{"Q1ABC"});
}

TEST_F(SimStationTest, ExecutesAreRefusedOrLeftHangingOnDemand) {
  station.pathfinder().start();
  auto pf = link("Pathfinder", "DDEServer", "DDECommand");
  station.pathfinder().refuse_executes();
  EXPECT_EQ(error_of([&] { pf->conversation->execute("002shutdown"); }), err::kDdeRefused);
  station.pathfinder().hang_executes();
  const auto before = loop.now();
  EXPECT_EQ(error_of([&] { pf->conversation->execute("002shutdown"); }), err::kDdeTimeout);
  EXPECT_EQ(loop.now() - before, 2000u);
  EXPECT_EQ(station.pathfinder().unanswered().size(), 2u);
  station.pathfinder().hang();
  EXPECT_EQ(error_of([this] { link("Pathfinder", "DDEServer", "DDECommand"); }), err::kDdeTimeout);
  // How it answers survives a restart.
  station.pathfinder().stop();
  station.pathfinder().start();
  EXPECT_EQ(error_of([this] { link("Pathfinder", "DDEServer", "DDECommand"); }), err::kDdeTimeout);
  station.pathfinder().answer();
  pf = link("Pathfinder", "DDEServer", "DDECommand");
  pf->conversation->execute("002getqslinfo<callsign:5>Q1ABC");
  EXPECT_EQ(station.pathfinder().peer().queried(), std::vector<std::string>{"Q1ABC"});
  EXPECT_TRUE(station.pathfinder().running());
}

TEST_F(SimStationTest, StoppingOrDroppingConversationsNoticesTheClient) {
  station.dxview().start();
  auto prefix = link("DXView", "DDEServer", "SpotPrefix");
  station.dxview().close_conversations();
  loop.run_until_idle();
  EXPECT_EQ(prefix->closes, 1);
  EXPECT_TRUE(station.dxview().running());
  auto again = link("DXView", "DDEServer", "SpotPrefix");
  EXPECT_EQ(station.dxview().conversation_count(), 1u);
  station.dxview().stop();
  loop.run_until_idle();
  EXPECT_EQ(again->closes, 1);
  EXPECT_EQ(error_of([this] { link("DXView", "DDEServer", "SpotPrefix"); }), err::kNoDdeResponse);
}

TEST_F(SimStationTest, ShutdownIsAcknowledgedThenTheProgramCloses) {
  station.commander().start();
  auto freq = link("CI-V Commander", "CIV_CommanderUI", "FreqDisplay");
  auto command = link("CI-V Commander", "DDEServer", "DDECommand");
  command->conversation->execute("000shutdown");
  EXPECT_TRUE(station.commander().running());
  loop.run_until_idle();
  EXPECT_FALSE(station.commander().running());
  EXPECT_EQ(freq->closes, 1);
  EXPECT_EQ(command->closes, 1);
}

TEST_F(SimStationTest, MixwStartsLateAndVanishes) {
  station.mixw().start_after(1500);
  EXPECT_EQ(error_of([this] { automation.get_active_object("MixW2.Application"); }),
            err::kCannotCreateObject);
  loop.run_for(1500);
  const auto object = automation.get_active_object("MixW2.Application");
  auto call = link("MixW", "QSO", "Call");
  station.mixw().operator_types("Call", "Q1ABC");
  object->call("SetQsoData", {std::int32_t{0}, std::string("Q1XYZ")});
  loop.run_until_idle();
  EXPECT_EQ(call->values, (std::vector<std::string>{"Q1ABC", "Q1XYZ"}));
  station.mixw().vanish();
  loop.run_until_idle();
  EXPECT_EQ(call->closes, 1);
  EXPECT_EQ(error_of([&] { object->get("audiofq"); }), err::kServerUnavailable);
  EXPECT_EQ(error_of([this] { automation.get_active_object("MixW2.Application"); }),
            err::kCannotCreateObject);
}

TEST_F(SimStationTest, SpotCollectorSendsSpotsAndClosesOnRequest) {
  std::vector<std::string> received;
  bus.start_server("Vavizorur", "DDEServer",
                   {nullptr, [&received](const std::string& command) {
                      received.push_back(command);
                      return command.find("setscnewentry") != std::string::npos ? Reply::accept
                                                                                : Reply::refuse;
                    }});
  auto& sc = station.spotcollector();
  EXPECT_EQ(error_of([&] { sc.send_command("004invokemacro"); }), err::kInvalidProcedureCall);
  sc.start();
  const auto sent = sc.send_spot(
      {.frequency_khz = "14070.15", .mode = "psk31", .callsign = "Q1ABC", .log_mode = "PSK31"});
  EXPECT_TRUE(sent.accepted);
  EXPECT_EQ(received, std::vector<std::string>{sent.command});
  EXPECT_EQ(sc.send_command("004lookup").error, err::kDdeRefused);
  ASSERT_EQ(sc.sent().size(), 2u);

  const auto window = desktop.find_window("SpotCollector");
  ASSERT_TRUE(window.has_value());
  EXPECT_EQ(window, sc.window());
  EXPECT_TRUE(desktop.post_close(*window));
  EXPECT_TRUE(sc.running());
  loop.run_until_idle();
  EXPECT_FALSE(sc.running());
  EXPECT_FALSE(desktop.is_window(*window));
}

}  // namespace
}  // namespace vav::sim
