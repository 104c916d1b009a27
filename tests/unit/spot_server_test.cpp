#include "dde/spot_server.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "errors/runtime_error.h"
#include "platform/sim/sim_dde.h"
#include "platform/sim/sim_dde_bus.h"
#include "platform/sim/sim_event_loop.h"

namespace vav {
namespace {

constexpr Millis kTimeout = 2000;
constexpr const char* kService = "Vavizorur";

// A full spot record as SpotCollector sends it.
std::string spot_record(const std::string& freq, const std::string& mode, const std::string& call,
                        const std::string& log_mode) {
  DDECommon codec;
  return codec.EncodeField("freq", freq) + codec.EncodeField("qsx", "") +
         codec.EncodeField("mode", mode) + codec.EncodeField("call", call) +
         codec.EncodeField("logmode", log_mode) + codec.EncodeField("unused", "x") +
         codec.EncodeField("search", "s") + codec.EncodeField("prefix", "VK") +
         codec.EncodeField("grid", "QF56");
}

class SpotServerTest : public ::testing::Test {
 protected:
  SpotServerTest() {
    server_.on_spot = [this](const SpotFields& spot) { spots_.push_back(spot); };
    server_.Load();
  }

  // SpotCollector's execute on the program's "DDEServer" topic; true when accepted.
  bool execute(const std::string& command) {
    try {
      bus_.execute(kService, SpotServer::kTopic, command, kTimeout);
      return true;
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number(), err::kDdeRefused);
      return false;
    }
  }

  sim::SimEventLoop loop_;
  sim::SimDdeBus bus_{loop_};
  sim::SimDde dde_{bus_, kService};
  DDECommon codec_;
  SpotServer server_{dde_, loop_, codec_};
  std::vector<SpotFields> spots_;
};

TEST_F(SpotServerTest, CommandWords) {
  struct Case {
    std::string command;
    bool accepted;
    bool spot;
  };
  const std::string record = spot_record("14070.15", "psk31", "VK2ABC", "PSK31");
  const Case cases[] = {
      {"000setscnewentry" + record, true, true},
      {"000SETSCNEWENTRY" + record, true, true},
      {"004SetScNewEntry" + record, true, true},
      {"000invokemacro", true, false},
      {"000INVOKEMACRO<macro:1>3", true, false},
      {"000lookup VK2ABC", false, false},
      {"000setscnewentr", false, false},
      {"000", false, false},
      {"", false, false},
      {"setscnewentry" + record, false, false},  // no application index
      {"abcsetscnewentry" + record, false, false},
      {"0a0invokemacro", false, false},
      {"00", false, false},
      {"000 setscnewentry" + record, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    spots_.clear();
    EXPECT_EQ(execute(c.command), c.accepted);
    EXPECT_TRUE(spots_.empty()) << "acted on inside the DDE transaction";
    loop_.run_for(1);
    EXPECT_EQ(spots_.size(), c.spot ? 1u : 0u);
    EXPECT_FALSE(server_.pending());
  }
}

TEST_F(SpotServerTest, FieldsByPosition) {
  ASSERT_TRUE(execute("000setscnewentry" + spot_record("  14070.15 ", "psk31", "VK2ABC", "PSK31")));
  EXPECT_TRUE(server_.pending());
  loop_.run_for(10000);
  ASSERT_EQ(spots_.size(), 1u) << "handled once";
  const SpotFields& spot = spots_.front();
  EXPECT_EQ(spot.freq, "14070.15");
  EXPECT_EQ(spot.qsx, "");
  EXPECT_EQ(spot.mode, "PSK31");
  EXPECT_EQ(spot.callsign, "VK2ABC");
  EXPECT_EQ(spot.log_mode, "PSK31");
  EXPECT_EQ(spot.search, "s");
  EXPECT_EQ(spot.prefix, "VK");
  EXPECT_EQ(spot.grid, "QF56");
}

TEST_F(SpotServerTest, MissingFieldsAreEmptyAndExtraOnesIgnored) {
  DDECommon codec;
  ASSERT_TRUE(execute("000setscnewentry" + codec.EncodeField("freq", "7035.2") +
                      codec.EncodeField("qsx", "7036") + codec.EncodeField("mode", "rtty")));
  loop_.run_for(1);
  ASSERT_EQ(spots_.size(), 1u);
  EXPECT_EQ(spots_[0].freq, "7035.2");
  EXPECT_EQ(spots_[0].qsx, "7036");
  EXPECT_EQ(spots_[0].mode, "RTTY");
  EXPECT_EQ(spots_[0].callsign, "");
  EXPECT_EQ(spots_[0].grid, "");

  std::string many = spot_record("7035.2", "cw", "K1ABC", "CW");
  for (int i = 0; i < 150; ++i) many += codec.EncodeField("extra", std::to_string(i));
  ASSERT_TRUE(execute("000setscnewentry" + many));
  loop_.run_for(1);
  ASSERT_EQ(spots_.size(), 2u);
  EXPECT_EQ(spots_[1].callsign, "K1ABC");
  EXPECT_EQ(spots_[1].grid, "QF56");
}

TEST_F(SpotServerTest, GarbageRecordsGiveEmptyOrPartialFields) {
  // A field whose length cannot be read, or runs past the end, yields nothing; the fields
  // before the first bad one are kept.
  const std::pair<std::string, const char*> cases[] = {
      {"", ""},
      {"garbage", ""},
      {"<freq:99>14070", ""},
      {"<freq:-1>x", ""},
      {"<freq:abc>1", ""},
      {"<freq:5>14070<mode:2>cw", "14070"},
      {std::string(100000, '<'), ""},
      {"<freq:" + std::string(40, '9') + ">1", ""},
  };
  for (const auto& [record, freq] : cases) {
    SCOPED_TRACE(record.substr(0, 40));
    spots_.clear();
    EXPECT_TRUE(execute("000setscnewentry" + record));
    loop_.run_for(1);
    ASSERT_EQ(spots_.size(), 1u);
    EXPECT_EQ(spots_[0].freq, freq);
  }
}

TEST_F(SpotServerTest, AFailedRecordLeavesNoStaleFields) {
  // A record whose parse stops at the first field yields empty values, not the fields of the
  // spot before it.
  ASSERT_TRUE(execute("000setscnewentry" + spot_record("14070.15", "psk31", "VK2ABC", "PSK31")));
  loop_.run_for(1);
  ASSERT_TRUE(execute("000setscnewentry<freq:99>1"));
  loop_.run_for(1);
  ASSERT_EQ(spots_.size(), 2u);
  EXPECT_EQ(spots_[1].callsign, "");
  EXPECT_EQ(spots_[1].freq, "");
}

TEST_F(SpotServerTest, UnloadStopsServingAndForgetsAPendingSpot) {
  ASSERT_TRUE(execute("000setscnewentry" + spot_record("14070.15", "psk31", "VK2ABC", "PSK31")));
  server_.Unload();
  EXPECT_FALSE(bus_.serving(kService, SpotServer::kTopic));
  loop_.run_for(10);
  EXPECT_TRUE(spots_.empty());
  server_.Load();
  EXPECT_TRUE(bus_.serving(kService, SpotServer::kTopic));
}

}  // namespace
}  // namespace vav
