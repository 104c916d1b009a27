// The simulated clock runs with virtual time across day, month and year ends; the settings
// store can be made to fail.
#include "platform/sim/sim_system.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_settings_store.h"

namespace vav::sim {
namespace {

TEST(SimSystem, UtcRunsWithVirtualTime) {
  const struct {
    SystemTime start;
    Millis elapsed;
    SystemTime expected;
  } cases[] = {
      {{2024, 2, 28, 23, 59, 59, 500}, 600, {2024, 2, 29, 0, 0, 0, 100}},
      {{2023, 2, 28, 23, 59, 59, 0}, 1000, {2023, 3, 1, 0, 0, 0, 0}},
      {{1999, 12, 31, 23, 0, 0, 0}, 3'600'000, {2000, 1, 1, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    SimEventLoop loop(5000);
    SimSystem system(loop, "/tmp/folder");
    loop.run_for(123);  // time before set_utc must not count
    system.set_utc(c.start);
    loop.run_for(c.elapsed);
    const SystemTime now = system.utc_now();
    const SystemTime& e = c.expected;
    EXPECT_TRUE(now.year == e.year && now.month == e.month && now.day == e.day &&
                now.hour == e.hour && now.minute == e.minute && now.second == e.second &&
                now.milliseconds == e.milliseconds)
        << now.year << "-" << now.month << "-" << now.day << " " << now.hour << ":" << now.minute
        << ":" << now.second << "." << now.milliseconds;
  }
}

TEST(SimSettingsStore, KeepsValuesCaseInsensitivelyAndCanFail) {
  SimSettingsStore store;
  EXPECT_EQ(store.get("Vavizorur", "Settings", "DebugMode", "False"), "False");
  EXPECT_TRUE(store.save("Vavizorur", "Settings", "DebugMode", "True"));
  EXPECT_EQ(store.get("VAVIZORUR", "settings", "debugmode", "False"), "True");
  store.set_failing(true);
  EXPECT_FALSE(store.save("Vavizorur", "Settings", "DebugMode", "False"));
  EXPECT_EQ(store.value("Vavizorur", "Settings", "DebugMode"), "True");
}

}  // namespace
}  // namespace vav::sim
