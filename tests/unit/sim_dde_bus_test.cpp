#include "platform/sim/sim_dde_bus.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "errors/runtime_error.h"
#include "platform/sim/sim_dde.h"

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

struct Received {
  std::vector<std::string> data;
  int closed = 0;
};

LinkEvents record_into(Received& received) {
  return LinkEvents{[&received](const std::string& value) { received.data.push_back(value); },
                    [&received] { ++received.closed; }};
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

  OpenedConversation open_freq(Received& received) {
    return bus.open(kFreq, kTimeout, record_into(received));
  }

  SimEventLoop loop{0};
  SimDdeBus bus{loop};
  Reply reply = Reply::accept;
  std::vector<std::string> commands;
};

TEST_F(SimDdeBusTest, OpenStartsLinkWithCurrentValueIgnoringNameCase) {
  Received received;
  auto opened = bus.open({"COMMANDER", "cmdfreq", "Freq"}, kTimeout, record_into(received));
  EXPECT_EQ(opened.value, "14070.150");
  EXPECT_EQ(bus.conversation_count("Commander", "CmdFreq"), 1u);
  opened.conversation.reset();
  EXPECT_EQ(bus.conversation_count("Commander", "CmdFreq"), 0u);
  loop.run_for(10);
  EXPECT_EQ(received.closed, 0) << "an end the client asked for raises no notice";
}

struct OpenFailure {
  std::string label;
  LinkAddress address;
  bool hanging;
  int error;
  std::uint64_t clock_moved;
};

class SimDdeBusOpenFailure : public SimDdeBusTest,
                             public ::testing::WithParamInterface<OpenFailure> {};

