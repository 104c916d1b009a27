#include "platform/sim/sim_system.h"

#include <gtest/gtest.h>

#include <string>

#include "errors/runtime_error.h"
#include "platform/sim/sim_settings_store.h"

namespace vav::sim {
namespace {

bool same(const SystemTime& a, const SystemTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
         a.minute == b.minute && a.second == b.second && a.milliseconds == b.milliseconds;
}

struct ClockCase {
  std::string label;
  SystemTime start;
  Millis elapsed;
  SystemTime expected;
};

class SimSystemClock : public ::testing::TestWithParam<ClockCase> {};

TEST_P(SimSystemClock, UtcRunsWithVirtualTime) {
  SimEventLoop loop(5000);
  SimSystem system(loop, "/tmp/folder");
  loop.run_for(123);  // time before set_utc must not count
  system.set_utc(GetParam().start);
  loop.run_for(GetParam().elapsed);
  const SystemTime now = system.utc_now();
  EXPECT_TRUE(same(now, GetParam().expected))
      << now.year << "-" << now.month << "-" << now.day << " " << now.hour << ":" << now.minute
      << ":" << now.second << "." << now.milliseconds;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SimSystemClock,
    ::testing::Values(
        ClockCase{"still", {2024, 2, 29, 12, 0, 0, 0}, 0, {2024, 2, 29, 12, 0, 0, 0}},
        ClockCase{
            "leap_day_rollover", {2024, 2, 28, 23, 59, 59, 500}, 600, {2024, 2, 29, 0, 0, 0, 100}},
        ClockCase{
            "common_year_rollover", {2023, 2, 28, 23, 59, 59, 0}, 1000, {2023, 3, 1, 0, 0, 0, 0}},
        ClockCase{"new_year", {1999, 12, 31, 23, 0, 0, 0}, 3'600'000, {2000, 1, 1, 0, 0, 0, 0}}),
    [](const auto& case_info) { return case_info.param.label; });

TEST(SimSystem, LocalTimeTextUsesOffsetAndFormat) {
  SimEventLoop loop(0);
  SimSystem system(loop, "/tmp/folder/");
  system.set_utc({2024, 3, 1, 13, 4, 5, 0});
  EXPECT_EQ(system.local_time_text(), "1:04:05 PM");
  system.set_utc_offset_minutes(-14 * 60);
  EXPECT_EQ(system.local_time_text(), "11:04:05 PM");
  system.set_time_format("HH:mm:ss");
  EXPECT_EQ(system.local_time_text(), "23:04:05");
  EXPECT_EQ(system.program_folder(), "/tmp/folder");
  EXPECT_EQ(system.exe_name(), "Vavizorur");
}

TEST(SimSystem, LocaleDefaultsAndOverrides) {
  SimEventLoop loop(0);
  SimSystem system(loop, "/tmp");
  const auto lcid = system.user_default_lcid();
  EXPECT_EQ(lcid, 0x0409u);
  EXPECT_EQ(system.locale_info(lcid, locale_item::kLanguageName), "English (United States)");
  EXPECT_EQ(system.locale_info(lcid, locale_item::kThousandsSeparator), ",");
  EXPECT_EQ(system.locale_info(lcid, locale_item::kDecimalSeparator), ".");
  EXPECT_EQ(system.locale_info(lcid, locale_item::kAbbrevMonthName1 + 11), "Dec");
  system.set_separators(".", ",");
  system.set_locale_item(locale_item::kCountryName, "");
  EXPECT_EQ(system.locale_info(lcid, locale_item::kThousandsSeparator), ".");
  EXPECT_EQ(system.locale_info(lcid, locale_item::kDecimalSeparator), ",");
  EXPECT_EQ(system.locale_info(lcid, locale_item::kCountryName), "");
}

TEST(SimSystem, OsVersionCanFail) {
  SimEventLoop loop(0);
  SimSystem system(loop, "/tmp");
  system.set_os_version({2, 6, 1, 7601});
  EXPECT_EQ(system.os_version().build, 7601u);
  system.fail_os_version(err::kInvalidProcedureCall);
  EXPECT_THROW(system.os_version(), RuntimeError);
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
