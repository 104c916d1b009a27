#include "app/log_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/settings.h"
#include "errors/runtime_error.h"

namespace vav {
namespace {

const Separators kUs{',', '.'};

QsoLogFields every_field() {
  QsoLogFields f;
  f.CurrentCallsign = "q1abc";
  f.RSTRcvd = "599";
  f.RSTSnt = "579";
  f.RigFreq = "14,070.000";
  f.OpFreq = "14,071.001";
  f.Mode = "PSK31";
  f.DateNow = "27-Nov-2005";
  f.UTCStart = "04:44";
  f.UTCEnd = "06:48:12";
  f.NameText = "Ann";
  f.QSLInfo = "Q2XYZ";
  f.Notes = "a<b";
  f.State = "IL";
  f.QTH = "Springfield";
  f.County = "Sangamon";
  f.GridSq = "EN59";
  f.IOTA = "NA-001";
  f.CQZ = "4";
  f.IRUZ = "8";
  f.Prefix = "Q1";
  f.ExchRcv = "001";
  f.ExchSnt = "042";
  f.ContestShown = true;
  return f;
}

TEST(BuildLogRecord, FieldsFollowTheirOptions) {
  Settings all;
  all.LoggedFrequency = "Actual";
  all.SaveCounty = all.SaveGrid = all.SaveIota = all.RequestQSL = true;
  Settings rig_only;
  rig_only.LoggedFrequency = "Rig";
  Settings no_freq;
  no_freq.LoggedFrequency = "rig";  // compared exactly: no FREQ
  QsoLogFields no_contest = every_field();
  no_contest.ContestShown = false;
  no_contest.CurrentCallsign = "";
  const std::string common_head = "<RST_RCVD:3>599 <RST_SENT:3>579 ";
  const std::string common_tail =
      "<BAND:3>20M <MODE:5>PSK31 <QSO_DATE:8>20051127 <TIME_ON:6>044400 "
      "<TIME_OFF:6>064812 <NAME:3>Ann <QSL_VIA:5>Q2XYZ <NOTES:2>ab <STATE:2>IL "
      "<QTH:11>Springfield ";
  const struct {
    QsoLogFields fields;
    Settings settings;
    std::string record;
  } cases[] = {
      {every_field(), all,
       "<CALL:5>Q1ABC " + common_head + "<FREQ:9>14.071001 " + common_tail +
           "<CNTY:11>IL,Sangamon <GRIDSQUARE:4>EN59 <IOTA:6>NA-001 <CQZ:1>4 <ITUZ:1>8 "
           "<PFX:2>Q1 <QSL_RCVD:1>R <QSL_SENT:1>R <SRX:3>001 <STX:3>042 <EOR>"},
      {no_contest, rig_only,
       common_head + "<FREQ:9>14.070000 " + common_tail + "<CQZ:1>4 <ITUZ:1>8 <PFX:2>Q1 <EOR>"},
      {no_contest, no_freq, common_head + common_tail + "<CQZ:1>4 <ITUZ:1>8 <PFX:2>Q1 <EOR>"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(build_log_record(c.fields, c.settings, kUs, CodePage{}), c.record);
  }
}

// CNTY is the state and the county; without a county there is none, whatever the state.
TEST(BuildLogRecord, CountyIsLoggedWithTheStateOnlyWhenThereIsACounty) {
  Settings county_on;
  county_on.SaveCounty = true;
  QsoLogFields no_county = every_field();
  no_county.County = "";
  const std::string without = build_log_record(no_county, county_on, kUs, CodePage{});
  EXPECT_EQ(without.find("CNTY"), std::string::npos) << without;
  EXPECT_NE(without.find("<STATE:2>IL <QTH:11>Springfield <CQZ:1>4 "), std::string::npos)
      << without;

  QsoLogFields no_state = every_field();
  no_state.State = "";
  const std::string with = build_log_record(no_state, county_on, kUs, CodePage{});
  EXPECT_NE(with.find("<QTH:11>Springfield <CNTY:9>,Sangamon <CQZ:1>4 "), std::string::npos)
      << with;
}

TEST(BuildLogRecord, DebugEntriesComeInOrderAndStopAtABadDate) {
  Settings settings;
  settings.LoggedFrequency = "Rig";
  std::vector<std::pair<std::string, std::string>> entries;
  const DebugEntrySink sink = [&](std::string_view key, std::string_view value) {
    entries.emplace_back(key, value);
  };
  build_log_record(every_field(), settings, kUs, CodePage{}, sink);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Begin Date Array", "27-Nov-2005"},
      {"Day", "27"},
      {"Month", "Nov"},
      {"Year", "2005"},
      {"LocalDate", "20051127"},
      {"theDate", "20051127"},
      {"ActualLoggedRigFreq (0)", "14.070000"}};
  EXPECT_EQ(entries, expected);

  entries.clear();
  QsoLogFields bad = every_field();
  bad.DateNow = "27-nov-2005";
  try {
    build_log_record(bad, settings, kUs, CodePage{}, sink);
    ADD_FAILURE() << "a month that is no English abbreviation makes no date";
  } catch (const RuntimeError&) {
  }
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries.back(), (std::pair<std::string, std::string>{"Year", "2005"}));
  bad.DateNow = "27-Nov";
  EXPECT_THROW(build_log_record(bad, settings, kUs, CodePage{}), RuntimeError);
}

}  // namespace
}  // namespace vav
