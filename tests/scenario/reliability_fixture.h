#pragma once
// The station for the reliability scenarios: numbered QSOs written in MixW, what DXKeeper
// took, and the figures the scenarios measure (virtual time to recover, counts).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/conversions.h"
#include "station_fixture.h"

namespace vav::testing {

inline constexpr const char* kMixWLostMessage =
    "MixW2 IS NOT LOADED\rBecause of this I must close down";

class ReliabilityTest : public StationTest {
 protected:
  // MixW empties its "Command" item 100 ms after a write; the next write needs it empty.
  static constexpr Millis kWriteGap = 101;

  static peers::Contact numbered_contact(int n) {
    peers::Contact c;
    c.call = "Q" + std::to_string(n % 10) + "N" + std::to_string(n);
    c.rst_rcvd = "599";
    c.rst_sent = "579";
    c.name = "Op" + std::to_string(n);
    c.date = "27-Nov-2005";
    c.time = "04:44";
    c.end_time = "04:45";
    return c;
  }

  // The operator works station n and MixW writes the QSO at once; the gap lets MixW reset
  // its "Command" item.
  void write_numbered_qso(int n) {
    station.mixw().work_station(numbered_contact(n));
    station.mixw().write_qso();
    written.push_back(numbered_contact(n).call);
    run_for(kWriteGap);
  }

  // Calls in DXKeeper's log, in the order it took them (upper case, as logged).
  std::vector<std::string> delivered_calls() {
    std::vector<std::string> calls;
    for (const auto& qso : station.dxkeeper().peer().logged()) calls.push_back(qso.value("CALL"));
    return calls;
  }
  std::vector<std::string> written_calls() const {
    std::vector<std::string> calls;
    for (const auto& call : written) calls.push_back(to_upper(call));
    return calls;
  }
  static bool has_duplicates(const std::vector<std::string>& calls) {
    return std::set<std::string>(calls.begin(), calls.end()).size() != calls.size();
  }

  // Runs the clock in steps until `done` holds; the virtual ms it took, or -1 past `limit`.
  long long run_until(const std::function<bool()>& done, Millis limit, Millis step = 10) {
    long long waited = 0;
    while (!done()) {
      if (waited >= limit) return -1;
      run_for(step);
      waited += step;
    }
    return waited;
  }

  // Each line of the error log after its stamp ("dd-mmm-yyyy hh:nn:ss > ").
  std::vector<std::string> error_lines() {
    std::vector<std::string> lines;
    const std::string log = files.read_all(path("ErrorLog.txt")).value_or("");
    std::size_t start = 0;
    while (start < log.size()) {
      std::size_t end = log.find("\r\n", start);
      if (end == std::string::npos) end = log.size();
      const std::string line = log.substr(start, end - start);
      const std::size_t mark = line.find(" > ");
      lines.push_back(mark == std::string::npos ? line : line.substr(mark + 3));
      start = end + 2;
    }
    return lines;
  }
  std::vector<std::string> program_errors() {
    std::vector<std::string> errors;
    for (const auto& line : error_lines()) {
      if (line.starts_with("program error ")) errors.push_back(line);
    }
    return errors;
  }

  // The program after the MixW-lost close-down: one message, the unload steps done, the
  // event loop told to stop.
  void expect_mixw_close_down() {
    ASSERT_TRUE(app);
    EXPECT_EQ(app->run_end(), RunEnd::mixw_lost);
    const auto boxes = desktop.message_boxes();
    EXPECT_EQ(std::count_if(boxes.begin(), boxes.end(),
                            [](const auto& box) { return box.text == kMixWLostMessage; }),
              1);
    EXPECT_FALSE(app->MixWRunning);
    EXPECT_FALSE(app->Timer1.enabled());
    EXPECT_FALSE(app->Timer2.enabled());
    EXPECT_FALSE(app->Timer3.enabled());
    EXPECT_FALSE(frame.hook_installed());
    EXPECT_TRUE(loop.quitting());
    EXPECT_FALSE(bus.serving("Vavizorur", "DDEServer"));
    EXPECT_FALSE(bus.serving("Vavizorur", "DDEClient"));
    for (sim::SimDxlabProgram* program : std::initializer_list<sim::SimDxlabProgram*>{
             &station.dxkeeper(), &station.dxview(), &station.pathfinder(), &station.commander()}) {
      EXPECT_EQ(program->conversation_count(), 0u);
    }
  }

  std::vector<std::string> written;
};

}  // namespace vav::testing
