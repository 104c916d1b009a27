// Every new callsign gets its prefix and its lookups, in a fixed order.
#include "station_fixture.h"

namespace vav::testing {
namespace {

class LookupsTest : public StationTest {
 protected:
  void SetUp() override { station.mixw().start(); }
  void type_call(const std::string& call) {
    station.mixw().operator_types("Call", call);
    run_for(1);
  }
  std::vector<std::string> all_commands() {
    std::vector<std::string> out;
    for (const auto* journal : {&station.dxview().journal(), &station.dxkeeper().journal(),
                                &station.pathfinder().journal()}) {
      out.insert(out.end(), journal->begin(), journal->end());
    }
    return out;
  }
};

TEST_F(LookupsTest, ANewCallsignIsLookedUpInDXViewDXKeeperAndPathfinderAsSet) {
  write_settings({"TickleDXView=True", "LookupPrev=True", "TicklePathfinder=True",
                  "ConnectDXKeeper=True", "ConnectDXView=True", "ConnectPathFinder=True"});
  station.dxkeeper().start();
  station.dxview().start();
  station.pathfinder().start();
  start_program();
  station.mixw().operator_types("EndTime", "06:48");
  type_call("q1abc/3");

  EXPECT_EQ(app->qso.Prefix.text(), "Q3");
  EXPECT_EQ(app->qso.UTCStart.text(), "06:48");
  EXPECT_EQ(app->CurrentCallsign, "q1abc/3");
  EXPECT_EQ(station.dxview().journal(), (std::vector<std::string>{"003lookupq1abc/3"}));
  EXPECT_EQ(station.dxkeeper().journal(), (std::vector<std::string>{"001checkq1abc/3"}));
  EXPECT_EQ(station.pathfinder().journal(),
            (std::vector<std::string>{"002getqslinfo<callsign:7>q1abc/3"}));

  type_call("q1abc/3");  // the same text again raises nothing
  EXPECT_EQ(all_commands().size(), 3u);
}

TEST_F(LookupsTest, OnlyConnectedAndEnabledProgramsAreAsked) {
  write_settings({"TickleDXView=True", "LookupPrev=False", "TicklePathfinder=True",
                  "ConnectDXKeeper=True", "ConnectDXView=True"});
  station.dxkeeper().start();
  station.dxview().start();  // Pathfinder enabled but not running
  start_program();
  type_call("Q1ABC");
  EXPECT_EQ(station.dxview().journal().size(), 1u);
  EXPECT_TRUE(station.dxkeeper().journal().empty());
}

TEST_F(LookupsTest, AFailedLookupMarksOnlyItsProgramAndTheOthersAreStillSent) {
  write_settings(
      {"TickleDXView=True", "LookupPrev=True", "ConnectDXKeeper=True", "ConnectDXView=True"});
  station.dxkeeper().start();
  station.dxview().start();
  start_program();
  station.dxview().refuse_executes();
  type_call("Q1ABC");
  EXPECT_FALSE(app->clients.IsServerConnected(dxlab::kDXView));
  EXPECT_TRUE(app->clients.IsServerConnected(dxlab::kDXKeeper));
  EXPECT_EQ(station.dxkeeper().journal(), (std::vector<std::string>{"001checkQ1ABC"}));
  EXPECT_EQ(frame.caption().find("DXV"), std::string::npos);
  EXPECT_NE(frame.caption().find("{DXK}"), std::string::npos) << frame.caption();
}

TEST_F(LookupsTest, AChangeWhoseNoticeWasLostIsCaughtUpWithinHalfASecond) {
  write_settings({"TickleDXView=True", "ConnectDXView=True"});
  station.dxview().start();
  start_program();
  app->qso.Callsign.on_change = nullptr;  // the change notice goes missing
  type_call("Q2XYZ");
  EXPECT_TRUE(station.dxview().journal().empty());
  run_for(500);
  EXPECT_EQ(station.dxview().journal(), (std::vector<std::string>{"003lookupQ2XYZ"}));
  run_for(5000);
  EXPECT_EQ(station.dxview().journal().size(), 1u);
}

TEST_F(LookupsTest, ACallsignArrivingWhileLookupsLetEventsRunIsTheOneTheLaterLookupsSend) {
  write_settings(
      {"TickleDXView=True", "LookupPrev=True", "ConnectDXKeeper=True", "ConnectDXView=True"});
  station.dxkeeper().start();
  station.dxview().start();
  start_program();
  // The operator corrects the call just as DXView is told: the new value is waiting in the
  // loop when the lookups let events run.
  bool corrected = false;
  app->qso.Prefix.on_change = [&] {
    if (!corrected && app->qso.Callsign.text() == "Q1AB") {
      corrected = true;
      station.mixw().operator_types("Call", "Q1ABC");
    }
  };
  type_call("Q1AB");
  EXPECT_EQ(station.dxview().journal(),
            (std::vector<std::string>{"003lookupQ1AB", "003lookupQ1ABC"}));
  // The nested run sent DXKeeper's lookup for the new call; the outer run then sent its own
  // with the field's current text.
  EXPECT_EQ(station.dxkeeper().journal(),
            (std::vector<std::string>{"001checkQ1ABC", "001checkQ1ABC"}));
  EXPECT_EQ(app->CurrentCallsign, "Q1ABC");
  EXPECT_TRUE(app->Timer2.enabled());
}

}  // namespace
}  // namespace vav::testing
