// MixW's stand-in as the scenarios lean on it: its macros move the radio in either decimal
// form, "Command" is emptied shortly after a write, misuse gives the classic errors, and a
// revoked object fails every member.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "errors/runtime_error.h"
#include "peers/mixw.h"
#include "peers/mixw_macros.h"

namespace vav::peers {
namespace {

using Advise = std::tuple<std::string, std::string>;

class MixwTest : public ::testing::Test {
 protected:
  MixwTest() {
    mixw.set_item_sink(
        [this](const std::string& topic, const std::string& item, const std::string& value) {
          EXPECT_EQ(topic, "QSO");
          advised.emplace_back(item, value);
        });
    mixw.set_defer([this](std::uint32_t delay, std::function<void()> task) {
      deferred.emplace_back(delay, std::move(task));
    });
  }

  Variant call(const std::string& member, std::vector<Variant> args) {
    return object->call(member, args);
  }
  int error_of(const std::function<void()>& action) {
    try {
      action();
    } catch (const RuntimeError& error) {
      return error.number();
    }
    return 0;
  }

  Mixw mixw{14'070'000, 1000, "BPSK31"};
  std::shared_ptr<AutomationObject> object = mixw.automation_object();
  std::vector<Advise> advised;
  std::vector<std::pair<std::uint32_t, std::function<void()>>> deferred;
};

TEST_F(MixwTest, TypingAdvisesOnlyChangesAndWriteIsEmptiedShortlyAfter) {
  mixw.set_item("Call", "Q1ABC");
  mixw.set_item("Call", "Q1ABC");
  mixw.work_station({.call = "Q1ABC", .rst_sent = "599"});
  mixw.write_qso();
  EXPECT_EQ(mixw.item("Command"), "WRITE");
  ASSERT_EQ(deferred.size(), 1u);
  EXPECT_EQ(deferred[0].first, kCommandResetMs);
  deferred[0].second();
  EXPECT_EQ(mixw.item("Command"), "");
  EXPECT_EQ(advised,
            (std::vector<Advise>{
                {"Call", "Q1ABC"}, {"RstSnt", "599"}, {"Command", "WRITE"}, {"Command", ""}}));
}

TEST(MixwMacros, MoveTheRadio) {
  const struct {
    const char* macros;
    double dial_hz;
    double audio_hz;
    const char* mode;
    const char* khz;
  } cases[] = {{"<AUDIOFQ: 1500>", 14070000, 1500, "BPSK31", "14071.500"},
               {"<ZFQ:14068.650>", 14068650, 1000, "BPSK31", "14069.650"},
               {"<ZFQ:7033,075>", 7033075, 1000, "BPSK31", "7034.075"},
               {"<MODE:RTTY>", 14070000, 1000, "RTTY", "14071.000"},
               {"<CLEARQSO><MODE:BPSK31><BAUDRATE:62.5><AUDIOFQ: 1500><JUMPTOTXFQ>", 14070000, 1500,
                "BPSK31", "14071.500"},
               {"<ZFQ:abc><AUDIOFQ:>", 14070000, 1000, "BPSK31", "14071.000"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.macros);
    Mixw mixw{14'070'000, 1000, "BPSK31"};
    mixw.automation_object()->call("ExecuteMacros", {std::string(c.macros)});
    EXPECT_EQ(mixw.dial_hz(), c.dial_hz);
    EXPECT_EQ(mixw.audio_hz(), c.audio_hz);
    EXPECT_EQ(mixw.item("Khz"), c.khz);
    EXPECT_EQ(mixw.item("Mode"), c.mode);
  }
}

TEST_F(MixwTest, PropertiesReadAndWriteInAnyLetterCase) {
  object->put("AUDIOFQ", 1500.0);
  object->put("Mode", std::string("CW"));
  EXPECT_EQ(object->get("audiofq"), Variant(1500.0));
  EXPECT_EQ(object->get("fqa"), Variant(14070000.0));
  EXPECT_EQ(object->get("Mode"), Variant(std::string("CW")));
  object->put("audiofq", std::string("1,5"));
  EXPECT_EQ(mixw.audio_hz(), 1.5);
}

TEST_F(MixwTest, MisuseGivesClassicErrors) {
  struct Case {
    const char* what;
    std::function<void()> action;
    int number;
  };
  const Case cases[] = {
      {"unknown get", [this] { object->get("FqB"); }, err::kMemberNotSupported},
      {"read-only FqA", [this] { object->put("FqA", 1.0); }, err::kMemberNotSupported},
      {"unknown call", [this] { call("Transmit", {}); }, err::kMemberNotSupported},
      {"text audiofq", [this] { object->put("audiofq", std::string("x")); }, err::kTypeMismatch},
      {"macro count", [this] { call("ExecuteMacros", {}); }, err::kAutomationError},
      {"field 1",
       [this] {
         call("SetQsoData", {std::int32_t{1}, std::string("Q")});
       },
       err::kInvalidProcedureCall},
  };
  for (const Case& c : cases) EXPECT_EQ(error_of(c.action), c.number) << c.what;
}

TEST_F(MixwTest, ARevokedObjectFailsEveryMemberAndANewOneServes) {
  mixw.revoke_automation();
  EXPECT_EQ(error_of([this] { object->get("audiofq"); }), err::kServerUnavailable);
  EXPECT_EQ(error_of([this] { object->put("Mode", std::string("CW")); }), err::kServerUnavailable);
  EXPECT_EQ(error_of([this] { call("ExecuteMacros", {std::string("<CLEARQSO>")}); }),
            err::kServerUnavailable);
  EXPECT_TRUE(mixw.journal().empty());
  const auto fresh = mixw.automation_object();
  EXPECT_NE(fresh, object);
  EXPECT_EQ(fresh->get("Mode"), Variant(std::string("BPSK31")));
}

TEST_F(MixwTest, TheJournalKeepsEveryCallInOrder) {
  object->get("audiofq");
  call("ExecuteMacros", {std::string("<AUDIOFQ:1001>")});
  object->put("Mode", std::string("BPSK63"));
  call("SetQsoData", {std::int32_t{0}, std::string("Q1ABC")});
  EXPECT_EQ(mixw.journal_lines(true),
            (std::vector<std::string>{"get audiofq", "call ExecuteMacros(\"<AUDIOFQ:1001>\")",
                                      "put Mode(\"BPSK63\")", "call SetQsoData(0, \"Q1ABC\")"}));
  EXPECT_EQ(mixw.journal_lines().size(), 3u);
  EXPECT_EQ(mixw.macros(), std::vector<std::string>{"<AUDIOFQ:1001>"});
}

}  // namespace
}  // namespace vav::peers
