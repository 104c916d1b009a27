#pragma once
// The station for the outbox scenarios: DXKeeper linked and running, MixW running.
#include <algorithm>
#include <string>

#include "reliability_fixture.h"

namespace vav::testing {

class OutboxTest : public ReliabilityTest {
 protected:
  void SetUp() override {
    write_settings({"ConnectDXKeeper=True"});
    station.mixw().start();
    station.dxkeeper().start();
  }
  std::size_t duplicate_reports() {
    const auto lines = error_lines();
    return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [](const auto& l) {
      return l.starts_with("DXKeeper may have logged this QSO twice");
    }));
  }
};

}  // namespace vav::testing
