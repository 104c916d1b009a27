#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "errors/runtime_error.h"
#include "peers/mixw.h"
#include "peers/mixw_macros.h"

namespace vav::peers {
namespace {

struct MacroCase {
  std::string text;
  std::vector<Macro> macros;
};

class ParseMacrosTest : public ::testing::TestWithParam<MacroCase> {};

TEST_P(ParseMacrosTest, SplitsMacrosAndPlainText) {
  EXPECT_EQ(parse_macros(GetParam().text), GetParam().macros);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseMacrosTest,
    ::testing::Values(
        MacroCase{"<CLEARQSO>", {{"CLEARQSO", std::nullopt}}},
        MacroCase{"<MODE:BPSK31><BAUDRATE:62.5>", {{"MODE", "BPSK31"}, {"BAUDRATE", "62.5"}}},
        MacroCase{"<AUDIOFQ: 1500>", {{"AUDIOFQ", " 1500"}}},
        MacroCase{"<ZFQ:a:b>", {{"ZFQ", "a:b"}}},
        MacroCase{"CQ <MYCALL> k", {{"", "CQ "}, {"MYCALL", std::nullopt}, {"", " k"}}},
        MacroCase{"<ZFQ:14068,650", {{"", "<ZFQ:14068,650"}}}, MacroCase{"", {}}));

struct NumberCase {
  std::string argument;
  std::optional<double> zfq;
  std::optional<double> audiofq;
};

class MacroNumbersTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(MacroNumbersTest, ReadBothDecimalSeparators) {
  EXPECT_EQ(zfq_hz(GetParam().argument), GetParam().zfq);
  EXPECT_EQ(audiofq_hz(GetParam().argument), GetParam().audiofq);
}

INSTANTIATE_TEST_SUITE_P(Cases, MacroNumbersTest,
                         ::testing::Values(NumberCase{"14068.650", 14068650, 14068.65},
                                           NumberCase{"14068,650", 14068650, 14068.65},
                                           NumberCase{" 1500", 1500000, 1500},
                                           NumberCase{"1001", 1001000, 1001},
                                           NumberCase{"-1", std::nullopt, -1},
                                           NumberCase{"x", std::nullopt, std::nullopt},
                                           NumberCase{"", std::nullopt, std::nullopt}));

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

TEST_F(MixwTest, OffersEveryQsoItemAndShowsTheRadio) {
  EXPECT_EQ(qso_items().size(), 24u);
  for (const auto& name : qso_items()) EXPECT_TRUE(mixw.item(name).has_value()) << name;
  EXPECT_EQ(mixw.item("Khz"), "14071.000");
  EXPECT_EQ(mixw.item("Mode"), "BPSK31");
  EXPECT_EQ(mixw.item("Freq"), std::nullopt);
  EXPECT_EQ(error_of([this] { mixw.set_item("Freq", "1"); }), err::kInvalidProcedureCall);
}

TEST_F(MixwTest, TypingAdvisesOnlyChanges) {
  mixw.set_item("Call", "Q1ABC");
  mixw.set_item("Call", "Q1ABC");
  mixw.work_station({.call = "Q1ABC", .rst_sent = "599", .name = "Jo"});
  EXPECT_EQ(advised, (std::vector<Advise>{{"Call", "Q1ABC"}, {"RstSnt", "599"}, {"Name", "Jo"}}));
}

TEST_F(MixwTest, WriteIsEmptiedByMixwShortlyAfter) {
  mixw.write_qso();
  EXPECT_EQ(mixw.item("Command"), "WRITE");
  ASSERT_EQ(deferred.size(), 1u);
  EXPECT_EQ(deferred[0].first, kCommandResetMs);
  deferred[0].second();
  EXPECT_EQ(mixw.item("Command"), "");
  EXPECT_EQ(advised, (std::vector<Advise>{{"Command", "WRITE"}, {"Command", ""}}));
}

struct EffectCase {
  std::string macros;
  double dial_hz;
  double audio_hz;
  std::string mode;
  std::string khz;
};

class MacroEffectsTest : public MixwTest, public ::testing::WithParamInterface<EffectCase> {};

TEST_P(MacroEffectsTest, MoveTheRadio) {
  const EffectCase& c = GetParam();
  call("ExecuteMacros", {c.macros});
  EXPECT_EQ(mixw.dial_hz(), c.dial_hz);
  EXPECT_EQ(mixw.audio_hz(), c.audio_hz);
  EXPECT_EQ(mixw.mode(), c.mode);
  EXPECT_EQ(mixw.item("Khz"), c.khz);
  EXPECT_EQ(mixw.item("Mode"), c.mode);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MacroEffectsTest,
    ::testing::Values(EffectCase{"<AUDIOFQ: 1500>", 14070000, 1500, "BPSK31", "14071.500"},
                      EffectCase{"<AUDIOFQ:1001>", 14070000, 1001, "BPSK31", "14071.001"},
                      EffectCase{"<ZFQ:14068.650>", 14068650, 1000, "BPSK31", "14069.650"},
                      EffectCase{"<ZFQ:7033,075>", 7033075, 1000, "BPSK31", "7034.075"},
                      EffectCase{"<MODE:RTTY>", 14070000, 1000, "RTTY", "14071.000"},
                      EffectCase{
                          "<CLEARQSO><MODE:BPSK31><BAUDRATE:62.5><AUDIOFQ: 1500><JUMPTOTXFQ>",
                          14070000, 1500, "BPSK31", "14071.500"},
                      EffectCase{"<ZFQ:abc><AUDIOFQ:>", 14070000, 1000, "BPSK31", "14071.000"}));

TEST_F(MixwTest, ClearQsoEmptiesTheOperatorsFieldsOnly) {
  mixw.work_station({.call = "Q1ABC", .rst_rcvd = "579", .loc = "JO01", .date = "27-Nov-2005"});
  call("ExecuteMacros", {std::string("<CLEARQSO>")});
  for (const auto& name : qso_items()) {
    if (name == "Khz" || name == "Mode") continue;
    EXPECT_EQ(mixw.item(name), "") << name;
  }
  EXPECT_EQ(mixw.item("Khz"), "14071.000");
  EXPECT_EQ(mixw.item("Mode"), "BPSK31");
}

TEST_F(MixwTest, BaudRateAndJumpsAreKept) {
  call("ExecuteMacros", {std::string("<BAUDRATE:62.5><JUMPTOTXFQ><jumptotxfq>")});
  EXPECT_EQ(mixw.baud_rate(), "62.5");
  EXPECT_EQ(mixw.tx_jumps(), 2);
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

TEST_F(MixwTest, SetQsoDataPutsTheCallsign) {
  call("SetQsoData", {std::int32_t{0}, std::string("Q1XYZ")});
  EXPECT_EQ(mixw.item("Call"), "Q1XYZ");
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
