#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "errors/runtime_error.h"
#include "platform/win32/win_dde.h"
#include "platform/win32/win_event_loop.h"
#include "platform/win32/win_system.h"
#include "test_support.h"
#include "tests/support/error_number.h"

namespace vav::e2e {
namespace {

using win32::WinDde;
using win32::WinEventLoop;

constexpr Millis kLinkTimeout = 3000;
constexpr Millis kShortTimeout = 300;
const LinkAddress kAddress{"VavPeer", "Data", "Value"};

double process_cpu_ms() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto ms = [](FILETIME t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
           10000.0;
  };
  return ms(kernel) + ms(user);
}

using vav::testing::error_number_of;

struct Recorded {
  std::vector<std::string> values;
  int closed = 0;
  LinkEvents events() {
    return LinkEvents{
        [this](const std::string& v) { values.push_back(v); }, [this] { ++closed; }, {}};
  }
};

class WinDdeClientTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(peer.ready()); }
  WinEventLoop loop;
  WinDde dde{loop, "win32_adapters_test"};
  ServerPeer peer{kAddress.service, kAddress.topic, kAddress.item};
};

TEST(WinDdeOpen, NobodyServingThrowsNoResponse) {
  WinEventLoop loop;
  WinDde dde(loop, "win32_adapters_test");
  EXPECT_EQ(error_number_of([&] {
              dde.open({"VavNobody", "Nothing", "Item"}, kShortTimeout, {});
            }),
            err::kNoDdeResponse);
}

TEST_F(WinDdeClientTest, LinkStartsWithCurrentValueAndDeliversNewOnesThroughTheLoop) {
  Recorded link;
  OpenedConversation opened = dde.open(kAddress, kLinkTimeout, link.events());
  EXPECT_EQ(opened.value, "alpha");
  opened.conversation->execute("set beta");
  opened.conversation->execute("set ");
  EXPECT_TRUE(link.values.empty()) << "advise data must wait for the loop";
  ASSERT_TRUE(pump_until(loop, [&] { return link.values.size() == 2; }));
  EXPECT_EQ(link.values, (std::vector<std::string>{"beta", ""}));
  EXPECT_EQ(link.closed, 0);
}

TEST_F(WinDdeClientTest, ExecutesAreAcceptedOrRefusedAndArriveAsAnsiBytes) {
  OpenedConversation opened = dde.open(kAddress, kLinkTimeout, {});
  struct Case {
    std::string command;
    int error;
  };
  const std::vector<Case> cases = {
      {"hello", 0},
      {"refuse", err::kDdeRefused},
      {"caf\xE9 <call:4>W1AW", 0},
      {"", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(error_number_of([&] { opened.conversation->execute(c.command); }), c.error)
        << c.command;
  }
  opened.conversation->execute("quit");
  ASSERT_TRUE(wait_exit(peer.process(), loop).has_value());
  EXPECT_EQ(read_file(peer.log_path()), "hello\r\nrefuse\r\ncaf\xE9 <call:4>W1AW\r\n\r\nquit\r\n");
}

TEST_F(WinDdeClientTest, ServerExitGivesOneLinkClosedNoticeAndNoChannel) {
  Recorded link;
  OpenedConversation opened = dde.open(kAddress, kLinkTimeout, link.events());
  opened.conversation->execute("quit");
  ASSERT_TRUE(pump_until(loop, [&] { return link.closed > 0; }));
  EXPECT_FALSE(opened.conversation->server_exists());
  EXPECT_EQ(error_number_of([&] { opened.conversation->execute("after"); }), err::kDdeNoChannel);
  ASSERT_TRUE(wait_exit(peer.process(), loop).has_value());
  loop.pump();
  EXPECT_EQ(link.closed, 1);
}

TEST_F(WinDdeClientTest, ServerKilledWithoutTerminateNoLongerExists) {
  Recorded link;
  OpenedConversation opened = dde.open(kAddress, kLinkTimeout, link.events());
  EXPECT_TRUE(opened.conversation->server_exists());
  peer.process().terminate();
  EXPECT_FALSE(opened.conversation->server_exists());
  loop.pump();
  EXPECT_EQ(link.closed, 0) << "a killed server sends no terminate";
  EXPECT_EQ(error_number_of([&] { opened.conversation->execute("after"); }), err::kDdeNoChannel);
}

TEST_F(WinDdeClientTest, UnansweredExecuteTimesOut) {
  OpenedConversation opened = dde.open(kAddress, kShortTimeout, {});
  const Millis start = loop.tick_count();
  const double cpu_before = process_cpu_ms();
  EXPECT_EQ(error_number_of([&] { opened.conversation->execute("hang"); }), err::kDdeTimeout);
  EXPECT_GE(loop.tick_count() - start, kShortTimeout);
  std::printf("[ measured ] %u ms time-out wait used %.0f ms of CPU\n", kShortTimeout,
              process_cpu_ms() - cpu_before);
}

TEST_F(WinDdeClientTest, LinkOnUnknownItemIsRefused) {
  LinkAddress address = kAddress;
  address.item = "NoSuchItem";
  EXPECT_EQ(error_number_of([&] { dde.open(address, kLinkTimeout, {}); }), err::kDdeRefused);
}

TEST(WinDdeServer, OwnTopicsAcceptOrRefuseExecutesFromAnotherProgram) {
  WinEventLoop loop;
  win32::WinSystem system;
  WinDde dde(loop, system.exe_name());
  ASSERT_EQ(dde.service_name(), "win32_adapters_test");
  std::vector<std::string> received, reported;
  loop.boundary().set_reporter([&](const RuntimeError& error, std::string_view procedure) {
    reported.push_back(std::string(procedure) + ": " + error.description());
  });
  dde.serve_topic("DDEServer", [&](const std::string& command) {
    received.push_back(command);
    // A handler that fails is reported through the loop's boundary and refused.
    if (command == "fail") throw RuntimeError(err::kTypeMismatch);
    return command != "nope";
  });
  dde.serve_topic("DDEClient", [](const std::string&) { return true; });
  struct Case {
    std::string topic, command;
    DWORD exit_code;  // 0 accepted, 1 refused, 2 no conversation
  };
  const std::vector<Case> cases = {
      {"DDEServer", "okay", 0},  {"ddeserver", "nope", 1}, {"DDEServer", "caf\xE9", 0},
      {"DDEServer", "fail", 1},  {"DDEClient", "start", 0}, {"Unknown", "x", 2},
  };
  for (const Case& c : cases) {
    ChildProcess client =
        dde_peer("execute " + dde.service_name() + " " + c.topic + " \"" + c.command + "\"");
    EXPECT_EQ(wait_exit(client, loop), c.exit_code) << c.topic << " " << c.command;
  }
  EXPECT_EQ(received, (std::vector<std::string>{"okay", "nope", "caf\xE9", "fail"}));
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported[0].rfind("DDEServer.Callback(", 0), 0u) << reported[0];
  EXPECT_NE(reported[0].find("): Type mismatch"), std::string::npos) << reported[0];
  dde.stop_serving("DDEServer");
  ChildProcess late = dde_peer("execute " + dde.service_name() + " DDEServer okay");
  EXPECT_EQ(wait_exit(late, loop), 2u);
}

}  // namespace
}  // namespace vav::e2e
