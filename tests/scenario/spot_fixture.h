#pragma once
// The station for spot tests: Commander owning the transceiver (14070000 Hz, USB), MixW in
// BPSK31 and SpotCollector handing over the spots a test picks.
#include <algorithm>
#include <string>
#include <vector>

#include "station_fixture.h"

namespace vav::testing {

inline constexpr Millis kSpotPoll = 500;

class SpotStationTest : public StationTest {
 protected:
  void start_station(std::vector<std::string> extra = {}) {
    extra.push_back("FrequencyControl=Commander");
    extra.push_back("ConnectCommander=True");
    write_settings(extra);
    station.mixw().start();
    station.commander().start();
    station.spotcollector().start();
    start_program();
    run_for(kSpotPoll);
    clear_journals();
  }
  void clear_journals() {
    station.mixw().peer().clear_journal();
    station.commander().peer().clear_journal();
  }
  void pick(const peers::Spot& s) {
    ASSERT_TRUE(station.spotcollector().send_spot(s).accepted);
    run_for(1);
  }
  peers::Mixw& mixw() { return station.mixw().peer(); }
  peers::Commander& commander() { return station.commander().peer(); }
  std::vector<std::string> xcvr_commands() {
    std::vector<std::string> out;
    for (const auto& c : commander().journal()) {
      if (c.find("xcvrfreqmode") != std::string::npos) out.push_back(c);
    }
    return out;
  }
  std::vector<std::string> zfq_macros() {
    std::vector<std::string> out;
    for (const auto& m : mixw().macros()) {
      if (m.starts_with("<ZFQ:")) out.push_back(m);
    }
    return out;
  }
  // True when `wanted` appear in `lines` in this order (others may lie between).
  static bool in_order(const std::vector<std::string>& lines,
                       const std::vector<std::string>& wanted) {
    auto at = lines.begin();
    for (const auto& w : wanted) {
      at = std::find(at, lines.end(), w);
      if (at == lines.end()) return false;
      ++at;
    }
    return true;
  }
};

}  // namespace vav::testing
