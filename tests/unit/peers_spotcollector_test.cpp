#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "peers/dxlab_text.h"
#include "peers/spotcollector.h"

namespace vav::peers {
namespace {

TEST(SpotCollectorTest, SetScNewEntryCarriesNineFieldsInPositionOrder) {
  const Spot spot{"14070.15", "14071", "psk31", "Q1ABC", "PSK31", "", "Q1", "Q1", "JO01"};
  const std::string command = setscnewentry_command(spot);
  EXPECT_EQ(command,
            "004setscnewentry<freq:8>14070.15<qsx:5>14071<mode:5>psk31<dxcall:5>Q1ABC"
            "<logmode:5>PSK31<spare:0><search:2>Q1<prefix:2>Q1<grid:4>JO01");
  const std::string fields = command.substr(std::string("004setscnewentry").size());
  const FieldRun run = parse_fields(fields);
  ASSERT_EQ(run.fields.size(), 9u);
  const std::vector<std::string> values = {spot.frequency_khz, spot.qsx,      spot.mode,
                                           spot.callsign,      spot.log_mode, spot.spare,
                                           spot.search,        spot.prefix,   spot.grid};
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(run.fields[i].name, spot_field_names()[i]);
    EXPECT_EQ(run.fields[i].value, values[i]) << "position " << i + 1;
  }
}

TEST(SpotCollectorTest, AFrequencyWithBlanksKeepsThemAndItsLength) {
  Spot spot;
  spot.frequency_khz = " 7035.2 ";
  const std::string command = setscnewentry_command(spot);
  EXPECT_EQ(command.substr(0, 30), "004setscnewentry<freq:8> 7035.");
}

TEST(SpotCollectorTest, InvokeMacroCarriesTheMacroAsAField) {
  EXPECT_EQ(invokemacro_command("CQ"), "004invokemacro<macro:2>CQ");
}

}  // namespace
}  // namespace vav::peers