TEST_P(SimDdeBusOpenFailure, ThrowsAndMovesClockOnlyForTimeout) {
  const auto& param = GetParam();
  bus.set_hanging("Commander", "CmdFreq", param.hanging);
  Received received;
  EXPECT_EQ(error_of([&] { bus.open(param.address, kTimeout, record_into(received)); }),
            param.error);
  EXPECT_EQ(loop.now(), param.clock_moved);
  EXPECT_EQ(bus.conversation_count("Commander", "CmdFreq"), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SimDdeBusOpenFailure,
    ::testing::Values(
        OpenFailure{"no_server", {"DXKeeper", "DDEServer", "X"}, false, err::kNoDdeResponse, 0},
        OpenFailure{"link_refused", {"Commander", "CmdFreq", "Mode"}, false, err::kDdeRefused, 0},
        OpenFailure{"hanging", kFreq, true, err::kDdeTimeout, kTimeout}),
    [](const auto& case_info) { return case_info.param.label; });

TEST_F(SimDdeBusTest, AdviseArrivesThroughLoopOnlyOnLinkedItem) {
  Received received;
  auto opened = open_freq(received);
  bus.advise("Commander", "CmdFreq", "Freq", "7050.000");
  bus.advise("Commander", "CmdFreq", "Mode", "CW");
  bus.advise("commander", "CMDFREQ", "freq", "7051.000");
  EXPECT_TRUE(received.data.empty()) << "data must not arrive inside the server's call";
  loop.pump();
  EXPECT_EQ(received.data, (std::vector<std::string>{"7050.000", "7051.000"}));
}

struct ExecuteCase {
  std::string label;
  Reply reply;
  bool hanging;
  int error;
  std::uint64_t clock_moved;
};

class SimDdeBusExecute : public SimDdeBusTest, public ::testing::WithParamInterface<ExecuteCase> {};

TEST_P(SimDdeBusExecute, ConversationAndOneOffExecuteAnswerAlike) {
  const auto& param = GetParam();
  Received received;
  auto opened = open_freq(received);
  reply = param.reply;
  bus.set_hanging("Commander", "CmdFreq", param.hanging);
  EXPECT_EQ(error_of([&] { opened.conversation->execute("<command:4>tune"); }), param.error);
  EXPECT_EQ(loop.now(), param.clock_moved);
  EXPECT_EQ(error_of([&] { bus.execute("Commander", "CmdFreq", "again", 500); }), param.error);
  EXPECT_EQ(loop.now(), param.clock_moved + (param.clock_moved ? 500 : 0));
  if (!param.hanging) {
    EXPECT_EQ(commands, (std::vector<std::string>{"<command:4>tune", "again"}));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SimDdeBusExecute,
    ::testing::Values(ExecuteCase{"accept", Reply::accept, false, 0, 0},
                      ExecuteCase{"refuse", Reply::refuse, false, err::kDdeRefused, 0},
                      ExecuteCase{"hang", Reply::hang, false, err::kDdeTimeout, kTimeout},
                      ExecuteCase{"server_hanging", Reply::accept, true, err::kDdeTimeout,
                                  kTimeout}),
    [](const auto& case_info) { return case_info.param.label; });

TEST_F(SimDdeBusTest, OneOffExecuteWithoutServerFindsNobody) {
  EXPECT_EQ(error_of([&] { bus.execute("SpotCollector", "X", "c", 100); }), err::kNoDdeResponse);
}

TEST_F(SimDdeBusTest, CloseConversationsNoticesOnceThroughLoopAndKeepsServing) {
  Received received;
  auto opened = open_freq(received);
  bus.close_conversations("Commander", "CmdFreq");
  bus.close_conversations("Commander", "CmdFreq");
  EXPECT_EQ(received.closed, 0);
  EXPECT_EQ(error_of([&] { opened.conversation->execute("x"); }), err::kDdeNoChannel);
  EXPECT_EQ(bus.conversation_count("Commander", "CmdFreq"), 0u);
  bus.advise("Commander", "CmdFreq", "Freq", "after-close");
  loop.pump();
  EXPECT_EQ(received.closed, 1);
  EXPECT_TRUE(received.data.empty());
  EXPECT_TRUE(bus.serving("Commander", "CmdFreq"));
  Received again;
  EXPECT_NO_THROW(open_freq(again));
}

TEST_F(SimDdeBusTest, DataQueuedBeforeCloseArrivesBeforeTheNotice) {
  std::vector<std::string> events;
  auto opened = bus.open(
      kFreq, kTimeout,
      {[&](const std::string& v) { events.push_back(v); }, [&] { events.push_back("closed"); }});
  bus.advise("Commander", "CmdFreq", "Freq", "1");
  bus.stop_server("Commander", "CmdFreq");
  loop.pump();
  EXPECT_EQ(events, (std::vector<std::string>{"1", "closed"}));
}

TEST_F(SimDdeBusTest, StopServerEndsConversationsAndInitiatesFindNobody) {
  Received received;
  auto opened = open_freq(received);
  EXPECT_TRUE(opened.conversation->server_exists());
  bus.stop_server("Commander", "CmdFreq");
  EXPECT_FALSE(bus.serving("Commander", "CmdFreq"));
  EXPECT_FALSE(opened.conversation->server_exists());
  loop.pump();
  EXPECT_EQ(received.closed, 1);
  EXPECT_EQ(error_of([&] { open_freq(received); }), err::kNoDdeResponse);
  EXPECT_EQ(error_of([&] { opened.conversation->execute("x"); }), err::kDdeNoChannel);
}

TEST_F(SimDdeBusTest, CrashedServerLeavesDeadConversationsWithoutNotice) {
  Received received;
  auto opened = open_freq(received);
  bus.crash_server("Commander", "CmdFreq");
  EXPECT_FALSE(bus.serving("Commander", "CmdFreq"));
  EXPECT_FALSE(opened.conversation->server_exists());
  EXPECT_EQ(error_of([&] { open_freq(received); }), err::kNoDdeResponse);
  // Started again, the server does not take over the conversations of its first life.
  bus.start_server("Commander", "CmdFreq", {});
  EXPECT_FALSE(opened.conversation->server_exists());
  EXPECT_EQ(error_of([&] { opened.conversation->execute("x"); }), err::kDdeNoChannel);
  bus.advise("Commander", "CmdFreq", "Freq", "7050.000");
  loop.pump();
  EXPECT_EQ(received.closed, 0);
  EXPECT_TRUE(received.data.empty());
  Received again;
  auto reopened = bus.open(kFreq, kTimeout, record_into(again));
  EXPECT_TRUE(reopened.conversation->server_exists());
}

TEST_F(SimDdeBusTest, NoticesForConversationEndedByClientAreDropped) {
  Received received;
  auto opened = open_freq(received);
  bus.advise("Commander", "CmdFreq", "Freq", "7050.000");
  bus.close_conversations("Commander", "CmdFreq");
  opened.conversation.reset();
  loop.pump();
  EXPECT_TRUE(received.data.empty());
  EXPECT_EQ(received.closed, 0);
}

TEST_F(SimDdeBusTest, ConversationOutlivingBusFailsQuietly) {
  Received received;
  auto local_bus = std::make_unique<SimDdeBus>(loop);
  local_bus->start_server("S", "T", {});
  auto opened = local_bus->open({"S", "T", "I"}, kTimeout, record_into(received));
  EXPECT_EQ(opened.value, "");
  local_bus->advise("S", "T", "I", "v");
  local_bus.reset();
  loop.pump();
  EXPECT_TRUE(received.data.empty());
  EXPECT_EQ(error_of([&] { opened.conversation->execute("x"); }), err::kDdeNoChannel);
}

TEST_F(SimDdeBusTest, SimDdeServesTopicsUnderItsServiceName) {
  std::vector<std::string> received;
  {
    SimDde dde(bus);
    EXPECT_EQ(dde.service_name(), "Vavizorur");
    dde.serve_topic("DDEServer", [&](const std::string& command) {
      received.push_back(command);
      return command != "bad";
    });
    EXPECT_EQ(error_of([&] { bus.execute("Vavizorur", "DDEServer", "good", 100); }), 0);
    EXPECT_EQ(error_of([&] { bus.execute("Vavizorur", "DDEServer", "bad", 100); }),
              err::kDdeRefused);
    Received link;
    auto opened = dde.open(kFreq, kTimeout, record_into(link));
    EXPECT_EQ(opened.value, "14070.150");
    dde.serve_topic("DDEClient", nullptr);
    dde.stop_serving("DDEServer");
    EXPECT_EQ(error_of([&] { bus.execute("Vavizorur", "DDEServer", "late", 100); }),
              err::kNoDdeResponse);
    EXPECT_TRUE(bus.serving("Vavizorur", "DDEClient"));
  }
  EXPECT_FALSE(bus.serving("Vavizorur", "DDEClient")) << "destruction stops its topics";
  EXPECT_EQ(received, (std::vector<std::string>{"good", "bad"}));
}

}  // namespace
}  // namespace vav::sim
