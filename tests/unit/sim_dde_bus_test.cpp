// The in-process DDE bus the scenarios run on: a link starts with the item's value, advise
// data and link-close notices come through the loop, executes are accepted, refused or hang
// for their time-out, and a stopped server ends its conversations where a crashed one leaves
// them dead without a notice.
#include "platform/sim/sim_dde_bus.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "errors/runtime_error.h"

namespace vav::sim {
namespace {

constexpr Millis kTimeout = 3000;
const LinkAddress kFreq{"Commander", "CmdFreq", "Freq"};

int error_of(const std::function<void()>& action) {
  try {
    action();
  } catch (const RuntimeError& error) {
    return error.number();
  }
  return 0;
}

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
                     [this] { events.push_back("closed"); }});
  }

  SimEventLoop loop{0};
  SimDdeBus bus{loop};
  Reply reply = Reply::accept;
  std::vector<std::string> commands;
  std::vector<std::string> events;
};

TEST_F(SimDdeBusTest, OpenStartsLinkWithCurrentValueAndFailsLikeDdeml) {
  auto opened = bus.open({"COMMANDER", "cmdfreq", "Freq"}, kTimeout, {});
  EXPECT_EQ(opened.value, "14070.150");
  EXPECT_EQ(bus.conversation_count("Commander", "CmdFreq"), 1u);
  opened.conversation.reset();
  EXPECT_EQ(bus.conversation_count("Commander", "CmdFreq"), 0u);
  EXPECT_EQ(error_of([&] {
              bus.open({"DXKeeper", "DDEServer", "X"}, kTimeout, {});
            }),
            err::kNoDdeResponse);
  EXPECT_EQ(error_of([&] {
              bus.open({"Commander", "CmdFreq", "Mode"}, kTimeout, {});
            }),
            err::kDdeRefused);
  EXPECT_EQ(loop.now(), 0u);
  bus.set_hanging("Commander", "CmdFreq", true);
  EXPECT_EQ(error_of([&] { open_freq(); }), err::kDdeTimeout);
  EXPECT_EQ(loop.now(), kTimeout);
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

TEST_F(SimDdeBusTest, ExecutesAreAcceptedRefusedOrHangForTheirTimeOut) {
  auto opened = open_freq();
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
    EXPECT_EQ(error_of([&] { opened.conversation->execute("<command:4>tune"); }), c.error);
    EXPECT_EQ(loop.now() - before, c.clock_moved);
    // A one-off execute answers alike, with its own time-out.
    EXPECT_EQ(error_of([&] { bus.execute("Commander", "CmdFreq", "again", 500); }), c.error);
    EXPECT_EQ(loop.now() - before, c.clock_moved + (c.clock_moved ? 500 : 0));
  }
  EXPECT_EQ(commands, (std::vector<std::string>{"<command:4>tune", "again", "<command:4>tune",
                                                "again", "<command:4>tune", "again"}));
  EXPECT_EQ(error_of([&] { bus.execute("SpotCollector", "X", "c", 100); }), err::kNoDdeResponse);
}

TEST_F(SimDdeBusTest, ClosedConversationsAreNoticedOnceThroughLoopAndTheServerGoesOn) {
  auto opened = open_freq();
  bus.close_conversations("Commander", "CmdFreq");
  bus.close_conversations("Commander", "CmdFreq");
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(error_of([&] { opened.conversation->execute("x"); }), err::kDdeNoChannel);
  bus.advise("Commander", "CmdFreq", "Freq", "after-close");
  loop.pump();
  EXPECT_EQ(events, std::vector<std::string>{"closed"});
  EXPECT_TRUE(bus.serving("Commander", "CmdFreq"));
  EXPECT_NO_THROW(open_freq());
}

TEST_F(SimDdeBusTest, AStoppedServerSendsQueuedDataThenTheNotice) {
  auto opened = open_freq();
  EXPECT_TRUE(opened.conversation->server_exists());
  bus.advise("Commander", "CmdFreq", "Freq", "1");
  bus.stop_server("Commander", "CmdFreq");
  EXPECT_FALSE(bus.serving("Commander", "CmdFreq"));
  EXPECT_FALSE(opened.conversation->server_exists());
  loop.pump();
  EXPECT_EQ(events, (std::vector<std::string>{"1", "closed"}));
  EXPECT_EQ(error_of([&] { open_freq(); }), err::kNoDdeResponse);
  EXPECT_EQ(error_of([&] { opened.conversation->execute("x"); }), err::kDdeNoChannel);
}

TEST_F(SimDdeBusTest, CrashedServerLeavesDeadConversationsWithoutNotice) {
  auto opened = open_freq();
  bus.crash_server("Commander", "CmdFreq");
  EXPECT_FALSE(bus.serving("Commander", "CmdFreq"));
  EXPECT_FALSE(opened.conversation->server_exists());
  EXPECT_EQ(error_of([&] { open_freq(); }), err::kNoDdeResponse);
  // Started again, the server does not take over the conversations of its first life.
  bus.start_server("Commander", "CmdFreq", {});
  EXPECT_FALSE(opened.conversation->server_exists());
  EXPECT_EQ(error_of([&] { opened.conversation->execute("x"); }), err::kDdeNoChannel);
  bus.advise("Commander", "CmdFreq", "Freq", "7050.000");
  loop.pump();
  EXPECT_TRUE(events.empty());
  EXPECT_TRUE(open_freq().conversation->server_exists());
}

}  // namespace
}  // namespace vav::sim
