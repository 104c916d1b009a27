// MixW vanishing at any moment: while the program is idle, in the middle of the 500 ms poll,
// in the middle of the callsign lookups and in the middle of spot handling. Each time the
// user gets the one message, the unload steps run, the window position is saved and the
// program ends; nothing hangs.
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "reliability_fixture.h"

namespace vav::testing {
namespace {

// MixW's automation object as the program holds it, vanishing with the whole of MixW in the
// middle of the one member access that `trigger` picks.
class VanishingMixwObject final : public AutomationObject {
 public:
  using Trigger = std::function<bool(const std::string& what, const std::string& member)>;
  VanishingMixwObject(std::shared_ptr<AutomationObject> real, sim::SimMixw& mixw)
      : real_(std::move(real)), mixw_(mixw) {}

  void arm(Trigger trigger) { trigger_ = std::move(trigger); }
  bool fired() const { return fired_; }

  Variant get(const std::string& member) override {
    check("get", member);
    return real_->get(member);
  }
  void put(const std::string& member, const Variant& value) override {
    check("put", member);
    real_->put(member, value);
  }
  Variant call(const std::string& member, const std::vector<Variant>& args) override {
    check("call", member);
    return real_->call(member, args);
  }

 private:
  void check(const std::string& what, const std::string& member) {
    if (fired_ || !trigger_ || !trigger_(what, member)) return;
    fired_ = true;
    mixw_.vanish();  // the member access below now fails as MixW's has gone
  }
  std::shared_ptr<AutomationObject> real_;
  sim::SimMixw& mixw_;
  Trigger trigger_;
  bool fired_ = false;
};

enum class Moment { idle, during_poll, during_lookups, during_spot_handling };

struct VanishCase {
  const char* name;
  Moment moment;
};

class MixWVanishTest : public ReliabilityTest, public ::testing::WithParamInterface<VanishCase> {
 protected:
  void SetUp() override {
    write_settings({"ConnectDXKeeper=True", "ConnectDXView=True", "ConnectPathFinder=True",
                    "TickleDXView=True", "TicklePathfinder=True", "LookupPrev=True",
                    "FrequencyControl=Commander", "ConnectCommander=True"});
    station.mixw().start();
    object_ = std::make_shared<VanishingMixwObject>(
        automation.get_active_object(peers::kMixwProgId), station.mixw());
    automation.register_object(peers::kMixwProgId, object_);
    station.commander().start();
    station.dxkeeper().start();
    station.pathfinder().start();
    station.spotcollector().start();
  }

  // DXView whose lookup takes MixW down and then leaves the execute unanswered past the
  // time-out, so the close-down runs from inside the lookups, when they let events run.
  void start_dxview_that_takes_mixw_down() {
    sim::ServerTopic topic;
    topic.on_link = [](const std::string&) { return std::optional<std::string>(""); };
    topic.on_execute = [this](const std::string& command) {
      if (command.find("lookup") == std::string::npos) return sim::Reply::accept;
      station.mixw().vanish();
      return sim::Reply::hang;
    };
    bus.start_server(peers::kDxViewService, peers::kDdeServerTopic, std::move(topic));
  }

  std::shared_ptr<VanishingMixwObject> object_;
};

TEST_P(MixWVanishTest, TheMessageTheUnloadStepsAndThePositionSavedWithoutAHang) {
  const VanishCase& c = GetParam();
  if (c.moment == Moment::during_lookups)
    start_dxview_that_takes_mixw_down();
  else
    station.dxview().start();
  start_program();
  run_for(7000);
  ASSERT_TRUE(app->clients.IsServerConnected(dxlab::kCommander));
  ASSERT_TRUE(app->clients.IsServerConnected(dxlab::kDXView));
  frame.set_left(2222);  // moved since the last save
  frame.set_top(1111);

  const auto start = loop.now();
  switch (c.moment) {
    case Moment::idle:
      station.mixw().vanish();
      break;
    case Moment::during_poll:
      object_->arm([](const std::string& what, const std::string& member) {
        return what == "get" && member == "audiofq";
      });
      break;
    case Moment::during_lookups:
      station.mixw().operator_types("Call", "Q1LOOK");
      break;
    case Moment::during_spot_handling: {
      object_->arm([](const std::string& what, const std::string& member) {
        return what == "put" && member == "Mode";
      });
      ASSERT_TRUE(
          station.spotcollector().send_spot(spot("14070.15", "psk31", "VK2ABC", "PSK31")).accepted);
      break;
    }
  }
  const long long detected_ms =
      run_until([&] { return app->run_end() != RunEnd::running; }, 10000, 1);
  std::printf("RELIABILITY mixw_vanish_%s close_down_after_virtual_ms=%lld\n", c.name, detected_ms);
  ASSERT_GE(detected_ms, 0) << c.name;
  EXPECT_LE(detected_ms, 4000) << c.name;
  expect_mixw_close_down();
  EXPECT_EQ(setting("Left"), "2222");
  EXPECT_EQ(setting("Top"), "1111");
  if (c.moment == Moment::during_spot_handling) {
    // The spot was abandoned where MixW failed: the transceiver was not moved.
    for (const auto& command : station.commander().journal()) {
      EXPECT_EQ(command.find("xcvrfreqmode"), std::string::npos) << command;
    }
  }
  EXPECT_TRUE(program_errors().empty()) << read_file("ErrorLog.txt");
  for (const auto& command : station.dxkeeper().journal()) {  // TerminateApps is off
    EXPECT_EQ(command.find("shutdown"), std::string::npos) << command;
  }

  // Nothing of the program runs any more: no second message, no traffic.
  station.mixw().start();
  const auto dxkeeper_commands = station.dxkeeper().journal().size();
  loop.resume();  // events still flow for the rest of the machine
  run_for(60000);
  EXPECT_EQ(desktop.message_boxes().size(), 1u);
  EXPECT_EQ(station.dxkeeper().journal().size(), dxkeeper_commands);
  EXPECT_LT(loop.now() - start, 80000u);
}

INSTANTIATE_TEST_SUITE_P(Moments, MixWVanishTest,
                         ::testing::Values(VanishCase{"idle", Moment::idle},
                                           VanishCase{"during_poll", Moment::during_poll},
                                           VanishCase{"during_lookups", Moment::during_lookups},
                                           VanishCase{"during_spot_handling",
                                                      Moment::during_spot_handling}),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace vav::testing
