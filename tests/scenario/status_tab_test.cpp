// The "Status" tab through a session: neighbours coming and going, QSOs waiting and leaving,
// the two buttons, the last spot.
#include <string>
#include <vector>

#include "reliability_fixture.h"

namespace vav::testing {
namespace {

class StatusTabTest : public ReliabilityTest {
 protected:
  // The state column of one neighbour's row.
  std::string state_of(const std::string& name) {
    for (const auto& row : app->status.Neighbours.rows()) {
      if (row.at(0) == name) return row.at(1);
    }
    return "<no row>";
  }
  std::string heard_of(const std::string& name) {
    for (const auto& row : app->status.Neighbours.rows()) {
      if (row.at(0) == name) return row.at(2);
    }
    return "<no row>";
  }
  int icon_of(const std::string& name) {
    const auto& rows = app->status.Neighbours.rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].at(0) == name) return app->status.Neighbours.icons().at(i);
    }
    return -1;
  }
  std::vector<std::string> waiting_column(std::size_t column) {
    std::vector<std::string> out;
    for (const auto& row : app->status.WaitingQsos.rows()) out.push_back(row.at(column));
    return out;
  }
};

TEST_F(StatusTabTest, FollowsTheNeighboursAndTheWaitingQsosThroughASession) {
  write_settings({"ConnectDXKeeper=True", "ConnectCommander=True", "FrequencyControl=Commander"});
  station.mixw().start();
  station.commander().start();
  start_program();
  run_for(500);
  EXPECT_EQ(state_of("MixW"), "connected");
  EXPECT_EQ(state_of("Commander"), "connected");
  EXPECT_EQ(state_of("DXKeeper"), "not running");
  EXPECT_EQ(state_of("SpotCollector"), "not running");
  EXPECT_EQ(heard_of("MixW").size(), 12u) << heard_of("MixW");  // "hh:mm:ss UTC"
  EXPECT_EQ(icon_of("MixW"), kConnectedIcon);
  EXPECT_EQ(icon_of("DXKeeper"), kNotRunningIcon);
  EXPECT_EQ(app->status.Files.text(), app->data_folder);
  EXPECT_FALSE(app->status.OpenErrorLog.enabled());

  // Two QSOs wait for DXKeeper, oldest first, with what the list shows of them.
  write_numbered_qso(1);
  write_numbered_qso(2);
  run_for(500);
  EXPECT_EQ(waiting_column(0), (std::vector<std::string>{"Q1N1", "Q2N2"}));
  EXPECT_EQ(waiting_column(1).at(0), "04:44");
  EXPECT_EQ(waiting_column(4),
            (std::vector<std::string>{"DXKeeper not running", "DXKeeper not running"}));
  EXPECT_TRUE(app->status.SendNow.enabled());

  // DXKeeper refuses: the oldest says so, the other waits behind it.
  station.dxkeeper().start();
  station.dxkeeper().refuse_executes();
  app->status.SendNow.click();
  EXPECT_EQ(waiting_column(4),
            (std::vector<std::string>{"refused by DXKeeper (1)", "behind a refused QSO"}));
  EXPECT_EQ(heard_of("DXKeeper").size(), 12u);

  // "Send now" with DXKeeper answering again empties the list at once.
  station.dxkeeper().answer();
  app->status.SendNow.click();
  EXPECT_TRUE(app->status.WaitingQsos.rows().empty());
  EXPECT_EQ(delivered_calls(), written_calls());
  EXPECT_EQ(state_of("DXKeeper"), "connected");
  EXPECT_FALSE(app->status.SendNow.enabled());

  // A neighbour that stops answering, and one that goes away.
  station.dxkeeper().hang_executes();
  write_numbered_qso(3);
  run_for(500);
  EXPECT_EQ(state_of("DXKeeper"), "not answering");
  EXPECT_EQ(icon_of("DXKeeper"), kNotAnsweringIcon);
  EXPECT_EQ(waiting_column(4), (std::vector<std::string>{"sent, no answer from DXKeeper yet"}));
  station.commander().stop();
  run_for(7100);
  EXPECT_EQ(state_of("Commander"), "not running");

  // A failed QSO date reaches the error log, and the button opens it.
  auto bad = numbered_contact(4);
  bad.date = "27-nov-2005";
  station.mixw().work_station(bad);
  station.mixw().write_qso();
  run_for(600);
  ASSERT_TRUE(app->status.OpenErrorLog.enabled());
  app->status.OpenErrorLog.click();
  EXPECT_EQ(desktop.opened_documents(), std::vector<std::string>{path("ErrorLog.txt")});
}

TEST_F(StatusTabTest, ShowsTheLastSpotAndWhetherItWasTuned) {
  write_settings({"ConnectCommander=True", "FrequencyControl=Commander"});
  station.mixw().start();
  station.spotcollector().start();
  start_program();
  run_for(500);
  auto picked = spot("14070.15", "psk31", "VK2ABC", "PSK31");
  ASSERT_TRUE(station.spotcollector().send_spot(picked).accepted);
  run_for(1);
  EXPECT_EQ(app->status.LastSpot.text(),
            "VK2ABC  14070.15 kHz  PSK31  - refused: Commander is not connected");
  EXPECT_EQ(state_of("SpotCollector"), "running");
  EXPECT_EQ(heard_of("SpotCollector").size(), 12u);
  desktop.clear_message_boxes();

  station.commander().start();
  run_for(7100);
  picked.callsign = "ZL1XYZ";
  ASSERT_TRUE(station.spotcollector().send_spot(picked).accepted);
  run_for(1);
  EXPECT_EQ(app->status.LastSpot.text(), "ZL1XYZ  14070.15 kHz  PSK31  - tuned");

  picked.frequency_khz = "14070.15.3";
  ASSERT_TRUE(station.spotcollector().send_spot(picked).accepted);
  run_for(1);
  EXPECT_EQ(app->status.LastSpot.text(),
            "ZL1XYZ  14070.15.3 kHz  PSK31  - refused: the frequency cannot be read");
}

}  // namespace
}  // namespace vav::testing
